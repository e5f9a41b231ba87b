// The browser object against a fake browser program: processes, arguments, the quit
// notification and its subscribers, and the failures.
#include "com/web_browser.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <set>

#include "browser/fake_browser.h"
#include "browser/recording_sink.h"
#include "com/class_factory.h"
#include "com/error.h"
#include "host/browser/browser_class.h"
#include "host/browser/browser_process.h"
#include "host/browser/browser_profiles.h"
#include "platform/process/process_identity.h"

namespace {

using testing_browser::FakeBrowser;
using testing_browser::RecordingSink;
using testing_browser::ScopedEnv;

class WebBrowserTest : public testing::Test {
protected:
    void SetUp() override { host::registerBrowserClass(); }
    void TearDown() override { host::revokeBrowserClass(); }

    static com::ComPtr<com::IWebBrowser> create() {
        return com::query<com::IWebBrowser>(com::createObject(com::kBrowserProgId));
    }
    static com::HRESULT navigate(com::IWebBrowser* browser, const std::string& address) {
        const auto m = com::Variant::missing();
        return browser->Navigate(address, m, m, m, m);
    }
    // The failure the browser reported for hr.
    static com::Error failureOf(com::HRESULT hr) {
        try {
            com::check(hr);
        } catch (const com::Error& e) {
            return e;
        }
        return com::Error(0, "succeeded", "");
    }
};

TEST_F(WebBrowserTest, EachCreationStartsItsOwnProcessWithOnlyTheAddress) {
    FakeBrowser fake;
    auto first = create();
    auto second = create();
    ASSERT_EQ(fake.runs().size(), 0u) << "creation alone starts nothing";
    ASSERT_EQ(navigate(first.get(), "http://a.example/"), com::S_OK);
    ASSERT_EQ(navigate(second.get(), "http://b.example/"), com::S_OK);
    ASSERT_TRUE(fake.waitForRuns(2));

    const auto runs = fake.runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NE(runs[0].pid, runs[1].pid);
    std::set<QStringList> arguments{runs[0].arguments, runs[1].arguments};
    EXPECT_EQ(arguments, (std::set<QStringList>{{"http://a.example/"}, {"http://b.example/"}}));
}

TEST_F(WebBrowserTest, TheAddressReachesTheBrowserUntouchedAndNoShellRuns) {
    FakeBrowser fake;
    const std::string marker = fake.folder().toStdString() + "/a-shell-ran";
    const std::vector<std::string> addresses = {
        "https://secure.ostrel.example/order.htm?id=20417&x=1|y>z",
        "http://x.example/a b  c\t",
        "http://x.example/'single' \"double\" \\",
        "http://x.example/;touch " + marker + ";",
        "http://x.example/$(touch " + marker + ")`touch " + marker + "`$HOME*?~",
        "http://x.example/gr\xC3\xBC\xC3\x9F"
        "e/\xE6\x97\xA5\xE6\x9C\xAC?q=\xE2\x82\xAC",
        "http://x.example/line\nbreak",
    };
    std::vector<com::ComPtr<com::IWebBrowser>> browsers;
    for (const auto& address : addresses) {
        browsers.push_back(create());
        ASSERT_EQ(navigate(browsers.back().get(), address), com::S_OK) << address;
    }
    ASSERT_TRUE(fake.waitForRuns(addresses.size()));

    std::multiset<std::string> received;
    for (const auto& run : fake.runs()) {
        ASSERT_EQ(run.arguments.size(), 1) << run.arguments.join(" | ").toStdString();
        received.insert(run.arguments.front().toStdString());
    }
    EXPECT_EQ(received, std::multiset<std::string>(addresses.begin(), addresses.end()));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(marker)));
}

TEST_F(WebBrowserTest, ABrowserEntryMayCarryArgumentsAndTheFirstExistingEntryWins) {
    FakeBrowser fake;
    ScopedEnv browser("BROWSER", "/nonexistent/browser:not-a-browser-anywhere:" +
                                     QFile::encodeName(fake.program()) + " --flag %s --after");
    auto b = create();
    ASSERT_EQ(navigate(b.get(), "http://x.example/"), com::S_OK);
    ASSERT_TRUE(fake.waitForRuns(1));
    EXPECT_EQ(fake.runs().front().arguments,
              (QStringList{"--flag", "http://x.example/", "--after"}));
}

