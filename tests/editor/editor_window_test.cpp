// The editor window as the author and an add-in meet it: asking before changes are lost,
// the application object, and the page window with its view mode and document.
#include "host/editor/editor_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QPlainTextEdit>
#include <QTest>

#include "host/editor/page.h"
#include "support/editor_harness.h"

namespace {

using host::MessageButton;

class EditorWindowTest : public testing::Test {
protected:
    host::Page* openChanged(const QString& name) {
        host::Page* page = m_harness.window().openPage(m_harness.writeFile(name, "<p></p>\n"));
        QTest::keyClicks(m_harness.window().editorOf(page), "typed");
        return page;
    }
    EditorHarness m_harness;
};

TEST_F(EditorWindowTest, ClosingAChangedPageAsksSaveDiscardOrCancel) {
    host::EditorWindow& window = m_harness.window();
    host::Page* page = openChanged("a.html");
    const QString path = page->path();

    m_harness.messages.answers = {MessageButton::Cancel};
    EXPECT_FALSE(window.closePage(page));
    ASSERT_EQ(m_harness.messages.shown.size(), 1u);
    EXPECT_TRUE(m_harness.messages.shown[0].text.contains("a.html"));
    EXPECT_EQ(m_harness.messages.shown[0].buttons,
              (std::vector{MessageButton::Save, MessageButton::Discard, MessageButton::Cancel}));
    EXPECT_EQ(window.pages().size(), 1u) << "Cancel keeps the page open";

    m_harness.messages.answers = {MessageButton::Save};
    EXPECT_TRUE(window.closePage(page));
    EXPECT_EQ(EditorHarness::readFile(path), "typed<p></p>\n");
    EXPECT_TRUE(window.pages().empty());

    host::Page* other = openChanged("b.html");
    m_harness.messages.answers = {MessageButton::Discard};
    EXPECT_TRUE(window.closePage(other));
    EXPECT_EQ(EditorHarness::readFile(m_harness.dir.filePath("b.html")), "<p></p>\n");

    host::Page* unchanged = window.openPage(m_harness.dir.filePath("b.html"));
    const auto asked = m_harness.messages.shown.size();
    EXPECT_TRUE(window.closePage(unchanged));
    EXPECT_EQ(m_harness.messages.shown.size(), asked) << "an unchanged page closes without asking";
}

TEST_F(EditorWindowTest, QuittingAsksAboutEveryChangedPageAndCanBeCancelled) {
    host::EditorWindow& window = m_harness.window();
    openChanged("a.html");
    openChanged("b.html");
    m_harness.messages.answers = {MessageButton::Discard, MessageButton::Cancel};
    EXPECT_FALSE(window.close()) << "the author cancelled at the second page";
    EXPECT_EQ(m_harness.messages.shown.size(), 2u);
    m_harness.messages.answers = {MessageButton::Discard, MessageButton::Discard};
    EXPECT_TRUE(window.close());
}

TEST_F(EditorWindowTest, SaveThatFailsKeepsThePageOpenAndChanged) {
    host::EditorWindow& window = m_harness.window();
    host::Page* page = window.openPage(m_harness.writeFile("w.html", "<p>caf\xE9</p>"));
    window.editorOf(page)->insertPlainText(u"\u2192"_qs);
    m_harness.messages.answers = {MessageButton::Save, MessageButton::Ok};
    EXPECT_FALSE(window.closePage(page));
    ASSERT_EQ(m_harness.messages.shown.size(), 2u);
    EXPECT_TRUE(m_harness.messages.shown[1].text.contains("U+2192"));
    EXPECT_EQ(window.pages().size(), 1u);
    EXPECT_TRUE(page->isModified());
}

TEST_F(EditorWindowTest, UntitledPageIsSavedWhereTheAuthorChooses) {
    host::EditorWindow& window = m_harness.window();
    host::Page* page = window.newPage();
    QTest::keyClicks(window.editorOf(page), "<p>new</p>");
    const QString target = m_harness.dir.filePath("new.html");
    m_harness.files.saveLocations = {target};
    EXPECT_TRUE(window.savePage(page));
    EXPECT_EQ(EditorHarness::readFile(target), "<p>new</p>");
    EXPECT_EQ(page->path(), target);
}

TEST_F(EditorWindowTest, OpeningAMissingFileTellsTheAuthor) {
    EXPECT_EQ(m_harness.window().openPage(m_harness.dir.filePath("gone.html")), nullptr);
    ASSERT_EQ(m_harness.messages.shown.size(), 1u);
    EXPECT_TRUE(m_harness.messages.shown[0].text.contains("gone.html"));
}

TEST_F(EditorWindowTest, ActivePageWindowFollowsTheCurrentTabAndNeedsAPage) {
    auto app = m_harness.window().application();
    com::ComPtr<com::IPageWindow> window;
    const com::HRESULT none = app->get_ActivePageWindow(window.put());
    EXPECT_TRUE(com::failed(none));
    const auto info = com::takeErrorInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->description, "No page is open in the editor");

