// Listing a site's pages: a walk that never enters a link or a hidden folder.
#include "host/site/site_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/text/utf8.h"

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

bool isBackupName(const QByteArray& name) {
    return name.endsWith('~') || name.toLower().endsWith(".bak") ||
           (name.size() > 1 && name.startsWith('#') && name.endsWith('#'));
}

bool isPageName(const QByteArray& name) {
    const QByteArray lower = name.toLower();
    return lower.endsWith(".html") || lower.endsWith(".htm");
}

// Names are read as the bytes on disk, so that a name that is not UTF-8 text is reported
// rather than read as another name that does not exist.
void walk(const QDir& root, const QByteArray& dir, const IgnoreRules& rules, SiteListing& out) {
    DIR* handle = ::opendir(dir.constData());
    if (!handle) return;
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(handle)) names.emplace_back(entry->d_name);
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names) {
        // Hidden entries, "." and ".." included, and backups are never pages or site folders.
        if (name.startsWith('.') || isBackupName(name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(handle), name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        const bool folder = S_ISDIR(st.st_mode);
        if (S_ISLNK(st.st_mode) || !(folder || (S_ISREG(st.st_mode) && isPageName(name)))) continue;
        const QByteArray path = dir + '/' + name;
        if (!platform::text::isValidUtf8(std::string_view(name.constData(), std::size_t(name.size())))) {
            out.skipped.push_back({path, QStringLiteral("its name is not UTF-8 text"), folder});
            continue;
        }
        if (path.size() >= PATH_MAX) {
            out.skipped.push_back(
                {path, QStringLiteral("its path is longer than the system allows"), folder});
            continue;
        }
        const QString text = QFile::decodeName(path);
        if (rules.ignores(QString::fromUtf8(name), root.relativeFilePath(text))) continue;
        if (folder) {
            walk(root, path, rules, out);
        } else {
            out.pages.push_back(text);
        }
    }
    ::closedir(handle);
}

}  // namespace

bool isPageName(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
           fileName.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive);
}

SiteListing listSite(const QString& folder) {
    const QDir root(QFileInfo(folder).absoluteFilePath());
    SiteListing out;
    if (!root.exists()) return out;
    walk(root, QFile::encodeName(root.absolutePath()), IgnoreRules(root), out);
    return out;
}

QStringList listSitePages(const QString& folder) {
    return listSite(folder).pages;
}

}  // namespace host::site