TEST_F(WebBrowserTest, AChromiumGetsAFreshProfileThatGoesWhenItExits) {
    FakeBrowser fake("chromium");
    auto first = create();
    auto second = create();
    auto sink = com::make<RecordingSink>();
    std::uint32_t cookie = 0;
    ASSERT_EQ(first->Advise(sink.get(), &cookie), com::S_OK);
    ASSERT_EQ(navigate(first.get(), "http://x.example/"), com::S_OK);
    ASSERT_EQ(navigate(second.get(), "http://y.example/"), com::S_OK);
    ASSERT_TRUE(fake.waitForRuns(2));

    std::set<QString> profiles;
    for (const auto& run : fake.runs()) {
        const QStringList& args = run.arguments;
        ASSERT_TRUE(args.value(0).startsWith("--user-data-dir=")) << args.join(' ').toStdString();
        const QString profile = args[0].mid(QString("--user-data-dir=").size());
        EXPECT_TRUE(QFileInfo(profile).isDir());
        profiles.insert(profile);
        EXPECT_TRUE(args.contains("--no-first-run"));
        EXPECT_EQ(args.contains("--no-sandbox"), ::geteuid() == 0);
        EXPECT_TRUE(args.back() == "http://x.example/" || args.back() == "http://y.example/");
    }
    EXPECT_EQ(profiles.size(), 2u) << "each instance has a profile of its own";

    fake.quitAll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink->quits == 1; }, 10000));
    ASSERT_TRUE(testing_browser::waitForNoBrowserProcess());
    for (const QString& profile : profiles)
        EXPECT_FALSE(QFileInfo::exists(profile)) << profile.toStdString();
    first->Unadvise(cookie);
}

TEST_F(WebBrowserTest, AFirefoxRunsAsANewInstanceOnItsOwnProfile) {
    FakeBrowser fake("firefox");
    auto b = create();
    ASSERT_EQ(navigate(b.get(), "http://x.example/"), com::S_OK);
    ASSERT_TRUE(fake.waitForRuns(1));
    const QStringList args = fake.runs().front().arguments;
    ASSERT_EQ(args.size(), 5) << args.join(' ').toStdString();
    EXPECT_EQ(args[0], "--profile");
    EXPECT_TRUE(QFileInfo(args[1]).isDir());
    EXPECT_EQ(args.mid(2), (QStringList{"--no-remote", "--new-instance", "http://x.example/"}));
}

TEST_F(WebBrowserTest, QuitReachesTheCurrentSubscribersOnTheUiThreadAfterTheExit) {
    FakeBrowser fake;
    auto kept = com::make<RecordingSink>();
    auto dropped = com::make<RecordingSink>();
    auto orphaned = com::make<RecordingSink>();

    auto held = create();
    std::uint32_t keptCookie = 0, droppedCookie = 0, orphanedCookie = 0;
    ASSERT_EQ(held->Advise(kept.get(), &keptCookie), com::S_OK);
    ASSERT_EQ(held->Advise(dropped.get(), &droppedCookie), com::S_OK);
    ASSERT_EQ(held->Unadvise(droppedCookie), com::S_OK);
    EXPECT_EQ(held->Unadvise(droppedCookie), com::E_INVALIDARG);
    ASSERT_EQ(navigate(held.get(), "http://held.example/"), com::S_OK);

    auto released = create();
    ASSERT_EQ(released->Advise(orphaned.get(), &orphanedCookie), com::S_OK);
    ASSERT_EQ(navigate(released.get(), "http://released.example/"), com::S_OK);
    released = nullptr;  // the browser stays open without its object

    ASSERT_TRUE(fake.waitForRuns(2));
    QTest::qWait(200);  // time let pass on purpose: no quit is reported in it
    EXPECT_EQ(kept->quits, 0) << "the browsers are still open";
    fake.quitAll();
    ASSERT_TRUE(testing_browser::waitForNoBrowserProcess());
    QCoreApplication::processEvents();
    EXPECT_EQ(kept->quits, 1);
    EXPECT_TRUE(kept->onUiThread);
    EXPECT_EQ(kept->cancelSeen, com::vbFalse);
    EXPECT_EQ(dropped->quits, 0);
    EXPECT_EQ(orphaned->quits, 0);
    // The subscriptions that ended kept no references.
    EXPECT_EQ(orphaned->AddRef(), 2u);
    orphaned->Release();
    EXPECT_EQ(dropped->AddRef(), 2u);
    dropped->Release();
    EXPECT_EQ(held->Unadvise(keptCookie), com::S_OK);
}

