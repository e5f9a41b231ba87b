// Opening, reading, stamping and replacing page files by one set of rules.
#include "host/pagefile/page_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <cerrno>
#include <cstring>
#include <new>

#include "platform/failure/failure.h"
#include "platform/files/user_file.h"

namespace host {
namespace {

using Kind = PageFileError::Kind;

QString megabytes(qint64 bytes) {
    return QString::number(double(bytes) / (1 << 20), 'f', 1) + QStringLiteral(" MB");
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString systemMessage(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

DiskStamp stampFrom(const struct stat& st) {
    DiskStamp stamp;
    stamp.exists = true;
    stamp.size = st.st_size;
    stamp.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    return stamp;
}

int lookAt(const QByteArray& name, struct stat& st, bool followLinks) {
    return followLinks ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads at most `largest` + 1 bytes, so a file that grew past the limit shows without being
// read whole.
QByteArray readBounded(int fd, qint64 expected, qint64 largest, const QString& path) {
    QByteArray bytes(qMin(expected, largest) + 1, Qt::Uninitialized);
    qint64 have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have > largest) break;
            bytes.resize(qMin(have * 2 + 4096, largest + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + have, std::size_t(bytes.size() - have));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw PageFileError(Kind::Unreadable,
                                QCoreApplication::translate("host::PageFile", "Cannot read %1: %2")
                                    .arg(shown(path), systemMessage(errno)));
        }
        have += n;
    }
    if (have > largest) {
        throw PageFileError(Kind::TooLarge,
                            QCoreApplication::translate("host::PageFile",
                                                        "%1 grew past %2 while it was read; it "
                                                        "was not read")
                                .arg(shown(path), megabytes(largest)));
    }
    bytes.truncate(have);
    return bytes;
}

}  // namespace

QString notAPageFile(const struct stat& st, bool followLinks) {
    if (S_ISREG(st.st_mode)) return {};
    if (S_ISLNK(st.st_mode))
        return followLinks ? QString()
                           : QCoreApplication::translate(
                                 "host::PageFile", "it is a symbolic link, which is not followed");
    if (S_ISDIR(st.st_mode))
        return QCoreApplication::translate("host::PageFile", "it is a folder, not a file");
    if (S_ISFIFO(st.st_mode))
        return QCoreApplication::translate("host::PageFile",
                                           "it is a named pipe (FIFO), not a file");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QCoreApplication::translate("host::PageFile", "it is a device, not a file");
    if (S_ISSOCK(st.st_mode))
        return QCoreApplication::translate("host::PageFile", "it is a socket, not a file");
    return QCoreApplication::translate("host::PageFile", "it is not a regular file");
}

QString tooLargeToRead(qint64 size, qint64 onDisk, qint64 largest) {
    if (size <= largest) return {};
    const QString sparse =
        onDisk < size / 2
            ? QCoreApplication::translate("host::PageFile", " (a sparse file, %1 of it on disk)")
                  .arg(megabytes(onDisk))
            : QString();
    return QCoreApplication::translate("host::PageFile",
                                       "it is %1%2, larger than the %3 a page may have here")
        .arg(megabytes(size), sparse, megabytes(largest));
}

std::uint64_t contentHash(const QByteArray& bytes) {
    return qHashBits(bytes.constData(), std::size_t(bytes.size()), 0x9e3779b97f4a7c15u);
}

PageFile readPageFile(const QString& path, const PageFileRules& rules) {
    return readPageFile(QFile::encodeName(path), rules);
}

PageFile readPageFile(const QByteArray& name, const PageFileRules& rules) {
    const QString path = QFile::decodeName(name);
    // Non-blocking, so that a pipe in the page's place is refused instead of waited on.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (rules.followLinks ? 0 : O_NOFOLLOW);
    const Descriptor fd(::open(name.constData(), flags));
    struct stat st {};
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT)
            throw PageFileError(Kind::Missing,
                                QCoreApplication::translate("host::PageFile", "%1 does not exist")
                                    .arg(shown(path)));
        if (lookAt(name, st, rules.followLinks) == 0 && !notAPageFile(st, rules.followLinks).isEmpty())
            throw PageFileError(Kind::NotAFile, shown(path) + QStringLiteral(": ") +
                                                    notAPageFile(st, rules.followLinks));
        throw PageFileError(Kind::Unreadable,
                            QCoreApplication::translate("host::PageFile", "Cannot read %1: %2")
                                .arg(shown(path), systemMessage(error)));
    }
    if (::fstat(fd.get(), &st) != 0)
        throw PageFileError(Kind::Unreadable,
                            QCoreApplication::translate("host::PageFile", "Cannot read %1: %2")
                                .arg(shown(path), systemMessage(errno)));
    if (const QString why = notAPageFile(st, true); !why.isEmpty())
        throw PageFileError(Kind::NotAFile, shown(path) + QStringLiteral(": ") + why);
    if (rules.beforeReading) rules.beforeReading(st.st_size);
    if (const QString why = tooLargeToRead(st.st_size, qint64(st.st_blocks) * 512, rules.largest);
        !why.isEmpty())
        throw PageFileError(Kind::TooLarge,
                            shown(path) + QStringLiteral(": ") + why +
                                QCoreApplication::translate("host::PageFile", "; it was not read"));
    PageFile page;
    // Stamped before reading: a write during the read then shows as a change later.
    page.stamp = stampFrom(st);
    try {
        page.path = QFileInfo(path).absoluteFilePath();
        page.bytes = readBounded(fd.get(), st.st_size, rules.largest, path);
    } catch (const std::bad_alloc&) {
        throw PageFileError(
            Kind::OutOfMemory,
            QCoreApplication::translate("host::PageFile",
                                        "%1 (%2) was not read: there was not enough memory "
                                        "for it. Close other programs and try again")
                .arg(shown(path), megabytes(st.st_size)));
    }
    page.stamp.hash = contentHash(page.bytes);
    return page;
}

