// The page text seam: UTF-8 byte offsets over the editor's document, one undo step per
// replacement, and a revision that follows every change.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>

#include "host/editor/page.h"
#include "host/editor/page_text_worker.h"
#include "support/editor_harness.h"

namespace {

class PageTextTest : public testing::Test {
protected:
    host::Page& open(const QByteArray& bytes, const QString& name = QStringLiteral("p.html")) {
        host::Page* page = m_harness.window().openPage(m_harness.writeFile(name, bytes));
        EXPECT_NE(page, nullptr);
        return *page;
    }
    EditorHarness m_harness;
};

TEST_F(PageTextTest, TextIsThePageAsSavedInUtf8) {
    host::Page& page = open("\xEF\xBB\xBF<p>caf\xC3\xA9</p>\r\n<p>x</p>");
    EXPECT_EQ(page.pageText()->text(), "<p>caf\xC3\xA9</p>\r\n<p>x</p>");
    EXPECT_EQ(host::DocumentPageText::utf8(page.pageText()->snapshot()).toStdString(),
              page.pageText()->text()) << "the rendered view gets the same bytes";
    host::Page& legacy = *m_harness.window().openPage(m_harness.writeFile("l.html", "caf\xE9\n"));
    EXPECT_EQ(legacy.pageText()->text(), "caf\xC3\xA9\n");
}

// An unchanged page's bytes stand in for its text where they are that text, and only there:
// mixed line endings, another encoding, a break of the text view's own.
TEST_F(PageTextTest, BytesAsSavedStandInForTheTextOnlyWhereTheyAreIt) {
    const std::pair<QByteArray, bool> cases[] = {
        {"<p>caf\xC3\xA9</p>\r\n", true}, {"\xEF\xBB\xBF<p>\x0C</p>\r", true},
        {"<p>a</p>\r\n<p>b</p>\n", false}, {"<p>caf\xE9</p>\n", false},
        {"<p>a\xE2\x80\xA9</p>", false}};
    int n = 0;
    for (const auto& [bytes, asSaved] : cases) {
        host::Page& page = open(bytes, QStringLiteral("p%1.html").arg(++n));
        EXPECT_EQ(!page.utf8AsSaved().isEmpty(), asSaved) << n;
        if (!asSaved) continue;
        EXPECT_EQ(page.utf8AsSaved().toStdString(), page.pageText()->text()) << n;
        page.pageText()->replace(0, 0, "<!-- -->");
        EXPECT_TRUE(page.utf8AsSaved().isEmpty()) << "edited";
    }
}

TEST_F(PageTextTest, ByteOffsetsLandAfterMultiByteCharactersAndLineBreaks) {
    // é is 2 bytes, the emoji 4 bytes (two positions in the editor), CR LF 2 bytes.
    host::Page& page = open("\xC3\xA9\xF0\x9F\x98\x80\r\n<body></body>");
    auto text = page.pageText();
    const std::string before = text->text();
    const std::size_t at = before.find("</body>");
    text->replace(at, 0, "<p>\xE2\x82\xAC</p>\r\n");
    EXPECT_EQ(text->text(), "\xC3\xA9\xF0\x9F\x98\x80\r\n<body><p>\xE2\x82\xAC</p>\r\n</body>");
    // Replacing a range: the emoji itself.
    text->replace(2, 4, "!");
    EXPECT_EQ(text->text().substr(0, 5), "\xC3\xA9!\r\n");
}

TEST_F(PageTextTest, EachReplacementIsOneUndoStep) {
    host::Page& page = open("<body>\n</body>\n");
    QPlainTextEdit* view = m_harness.window().editorOf(&page);
    auto text = page.pageText();
    text->replace(7, 0, "<div id='OstrelInsert'>\r\nline one\nline two</div>\r\n");
    text->replace(text->text().find("line one"), 8, "first");
    EXPECT_TRUE(page.isModified());
    view->undo();
    EXPECT_EQ(text->text(), "<body>\n<div id='OstrelInsert'>\nline one\nline two</div>\n</body>\n");
    view->undo();
    EXPECT_EQ(text->text(), "<body>\n</body>\n");
    EXPECT_FALSE(page.isModified());
    EXPECT_FALSE(page.document()->isUndoAvailable());
}

TEST_F(PageTextTest, RevisionMovesWithTypingAndUndo) {
    host::Page& page = open("<p></p>");
    QPlainTextEdit* view = m_harness.window().editorOf(&page);
    auto text = page.pageText();
    const auto r0 = text->revision();
    EXPECT_EQ(text->revision(), r0) << "reading does not move it";
    QTest::keyClicks(view, "abc");
    const auto r1 = text->revision();
    EXPECT_NE(r1, r0);
    EXPECT_EQ(text->text(), "abc<p></p>");
    view->undo();
    EXPECT_NE(text->revision(), r1);
    EXPECT_EQ(text->text(), "<p></p>");
}

TEST_F(PageTextTest, RangesThatSplitACharacterOrLeaveTheTextFail) {
    host::Page& page = open("\xC3\xA9\r\nx");
    auto text = page.pageText();
    const auto revision = text->revision();
    for (auto [offset, length] :
         {std::pair<std::size_t, std::size_t>{1, 0}, {3, 0}, {0, 3}, {5, 1}, {9, 0}}) {
        EXPECT_THROW(text->replace(offset, length, "y"), com::Error) << offset << "+" << length;
    }
    EXPECT_THROW(text->replace(0, 0, "\xFF"), com::Error) << "the new text must be UTF-8";
    EXPECT_EQ(text->revision(), revision);
    EXPECT_FALSE(page.isModified());
}

TEST_F(PageTextTest, ClosedPageFailsClearly) {
    host::Page& page = open("<p></p>");
    auto text = page.pageText();
    ASSERT_TRUE(m_harness.window().closePage(&page));
    try {
        text->text();
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.description(), "The page has been closed");
    }
}

// The rendered view's text is made on another thread; of texts asked for one after another,
// only the newest arrives, once.
TEST_F(PageTextTest, OnlyTheNewestTextMadeOffThreadArrives) {
    host::Page& page = open("<p>1</p>");
    std::vector<QByteArray> arrived;
    host::PageTextWorker worker([&](const host::RenderedText& r) { arrived.push_back(r.html); });
    for (const char* text : {"<p>2</p>", "<p>3</p>", "<p>4</p>"}) {
        page.document()->setPlainText(text);
        worker.convert(page);
    }
    EXPECT_TRUE(worker.busy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !worker.busy(); }));
    QTest::qWait(50);  // on purpose: time for a late, older result to show up, which none may
    EXPECT_EQ(arrived, std::vector<QByteArray>{"<p>4</p>"});
}

}  // namespace