TEST_F(WebBrowserTest, ASubscriberMayUnsubscribeOthersAndDropTheBrowserWhileNotified) {
    FakeBrowser fake;
    auto b = create();
    auto first = com::make<RecordingSink>();
    auto second = com::make<RecordingSink>();
    std::uint32_t firstCookie = 0, secondCookie = 0;
    ASSERT_EQ(b->Advise(first.get(), &firstCookie), com::S_OK);
    ASSERT_EQ(b->Advise(second.get(), &secondCookie), com::S_OK);
    first->onQuit = [&] {
        b->Unadvise(secondCookie);
        b->Unadvise(firstCookie);
        b = nullptr;
    };
    ASSERT_EQ(navigate(b.get(), "http://x.example/"), com::S_OK);
    ASSERT_TRUE(fake.waitForRuns(1));
    fake.quitAll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->quits == 1; }, 10000));
    ASSERT_TRUE(testing_browser::waitForNoBrowserProcess());
    EXPECT_EQ(second->quits, 0);
    EXPECT_EQ(b, nullptr);
}

TEST_F(WebBrowserTest, ABrowserStillOpenWhenTheEditorEndsStaysOpenAndItsProfileGoesLater) {
    FakeBrowser fake("chromium");
    auto b = create();
    auto sink = com::make<RecordingSink>();
    std::uint32_t cookie = 0;
    ASSERT_EQ(b->Advise(sink.get(), &cookie), com::S_OK);
    ASSERT_EQ(navigate(b.get(), "http://x.example/"), com::S_OK);
    ASSERT_TRUE(fake.waitForRuns(1));
    const auto processes = QCoreApplication::instance()->findChildren<host::BrowserProcess*>();
    ASSERT_EQ(processes.size(), 1);
    const qint64 pid = processes.front()->processId();
    const QString profile = processes.front()->profileDir();

    delete processes.front();  // what the application does with it as it ends
    QCoreApplication::processEvents();
    EXPECT_TRUE(platform::process::processStartTicks(pid)) << "the browser, and what the author typed, stay";
    host::removeLeftoverProfiles();
    EXPECT_TRUE(QFileInfo(profile).isDir()) << "the profile of a running browser stays";
    EXPECT_EQ(sink->quits, 0) << "nothing is told while the application goes";

    // Folders that are not ours, or whose marker is a link, are never touched.
    const QString foreign = QDir::temp().filePath("ostrel-browser-zzzzz1");
    const QString linked = QDir::temp().filePath("ostrel-browser-zzzzz2");
    QDir().mkpath(foreign);
    QDir().mkpath(linked);
    QFile::link(profile + "/.ostrel-browser", linked + "/.ostrel-browser");

    fake.quit(pid);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform::process::processStartTicks(pid); }, 10000));
    EXPECT_GE(host::removeLeftoverProfiles(), 1) << "at the editor's next start";
    EXPECT_FALSE(QFileInfo::exists(profile));
    EXPECT_TRUE(QFileInfo(foreign).isDir());
    EXPECT_TRUE(QFileInfo(linked).isDir());
    QDir(foreign).removeRecursively();
    QDir(linked).removeRecursively();
    b->Unadvise(cookie);
}

