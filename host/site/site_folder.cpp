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
#include <climits>
#include <vector>

#include "host/site/page_on_disk.h"
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
            out.skipped.push_back({path,
                                   QCoreApplication::translate("host::site::SiteUpdate",
                                                               "its name is not UTF-8 text"),
                                   folder});
            continue;
        }
        if (path.size() >= PATH_MAX) {
            out.skipped.push_back(
                {path,
                 QCoreApplication::translate("host::site::SiteUpdate",
                                             "its path is longer than the system allows"),
                 folder});
            continue;
        }
        const QString text = QFile::decodeName(path);
        if (rules.ignores(QString::fromUtf8(name), root.relativeFilePath(text))) continue;
        if (const QString why = tooLargeForSite(st.st_size); !folder && !why.isEmpty()) {
            out.skipped.push_back({path, why, false});
            continue;
        }
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

bool mayHoldId(const SkippedEntry& entry, const QByteArray& idUtf8) {
    if (entry.folder) return true;
    // Never through a link, and never waiting on a FIFO put where a page was.
    const int fd = ::open(entry.path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return true;
    constexpr qsizetype kPiece = 1 << 20;
    // Each piece starts with the end of the one before, so that an id across two is found.
    QByteArray window;
    QByteArray piece(kPiece, Qt::Uninitialized);
    bool found = false, failed = false;
    while (!found) {
        const ssize_t n = ::read(fd, piece.data(), std::size_t(kPiece));
        if (n <= 0) {
            failed = n < 0;
            break;
        }
        window = window.right(idUtf8.size() - 1) + piece.left(qsizetype(n));
        found = window.contains(idUtf8);
    }
    ::close(fd);
    return found || failed;
}

}  // namespace host::site
