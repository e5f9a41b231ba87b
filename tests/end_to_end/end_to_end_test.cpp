// The whole road with the real module in the editor, on a real page file: a click on
// "Ostrel...", the wizard driven by its controls' names, and the page afterwards.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <map>

#include "host/editor/default_html_documents.h"
#include "host/editor/page.h"
#include "support/editor_harness.h"

namespace {

constexpr com::Guid kConnectClass = com::Guid::literal("{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}");

const QByteArray kPage =
    "<!DOCTYPE html>\n<html>\n<head><title>Club</title></head>\n<body>\n"
    "<h1>Caf\xc3\xa9 club</h1>\n<p>Sign up below.</p>\n</body>\n</html>\n";

// What the author does in the wizard, by control name; runs while the wizard is open.
using WizardScript = std::function<void(QWidget& wizard)>;

template <class T>
T* control(QWidget& wizard, const char* name) {
    auto* c = wizard.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void press(QWidget& wizard, const char* name) {
    QTest::mouseClick(control<QPushButton>(wizard, name), Qt::LeftButton);
}
void next(QWidget& wizard, int times) {
    for (int i = 0; i < times; ++i) press(wizard, "cmdWizControl_2");
}
void type(QWidget& wizard, const char* box, const QString& text) {
    auto* edit = control<QLineEdit>(wizard, box);
    edit->clear();
    QTest::keyClicks(edit, text);
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override {
        settingsFile = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       "/Ostrel_Plugin.ini";
        QFile::remove(settingsFile);
        QDir().mkpath(QFileInfo(settingsFile).path());
        pagePath = dir.filePath("club.html");
        writeBytes(pagePath, kPage);

        host::EditorServices services;
        services.messages = &messages;
        services.fileDialogs = &files;
        services.documents = host::defaultHtmlDocuments();
        services.settingsPath = dir.filePath("pagehost.ini");
        session = std::make_unique<host::EditorSession>(std::move(services));
        auto& module = session->loadAddIn({OSTREL_MODULE, kConnectClass}, com::ext_cm_Startup);
        ASSERT_EQ(module.state(), host::AddInModule::State::Connected) << module.error();
        page = session->window().openPage(pagePath);
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override {
        if (page && page->isModified()) messages.answers.push_back(host::MessageButton::Discard);
        session->shutdown();
        session.reset();
        QFile::remove(settingsFile);
    }

    static void writeBytes(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void writeSettings(const std::string& lines) {
        std::ofstream(settingsFile.toStdString()) << "[Persist_Data]\n" << lines;
    }

    // Clicks "Ostrel..." and plays the script in the wizard it opens. Boxes the wizard
    // shows itself are recorded and closed.
    void runWizard(const WizardScript& script) {
        QAction* button = nullptr;
        for (QAction* a : session->window().findChild<QToolBar*>("Insert")->actions())
            if (a->text() == "Ostrel...") button = a;
        ASSERT_NE(button, nullptr);
        bool played = false;
        // Boxes the wizard shows come up while the script is still running, so they are
        // answered by a timer of their own.
        QTimer boxes;
        boxes.setInterval(1);
        QObject::connect(&boxes, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                wizardBoxes.push_back(box->text());
                box->accept();
            }
        });
        QTimer driver;
        driver.setInterval(1);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (played || !modal || modal->objectName() != "frmOstWiz") return;
            played = true;
            modal->activateWindow();
            script(*modal);
        });
        boxes.start();
        driver.start();
        button->trigger();
        EXPECT_TRUE(played);
    }

    std::string pageText() const { return page->pageText()->text(); }
    static int count(const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }

    QTemporaryDir dir;
    QString settingsFile;
    QString pagePath;
    ScriptedMessages messages;
    ScriptedFileDialogs files;
    std::unique_ptr<host::EditorSession> session;
    host::Page* page = nullptr;
    QStringList wizardBoxes;
};

