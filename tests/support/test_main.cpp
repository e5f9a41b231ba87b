// Shared main for GoogleTest programs: a headless QApplication, and a check after every
// test that it left no counted object alive and no top-level window open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <unistd.h>

#include "com/error.h"

namespace {

class LeakCheck : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { m_before = com::liveObjectCount(); }
    void OnTestEnd(const testing::TestInfo&) override {
        EXPECT_EQ(com::liveObjectCount(), m_before) << "counted objects left alive by the test";
        // Windows closed with deleteLater go once the event loop has run.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto windows = QApplication::topLevelWidgets();
        EXPECT_TRUE(windows.isEmpty()) << windows.size() << " top-level window(s) left open";
    }
    long m_before = 0;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                   : qgetenv("QT_QPA_PLATFORM"));
    // No test may touch the real user's settings, registry or add-in call records.
    QTemporaryDir userHome;
    qputenv("XDG_CONFIG_HOME", userHome.filePath("config").toLocal8Bit());
    qputenv("XDG_STATE_HOME", userHome.filePath("state").toLocal8Bit());
    qputenv("OSTREL_REGISTRY_FILE", userHome.filePath("config/ostrel/registry.reg").toLocal8Bit());
    // Chromium (the editor's rendered view) will not start its sandbox as root, and the
    // tests often run as root in containers; the pages they render are their own.
    if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Qt WebEngine, loaded later as a module, shares OpenGL contexts with the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new LeakCheck);
    return RUN_ALL_TESTS();
}
