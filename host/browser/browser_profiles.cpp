// Marking browser profiles and removing those left behind.
#include "host/browser/browser_profiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/process/process_identity.h"

namespace host {

using platform::process::processStartTicks;
using platform::process::processRuns;
namespace {

const QString kMarker = QStringLiteral(".ostrel-browser");

}  // namespace

void markProfile(const QString& profileDir, qint64 pid) {
    QFile marker(QDir(profileDir).filePath(kMarker));
    if (!marker.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return;
    marker.write(QStringLiteral("%1 %2\n")
                     .arg(pid)
                     .arg(QString::fromStdString(processStartTicks(pid).value_or("")))
                     .toLatin1());
}

int removeLeftoverProfiles() {
    const QDir temp(QDir::tempPath());
    int removed = 0;
    const QString glob = QString::fromLatin1(kProfilePattern).replace('X', '?');
    for (const QString& name :
         temp.entryList({glob}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
        const QString folder = temp.filePath(name);
        struct stat st {};
        if (::lstat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::geteuid()) {
            continue;
        }
        const QFileInfo markerInfo(QDir(folder).filePath(kMarker));
        if (markerInfo.isSymLink() || !markerInfo.isFile()) continue;
        QFile marker(markerInfo.filePath());
        if (!marker.open(QIODevice::ReadOnly)) continue;
        const QList<QByteArray> parts = marker.readLine(200).trimmed().split(' ');
        if (parts.size() != 2) continue;
        if (processRuns(parts[0].toLong(), parts[1].toStdString())) continue;
        // Links inside are removed, never followed.
        if (QDir(folder).removeRecursively()) ++removed;
    }
    return removed;
}

}  // namespace host