    host::Page* a = m_harness.window().openPage(m_harness.writeFile("a.html", "<p>a</p>"));
    host::Page* b = m_harness.window().openPage(m_harness.writeFile("b.html", "<p>b</p>"));
    com::check(app->get_ActivePageWindow(window.put()));
    EXPECT_EQ(window.get(), b->window().get());
    m_harness.window().activatePage(a);
    com::check(app->get_ActivePageWindow(window.put()));
    EXPECT_EQ(window.get(), a->window().get());

    // Late binding reaches the same members.
    const com::Variant viaName =
        com::invokeByName(app.get(), "activepagewindow", com::InvokeKind::PropertyGet);
    EXPECT_EQ(com::query<com::IPageWindow>(viaName.toObject()).get(), window.get());
}

TEST_F(EditorWindowTest, PageFormatStaysInTheStatusBarWhenAMenuItemIsHovered) {
    host::EditorWindow& window = m_harness.window();
    window.openPage(m_harness.writeFile("a.html", "<p>a</p>\n"));
    const auto* format = window.statusBar()->findChild<QLabel*>("pageFormat");
    ASSERT_TRUE(format);
    const QString shown = format->text();
    EXPECT_TRUE(shown.startsWith("UTF-8")) << shown.toStdString();
    // Hovering a menu item sends its (empty) status tip, which replaces the bar's message.
    QStatusTipEvent tip(QString{});
    QCoreApplication::sendEvent(&window, &tip);
    EXPECT_EQ(format->text(), shown);
    EXPECT_FALSE(format->isHidden());
}

TEST_F(EditorWindowTest, ViewModesFollowTheViewMenuAreRememberedAndDocumentIsTheLiveText) {
    host::Page* page = m_harness.window().openPage(m_harness.writeFile("a.html", "<body></body>"));
    auto window = page->window();
    std::int32_t mode = 0;
    com::check(window->get_ViewMode(&mode));
    EXPECT_EQ(mode, 1) << "source and rendered page side by side";
    auto* source = m_harness.window().findChild<QAction*>("viewSource");
    auto* rendered = m_harness.window().findChild<QAction*>("viewRenderedPage");
    ASSERT_TRUE(source && rendered);
    for (const auto& [set, sourceOn, renderedOn] :
         {std::tuple{2, true, false}, {3, false, true}, {1, true, true}}) {
        com::check(window->put_ViewMode(set));
        com::check(window->get_ViewMode(&mode));
        EXPECT_EQ(mode, set);
        EXPECT_EQ(source->isChecked(), sourceOn) << set;
        EXPECT_EQ(rendered->isChecked(), renderedOn) << set;
    }
    EXPECT_TRUE(com::failed(window->put_ViewMode(4)));
    EXPECT_NE(com::takeErrorInfo()->description.find("1 (source and rendered page side by side)"),
              std::string::npos);
    rendered->trigger();
    source->trigger();
    EXPECT_TRUE(source->isChecked() != rendered->isChecked()) << "one side always shows";
    com::check(window->get_ViewMode(&mode));
    EXPECT_EQ(mode, 3);
    window = nullptr;
    m_harness.stop();
    m_harness.start();
    page = m_harness.window().openPage(m_harness.dir.filePath("a.html"));
    com::check(page->window()->get_ViewMode(&mode));
    EXPECT_EQ(mode, 3) << "the choice is remembered";
    window = page->window();

    com::ComPtr<com::IHTMLDocument2> first, second;
    com::check(window->get_Document(first.put()));
    com::check(window->get_Document(second.put()));
    EXPECT_EQ(first.get(), second.get()) << "one document per page keeps its parse";
    auto* fake = static_cast<FakeHtmlDocument*>(first.get());
    QTest::keyClicks(m_harness.window().editorOf(page), "x");
    EXPECT_EQ(fake->text->text(), "x<body></body>") << "typing is seen without any flush";
}

TEST_F(EditorWindowTest, PageWindowHeldAfterItsPageClosedFails) {
    host::Page* page = m_harness.window().openPage(m_harness.writeFile("a.html", "<p></p>"));
    auto window = page->window();
    ASSERT_TRUE(m_harness.window().closePage(page));
    com::ComPtr<com::IHTMLDocument2> document;
    EXPECT_TRUE(com::failed(window->get_Document(document.put())));
    EXPECT_EQ(com::takeErrorInfo()->description, "The page window has been closed");
    EXPECT_TRUE(com::failed(window->put_ViewMode(1)));
}

}  // namespace
