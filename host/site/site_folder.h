// The HTML pages of a site folder.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace host::site {

// The name of the file in a site folder that lists more names to leave out, one glob
// pattern a line ('#' starts a comment); a pattern with a '/' matches the path from the
// site folder, any other the file or folder name.
inline constexpr const char* kIgnoreFileName = ".siteignore";

// The absolute paths of the folder's `.html` and `.htm` files, sorted, in it and in its
// folders. Left out: hidden files and folders, backup files (`*~`, `*.bak`, `#*#`),
// what the ignore file names, and symbolic links, which could lead out of the folder.
QStringList listSitePages(const QString& folder);

// A page, or a folder that may hold pages, that the listing could not take: its path as the
// bytes on disk, and why.
struct SkippedEntry {
    QByteArray path;
    QString reason;
    bool folder = false;
    // Whether its bytes may be searched for an id: a page within the size limit whose only
    // fault is its name may; a link, pipe or device never holds a page of the site; a page
    // too large or unreadable is not read, so it may hold anything.
    enum class Search { Bytes, Unknown, Never } search = Search::Unknown;
};

struct SiteListing {
    QStringList pages;
    std::vector<SkippedEntry> skipped;
};

// The same walk, also naming what it had to leave out, each with why: pages and folders whose
// names are not UTF-8 text (the editor's names are text) or whose paths exceed the system's
// limit; symbolic links named as pages or leading to folders; pipes, devices and sockets named
// as pages; pages and folders that cannot be read; and pages larger than the site update
// reads (kLargestSitePage, a sparse file said as such). Nothing left out is opened.
SiteListing listSite(const QString& folder);

// Whether an entry the listing left out may hold the region: a folder may; a link, pipe or
// device does not; a page whose only fault is its name does when its bytes hold the id's; any
// other page may, since it is not read (a page too large is never read to search it).
bool mayHoldId(const SkippedEntry& entry, const QByteArray& idUtf8);

// Whether the name is of a page the site lists (by its name only).
bool isPageName(const QString& fileName);

}  // namespace host::site
