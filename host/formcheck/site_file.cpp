// Page addresses to the site's files.
#include "host/formcheck/site_file.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace host::formcheck {

QString fileForPath(const QString& path) {
    if (path.endsWith(u'/') || QFileInfo(path).isDir()) {
        const QDir folder(path);
        for (const char* index : {"index.html", "index.htm"}) {
            if (QFileInfo(folder.filePath(QLatin1StringView(index))).isFile())
                return folder.filePath(QLatin1StringView(index));
        }
        return folder.filePath(QStringLiteral("index.html"));
    }
    return path;
}

QString siteRoot(const PageContext& context) {
    if (!context.siteFolder.isEmpty()) return context.siteFolder;
    if (!context.pagePath.isEmpty()) return QFileInfo(context.pagePath).absolutePath();
    return {};
}

QString publishedSiteFile(const QString& root, const WebAddress& site, const WebAddress& address) {
    if (root.isEmpty() || !site.isAbsoluteHttp() || !address.isHttp()) return {};
    WebAddress candidate = address;
    candidate.scheme = site.scheme;
    QString rest;
    if (!addressUnder(candidate, site, &rest)) return {};
    const QString path = QUrl::fromPercentEncoding(rest.toUtf8());
    return fileForPath(QDir::cleanPath(root + u'/' + path) +
                       (path.isEmpty() || path.endsWith(u'/') ? "/" : ""));
}

}  // namespace host::formcheck
