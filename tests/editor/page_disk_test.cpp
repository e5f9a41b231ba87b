// A page's file changed by someone else is never overwritten unasked, and a page too large
// for memory is refused without harm to the editor.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>

#include "host/editor/editor_window.h"
#include "host/editor/page.h"
#include "host/messagebox/message_box_service.h"
#include "support/editor_harness.h"
#include "support/modal.h"

namespace {

using host::MessageButton;

class PageDiskTest : public testing::Test {
protected:
    host::EditorWindow& window() { return m_harness.window(); }
    host::Page* open(const QString& name, const QByteArray& bytes) {
        return window().openPage(m_harness.writeFile(name, bytes));
    }
    QString text(host::Page* page) { return page->document()->toPlainText(); }
    // What the window does when the author comes back to it. A question comes within the
    // check's timers (at once on activation, 100 ms after a file notice); when none has come
    // by 250 ms, that time is let pass on purpose, to show that none is asked.
    std::size_t activateAndCount() {
        const std::size_t before = m_harness.messages.shown.size();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&window(), &activate);
        static_cast<void>(
            QTest::qWaitFor([&] { return m_harness.messages.shown.size() > before; }, 250));
        return m_harness.messages.shown.size();
    }
    EditorHarness m_harness;
};

TEST_F(PageDiskTest, SavingOverAChangedFileAsksFirst) {
    struct Case {
        const char* name;
        std::deque<MessageButton> answers;
        QByteArray file;  // afterwards
        QString page;
        bool modified;
        bool removed = false;
    };
    const Case cases[] = {
        {"overwrite", {MessageButton::Overwrite}, "mine<p></p>\n", "mine<p></p>\n", false},
        {"reload", {MessageButton::Reload, MessageButton::Reload}, "theirs\n", "theirs\n", false},
        {"reload not confirmed",
         {MessageButton::Reload, MessageButton::Cancel},
         "theirs\n",
         "mine<p></p>\n",
         true},
        {"save as", {MessageButton::SaveAs}, "theirs\n", "mine<p></p>\n", false},
        {"cancel", {MessageButton::Cancel}, "theirs\n", "mine<p></p>\n", true},
        {"removed, saved again",
         {MessageButton::Save},
         "mine<p></p>\n",
         "mine<p></p>\n",
         false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host::Page* page = open(QStringLiteral("%1.html").arg(c.name), "<p></p>\n");
        const QString path = page->path();
        QTest::keyClicks(window().editorOf(page), "mine");
        if (c.removed) {
            QFile::remove(path);
        } else {
            m_harness.writeFile(QFileInfo(path).fileName(), "theirs\n");
        }
        const QString other = m_harness.dir.filePath(QStringLiteral("%1-copy.html").arg(c.name));
        m_harness.files.saveLocations = {other};
        m_harness.messages.answers = c.answers;
        m_harness.messages.shown.clear();
        window().savePage(page);
        EXPECT_EQ(m_harness.messages.shown.size(), c.answers.size());
        EXPECT_TRUE(m_harness.messages.shown.at(0).text.contains(QFileInfo(path).fileName()));
        EXPECT_EQ(EditorHarness::readFile(path), c.file);
        EXPECT_EQ(text(page), c.page);
        EXPECT_EQ(page->isModified(), c.modified);
        if (c.answers.front() == MessageButton::SaveAs) {
            EXPECT_EQ(EditorHarness::readFile(other), "mine<p></p>\n");
        }
        m_harness.messages.answers = {MessageButton::Discard};
        window().closePage(page);
    }
}

TEST_F(PageDiskTest, AChangeWhileOpenIsOfferedOnceAndOnlyWhenTheBytesDiffer) {
    host::Page* page = open("a.html", "<p>one</p>\n");
    host::Page* edited = open("b.html", "<p>b</p>\n");
    QTest::keyClicks(window().editorOf(edited), "mine");

    // Touched or saved by the editor itself: nothing to ask.
    m_harness.writeFile("a.html", "<p>one</p>\n");
    window().savePage(edited);
    EXPECT_EQ(activateAndCount(), 0u);

    // The file watcher notices without the window being activated.
    m_harness.messages.answers = {MessageButton::Reload};
    m_harness.writeFile("a.html", "<p>two</p>\r\n");
    QTRY_COMPARE(m_harness.messages.shown.size(), 1u);
    EXPECT_EQ(m_harness.messages.shown[0].buttons,
              (std::vector{MessageButton::Reload, MessageButton::Cancel}));
    EXPECT_EQ(text(page), "<p>two</p>\n");
    EXPECT_EQ(page->format().lineEnding, host::LineEnding::CrLf);
    EXPECT_FALSE(page->isModified());

    // A page with changes of its own is not reloaded; the author is told, once.
    QTest::keyClicks(window().editorOf(page), "x");
    m_harness.writeFile("a.html", "<p>three</p>\n");
    EXPECT_EQ(activateAndCount(), 2u);
    EXPECT_EQ(m_harness.messages.shown[1].buttons, std::vector{MessageButton::Ok});
    EXPECT_EQ(activateAndCount(), 2u);
    EXPECT_TRUE(page->isModified());
    EXPECT_FALSE(text(page).contains("three"));

    // Removing the file counts as a change too.
    QFile::remove(m_harness.dir.filePath("b.html"));
    EXPECT_EQ(activateAndCount(), 3u);
    EXPECT_TRUE(m_harness.messages.shown[2].text.contains("deleted"));
}

TEST_F(PageDiskTest, PageTooLargeForMemoryIsRefusedAndTheEditorCarriesOn) {
    m_harness.stop();
    m_harness.memoryForPage = 64 * 1024;
    m_harness.start();
    host::Page* small = open("small.html", "<p>small</p>");
    QTest::keyClicks(window().editorOf(small), "kept ");
    // 2 KB fits the editor's own share (13 bytes a byte), not the rendered view's beside it.
    for (const qsizetype size : {64 * 1024, 2 * 1024}) {
        EXPECT_EQ(open("large.html", QByteArray(size, 'x')), nullptr);
        const QString message = m_harness.messages.shown.back().text;
        EXPECT_TRUE(message.contains("large.html") && message.contains("too large"))
            << qPrintable(message);
    }
    EXPECT_EQ(m_harness.messages.shown.size(), 2u);
    EXPECT_EQ(window().pages(), std::vector{small});
    EXPECT_EQ(text(small), "kept <p>small</p>");
}

TEST(QtMessageBox, AnswersWithTheFileButtonClicked) {
    const std::vector buttons{MessageButton::Overwrite, MessageButton::Reload,
                              MessageButton::SaveAs, MessageButton::Cancel};
    const std::pair<MessageButton, QString> clicks[] = {{MessageButton::Overwrite, "Overwrite"},
                                                        {MessageButton::Reload, "Reload"},
                                                        {MessageButton::SaveAs, "Save As..."},
                                                        {MessageButton::Cancel, ""}};
    for (const auto& [expected, label] : clicks) {
        host::QtMessageBoxService service;
        MessageButton answer = MessageButton::Ok;
        whileModal(
            [&] {
                answer = service.show(nullptr, {"t", "changed", host::MessageIcon::Question,
                                                buttons, MessageButton::Cancel});
            },
            [&](QWidget* modal) {
                auto* box = static_cast<QMessageBox*>(modal);
                ASSERT_EQ(box->buttons().size(), 4);
                QAbstractButton* target = box->button(QMessageBox::Cancel);
                for (QAbstractButton* b : box->buttons()) {
                    if (!label.isEmpty() && b->text() == label) target = b;
                }
                target->click();
            });
        EXPECT_EQ(answer, expected) << label.toStdString();
    }
}

}  // namespace
