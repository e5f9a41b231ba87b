// Which files a rendered page may load: the page itself, and regular files inside the
// page's own folder, judged after every link in the path is followed.
#pragma once

#include <QString>

namespace host::preview {

class PageFolder {
public:
    // `pagePath` is the page's absolute file path; empty for a page never saved, which
    // has no folder and may load nothing beside itself.
    explicit PageFolder(const QString& pagePath = {});

    // The real path of `path` when it names a regular file inside the folder, sub-folders
    // included; empty otherwise (outside, missing, a folder, or a link leading out).
    QString resolve(const QString& path) const;

private:
    QString m_folder;  // real path, ending in '/'; empty when there is none
};

}  // namespace host::preview
