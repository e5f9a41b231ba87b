// The browser object with the real chromium: a new headless instance opens a page served
// on loopback, is ended, and the quit notification follows.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include "browser/fake_browser.h"
#include "browser/page_server.h"
#include "browser/recording_sink.h"
#include "com/class_factory.h"
#include "com/web_browser.h"
#include "host/browser/browser_class.h"
#include "host/browser/browser_process.h"

namespace {

using testing_browser::PageServer;
using testing_browser::RecordingSink;
using testing_browser::ScopedEnv;

TEST(RealChromium, ANewInstanceOpensTheAddressAndItsEndIsReported) {
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty()) GTEST_SKIP() << "chromium is not installed";
    ScopedEnv browserVariable("BROWSER", QFile::encodeName(chromium));
    host::registerBrowserClass({{"--headless"}});

    PageServer server;
    auto browser = com::query<com::IWebBrowser>(com::createObject(com::kBrowserProgId));
    auto sink = com::make<RecordingSink>();
    std::uint32_t cookie = 0;
    ASSERT_EQ(browser->Advise(sink.get(), &cookie), com::S_OK);
    com::setPropertyByName(browser.get(), "Visible", com::Variant(true));
    const auto m = com::Variant::missing();
    ASSERT_EQ(browser->Navigate(server.url("/ostrel test page").toStdString(), m, m, m, m),
              com::S_OK);

    const auto processes = QCoreApplication::instance()->findChildren<host::BrowserProcess*>();
    ASSERT_EQ(processes.size(), 1);
    const qint64 pid = processes.front()->processId();
    const QString profile = processes.front()->profileDir();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(QFileInfo(profile).isDir());

    EXPECT_TRUE(QTest::qWaitFor([&] { return !server.paths().isEmpty(); }, 60000))
        << "chromium never asked for the page";
    EXPECT_EQ(server.paths().value(0), "/ostrel%20test%20page");
    EXPECT_EQ(sink->quits, 0);

    ::kill(static_cast<pid_t>(pid), SIGTERM);  // as the author closing the window
    EXPECT_TRUE(QTest::qWaitFor([&] { return sink->quits == 1; }, 30000));
    EXPECT_TRUE(sink->onUiThread);
    EXPECT_TRUE(testing_browser::waitForNoBrowserProcess());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(profile); }, 10000))
        << "the temporary profile is removed";

    browser->Unadvise(cookie);
    host::revokeBrowserClass();
}

}  // namespace
