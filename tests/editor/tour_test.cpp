// The unattended tour: its script, and pagehost playing it with a real add-in module.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <unistd.h>
#include <QTemporaryDir>

#include "host/editor/tour_script.h"
#include "support/editor_harness.h"

namespace {

TEST(TourScript, DefaultRoadReadsAndBadLinesAreNamed) {
    const auto steps = host::parseTourScript(host::defaultTourScript());
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps[1].kind, host::TourStep::Kind::RenderedShot) << "the page before the insertion";
    EXPECT_EQ(steps[2].kind, host::TourStep::Kind::Click);
    EXPECT_EQ(steps[2].target, "Insert");
    EXPECT_EQ(steps[2].argument, "Ostrel...");
    EXPECT_EQ(steps.back().kind, host::TourStep::Kind::RenderedShot);

    const auto typed =
        host::parseTourScript("# comment\n\ndialog-text txtFormHeader Join  our list\n");
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_EQ(typed[0].argument, "Join  our list") << "the text is the rest of the line";
    EXPECT_EQ(typed[0].line, 3);

    for (const char* bad : {"shot\n", "save now\n", "click Insert\n", "dance\n"}) {
        try {
            host::parseTourScript(QString("shot a\n") + bad);
            ADD_FAILURE() << bad;
        } catch (const host::TourScriptError& e) {
            EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
        }
    }
}

class TourRun : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_page = m_dir.filePath("page.html");
        QFile page(m_page);
        page.open(QIODevice::WriteOnly);
        page.write("<html>\r\n<body>\r\n<p>Welcome</p>\r\n</body>\r\n</html>\r\n");
    }
    int run(const QString& script, QString* output = nullptr, bool sandboxOff = true) {
        const QString scriptPath = m_dir.filePath("road.txt");
        QFile file(scriptPath);
        file.open(QIODevice::WriteOnly);
        file.write(script.toUtf8());
        file.close();
        QProcess pagehost;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        if (!sandboxOff) {
            env.remove("QTWEBENGINE_DISABLE_SANDBOX");
            env.remove("QTWEBENGINE_CHROMIUM_FLAGS");
        }
        // pagehost renders the page with Chromium, whose own code trips AddressSanitizer's
        // new/delete size check in a sanitizer build (see tests/preview/CMakeLists.txt).
        if (env.contains("ASAN_OPTIONS"))
            env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":new_delete_type_mismatch=0");
        pagehost.setProcessEnvironment(env);
        pagehost.start(PAGEHOST,
                       {"--tour", outDir(), "--tour-script", scriptPath, "--addin", FIXTURE_ADDIN,
                        "--clsid", "{6E0C1A52-3C1B-4F7E-9E55-0A4A3C1D2B01}", m_page});
        EXPECT_TRUE(pagehost.waitForFinished(120000));
        const QString out =
            QString::fromUtf8(pagehost.readAllStandardOutput() + pagehost.readAllStandardError());
        if (output) *output = out;
        return pagehost.exitStatus() == QProcess::NormalExit ? pagehost.exitCode() : -1;
    }
    QString outDir() const {
        return m_dir.filePath("out");
    }
    static QByteArray read(const QString& path) {
        return EditorHarness::readFile(path);
    }

    QTemporaryDir m_dir;
    QString m_page;
};

TEST_F(TourRun, PlaysTheRoadThroughTheAddInsDialogAndSavesPageAndPictures) {
    QString output;
    const int rc =
        run("shot editor-before\n"
            "click Insert Fixture...\n"
            "dialog-text txtUserName Ada\n"
            "dialog-click cmdWizControl_2\n"
            "dialog-shot fixture-dialog\n"
            "dialog-click cmdWizControl_3\n"
            "wait-closed\n"
            "save\n"
            "shot editor-after\n"
            "rendered-shot rendered-after\n",
            &output);
    EXPECT_EQ(rc, 0) << output.toStdString();
    for (const char* name :
         {"editor-before.png", "fixture-dialog.png", "editor-after.png", "rendered-after.png"}) {
        const QString path = QDir(outDir()).filePath(name);
        EXPECT_TRUE(output.contains(path)) << output.toStdString();
        const QImage picture(path);
        EXPECT_FALSE(picture.isNull()) << name;
        EXPECT_GT(picture.width(), 100) << name;
    }
    const QString edited = QDir(outDir()).filePath("page.html");
    EXPECT_TRUE(output.contains("Edited page: " + edited)) << output.toStdString();
    EXPECT_EQ(read(m_page), "<html>\r\n<body>\r\n<p>Welcome</p>\r\n</body>\r\n</html>\r\n")
        << "the tour works on a copy";
    // The page document decides where the body's end is; the editor keeps the file's CR LF.
    const QByteArray page = read(edited);
    EXPECT_TRUE(page.startsWith("<html>\r\n<body>\r\n<p>Welcome</p>\r\n")) << page.toStdString();
    EXPECT_TRUE(page.contains("<p class='fixture'>Hello Ada</p>\r\n")) << page.toStdString();
    EXPECT_EQ(page.count("\n"), page.count("\r\n")) << page.toStdString();
}

// As root, Chromium's sandbox cannot start: the tour says so and plays the rest of its road.
TEST_F(TourRun, WithoutTheRenderedPageTheTourGoesOnAndSaysSo) {
    if (geteuid() != 0) GTEST_SKIP() << "the sandbox starts for an ordinary user";
    QString output;
    EXPECT_EQ(run("rendered-shot rendered\nshot after\n", &output, false), 3)
        << output.toStdString();
    EXPECT_TRUE(output.contains("without pictures of the rendered page")) << output.toStdString();
    EXPECT_TRUE(output.contains("QTWEBENGINE_DISABLE_SANDBOX=1")) << output.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(outDir()).filePath("rendered.png")));
    EXPECT_TRUE(QFile::exists(QDir(outDir()).filePath("after.png")));
}

TEST_F(TourRun, AFolderHoldingFilesNoTourWroteIsRefusedAndKeptAsItIs) {
    ASSERT_TRUE(QDir().mkpath(outDir()));
    const QString foreign = QDir(outDir()).filePath("page.html");
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the author's own page");
    file.close();
    QString output;
    EXPECT_EQ(run("shot start\n", &output), 2);
    EXPECT_TRUE(output.contains("already holds page.html, which no tour wrote"))
        << output.toStdString();
    EXPECT_EQ(read(foreign), "the author's own page");
    EXPECT_FALSE(QFile::exists(QDir(outDir()).filePath("start.png")));

    ASSERT_TRUE(QFile::remove(foreign));
    EXPECT_EQ(run("shot ../escape\n", &output), 2);
    EXPECT_TRUE(output.contains("not a plain file name")) << output.toStdString();
    // A tour's own folder takes the next tour.
    EXPECT_EQ(run("shot start\n", &output), 0) << output.toStdString();
    EXPECT_EQ(run("shot start\n", &output), 0) << output.toStdString();
}

TEST_F(TourRun, StepThatCannotBePlayedStopsTheTourAndSaysWhich) {
    QString output;
    EXPECT_EQ(run("shot start\nclick Insert Missing...\n", &output), 1);
    EXPECT_TRUE(output.contains("line 2 (click Insert Missing...)")) << output.toStdString();
    EXPECT_TRUE(QFile::exists(QDir(outDir()).filePath("tour-failure.png")));

    EXPECT_EQ(run("shot\n", &output), 2);
    EXPECT_TRUE(output.contains("line 1")) << output.toStdString();
}

}  // namespace
