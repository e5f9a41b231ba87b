// One page file as read from disk, with what tells whether it changed since.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <stdexcept>

#include "platform/files/disk_stamp.h"

namespace host::site {

// A site page that cannot be read or written; the message names the file and the cause.
class SiteError : public std::runtime_error {
public:
    explicit SiteError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// The largest page the site update reads. Planning a page takes about 15 bytes of memory
// per byte of it (the bytes, the text, the page document and its edited copy; a 200 MB page
// took 2.9 GB and a minute), and pages are planned on every core at once; a hand-made page
// is far smaller.
inline constexpr qint64 kLargestSitePage = qint64(32) << 20;
// Why a page of `size` bytes is left out of the site update, or empty when it is not.
QString tooLargeForSite(qint64 size);

struct PageOnDisk {
    QString path;
    QByteArray bytes;
    platform::files::DiskStamp stamp;  // size, time and inode as read; no hash (the bytes are here)
};

// Reads a regular file (never through a symbolic link) of up to kLargestSitePage bytes.
// Throws SiteError.
PageOnDisk readPageOnDisk(const QString& path);
// Whether the file still holds exactly `page` as it was read.
bool unchangedOnDisk(const PageOnDisk& page);
// Replaces the file's bytes atomically (the old file stays whole until the new one is
// complete). Refuses a link or a file the author made read-only. Throws SiteError.
void writePageAtomically(const QString& path, const QByteArray& bytes);

}  // namespace host::site
