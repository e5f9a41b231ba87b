// The wizard's account and information buttons with the browser stand-in: one browser per
// wizard, the address as stored, and the wizard moving on when that browser closes.
#include <signal.h>

#include <QStandardPaths>

#include "browser/fake_browser.h"
#include "browser/page_server.h"
#include "host/browser/browser_class.h"
#include "host/browser/browser_process.h"
#include "wizard/wizard_fixture.h"

namespace {

using testing_browser::FakeBrowser;
using testing_browser::ScopedEnv;

constexpr int L = 8;

class WizardLinks : public WizardFixture {
public:
    void SetUp() override {
        WizardFixture::SetUp();
        host::registerBrowserClass();
    }
    void TearDown() override { host::revokeBrowserClass(); }

    void store(std::string_view key, const std::string& value) {
        settings->setValue(ostrel::kSettingsApplication, ostrel::kSettingsSection, key, value);
    }
    // The pages shown, the step and Back, Next, Finish, as one comparable value.
    static std::string stateOf(const ostrel::frmOstWiz& wizard) {
        const ostrel::WizardForm& form = *wizard.form();
        std::string state = "pages";
        for (int page : shownPages(form)) state += " " + std::to_string(page);
        state += " step " + std::to_string(wizard.currentStep());
        for (int i = 1; i <= 3; ++i) state += form.cmdWizControl()[i]->isEnabled() ? " on" : " off";
        return state;
    }
    // Opens the information page, goes `nexts` pages on, closes the browser and waits until
    // its notification has been handled.
    std::string stateAfterQuitOn(int nexts, bool emailLink) {
        FakeBrowser fake;
        std::string state;
        auto wizard = newWizard();
        run(*wizard, [&](ostrel::WizardForm& form) {
            click(form.cmdBrowseSite());
            EXPECT_TRUE(fake.waitForRuns(1));
            for (int i = 0; i < nexts; ++i) {
                press(form, 2);
                if (wizard->currentStep() == 2 && emailLink) click(form.Option1()[0]);
            }
            fake.quitAll();
            EXPECT_TRUE(testing_browser::waitForNoBrowserProcess());
            QCoreApplication::processEvents();
            state = stateOf(*wizard);
            press(form, 0);
        });
        EXPECT_TRUE(boxes.shown.empty());
        return state;
    }
};

TEST_F(WizardLinks, EitherButtonDisablesBothAndOpensOneBrowserAtItsBuiltInAddress) {
    for (bool order : {false, true}) {
        SCOPED_TRACE(order ? "order page" : "information page");
        FakeBrowser fake;
        auto wizard = newWizard();
        run(*wizard, [&](ostrel::WizardForm& form) {
            QPushButton* pressed = order ? form.cmdGetNewAccount() : form.cmdBrowseSite();
            QPushButton* other = order ? form.cmdBrowseSite() : form.cmdGetNewAccount();
            EXPECT_TRUE(pressed->isEnabled() && other->isEnabled())
                << "a new wizard starts with both";
            click(pressed);
            EXPECT_FALSE(pressed->isEnabled());
            EXPECT_FALSE(other->isEnabled());
            click(other);
            click(pressed);
            ASSERT_TRUE(fake.waitForRuns(1));
            QTest::qWait(200);  // time let pass on purpose: no second browser starts in it
            ASSERT_EQ(fake.runs().size(), 1u) << "no second browser from the same wizard";
            EXPECT_EQ(fake.runs().front().arguments,
                      QStringList{order ? "https://secure.ostrel.example/order.htm?id=20417"
                                        : "http://www.publisher.example/ostrel"});
            EXPECT_EQ(stateOf(*wizard), "pages 0 step 0 off on off") << "the browser is open";
            press(form, 0);
        });
        EXPECT_TRUE(boxes.shown.empty());
    }
}

TEST_F(WizardLinks, TheStoredAddressIsReadAtThePressAndReachesTheBrowserUnchanged) {
    const std::string order = "https://order.example/a b;'q'\"$(touch x)\"`id`/gr\xC3\xBC\xC3\x9F";
    for (bool empty : {false, true}) {
        FakeBrowser fake;
        auto wizard = newWizard();
        run(*wizard, [&](ostrel::WizardForm& form) {
            // Put in after the wizard has loaded: only the press reads it.
            store(empty ? "BrowseURL" : "OrderURL", empty ? "" : order);
            click(empty ? form.cmdBrowseSite() : form.cmdGetNewAccount());
            if (!empty) {
                ASSERT_TRUE(fake.waitForRuns(1));
                EXPECT_EQ(fake.runs().front().arguments.value(0).toStdString(), order);
            } else {
                // An empty setting starts no browser; the author is told, the wizard stays.
                EXPECT_TRUE(fake.runs().empty());
                EXPECT_TRUE(form.isVisible());
            }
            press(form, 0);
        });
    }
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].prompt.find("The setting BrowseURL is empty"), std::string::npos)
        << boxes.shown[0].prompt;
}