TEST_F(WebBrowserTest, NoBrowserAnywhereFailsCreationClearly) {
    QTemporaryDir emptyPath;
    ScopedEnv browser("BROWSER", "/nonexistent/browser:not-a-browser-anywhere");
    ScopedEnv path("PATH", QFile::encodeName(emptyPath.path()));
    try {
        create();
        FAIL() << "created a browser with none installed";
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::cannotCreateObject);
        EXPECT_EQ(e.description(),
                  "No web browser found: set $BROWSER or install chromium or firefox");
        EXPECT_EQ(e.source(), "InternetExplorer.Application");
    }
}

TEST_F(WebBrowserTest, NavigateFailsClearlyAndStartsNothingItShouldNot) {
    FakeBrowser fake;
    auto b = create();

    const std::pair<const char*, const char*> refused[] = {
        {"--renderer-cmd-prefix=touch", "starts with '-'"},
        {" \t\r\n--renderer-cmd-prefix=touch", "starts with '-'"},
        {"\xC2\xA0\xE2\x80\x89-x", "starts with '-'"},
        {"", "is empty"},
        {"  ", "is empty (blanks only)"},
    };
    for (const auto& [address, why] : refused) {
        const com::Error option = failureOf(navigate(b.get(), address));
        EXPECT_EQ(option.number(), com::errc::invalidProcedureCall) << address;
        EXPECT_NE(option.description().find(why), std::string::npos) << option.description();
    }
    const auto m = com::Variant::missing();
    const com::Error flags =
        failureOf(b->Navigate("http://x.example/", com::Variant(std::int32_t{2}), m, m, m));
    EXPECT_NE(flags.description().find("not supported"), std::string::npos);

    QFile::rename(fake.program(), fake.program() + ".away");
    const com::Error missing = failureOf(navigate(b.get(), "http://x.example/"));
    EXPECT_EQ(missing.number(), com::errc::cannotCreateObject);
    EXPECT_NE(
        missing.description().find("Cannot start the web browser " + fake.program().toStdString()),
        std::string::npos)
        << missing.description();
    QFile::rename(fake.program() + ".away", fake.program());
    QTest::qWait(100);  // time let pass on purpose: the failed start runs nothing later
    EXPECT_TRUE(fake.runs().empty());

    ASSERT_EQ(navigate(b.get(), "http://x.example/"), com::S_OK) << "a failed start may be retried";
    const com::Error again = failureOf(navigate(b.get(), "http://y.example/"));
    EXPECT_NE(again.description().find("already shows a page"), std::string::npos);
    ASSERT_TRUE(fake.waitForRuns(1));
    fake.quitAll();
    ASSERT_TRUE(testing_browser::waitForNoBrowserProcess());
    const com::Error closed = failureOf(navigate(b.get(), "http://y.example/"));
    EXPECT_EQ(closed.description(), "This browser window has been closed");
    EXPECT_EQ(fake.runs().size(), 1u);
}

TEST_F(WebBrowserTest, VisibleAndNavigateAreReachedByName) {
    FakeBrowser fake;
    auto b = create();
    EXPECT_EQ(com::invokeByName(b.get(), "Visible", com::InvokeKind::PropertyGet).toBool(),
              com::vbFalse);
    com::setPropertyByName(b.get(), "visible", com::Variant(true));
    EXPECT_EQ(com::invokeByName(b.get(), "VISIBLE", com::InvokeKind::PropertyGet).toBool(),
              com::vbTrue);
    com::setPropertyByName(b.get(), "Visible", com::Variant(std::int16_t{0}));
    EXPECT_EQ(com::invokeByName(b.get(), "Visible", com::InvokeKind::PropertyGet).toBool(),
              com::vbFalse);
    EXPECT_THROW(com::setPropertyByName(b.get(), "Visible", com::Variant("yes")), com::Error);
    EXPECT_THROW(com::invokeByName(b.get(), "Quit", com::InvokeKind::Method), com::Error);
    EXPECT_TRUE(fake.runs().empty()) << "showing alone starts nothing";

    com::invokeByName(b.get(), "Navigate", com::InvokeKind::Method,
                      {com::Variant("http://x.example/")});
    ASSERT_TRUE(fake.waitForRuns(1));
    EXPECT_EQ(fake.runs().front().arguments, QStringList{"http://x.example/"});
}

}  // namespace
