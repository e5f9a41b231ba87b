// Listing a site's pages: a walk that never enters a link or a hidden folder.
#include "host/site/site_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "host/site/page_on_disk.h"
#include "host/pagefile/page_file.h"
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

// The entry's own kind, never through a link; a link also says whether it leads to a folder.
struct Entry {
    struct stat st {};
    bool linkToFolder = false;
};

// Whether the walk looks at the entry at all: folders and page files, and links and special
// files named as pages (or links to folders), which it names as left out. Anything else (a
// picture, a link to a style sheet) is no page.
bool concernsSite(const QByteArray& name, const Entry& e) {
    if (S_ISDIR(e.st.st_mode)) return true;
    if (S_ISLNK(e.st.st_mode)) return e.linkToFolder || isPageName(name);
    return isPageName(name);
}

// Why an entry the walk concerns is left out, and whether its bytes may be searched for an
// id: empty when it is listed (or walked into).
SkippedEntry leftOut(const QByteArray& path, const QByteArray& name, const Entry& e, int dirFd) {
    // A link to a folder is no folder of the site: it is never followed.
    const bool folder = S_ISDIR(e.st.st_mode);
    if (!platform::text::isValidUtf8(std::string_view(name.constData(), std::size_t(name.size())))) {
        const bool small = S_ISREG(e.st.st_mode) && e.st.st_size <= kLargestSitePage;
        return {path,
                QCoreApplication::translate("host::site::SiteUpdate", "its name is not UTF-8 text"),
                folder, small ? SkippedEntry::Search::Bytes : SkippedEntry::Search::Unknown};
    }
    if (path.size() >= PATH_MAX)
        return {path,
                QCoreApplication::translate("host::site::SiteUpdate",
                                            "its path is longer than the system allows"),
                folder, SkippedEntry::Search::Unknown};
    if (!S_ISDIR(e.st.st_mode) && !S_ISREG(e.st.st_mode)) {
        QString why = notAPageFile(e.st);
        if (e.linkToFolder)
            why += QCoreApplication::translate("host::site::SiteUpdate", " (it leads to a folder)");
        return {path, why, folder, SkippedEntry::Search::Never};
    }
    if (::faccessat(dirFd, name.constData(), R_OK | (folder ? X_OK : 0), AT_EACCESS) != 0)
        return {path,
                QCoreApplication::translate("host::site::SiteUpdate", "it cannot be read: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno))),
                folder, SkippedEntry::Search::Unknown};
    if (const QString why = tooLargeToRead(e.st.st_size, qint64(e.st.st_blocks) * 512, kLargestSitePage);
        !folder && !why.isEmpty())
        return {path,
                why + QCoreApplication::translate("host::site::SiteUpdate", "; it was not read"),
                false, SkippedEntry::Search::Unknown};
    return {};
}

// Names are read as the bytes on disk, so that a name that is not UTF-8 text is reported
// rather than read as another name that does not exist. Nothing the walk leaves out is
// opened: its kind and size come from the folder's entry.
void walk(const QDir& root, const QByteArray& dir, const IgnoreRules& rules, SiteListing& out) {
    DIR* handle = ::opendir(dir.constData());
    if (!handle) return;
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(handle)) names.emplace_back(entry->d_name);
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names) {
        // Hidden entries, "." and ".." included, and backups are never pages or site folders.
        if (name.startsWith('.') || isBackupName(name)) continue;
        Entry e;
        if (::fstatat(::dirfd(handle), name.constData(), &e.st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        struct stat target {};
        e.linkToFolder = S_ISLNK(e.st.st_mode) &&
                         ::fstatat(::dirfd(handle), name.constData(), &target, 0) == 0 &&
                         S_ISDIR(target.st_mode);
        if (!concernsSite(name, e)) continue;
        const QByteArray path = dir + '/' + name;
        const bool textName =
            platform::text::isValidUtf8(std::string_view(name.constData(), std::size_t(name.size())));
        if (textName && path.size() < PATH_MAX &&
            rules.ignores(QString::fromUtf8(name), root.relativeFilePath(QFile::decodeName(path))))
            continue;
        if (SkippedEntry skipped = leftOut(path, name, e, ::dirfd(handle)); !skipped.path.isEmpty()) {
            out.skipped.push_back(std::move(skipped));
        } else if (S_ISDIR(e.st.st_mode)) {
            walk(root, path, rules, out);
        } else {
            out.pages.push_back(QFile::decodeName(path));
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

bool mayHoldId(const SkippedEntry& entry, const QByteArray& idUtf8) {
    if (entry.folder) return true;
    switch (entry.search) {
        case SkippedEntry::Search::Never:
            return false;
        case SkippedEntry::Search::Unknown:
            return true;
        case SkippedEntry::Search::Bytes:
            break;
    }
    try {
        return readPageFile(entry.path).bytes.contains(idUtf8);
    } catch (const std::exception&) {
        return true;
    }
}

}  // namespace host::site
