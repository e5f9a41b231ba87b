// Site pages through the page-file service, by the site's rules.
#include "host/site/page_on_disk.h"

namespace host::site {

PageOnDisk readPageOnDisk(const QString& path) {
    try {
        return readPageFile(path);
    } catch (const PageFileError& e) {
        throw SiteError(e.message());
    }
}

bool unchangedOnDisk(PageOnDisk& page) {
    return diskChange(page.path, page.stamp, false) == DiskChange::None;
}

void writePageAtomically(const QString& path, const QByteArray& bytes) {
    try {
        replacePageFile(path, bytes, "Site update");
    } catch (const PageFileError& e) {
        throw SiteError(e.message());
    }
}

}  // namespace host::site
