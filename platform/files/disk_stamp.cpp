// Stamps of files: size, time and inode for the quick check, a hash for the sure one.
#include "platform/files/disk_stamp.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace platform::files {
namespace {

void takeStat(const struct stat& st, DiskStamp& stamp) {
    stamp.exists = true;
    stamp.size = st.st_size;
    stamp.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
}

QByteArray contentHash(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

DiskStamp stampOpenFile(int fd) {
    DiskStamp stamp;
    struct stat st {};
    if (::fstat(fd, &st) == 0) takeStat(st, stamp);
    stamp.exists = true;
    return stamp;
}

}  // namespace

DiskStamp readFileStamped(const QString& path, QByteArray& bytes, QString& error) {
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("%1 is not a file").arg(path);
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return {};
    }
    // Stamped before reading: a write during the read then shows as a change later.
    DiskStamp stamp = stampOpenFile(file.handle());
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return {};
    }
    stamp.hash = contentHash(bytes);
    return stamp;
}

DiskStamp stampPath(const QString& path, const QByteArray& bytes) {
    DiskStamp stamp;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) takeStat(st, stamp);
    stamp.exists = true;
    stamp.hash = contentHash(bytes);
    return stamp;
}

DiskStamp stampOf(const QString& path) {
    DiskStamp stamp;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) takeStat(st, stamp);
    return stamp;
}

DiskStamp currentStamp(const QString& path) {
    QByteArray bytes;
    QString error;
    return readFileStamped(path, bytes, error);
}

DiskChange diskChange(const QString& path, DiskStamp& stamp, bool quick) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return stamp.exists ? DiskChange::Removed : DiskChange::None;
    if (!stamp.exists) return DiskChange::Changed;
    DiskStamp now;
    takeStat(st, now);
    now.hash = stamp.hash;
    if (now.size != stamp.size) return DiskChange::Changed;
    if (quick && now == stamp) return DiskChange::None;
    now = currentStamp(path);
    if (!now.exists) return DiskChange::Removed;
    if (now.hash != stamp.hash) return DiskChange::Changed;
    stamp = now;
    return DiskChange::None;
}

}  // namespace platform::files
