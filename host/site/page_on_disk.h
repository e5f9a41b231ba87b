// One page file as read from disk, with what tells whether it changed since.
#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

#include "platform/files/disk_stamp.h"

namespace host::site {

// A site page that cannot be read or written; the message names the file and the cause.
class SiteError : public std::runtime_error {
public:
    explicit SiteError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

struct PageOnDisk {
    QString path;
    QByteArray bytes;
    platform::files::DiskStamp stamp;  // size, time and inode as read; no hash (the bytes are here)
};

// Reads a regular file (never through a symbolic link). Throws SiteError.
PageOnDisk readPageOnDisk(const QString& path);
// Whether the file still holds exactly `page` as it was read.
bool unchangedOnDisk(const PageOnDisk& page);
// Replaces the file's bytes atomically (the old file stays whole until the new one is
// complete). Refuses a link or a file the author made read-only. Throws SiteError.
void writePageAtomically(const QString& path, const QByteArray& bytes);

}  // namespace host::site
