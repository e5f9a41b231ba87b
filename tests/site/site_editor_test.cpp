// The editor's site features as the author meets them: Open Site, the recent list, the offer
// above a page whose region changed, the review, the update of open and closed pages, and
// Undo Site Update.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>
#include <algorithm>
#include <thread>

#include "host/editor/default_html_documents.h"
#include "host/editor/form_check_panel.h"
#include "host/editor/page.h"
#include "host/editor/region_review_dialog.h"
#include "host/editor/region_update_bar.h"
#include "host/editor/site_controller.h"
#include "host/editor/site_dialogs.h"
#include "host/editor/site_panel.h"
#include "host/site/region_lookup.h"
#include "support/editor_harness.h"

namespace {

struct ScriptedSiteDialogs : host::site::SiteDialogs {
    QString askSiteFolder(QWidget*) override { return folder; }
    std::optional<std::vector<bool>> reviewRegionUpdate(
        QWidget*, const QString&, const std::vector<host::site::RegionReviewItem>& items) override {
        reviewed = items;
        return answer;
    }
    QString folder;
    std::optional<std::vector<bool>> answer;
    std::vector<host::site::RegionReviewItem> reviewed;
};

const QByteArray kPage = "<html><body>\n<div id=\"OstrelInsert\"><p>old</p></div>\n</body></html>\n";
const std::string kNew = "<p>new</p>";

class SiteEditorTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.html", "b.html", "c.html", "e.html"}) write(name, kPage);
        write("d.html", "<p>no region</p>");
        host::EditorServices services;
        services.messages = &m_messages;
        services.fileDialogs = &m_files;
        services.siteDialogs = &m_siteDialogs;
        services.documents = host::defaultHtmlDocuments();
        services.settingsPath = m_dir.filePath(".pagehost.ini");
        m_session = std::make_unique<host::EditorSession>(std::move(services));
    }
    void TearDown() override { m_session->shutdown(); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(m_dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    host::EditorWindow& window() { return m_session->window(); }
    // The add-in replaces the region on a.html, the active page.
    void changeRegionOnA() {
        host::Page* active = window().openPage(m_dir.filePath("a.html"));
        host::PageModel model(active->pageText());
        const auto snapshot = model.snapshot();
        model.setInnerHtml(
            model.refOf(*snapshot, host::site::elementsWithId(*snapshot, "OstrelInsert").front()),
            kNew);
        window().site().checkActivePage();
    }

    QTemporaryDir m_dir;
    ScriptedMessages m_messages;
    ScriptedFileDialogs m_files;
    ScriptedSiteDialogs m_siteDialogs;
    std::unique_ptr<host::EditorSession> m_session;
};

TEST_F(SiteEditorTest, AChangedRegionIsOfferedReviewedAppliedAndUndone) {
    host::site::SiteController& site = window().site();
    write("large.html", kPage);  // sparse: too large for the update, shown with why
    QFile(m_dir.filePath("large.html")).resize(qint64(40) << 20);
    host::Page* open = window().openPage(m_dir.filePath("b.html"));
    m_siteDialogs.folder = m_dir.path();
    window().findChild<QAction*>("openSiteAction")->trigger();
    EXPECT_EQ(window().findChild<QTreeWidget*>("siteTree")->topLevelItemCount(), 5);
    EXPECT_EQ(site.recentEntries().value(0), m_dir.path());

    changeRegionOnA();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !site.bar()->isHidden(); }, 20000));
    const QString offered = site.bar()->findChild<QLabel*>("regionUpdateText")->text();
    EXPECT_TRUE(offered.contains("4 other pages of the site hold it")) << offered.toStdString();

    m_siteDialogs.answer = std::vector{true, true, false, false};  // b (open), c, e, large
    site.reviewOffer();
    ASSERT_EQ(m_siteDialogs.reviewed.size(), 4u);
    EXPECT_TRUE(m_siteDialogs.reviewed[0].label.contains("open"));
    EXPECT_FALSE(m_siteDialogs.reviewed[3].checked);
    EXPECT_TRUE(m_siteDialogs.reviewed[3].label.contains("large.html - it is 40.0 MB"))
        << m_siteDialogs.reviewed[3].label.toStdString();
    EXPECT_EQ(m_siteDialogs.reviewed[1].diff(), "- <p>old</p>\n+ <p>new</p>");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !site.busy(); }, 20000));
    EXPECT_TRUE(m_messages.shown.empty());

    QByteArray updated = kPage;
    updated.replace("<p>old</p>", "<p>new</p>");
    EXPECT_EQ(EditorHarness::readFile(m_dir.filePath("c.html")), updated);
    EXPECT_EQ(EditorHarness::readFile(m_dir.filePath("e.html")), kPage) << "not checked";
    EXPECT_EQ(EditorHarness::readFile(m_dir.filePath("b.html")), kPage) << "open: not saved";
    EXPECT_EQ(open->document()->toPlainText().toUtf8(), updated);
    EXPECT_TRUE(open->isModified());
    open->document()->undo();
    EXPECT_EQ(open->document()->toPlainText().toUtf8(), kPage) << "one undo step";

    ASSERT_TRUE(site.undoAction()->isEnabled());
    site.undoAction()->trigger();
    EXPECT_EQ(EditorHarness::readFile(m_dir.filePath("c.html")), kPage);
    EXPECT_FALSE(site.undoAction()->isEnabled());
}

