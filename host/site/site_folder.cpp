// Listing a site's pages: a walk that never enters a link or a hidden folder.
#include "host/site/site_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <vector>

namespace host::site {
namespace {

struct IgnoreRules {
    std::vector<QRegularExpression> names;
    std::vector<QRegularExpression> paths;

    explicit IgnoreRules(const QDir& root) {
        QFile file(root.filePath(QString::fromLatin1(kIgnoreFileName)));
        if (!file.open(QIODevice::ReadOnly)) return;
        for (const QByteArray& raw : file.readAll().split('\n')) {
            QString line = QString::fromUtf8(raw).trimmed();
            if (line.isEmpty() || line.startsWith(u'#')) continue;
            const bool byPath = line.contains(u'/');
            if (line.startsWith(u'/')) line.remove(0, 1);
            if (line.endsWith(u'/')) line.chop(1);
            const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(line));
            (byPath ? paths : names).push_back(re);
        }
    }

    bool ignores(const QString& name, const QString& relative) const {
        for (const auto& re : names)
            if (re.match(name).hasMatch()) return true;
        for (const auto& re : paths)
            if (re.match(relative).hasMatch()) return true;
        return false;
    }
};

bool isBackupName(const QString& name) {
    return name.endsWith(u'~') || name.endsWith(QStringLiteral(".bak"), Qt::CaseInsensitive) ||
           (name.size() > 1 && name.startsWith(u'#') && name.endsWith(u'#'));
}

void walk(const QDir& root, const QString& dir, const IgnoreRules& rules, QStringList& out) {
    // No Hidden filter, so hidden entries never appear; links are skipped one by one below.
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (entry.isSymLink() || name.startsWith(u'.') || isBackupName(name)) continue;
        if (rules.ignores(name, root.relativeFilePath(entry.absoluteFilePath()))) continue;
        if (entry.isDir()) {
            walk(root, entry.absoluteFilePath(), rules, out);
        } else if (isPageName(name)) {
            out.push_back(entry.absoluteFilePath());
        }
    }
}

}  // namespace

bool isPageName(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
           fileName.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive);
}

QStringList listSitePages(const QString& folder) {
    const QDir root(QFileInfo(folder).absoluteFilePath());
    QStringList out;
    if (!root.exists()) return out;
    walk(root, root.absolutePath(), IgnoreRules(root), out);
    return out;
}

}  // namespace host::site
