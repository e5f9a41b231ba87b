// A site page as the page-file service reads it, and the site's own failure.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <stdexcept>

#include "host/pagefile/page_file.h"

namespace host::site {

// A site page that cannot be read or written; the message names the file and the cause.
class SiteError : public std::runtime_error {
public:
    explicit SiteError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// The largest page the site update reads (see kLargestParsedPage).
inline constexpr qint64 kLargestSitePage = kLargestParsedPage;
// Path, bytes and stamp (size, time, inode and hash as read).
using PageOnDisk = PageFile;

// Reads a page file by the site's rules: never through a link, at most kLargestSitePage
// bytes. Throws SiteError.
PageOnDisk readPageOnDisk(const QString& path);
// Whether the file still holds exactly `page`'s bytes (its stamp takes a new time when only
// that changed).
bool unchangedOnDisk(PageOnDisk& page);
// Replaces the file's bytes in one step, keeping owner, group and mode. Refuses a link or a
// file the author made read-only. Throws SiteError.
void writePageAtomically(const QString& path, const QByteArray& bytes);

}  // namespace host::site
