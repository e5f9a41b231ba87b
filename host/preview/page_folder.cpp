// The page's folder as the rendered view's one source of files.
#include "host/preview/page_folder.h"

#include <QDir>
#include <QFileInfo>

namespace host::preview {

PageFolder::PageFolder(const QString& pagePath) {
    if (pagePath.isEmpty()) return;
    const QString folder = QFileInfo(pagePath).dir().canonicalPath();
    if (!folder.isEmpty()) m_folder = folder.endsWith(u'/') ? folder : folder + u'/';
}

QString PageFolder::resolve(const QString& path) const {
    if (m_folder.isEmpty() || !QDir::isAbsolutePath(path)) return {};
    // The real path, so that neither "..", nor a link inside the folder pointing out of
    // it, reaches a file elsewhere.
    const QFileInfo file(path);
    const QString real = file.canonicalFilePath();
    if (real.isEmpty() || !real.startsWith(m_folder)) return {};
    const QFileInfo target(real);
    if (!target.isFile() || target.size() > kLargestPageFile) return {};
    return real;
}

}  // namespace host::preview
