// A click on the button: the wizard's result, and the host calls that put it in the page.
#include <gtest/gtest.h>

#include "addin/connect.h"
#include "fake_host.h"
#include "support/recording_message_box.h"

namespace {

using ostrel::Connect;

// A wizard that "closes" at once with a scripted result.
class ScriptedWizard : public com::Object<ostrel::_frmOstWiz> {
public:
    ScriptedWizard(com::Bool16 status, std::string html, int* alive)
        : m_status(status), m_html(std::move(html)), m_alive(alive) {
        ++*m_alive;
    }
    ~ScriptedWizard() override { --*m_alive; }
    void Show() override { ++shows; }
    com::Bool16 WizCloseStatus() const override { return m_status; }
    std::string HTMLString() const override { return m_html; }
    int shows = 0;

private:
    com::Bool16 m_status;
    std::string m_html;
    int* m_alive;
};

class ClickPath : public testing::Test {
protected:
    void SetUp() override {
        app = com::make<fakehost::Application>();
        connect = com::make<Connect>([this] {
            ++wizardsCreated;
            return com::ComPtr<ostrel::_frmOstWiz>(
                com::make<ScriptedWizard>(status, html, &wizardsAlive));
        });
        connect->OnConnection(app.get(), com::ext_cm_Startup, nullptr, nullptr);
        button = app->controlsOf("Insert")->buttons.at(0);
        app->log.calls.clear();
    }
    void TearDown() override {
        button = nullptr;
        connect->OnDisconnection(com::ext_dm_HostShutdown, nullptr);
        EXPECT_TRUE(boxes.shown.empty()) << "the component shows no message of its own";
    }

    // Clicks, and turns a failed click into the error the host would show.
    std::optional<com::Error> click() {
        const auto hr = button->click();
        if (com::succeeded(hr)) return std::nullopt;
        try {
            com::check(hr);
        } catch (const com::Error& e) {
            return e;
        }
        return std::nullopt;
    }

    RecordingMessageBox boxes;
    com::ComPtr<fakehost::Application> app;
    com::ComPtr<Connect> connect;
    com::ComPtr<fakehost::Button> button;
    com::Bool16 status = com::vbTrue;
    std::string html = "<form>snippet</form>";
    int wizardsCreated = 0;
    int wizardsAlive = 0;
};

TEST_F(ClickPath, CancelAsksNothingOfTheHost) {
    status = com::vbFalse;
    EXPECT_FALSE(click());
    EXPECT_EQ(wizardsCreated, 1);
    EXPECT_EQ(wizardsAlive, 0);
    EXPECT_TRUE(app->log.calls.empty());
    EXPECT_EQ(app->page.viewMode, 0);
}

TEST_F(ClickPath, AnyStatusButTrueInsertsNothing) {
    status = 1;  // not the automation True
    EXPECT_FALSE(click());
    EXPECT_TRUE(app->log.calls.empty());
}

TEST_F(ClickPath, WithoutAMarkerTheWrappedSnippetGoesToTheEndOfTheBody) {
    EXPECT_FALSE(click());
    const std::vector<std::string> expected{
        "ActivePageWindow", "ViewMode=1",
        "ActivePageWindow", "Document", "all", "item(OstrelInsert,missing)",
        "ActivePageWindow", "Document", "all", "tags(body)", "Item(int16:0)",
        "insertAdjacentHTML(BeforeEnd)"};
    EXPECT_EQ(app->log.calls, expected);
    EXPECT_EQ(app->page.bodyContent, "<div id='OstrelInsert'>\r\n<form>snippet</form></div>\r\n");
    EXPECT_EQ(wizardsAlive, 0);
}

TEST_F(ClickPath, AnExistingMarkerOfAnyTagGetsTheSnippetAlone) {
    for (const char* tag : {"div", "span", "td", "form"}) {
        app->page.markers = 1;
        app->page.markerTag = tag;
        app->page.markerContent = "<b>old</b>";
        app->log.calls.clear();
        EXPECT_FALSE(click()) << tag;
        const std::vector<std::string> expected{
            "ActivePageWindow", "ViewMode=1", "ActivePageWindow", "Document", "all",
            "item(OstrelInsert,missing)", "innerHTML="};
        EXPECT_EQ(app->log.calls, expected) << tag;
        EXPECT_EQ(app->page.markerContent, html) << tag;
        EXPECT_TRUE(app->page.bodyContent.empty());
    }
}

TEST_F(ClickPath, TwoRunsLeaveOneMarkerWithTheSecondSnippet) {
    EXPECT_FALSE(click());
    html = "second";
    EXPECT_FALSE(click());
    EXPECT_EQ(app->page.markers, 1);
    EXPECT_EQ(app->page.markerContent, "second");
}

TEST_F(ClickPath, AnEmptySnippetStillMakesTheDivision) {
    html.clear();
    EXPECT_FALSE(click());
    EXPECT_EQ(app->page.bodyContent, "<div id='OstrelInsert'>\r\n</div>\r\n");
}

// A failure at any host step ends the click there: the earlier steps stay done, no later
// step runs, the wizard is released, and the failure reaches the host's event delivery.
TEST_F(ClickPath, AFailureAtEachHostStepEndsTheClickThere) {
    const std::vector<std::string> steps{"ViewMode=1", "Document", "all",
                                         "item(OstrelInsert,missing)", "tags(body)",
                                         "Item(int16:0)", "insertAdjacentHTML(BeforeEnd)"};
    for (const auto& step : steps) {
        SCOPED_TRACE(step);
        app->log.calls.clear();
        app->log.failing = {step};
        app->page = {};
        const auto error = click();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), app->log.failNumber);
        EXPECT_EQ(error->source(), "FakeHost");
        EXPECT_EQ(app->log.calls.back(), step) << "nothing runs after the failing step";
        if (step != "ViewMode=1") {
            EXPECT_EQ(app->page.viewMode, 1) << "the property set stays done";
        }
        EXPECT_TRUE(app->page.bodyContent.empty());
        EXPECT_EQ(wizardsAlive, 0);
    }
}

TEST_F(ClickPath, PagesTheSnippetCannotGoIntoFailTheClick) {
    app->page.open = false;
    auto error = click();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), com::errc::objectNotSet);

    app->page = {};
    app->page.hasBody = false;
    error = click();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), com::errc::subscriptOutOfRange);

    app->page = {};
    app->page.markers = 2;  // several elements share the id
    app->log.calls.clear();
    error = click();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), com::errc::typeMismatch);
    EXPECT_EQ(app->log.calls.back(), "item(OstrelInsert,missing)");
    EXPECT_EQ(app->page.markerContent, "old");
    EXPECT_EQ(wizardsAlive, 0);
}

TEST_F(ClickPath, AFailingWizardEndsTheClickAndIsReleased) {
    class Throwing : public com::Object<ostrel::_frmOstWiz> {
    public:
        void Show() override { throw com::Error(53, "File not found: template.wtf", "frmOstWiz"); }
        com::Bool16 WizCloseStatus() const override { return com::vbTrue; }
        std::string HTMLString() const override { return "x"; }
    };
    auto c = com::make<Connect>([] { return com::ComPtr<ostrel::_frmOstWiz>(com::make<Throwing>()); });
    c->putref_ButtonHandler(button.get());
    connect->putref_ButtonHandler(nullptr);
    app->log.calls.clear();
    const auto error = click();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 53);
    EXPECT_EQ(error->source(), "frmOstWiz");
    EXPECT_TRUE(app->log.calls.empty());
    c->putref_ButtonHandler(nullptr);
    connect->putref_ButtonHandler(button.get());
}

}  // namespace
