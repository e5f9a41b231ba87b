// The generated test site: pages that hold the region once, twice, never, inside a table,
// in CR LF, Windows-1252 and UTF-16, and files that are no pages of the site. The site
// tests and the browser and validator checks of the updated site both write it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <vector>

#include "host/site/region_update.h"

namespace test_site {

using host::site::PageOutcome;

inline const QByteArray kOld = "<p>old</p>";
inline const QByteArray kNew = "<form action=\"https://list.example/\">\n<input name=\"e\">\n</form>";

inline QByteArray page(const QByteArray& body, const QByteArray& eol = "\n") {
    QByteArray text = "<!DOCTYPE html>\n<html><head><title>t</title></head>\n<body>\n" + body +
                      "\n</body>\n</html>\n";
    return text.replace("\n", eol);
}
inline QByteArray region(const QByteArray& content) {
    return "<div id=\"OstrelInsert\">" + content + "</div>";
}

struct SiteFile {
    const char* name;
    QByteArray before;
    QByteArray after;  // the same as before where the page must not change
    PageOutcome outcome;
};

// Every kind of page the update meets; {c} stands for the region's content, kOld before and
// kNew after an update with kNew. readonly.html and changed.html are made so by the test.
inline std::vector<SiteFile> siteFiles() {
    const auto both = [](const char* name, const QByteArray& body, const QByteArray& eol,
                         PageOutcome outcome) {
        QByteArray before = page(body, eol), after = before;
        before.replace("{c}", kOld);
        QByteArray nu = kNew;
        after.replace("{c}", nu.replace("\n", eol));
        return SiteFile{name, before, outcome == PageOutcome::Updated ? after : before, outcome};
    };
    const QByteArray mixed = "<p>a</p>\r\n" + region("{c}") + "\n<p>b</p>\r";
    return {
        both("once.html", "<p>x</p>\n" + region("{c}"), "\n", PageOutcome::Updated),
        both("crlf.htm", region("{c}") + "\n<p>caf\xC3\xA9</p>", "\r\n", PageOutcome::Updated),
        both("latin.html", "<p>caf\xE9</p>" + region("{c}"), "\n", PageOutcome::Updated),
        both("mixed.html", mixed, "\n", PageOutcome::Updated),
        both("sub/table.html", "<table><tr><td>" + region("{c}") + "</td></tr></table>", "\n",
             PageOutcome::Updated),
        both("same.html", region(kNew), "\n", PageOutcome::Unchanged),
        both("twice.html", region("{c}") + region("{c}"), "\n", PageOutcome::Refused),
        both("never.html", "<!-- OstrelInsert --><p id=\"other\">x</p>", "\n",
             PageOutcome::Absent),
        both("readonly.html", region("{c}"), "\n", PageOutcome::Refused),
        both("changed.html", region("{c}"), "\n", PageOutcome::Refused),
        // Not pages of the site: never read or written.
        both("page.html~", region("{c}"), "\n", PageOutcome::Absent),
        both(".hidden/a.html", region("{c}"), "\n", PageOutcome::Absent),
        both("ignored/a.html", region("{c}"), "\n", PageOutcome::Absent),
        both("style.css", "OstrelInsert", "\n", PageOutcome::Absent),
        {".siteignore", "# drafts\nignored/\n", "# drafts\nignored/\n", PageOutcome::Absent},
    };
}

// UTF-16 little endian with its byte order mark.
inline QByteArray utf16(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray out("\xFF\xFE");
    for (QChar c : text) out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return out;
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

// Writes siteFiles() and utf16.html (the region in UTF-16) into `root`.
inline bool writeSite(const QString& root, const std::vector<SiteFile>& files) {
    bool ok = writeFile(QDir(root).filePath("utf16.html"), utf16(page(region(kOld))));
    for (const SiteFile& f : files) ok = writeFile(QDir(root).filePath(f.name), f.before) && ok;
    return ok;
}

}  // namespace test_site