TEST_F(EndToEnd, WebFormWithDefaultsGoesAtTheEndOfTheBodyAndSaves) {
    runWizard([](QWidget& w) {
        next(w, 7);
        press(w, "cmdWizControl_3");
    });
    // The division goes on its own line just before </body>; the page's own bytes stay as
    // they were, and the snippet's CR LF become the page's LF.
    const std::string text = pageText();
    const std::string original(kPage.constData());
    const std::size_t bodyEnd = original.find("</body>");
    const auto div = text.find("<div id='OstrelInsert'>\n<form class=\"ostrel-signup\"");
    ASSERT_EQ(div, bodyEnd) << text;
    EXPECT_EQ(text.substr(0, bodyEnd), original.substr(0, bodyEnd));
    EXPECT_TRUE(text.ends_with("</form>\n</div>\n</body>\n</html>\n")) << text;
    EXPECT_NE(text.find("name=\"list\" value=\"None\""), std::string::npos);
    EXPECT_NE(text.find("<h2 id=\"ostrel-signup-heading\">For More Information</h2>"), std::string::npos);
    EXPECT_NE(text.find("name=\"tracking\" value=\"adcategory\""), std::string::npos);
    EXPECT_NE(text.find("name=\"redirect\" value=\"http://www.publisher.example/\""), std::string::npos)
        << "the remembered thank-you default is the publisher's home page";
    EXPECT_NE(text.find("name=\"start_message\" value=\"1\""), std::string::npos);
    EXPECT_NE(text.find("name=\"required\" value=\"name,from\""), std::string::npos);

    // The insertion is one undo step; the add-in never saves.
    EXPECT_TRUE(page->isModified());
    EXPECT_EQ(EditorHarness::readFile(pagePath), kPage);
    ASSERT_TRUE(session->window().savePage(page));
    EXPECT_EQ(EditorHarness::readFile(pagePath).toStdString(), text);
    session->window().editorOf(page)->undo();
    EXPECT_EQ(pageText(), kPage.toStdString());
    EXPECT_TRUE(wizardBoxes.isEmpty());
}

TEST_F(EndToEnd, EveryEntryGoesInAsTypedAndARerunUpdatesInPlace) {
    runWizard([](QWidget& w) {
        next(w, 1);
        type(w, "txtUserName", "jane\"<&>'list");
        next(w, 2);
        type(w, "txtFormHeader", "Join <b>us</b> & friends");
        next(w, 1);
        type(w, "txtThankURL", "http://site.example/thanks?a=1&b=\"2\"");
        next(w, 1);
        type(w, "txtAdTracking", "ezine<ad>");
        next(w, 1);
        type(w, "txtMsgNo", "4");
        next(w, 1);
        QTest::mouseClick(control<QCheckBox>(w, "chkRequire_1"), Qt::LeftButton);
        press(w, "cmdWizControl_3");
    });
    std::string text = pageText();
    EXPECT_NE(text.find("value=\"jane\"<&>'list\""), std::string::npos) << text;
    EXPECT_NE(text.find(">Join <b>us</b> & friends</h2>"), std::string::npos);
    EXPECT_NE(text.find("value=\"http://site.example/thanks?a=1&b=\"2\"\""), std::string::npos);
    EXPECT_NE(text.find("value=\"ezine<ad>\""), std::string::npos);
    EXPECT_NE(text.find("name=\"start_message\" value=\"4\""), std::string::npos);
    EXPECT_NE(text.find("name=\"required\" value=\"name\""), std::string::npos);

    // The next run shows what was typed, and replaces the form instead of adding one.
    QString shownUser, shownMsgNo;
    runWizard([&](QWidget& w) {
        shownUser = control<QLineEdit>(w, "txtUserName")->text();
        shownMsgNo = control<QLineEdit>(w, "txtMsgNo")->text();
        type(w, "txtUserName", "second");
        next(w, 7);
        press(w, "cmdWizControl_3");
    });
    EXPECT_EQ(shownUser, "jane\"<&>'list");
    EXPECT_EQ(shownMsgNo, "4");
    text = pageText();
    EXPECT_EQ(count(text, "OstrelInsert"), 1) << text;
    EXPECT_EQ(count(text, "<form"), 1);
    EXPECT_NE(text.find("value=\"second\""), std::string::npos);
}

