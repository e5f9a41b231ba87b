// The editor as a desktop program: its --help, the Help menu, Open Recent, what is kept from
// one run to the next, and the keyboard's way between the page's parts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include "host/editor/command_line.h"
#include "host/editor/editor_tab.h"
#include "host/editor/editor_window.h"
#include "host/editor/form_check_panel.h"
#include "host/editor/page.h"
#include "host/editor/run_editor.h"
#include "host/editor/site_panel.h"
#include "host/editor/site_published_at.h"
#include "host/editor/translations.h"
#include "support/editor_harness.h"

namespace {

TEST(DesktopProgram, HelpGivesEveryUsageLineBeforeTheOptions) {
    const QStringList lines = host::usage().split(u'\n');
    qsizetype lastUsage = -1, firstOption = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith("Usage:") || lines[i].startsWith("       pagehost")) lastUsage = i;
        if (lines[i].startsWith("  -") && firstOption < 0) firstOption = i;
    }
    EXPECT_GT(firstOption, lastUsage) << host::usage().toStdString();
    for (const char* form : {"--update-region ID", "--check-form [", "--tour DIR ["})
        EXPECT_TRUE(lines.filter(form).value(0).startsWith("       pagehost")) << form;
}

class Desktop : public testing::Test {
protected:
    host::EditorWindow& window() { return m_harness.window(); }
    QAction& action(const char* name) {
        auto* a = window().findChild<QAction*>(name);
        EXPECT_NE(a, nullptr) << name;
        static QAction none;
        return a ? *a : none;
    }
    EditorHarness m_harness;
};

TEST_F(Desktop, HandbookAndAboutShowWhatIsInstalled) {
    action("helpHandbook").trigger();
    ASSERT_EQ(m_harness.opened.size(), 1u);
    QFile handbook(m_harness.opened[0].toLocalFile());
    ASSERT_TRUE(handbook.open(QIODevice::ReadOnly)) << handbook.fileName().toStdString();
    const QByteArray text = handbook.readAll();
    for (const char* section : {"Getting started", "The sign-up wizard", "what each finding means",
                                "region update", "safe mode", "Where files are kept"})
        EXPECT_TRUE(text.contains(section)) << section;
    EXPECT_EQ(action("helpHandbook").shortcut(), QKeySequence(Qt::Key_F1));

    QString about;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        about = dialog->findChild<QLabel*>("aboutText")->text();
        dialog->findChild<QPushButton*>("aboutClose")->click();
    });
    action("helpAbout").trigger();
    for (const QString& part :
         {host::programVersion(), QStringLiteral("MIT"), QStringLiteral("axe-core"),
          QStringLiteral("MPL-2.0"), QStringLiteral("ISC")})
        EXPECT_TRUE(about.contains(part)) << part.toStdString() << " in " << about.toStdString();
}

TEST_F(Desktop, OpenRecentListsPagesAndSitesAndOpensThem) {
    for (int i = 0; i < 12; ++i)
        window().openPage(m_harness.writeFile(QString("p%1.html").arg(i), "<p></p>"));
    auto* recent = window().findChild<QMenu*>("recentMenu");
    ASSERT_TRUE(recent);
    emit recent->aboutToShow();
    const QList<QAction*> entries = recent->actions();
    ASSERT_EQ(entries.size(), 10) << "the last ten";
    EXPECT_TRUE(entries[0]->text().endsWith("p11.html"));
    window().closePage(window().activePage());
    entries[0]->trigger();
    ASSERT_TRUE(window().activePage());
    EXPECT_TRUE(window().activePage()->path().endsWith("p11.html"));
}

TEST_F(Desktop, WindowAndLastSessionComeBackTheSessionOnlyOffered) {
    const QString a = m_harness.writeFile("a.html", "<p>a</p>");
    const QString b = m_harness.writeFile("b.html", "<p>b</p>");
    window().openPage(a);
    window().openPage(b);
    window().setGeometry(120, 90, 700, 500);
    const QRect placed = window().geometry();
    ASSERT_TRUE(window().close());
    m_harness.stop();

    m_harness.start();
    EXPECT_EQ(window().geometry(), placed);
    EXPECT_TRUE(window().pages().empty()) << "offered, not opened";
    window().offerLastSession();
    auto* bar = window().findChild<QWidget*>("sessionOfferBar");
    ASSERT_TRUE(bar);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(bar->findChild<QLabel*>("sessionOfferText")->text().contains("b.html"));
    bar->findChild<QPushButton*>("sessionReopen")->click();
    ASSERT_EQ(window().pages().size(), 2u);
    EXPECT_EQ(window().pages()[0]->path(), a);
    EXPECT_TRUE(bar->isHidden());
}

