// The region update over a generated site: which pages change and how, what is reported,
// that undo gives back every byte, and the command-line form.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>
#include <map>

#include "host/site/id_tag_count.h"
#include "host/page/memory_page_text.h"
#include "host/site/region_update.h"
#include "host/site/site_commit.h"
#include "host/site/site_folder.h"
#include "tests/site/test_site.h"

namespace {

using host::site::PageOutcome;
using test_site::kNew;
using test_site::kOld;
using test_site::page;
using test_site::region;
using test_site::SiteFile;
using test_site::utf16;

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
        ASSERT_TRUE(test_site::writeSite(m_dir.path(), m_files));
        QFile::link(m_dir.filePath("once.html"), m_dir.filePath("link.html"));
        QFile::setPermissions(m_dir.filePath("readonly.html"), QFileDevice::ReadOwner);
    }
    QStringList pages() const { return host::site::listSitePages(m_dir.path()); }

    QTemporaryDir m_dir;
    std::vector<SiteFile> m_files = test_site::siteFiles();
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

// Pages the listing cannot take (names that are not text, pages too large to read) are named,
// quoted where their names are not plain text, and fail the run when they may hold the
// region; a lone surrogate in the source is refused.
TEST(SiteNames, SkippedPagesAreReportedAndLoneSurrogatesRefused) {
    QTemporaryDir dir, elsewhere;
    const auto write = [](const QString& folder, const QByteArray& name, const QByteArray& bytes) {
        const QByteArray path = QFile::encodeName(folder) + '/' + name;  // the bytes as given
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(fd);
    };
    write(dir.path(), "source.html", page(region(kNew)));
    write(dir.path(), "caf\xE9.html", page(region(kOld)));
    write(dir.path(), "new\nline.html", page(region(kOld)));
    // Sparse: 40 MB on paper, nothing on disk; a page too large is never read, so either
    // may hold the region.
    for (const auto& [name, start] :
         {std::pair{"big.html", page(region(kOld))}, {"plain.html", "<p>"}}) {
        write(dir.path(), name, start);
        QFile(dir.filePath(name)).resize(qint64(40) << 20);
    }
    QByteArray lone = utf16(page(region("<p>X</p>")));
    lone.replace(QByteArray("X\0", 2), QByteArray("\0\xD8", 2));  // a high surrogate alone
    write(elsewhere.path(), "lone.html", lone);
    const QString source = dir.filePath("source.html");
    const struct {
        QString from;
        int exitCode;
        QStringList lines;
    } cases[] = {
        {source, 1,
         {"updated: \"new\\nline.html\"", "skipped: \"caf\\xE9.html\": its name is not UTF-8 text",
          "skipped: big.html: it is 40.0 MB (a sparse file, 0.0 MB of it on disk), larger than "
          "the 32.0 MB a page may have here; it was not read; it may hold the region",
          "skipped: plain.html: it is 40.0 MB (a sparse file, 0.0 MB of it on disk), larger than "
          "the 32.0 MB a page may have here; it was not read; it may hold the region",
          ", 3 skipped"}},
        {elsewhere.filePath("lone.html"), 2, {"lone.html, line 4, column 27: a lone surrogate (U+D800)"}},
    };
    for (const auto& c : cases) {
        QProcess run;
        run.start(PAGEHOST, {"--update-region", "OstrelInsert", "--from", c.from, dir.path()});
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitCode(), c.exitCode);
        const QString out = QString::fromUtf8(run.readAllStandardOutput() + run.readAllStandardError());
        for (const QString& line : c.lines) EXPECT_TRUE(out.contains(line)) << out.toStdString();
    }
    // The temporary folder's own removal cannot name it.
    ::unlink((QFile::encodeName(dir.path()) + "/caf\xE9.html").constData());
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
        host::PageModel model(std::make_shared<host::MemoryPageText>(c.page));
        EXPECT_EQ(host::site::findRegion(model, "R").count, *count);
    }
}

}  // namespace