DiskStamp currentStamp(const QString& path, const PageFileRules& rules) {
    PageFileRules plain = rules;
    plain.beforeReading = nullptr;
    try {
        return readPageFile(path, plain).stamp;
    } catch (const PageFileError&) {
        return {};
    }
}

DiskChange diskChange(const QString& path, DiskStamp& stamp, bool quick, const PageFileRules& rules) {
    struct stat st {};
    if (lookAt(QFile::encodeName(path), st, rules.followLinks) != 0 || !S_ISREG(st.st_mode))
        return stamp.exists ? DiskChange::Removed : DiskChange::None;
    if (!stamp.exists) return DiskChange::Changed;
    DiskStamp now = stampFrom(st);
    now.hash = stamp.hash;
    if (now.size != stamp.size) return DiskChange::Changed;
    if (quick && now == stamp) return DiskChange::None;
    now = currentStamp(path, rules);
    if (!now.exists) return DiskChange::Removed;
    if (now.hash != stamp.hash) return DiskChange::Changed;
    stamp = now;
    return DiskChange::None;
}

DiskStamp replacePageFile(const QString& path, const QByteArray& bytes, std::string_view source,
                          const PageFileRules& rules) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (!rules.followLinks && ::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        throw PageFileError(Kind::NotAFile,
                            shown(path) + QStringLiteral(": ") + notAPageFile(st, false));
    }
    try {
        platform::files::replaceFile(name.toStdString(),
                                     std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                     source, platform::files::kDocumentReplace);
    } catch (const platform::Error& e) {
        throw PageFileError(Kind::NotWritten, QString::fromStdString(e.description()));
    }
    DiskStamp stamp;
    if (::stat(name.constData(), &st) == 0) stamp = stampFrom(st);
    stamp.exists = true;
    stamp.hash = contentHash(bytes);
    return stamp;
}

}  // namespace host