TEST_F(Desktop, APageOnTheCommandLineWinsOverTheLastSession) {
    const QString remembered = m_harness.writeFile("remembered.html", "<p>r</p>");
    const QString named = m_harness.writeFile("named.html", "<p>n</p>");
    // Named: that page alone, nothing offered. None named: nothing opened, the session offered.
    for (const QStringList& commandLine : {QStringList{named}, QStringList{}}) {
        SCOPED_TRACE(commandLine.join(' ').toStdString());
        window().openPage(remembered);
        ASSERT_TRUE(window().close());
        m_harness.stop();
        m_harness.start();

        host::openStartPages(window(), commandLine);
        ASSERT_EQ(window().pages().size(), std::size_t(commandLine.size()));
        if (!commandLine.isEmpty()) {
            EXPECT_EQ(window().pages()[0]->path(), named);
        }
        auto* bar = window().findChild<QWidget*>("sessionOfferBar");
        ASSERT_TRUE(bar);
        EXPECT_EQ(bar->isHidden(), !commandLine.isEmpty());
        if (!commandLine.isEmpty()) window().closePage(window().activePage());
    }
}

TEST(DesktopKeyboard, PublishedAtRefusalIsTheFieldsAccessibleDescription) {
    host::site::SitePanel panel;
    auto* field = panel.findChild<QLineEdit*>("sitePublishedAt");
    const QString problem = host::site::publishedAtProblem("www.club.example");
    panel.setPublishedAtProblem(problem);
    EXPECT_EQ(field->accessibleDescription(), problem);
    panel.setPublishedAtProblem({});
    EXPECT_TRUE(field->accessibleDescription().isEmpty()) << "the tool tip describes it again";
}

// The editor as it starts for LANG=de_DE.UTF-8: the installed catalogue and Qt's own.
TEST(DesktopLanguage, GermanMenusAndDialogsFollowTheLocale) {
    EXPECT_EQ(QLocale(QStringLiteral("de_DE.UTF-8")).language(), QLocale::German);
    ASSERT_FALSE(host::installTranslations(QLocale(QStringLiteral("de_DE.UTF-8"))).isEmpty());
    {
        EditorHarness harness;
        QStringList titles;
        for (QAction* a : harness.window().menuBar()->actions()) titles << a->text();
        EXPECT_EQ(titles.join(u' '), "&Datei &Bearbeiten &Einfügen &Ansicht E&xtras &Hilfe");
        EXPECT_EQ(harness.window().findChild<QAction*>("focusNextPart")->text(),
                  "&Nächster Bereich");
        QString about;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                about = dialog->windowTitle() + dialog->findChild<QLabel*>("aboutText")->text();
                dialog->close();
            }
        });
        harness.window().findChild<QAction*>("helpAbout")->trigger();
        EXPECT_TRUE(about.startsWith(u"Über PageHost")) << about.toStdString();
        EXPECT_TRUE(about.contains("MIT-Lizenz")) << about.toStdString();
    }
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

// Starts the rendered view (Chromium): a browser case.
TEST_F(Desktop, F6ReachesSourceRenderedPageAndFormCheckAndTheSplitIsKept) {
    host::Page* page = window().openPage(m_harness.writeFile("a.html", "<p>a</p>"));
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    host::EditorTab* tab = window().tabOf(page);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return (tab->rendered() && tab->rendered()->widget()->isVisible()) ||
                   tab->findChild<QLabel*>("renderedFailure");
        },
        20000));
    action("focusFormCheck").trigger();
    window().editorOf(page)->setFocus();
    QWidget* parts[] = {tab->findChild<QWidget*>("renderedSide"), window().formCheck().list(),
                        window().editorOf(page)};
    const auto in = [](QWidget* part) {
        QWidget* f = QApplication::focusWidget();
        return f && (f == part || part->isAncestorOf(f));
    };
    for (QWidget* part : parts) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        EXPECT_TRUE(QTest::qWaitFor([&] { return in(part); }, 2000))
            << part->objectName().toStdString();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return in(parts[1]); }, 2000)) << "Shift+F6 goes back";
    action("focusRenderedPage").trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return in(parts[0]); }, 2000));

    tab->setSizes({300, 700});
    emit tab->splitterMoved(300, 1);
    window().hide();
    m_harness.stop();
    m_harness.start();
    tab = window().tabOf(window().openPage(m_harness.dir.filePath("a.html")));
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    const QList<int> sizes = tab->sizes();
    EXPECT_NEAR(double(sizes[0]) / (sizes[0] + sizes[1]), 0.3, 0.02) << "the split is kept";
    window().hide();
}

}  // namespace
