// Which files a rendered page may load: the page itself, and regular files inside the
// page's own folder, judged after every link in the path is followed, up to a size.
#pragma once

#include <QString>

namespace host::preview {

// Larger files are not loaded: Chromium would hold each whole, once per process that
// reads it, and no picture or style sheet of a page that size renders usefully.
inline constexpr qint64 kLargestPageFile = 64 * 1024 * 1024;

class PageFolder {
public:
    // `pagePath` is the page's absolute file path; empty for a page never saved, which
    // has no folder and may load nothing beside itself.
    explicit PageFolder(const QString& pagePath = {});

    // The real path of `path` when it names a regular file inside the folder, sub-folders
    // included, of at most kLargestPageFile bytes; empty otherwise (outside, missing, a
    // folder, a link leading out, or too large).
    QString resolve(const QString& path) const;

private:
    QString m_folder;  // real path, ending in '/'; empty when there is none
};

}  // namespace host::preview