TEST_F(EndToEnd, EmailLinkWithAndWithoutItsTemplate) {
    auto emailLink = [](QWidget& w) {
        next(w, 1);
        type(w, "txtUserName", "jane");
        next(w, 1);
        QTest::mouseClick(control<QRadioButton>(w, "Option1_0"), Qt::LeftButton);
        next(w, 1);
        type(w, "txtLinkText", "Join us");
        press(w, "cmdWizControl_3");
    };
    runWizard(emailLink);
    // Just before </body>.
    auto withDivision = [](const std::string& division) {
        std::string original = kPage.toStdString();
        return original.insert(original.find("</body>"), division);
    };
    EXPECT_EQ(pageText(), withDivision("<div id='OstrelInsert'>\n</div>\n"))
        << "without MailtoLink the link is empty";

    writeSettings("MailtoLink=<a href=\"mailto:<<EMAIL>>\"><<MAILTOTEXT>></a>\n");
    runWizard(emailLink);
    const std::string text = pageText();
    EXPECT_EQ(text, withDivision("<div id='OstrelInsert'><a href=\"mailto:jane@ostrel.example\">"
                                 "Join us</a></div>\n"))
        << "the second run fills the division in place";
    EXPECT_EQ(count(text, "OstrelInsert"), 1);
}

TEST_F(EndToEnd, CancelLeavesThePageUnchanged) {
    runWizard([](QWidget& w) {
        next(w, 7);
        press(w, "cmdWizControl_0");
    });
    EXPECT_EQ(pageText(), kPage.toStdString());
    EXPECT_FALSE(page->isModified());
}

TEST_F(EndToEnd, AMissingTemplateIsShownAndNothingChanges) {
    writeSettings("TemplateFileName=not-there.wtf\n");
    bool stillOpen = false;
    runWizard([&](QWidget& w) {
        type(w, "txtUserName", "jane");
        next(w, 7);
        press(w, "cmdWizControl_3");
        // The wizard's box has been answered by now; the wizard waits on its last page. The
        // time is let pass on purpose: the wizard does not close in it.
        QTest::qWait(50);
        stillOpen = w.isVisible();
        // Closed, not cancelled: a close status set before the failed snippet would insert.
        w.close();
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(wizardBoxes.size(), 1);
    EXPECT_TRUE(wizardBoxes[0].contains("not-there.wtf")) << wizardBoxes[0].toStdString();
    EXPECT_EQ(pageText(), kPage.toStdString());
    std::ifstream settings(settingsFile.toStdString());
    const std::string stored((std::istreambuf_iterator<char>(settings)), {});
    EXPECT_EQ(stored.find("UserID"), std::string::npos) << "nothing is written";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EndToEnd, AClickWithNoPageOpenIsReportedByTheEditor) {
    ASSERT_TRUE(session->window().closePage(page));
    page = nullptr;
    runWizard([](QWidget& w) {
        next(w, 7);
        press(w, "cmdWizControl_3");
    });
    ASSERT_EQ(messages.shown.size(), 1u);
    const auto& box = messages.shown[0];
    EXPECT_TRUE(box.text.contains("91")) << box.text.toStdString();
}

// The tour keeps the add-in's settings in its own folder: the user's configuration folder is
// the same, file for file and byte for byte, before and after it.
TEST(TourSettings, TheUsersSettingsFolderIsLeftAsItWas) {
    QTemporaryDir home;
    const QString config = home.filePath(".config");
    QDir().mkpath(config);
    {
        std::ofstream(QFile::encodeName(config + "/Ostrel_Plugin.ini").constData())
            << "[Persist_Data]\nUserID=mine\n";
    }
    const auto snapshot = [&config] {
        std::map<QString, QByteArray> files;
        QDirIterator it(config, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            files[it.filePath()] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(folder)");
        }
        return files;
    };
    const auto before = snapshot();
    const QString page = home.filePath("page.html");
    {
        std::ofstream(QFile::encodeName(page).constData()) << "<html><body><p>Hi</p></body></html>\n";
    }
    QProcess tour;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", config);
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (env.contains("ASAN_OPTIONS"))
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":new_delete_type_mismatch=0");
    tour.setProcessEnvironment(env);
    const QString folder = home.filePath("tour");
    tour.start(PAGEHOST, {"--tour", folder, "--addin", OSTREL_MODULE, "--clsid",
                          QString::fromStdString(kConnectClass.toString()), page});
    ASSERT_TRUE(tour.waitForFinished(120000));
    const QByteArray out = tour.readAllStandardOutput() + tour.readAllStandardError();
    EXPECT_TRUE(tour.exitCode() == 0 || tour.exitCode() == 3) << out.toStdString();
    EXPECT_TRUE(snapshot() == before) << "the tour wrote into the user's configuration folder";
    QFile kept(folder + "/settings/Ostrel_Plugin.ini");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << out.toStdString();
    EXPECT_TRUE(kept.readAll().contains("demo-list"));
}

}  // namespace