// At the window's default size the site panel leaves the page most of the width.
TEST_F(SiteEditorTest, TheSitePanelOpensNarrow) {
    window().show();
    m_siteDialogs.folder = m_dir.path();
    window().findChild<QAction*>("openSiteAction")->trigger();
    auto* panel = window().findChild<host::site::SitePanel*>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isVisible() && panel->width() > 0; }));
    EXPECT_LT(panel->width(), window().width() / 4);
}

// The site's published-at address is the author's entry in the panel: a wrong one is named
// and not kept, a right one is kept for the folder and tells the form check how the pages
// are served.
TEST_F(SiteEditorTest, PublishedAtIsKeptPerSiteAndTellsTheFormCheck) {
    write("f.html",
          "<body><div id=OstrelInsert><form action='http://list.example/join'>"
          "</form></div></body>");
    ASSERT_TRUE(window().site().openSite(m_dir.path()));
    auto* panel = window().findChild<host::site::SitePanel*>();
    const auto enter = [&](const QString& text) {
        panel->publishedAtField()->setText(text);
        emit panel->publishedAtField()->editingFinished();
    };
    const auto publishedOverHttps = [&] {
        host::Page* page = window().openPage(m_dir.filePath("f.html"));
        window().formCheck().check(page, host::FormCheckPanel::Start::asked);
        const auto found = window().formCheck().findings(page);
        return std::any_of(found.begin(), found.end(), [](const auto& f) {
            return f.what.contains("while the page is published over https");
        });
    };
    enter("club.example/news");
    auto* problem = panel->findChild<QLabel*>("sitePublishedAtProblem");
    EXPECT_TRUE(
        problem->text().startsWith("\"club.example/news\" is not a full http: or https: "
                                   "address"))
        << problem->text().toStdString();
    EXPECT_EQ(panel->publishedAtField()->text(), "club.example/news") << "the entry stays to mend";
    EXPECT_EQ(window().site().publishedAt(), "");
    EXPECT_FALSE(publishedOverHttps());

    enter("https://club.example/");
    EXPECT_TRUE(problem->isHidden());
    EXPECT_EQ(window().site().publishedAt(), "https://club.example/");
    EXPECT_TRUE(publishedOverHttps());

    // The next start finds it with the folder.
    m_session->shutdown();
    SetUp();
    ASSERT_TRUE(window().site().openSite(m_dir.path()));
    EXPECT_EQ(window().findChild<host::site::SitePanel*>()->publishedAtField()->text(),
              "https://club.example/");
}

// The review dialog is laid out for reading the diff, and Update is the default Enter presses,
// as assistive technology sees it, also after Cancel had the focus.
TEST(RegionReviewDialog, TheDiffGetsTheRoomAndUpdateIsTheDefault) {
    const QString line = QString("+ <p>%1</p>").arg(QString(300, u'x'));
    host::site::RegionReviewDialog dialog(
        "OstrelInsert", {{"/s/b.html", "b.html", [&] { return line; }, true}});
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* pages = dialog.findChild<QWidget*>("regionReviewPages");
    auto* diff = dialog.findChild<QPlainTextEdit*>("regionReviewDiff");
    EXPECT_GT(diff->width(), 2 * pages->width());
    EXPECT_FALSE(diff->horizontalScrollBar()->isVisible()) << "long lines wrap";
    QPushButton* cancel = nullptr;
    for (auto* b : dialog.findChildren<QPushButton*>())
        if (b->objectName() != "regionReviewUpdate") cancel = b;
    ASSERT_TRUE(cancel);
    cancel->setFocus();
    pages->setFocus();
    const auto isDefault = [](QWidget* w) {
        return bool(QAccessible::queryAccessibleInterface(w)->state().defaultButton);
    };
    EXPECT_TRUE(isDefault(dialog.findChild<QPushButton*>("regionReviewUpdate")));
    EXPECT_FALSE(isDefault(cancel));
}

TEST_F(SiteEditorTest, CancelDuringAnUpdateLeavesEveryFileAndOpenPageAsItWas) {
    host::site::SiteController& site = window().site();
    host::Page* open = window().openPage(m_dir.filePath("b.html"));
    ASSERT_TRUE(site.openSite(m_dir.path()));
    std::map<QString, QByteArray> before;
    for (const char* name : {"a.html", "b.html", "c.html", "d.html", "e.html"})
        before[name] = EditorHarness::readFile(m_dir.filePath(name));

    changeRegionOnA();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !site.bar()->isHidden(); }, 20000));

    site.applyOffer();
    // Pressed while the update is under way; the pages may be planned by then, but the window
    // has not written or edited any.
    ASSERT_TRUE(site.busy());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    window().findChild<QPushButton*>("siteCancel")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !site.busy(); }, 20000));

    for (const auto& [name, bytes] : before)
        EXPECT_TRUE(EditorHarness::readFile(m_dir.filePath(name)) == bytes) << name.toStdString();
    EXPECT_EQ(open->document()->toPlainText().toUtf8(), kPage);
    EXPECT_FALSE(open->isModified());
    EXPECT_FALSE(site.undoAction()->isEnabled());
    EXPECT_TRUE(window().statusBar()->currentMessage().contains("cancelled"))
        << window().statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(m_messages.shown.empty());
}

}  // namespace
