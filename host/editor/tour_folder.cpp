// Claiming a tour's folder: only files that tours wrote there may be replaced.
#include "host/editor/tour_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "host/editor/command_line.h"

namespace host {
namespace {

const QString kRecordName = QStringLiteral(".pagehost-tour");

// A file name that stays in the folder: no separators, no "." or "..".
bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

}  // namespace

QStringList tourOutputNames(const QString& pageName, const std::vector<TourStep>& steps,
                            bool settingsInFolder) {
    QStringList names{pageName, QStringLiteral("tour-failure.png")};
    if (settingsInFolder)
        names << QStringLiteral("pagehost.ini") << QStringLiteral("pagehost.ini.lock");
    for (const TourStep& step : steps) {
        if (step.kind == TourStep::Kind::Shot || step.kind == TourStep::Kind::DialogShot)
            names << step.target + QStringLiteral(".png");
        if (step.kind == TourStep::Kind::DialogRead) names << step.target + QStringLiteral(".txt");
    }
    names.removeDuplicates();
    return names;
}

void claimTourFolder(const QString& dir, const QStringList& names) {
    for (const QString& name : names) {
        if (!isPlainName(name)) {
            throw CommandLineError(
                QStringLiteral("The tour would write \"%1\", which is not a plain file name in "
                               "the tour's folder; nothing was written")
                    .arg(name));
        }
    }
    if (!QDir().mkpath(dir))
        throw CommandLineError(QStringLiteral("Cannot make the folder %1").arg(dir));
    const QDir folder(dir);

    const QFileInfo recordInfo(folder.filePath(kRecordName));
    QStringList written;
    if (recordInfo.isSymLink() || (recordInfo.exists() && !recordInfo.isFile())) {
        throw CommandLineError(
            QStringLiteral("%1 is not a record this program wrote; choose another tour folder")
                .arg(recordInfo.filePath()));
    }
    if (recordInfo.exists()) {
        QFile record(recordInfo.filePath());
        if (!record.open(QIODevice::ReadOnly)) {
            throw CommandLineError(
                QStringLiteral("Cannot read %1: %2").arg(record.fileName(), record.errorString()));
        }
        written = QString::fromUtf8(record.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QStringList foreign;
    for (const QString& name : names) {
        const QFileInfo file(folder.filePath(name));
        if ((file.exists() || file.isSymLink()) && !written.contains(name)) foreign << name;
    }
    if (!foreign.isEmpty()) {
        throw CommandLineError(
            QStringLiteral("The tour folder %1 already holds %2, which no tour wrote there; the "
                           "tour would replace it. Choose an empty or new folder, or move it "
                           "away; nothing was changed")
                .arg(dir, foreign.join(QStringLiteral(", "))));
    }

    for (const QString& name : names) {
        if (!written.contains(name)) written << name;
    }
    QSaveFile record(recordInfo.filePath());
    if (!record.open(QIODevice::WriteOnly) ||
        record.write((written.join(u'\n') + u'\n').toUtf8()) < 0 || !record.commit()) {
        throw CommandLineError(
            QStringLiteral("Cannot write %1: %2").arg(record.fileName(), record.errorString()));
    }
}

}  // namespace host
