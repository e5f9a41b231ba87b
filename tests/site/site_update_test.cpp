// The region update over a generated site: which pages change and how, what is reported,
// that undo gives back every byte, and the command-line form.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "host/site/id_tag_count.h"
#include "host/site/memory_page_text.h"
#include "host/site/region_update.h"
#include "host/site/site_commit.h"
#include "host/site/site_folder.h"

namespace {

using host::site::PageOutcome;

const QByteArray kOld = "<p>old</p>";
const QByteArray kNew = "<form action=\"https://list.example/\">\n<input name=\"e\">\n</form>";

QByteArray page(const QByteArray& body, const QByteArray& eol = "\n") {
    QByteArray text = "<!DOCTYPE html>\n<html><head><title>t</title></head>\n<body>\n" + body +
                      "\n</body>\n</html>\n";
    return text.replace("\n", eol);
}
QByteArray region(const QByteArray& content) {
    return "<div id=\"OstrelInsert\">" + content + "</div>";
}

struct SiteFile {
    const char* name;
    QByteArray before;
    QByteArray after;  // the same as before where the page must not change
    PageOutcome outcome;
};

// Every kind of page the update meets; {old} and {new} stand for the region's content.
std::vector<SiteFile> siteFiles() {
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

QByteArray utf16(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray out("\xFF\xFE");
    for (QChar c : text) out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return out;
}

std::map<QString, QByteArray> folderBytes(const QString& root) {
    std::map<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        out[QDir(root).relativeFilePath(f.fileName())] = f.readAll();
    }
    return out;
}

class SiteUpdateTest : public testing::Test {
protected:
    void SetUp() override {
        for (SiteFile& f : m_files) {
            const QString path = m_dir.filePath(f.name);
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(f.before);
        }
        QFile wide(m_dir.filePath("utf16.html"));
        ASSERT_TRUE(wide.open(QIODevice::WriteOnly));
        wide.write(utf16(page(region(kOld))));
        QFile::link(m_dir.filePath("once.html"), m_dir.filePath("link.html"));
        QFile::setPermissions(m_dir.filePath("readonly.html"), QFileDevice::ReadOwner);
    }
    QStringList pages() const { return host::site::listSitePages(m_dir.path()); }

    QTemporaryDir m_dir;
    std::vector<SiteFile> m_files = siteFiles();
};

TEST_F(SiteUpdateTest, RightPagesChangeOthersAreReportedAndUndoRestoresEveryByte) {
    const auto original = folderBytes(m_dir.path());
    auto plan = host::site::planSiteUpdate(pages(), "OstrelInsert", kNew.toStdString());
    // Someone saves a page between planning and writing.
    QFile changed(m_dir.filePath("changed.html"));
    ASSERT_TRUE(changed.open(QIODevice::Append));
    changed.write("<!-- saved elsewhere -->");
    changed.close();
    const auto undo = host::site::commitSiteUpdate(plan);

    std::map<QString, PageOutcome> outcomes;
    for (const auto& p : plan) {
        outcomes[QDir(m_dir.path()).relativeFilePath(p.before.path)] = p.outcome;
        if (p.outcome == PageOutcome::Refused) {
            EXPECT_FALSE(p.reason.isEmpty());
        }
    }
    auto expected = original;
    expected["changed.html"] += "<!-- saved elsewhere -->";
    for (const SiteFile& f : m_files) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(outcomes.contains(f.name) ? outcomes[f.name] : PageOutcome::Absent, f.outcome);
        if (f.outcome == PageOutcome::Updated) expected[f.name] = f.after;
    }
    // A UTF-16 page is updated where the editor reads UTF-16, and left whole where not.
    const QByteArray wide = folderBytes(m_dir.path())["utf16.html"];
    EXPECT_TRUE(wide == original.at("utf16.html") || wide == utf16(page(region(kNew))));
    expected["utf16.html"] = wide;
    EXPECT_EQ(folderBytes(m_dir.path()), expected) << "exactly the updated pages changed";
    EXPECT_EQ(undo.pages.size(), wide == original.at("utf16.html") ? 5u : 6u);