TEST_F(WizardLinks, ClosingTheBrowserOnPage0MovesToPage1WithBackOn) {
    EXPECT_EQ(stateAfterQuitOn(0, false), "pages 1 step 1 on on off");
}

TEST_F(WizardLinks, ClosingTheBrowserOnPage2FollowsTheChosenRoute) {
    EXPECT_EQ(stateAfterQuitOn(2, true), "pages 3 step 8 on off on");
    EXPECT_EQ(stateAfterQuitOn(2, false), "pages 4 step 4 on on off");
}

TEST_F(WizardLinks, ClosingTheBrowserOnTheLastStepChangesNothing) {
    EXPECT_EQ(stateAfterQuitOn(7, false), "pages 8 step 8 on off on");
    EXPECT_EQ(stateAfterQuitOn(3, true), "pages 3 step 8 on off on");
}

TEST_F(WizardLinks, ClosingTheBrowserAfterTheWizardHasClosedChangesNothing) {
    FakeBrowser fake;
    auto held = newWizard();
    run(*held, [&](ostrel::WizardForm& form) {
        click(form.cmdBrowseSite());
        press(form, 0);
    });
    auto released = newWizard();
    run(*released, [&](ostrel::WizardForm& form) {
        click(form.cmdGetNewAccount());
        press(form, 0);
    });
    released = nullptr;
    ASSERT_TRUE(fake.waitForRuns(2));

    fake.quitAll();
    ASSERT_TRUE(testing_browser::waitForNoBrowserProcess());
    QCoreApplication::processEvents();
    EXPECT_EQ(held->form(), nullptr) << "a closed wizard is not loaded again";
    EXPECT_EQ(held->currentStep(), 0);
    EXPECT_EQ(held->WizCloseStatus(), com::vbFalse);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(WizardLinks, NoBrowserFailsThePressWhereTheAuthorSeesIt) {
    QTemporaryDir emptyPath;
    ScopedEnv browser("BROWSER", "/nonexistent/browser");
    ScopedEnv path("PATH", QFile::encodeName(emptyPath.path()));
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& form) {
        click(form.cmdGetNewAccount());
        EXPECT_FALSE(form.cmdGetNewAccount()->isEnabled());
        EXPECT_FALSE(form.cmdBrowseSite()->isEnabled());
        EXPECT_EQ(stateOf(*wizard), "pages 0 step 0 off on off");
        press(form, 0);
    });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].prompt.find("No web browser found: set $BROWSER or install chromium "
                                         "or firefox"),
              std::string::npos)
        << boxes.shown[0].prompt;
    EXPECT_NE(boxes.shown[0].prompt.find("429"), std::string::npos);
}

TEST_F(WizardLinks, TheWizardMovesOnWhenTheRealChromiumIsEnded) {
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty()) GTEST_SKIP() << "chromium is not installed";
    ScopedEnv browserVariable("BROWSER", QFile::encodeName(chromium));
    host::registerBrowserClass({{"--headless"}});
    testing_browser::PageServer server;
    store("OrderURL", server.url("/order.htm?id=20417").toStdString());

    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& form) {
        click(form.cmdGetNewAccount());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !server.paths().isEmpty(); }, 60000))
            << "chromium never asked for the order page";
        EXPECT_EQ(server.paths().value(0), "/order.htm?id=20417");
        EXPECT_EQ(wizard->currentStep(), 0);

        const auto processes = QCoreApplication::instance()->findChildren<host::BrowserProcess*>();
        ASSERT_EQ(processes.size(), 1);
        ::kill(static_cast<pid_t>(processes.front()->processId()), SIGTERM);
        EXPECT_TRUE(QTest::qWaitFor([&] { return wizard->currentStep() == 1; }, 30000));
        EXPECT_EQ(stateOf(*wizard), "pages 1 step 1 on on off");
        press(form, 0);
    });
    EXPECT_TRUE(testing_browser::waitForNoBrowserProcess(30000));
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
