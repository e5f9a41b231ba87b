// Page addresses to the site's files.
#include "host/formcheck/site_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
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

QString fileInSite(const QString& root, const QString& base, const QString& path) {
    QStringList kept;
    const QString joined = path.startsWith(u'/') ? path : base + u'/' + path;
    for (const QString& part : joined.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..") {
            if (!kept.isEmpty()) kept.removeLast();
        } else if (part != u".") {
            kept.push_back(part);
        }
    }
    const QString file = kept.isEmpty() ? root : root + u'/' + kept.join(u'/');
    return fileForPath(file + (path.isEmpty() || path.endsWith(u'/') ? "/" : ""));
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
    return fileInSite(root, {}, QUrl::fromPercentEncoding(rest.toUtf8()));
}

}  // namespace host::formcheck