    for (const auto& r : host::site::undoSiteUpdate(undo)) EXPECT_TRUE(r.restored) << r.path.toStdString();
    auto restored = original;
    restored["changed.html"] = expected["changed.html"];
    EXPECT_EQ(folderBytes(m_dir.path()), restored);
}

TEST_F(SiteUpdateTest, UndoLeavesAPageChangedAfterTheUpdate) {
    auto plan = host::site::planSiteUpdate({m_dir.filePath("once.html")}, "OstrelInsert",
                                           kNew.toStdString());
    const auto undo = host::site::commitSiteUpdate(plan);
    QFile f(m_dir.filePath("once.html"));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("typed");
    f.close();
    const auto restored = host::site::undoSiteUpdate(undo);
    ASSERT_EQ(restored.size(), 1u);
    EXPECT_FALSE(restored[0].restored);
    EXPECT_TRUE(restored[0].reason.contains("changed after the update"));
    EXPECT_TRUE(folderBytes(m_dir.path())["once.html"].endsWith("typed"));
}

TEST_F(SiteUpdateTest, CommandLinePrintsALinePerPageAndFailsWhenOneWasRefused) {
    QTemporaryDir sourceDir;
    const QString source = sourceDir.filePath("source.html");
    QFile s(source);
    ASSERT_TRUE(s.open(QIODevice::WriteOnly));
    s.write(page(region(kNew)));
    s.close();

    struct Case {
        QStringList args;
        int exitCode;
        QStringList lines;
    };
    const std::vector<Case> cases{
        {{"--update-region", "OstrelInsert", "--from", source, m_dir.path()},
         1,
         {"updated: once.html", "unchanged: same.html", "refused: twice.html: the page has 2",
          "refused: readonly.html: ", "updated: sub/table.html",
          " updated, 1 unchanged, 2 refused, "}},
        {{"--update-region", "nowhere", "--from", source, m_dir.path()}, 2, {}},
        {{"--update-region", "OstrelInsert", m_dir.path()}, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess run;
        run.start(PAGEHOST, c.args);
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitCode(), c.exitCode) << run.readAllStandardError().toStdString();
        const QString out = QString::fromUtf8(run.readAllStandardOutput());
        for (const QString& line : c.lines) EXPECT_TRUE(out.contains(line)) << out.toStdString();
    }
}

// The count from tags alone, where it answers, is the page document's count.
TEST(IdTagCount, AnswersOnlyWhereThePageDocumentAgrees) {
    const struct {
        const char* page;
        std::optional<int> count;
    } cases[] = {
        {"<div id=\"R\">x</div>", 1},
        {"<DIV ID=R>x</DIV><p id='R'></p>", 2},
        {"<p id=\"other\" title=\"R\">", std::nullopt},
        {"<!-- <div id=\"R\"> --><p>", std::nullopt},
        {"<!--><div id=\"R\"></div>", 1},
        {"<script>var s = '<div id=\"R\">';</script>", std::nullopt},
        {"<script><!--</script><div id=R>", std::nullopt},
        {"<textarea></textarea ><div id=R>", 1},
        {"<template><div id=\"R\"></div></template>", std::nullopt},
        {"<select><div id=\"R\"></div></select>", std::nullopt},
        {"<select></select><div id=\"R\"></div>", 1},
        {"<b id=R><p>x</b>", std::nullopt},
        {"<td id=R>", std::nullopt},
        {"<div id=\"a\" id=\"R\">", std::nullopt},
        {"<div id=\"R&amp;\">", std::nullopt},
        {"<table><tr><td><div id=\"R\"></div></td></tr></table>", 1},
        {"<div title='a>b' id=R>", 1},
        {"<div id=\"R", std::nullopt},
        {"<p>no region</p>", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        const auto count = host::site::countIdTags(c.page, "R");
        EXPECT_EQ(count, c.count);
        if (!count) continue;
        host::PageModel model(std::make_shared<host::site::MemoryPageText>(c.page));
        EXPECT_EQ(host::site::findRegion(model, "R").count, *count);
    }
}

}  // namespace
