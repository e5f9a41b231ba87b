// One page file as read from disk, with what tells whether it changed since.
#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace host::site {

// A site page that cannot be read or written; the message names the file and the cause.
class SiteError : public std::runtime_error {
public:
    explicit SiteError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// When and how large the file was when it was read; a cheap first look for a change, before
// its bytes are compared.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;  // since the epoch; read without any time zone, on any thread

    static FileStamp of(const QString& path);  // size -1 when there is no such file

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct PageOnDisk {
    QString path;
    QByteArray bytes;
    FileStamp stamp;
};

// Reads a regular file (never through a symbolic link). Throws SiteError.
PageOnDisk readPageOnDisk(const QString& path);
// Whether the file still holds exactly `page` as it was read.
bool unchangedOnDisk(const PageOnDisk& page);
// Replaces the file's bytes atomically (the old file stays whole until the new one is
// complete). Refuses a link or a file the author made read-only. Throws SiteError.
void writePageAtomically(const QString& path, const QByteArray& bytes);

}  // namespace host::site
