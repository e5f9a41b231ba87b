// Connection and disconnection: the button, the members, and the three-line error box.
#include <gtest/gtest.h>

#include "addin/connect.h"
#include "fake_host.h"
#include "support/recording_message_box.h"

namespace {

using ostrel::Connect;

com::ComPtr<Connect> newConnect() { return com::make<Connect>(); }

com::HRESULT connect(Connect& c, fakehost::Application& app, std::int32_t mode = com::ext_cm_Startup,
                     com::IDispatch* addInInst = nullptr, com::VariantArray* custom = nullptr) {
    return c.OnConnection(&app, mode, addInInst, custom);
}

TEST(Connection, AddsOneOstrelButtonToInsertAndRemovesItAgain) {
    RecordingMessageBox boxes;
    auto app = com::make<fakehost::Application>();
    auto c = newConnect();

    EXPECT_EQ(connect(*c, *app), com::S_OK);
    auto* insert = app->controlsOf("Insert");
    ASSERT_EQ(insert->buttons.size(), 1u);
    EXPECT_EQ(insert->buttons[0]->caption, "Ostrel...");
    EXPECT_EQ(insert->buttons[0]->subscribers(), 1u);
    EXPECT_TRUE(app->controlsOf("Standard")->buttons.empty());
    // Type 1 as a 16-bit integer, Temporary True, the other three omitted.
    const auto& args = insert->lastAddArguments;
    EXPECT_EQ(args[0].kind(), com::Variant::Kind::Int16);
    EXPECT_EQ(args[0].toInt16(), 1);
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(args[i].isMissing()) << i;
    EXPECT_EQ(args[4].toBool(), com::vbTrue);
    EXPECT_TRUE(c->holdsHostApp() && c->holdsInsertBar() && c->holdsWizButton() &&
                c->holdsButtonHandler());

    EXPECT_EQ(c->OnDisconnection(com::ext_dm_HostShutdown, nullptr), com::S_OK);
    EXPECT_TRUE(insert->buttons.empty());
    EXPECT_FALSE(c->holdsHostApp() || c->holdsInsertBar() || c->holdsWizButton() ||
                 c->holdsButtonHandler());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(app->log.calls.back(), "Unadvise") << "the subscription ends last";
}

TEST(Connection, HostWithoutInsertBarShowsOneErrorBoxAndStillSucceeds) {
    RecordingMessageBox boxes;
    auto app = com::make<fakehost::Application>(std::vector<std::string>{"Standard"});
    auto c = newConnect();

    EXPECT_EQ(connect(*c, *app), com::S_OK);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Error....");
    EXPECT_EQ(boxes.shown[0].style, 16);
    EXPECT_EQ(boxes.shown[0].prompt,
              "Error number: -2147024809\r\n"
              "Error description: No command bar is named 'Insert'\r\n"
              "Error source: FakeHost.CommandBars");
    EXPECT_TRUE(c->holdsHostApp()) << "what was set before the failure stays set";
    EXPECT_FALSE(c->holdsInsertBar() || c->holdsWizButton() || c->holdsButtonHandler());

    // No button to delete: one more box, and success again; the members stay set.
    EXPECT_EQ(c->OnDisconnection(com::ext_dm_UserClosed, nullptr), com::S_OK);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].prompt.rfind("Error number: 91\r\nError description: ", 0), 0u);
    EXPECT_TRUE(c->holdsHostApp());
}

TEST(Connection, FailureAfterTheButtonWasAddedLeavesItWithoutAHandler) {
    RecordingMessageBox boxes;
    auto app = com::make<fakehost::Application>();
    app->log.failing = {"Caption=Ostrel..."};
    app->log.failNumber = -5;
    auto c = newConnect();

    EXPECT_EQ(connect(*c, *app), com::S_OK);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt.substr(0, 17), "Error number: -5\r") << "minus sign, full decimal";
    auto* insert = app->controlsOf("Insert");
    ASSERT_EQ(insert->buttons.size(), 1u);
    EXPECT_EQ(insert->buttons[0]->subscribers(), 0u);
    EXPECT_TRUE(c->holdsWizButton());
    EXPECT_FALSE(c->holdsButtonHandler());
    c->OnDisconnection(0, nullptr);
}

TEST(Connection, ApplicationWithoutTheHostInterfaceIsReported) {
    RecordingMessageBox boxes;
    struct NotAHost : com::Object<com::IDispatch> {
        com::HRESULT GetIDOfName(std::string_view, com::DispId*) override { return com::E_NOTIMPL; }
        com::HRESULT Invoke(com::DispId, com::InvokeKind, std::span<const com::Variant>,
                            com::Variant*) override {
            return com::E_NOTIMPL;
        }
    };
    auto stranger = com::make<NotAHost>();
    auto c = newConnect();
    EXPECT_EQ(c->OnConnection(stranger.get(), 0, nullptr, nullptr), com::S_OK);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].prompt.find("Error number: 13\r\n"), std::string::npos);
    EXPECT_EQ(c->OnConnection(nullptr, 0, nullptr, nullptr), com::S_OK);
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST(Connection, ArgumentValuesAndTheOtherThreeOperationsChangeNothing) {
    RecordingMessageBox boxes;
    auto app = com::make<fakehost::Application>();
    auto other = com::make<fakehost::Application>();
    com::VariantArray custom{com::Variant("x"), com::Variant(std::int32_t{7})};
    for (std::int32_t mode : {0, 1, 2, 3, -1, 99}) {
        auto c = newConnect();
        EXPECT_EQ(connect(*c, *app, mode, other.get(), &custom), com::S_OK);
        const auto callsAfterConnect = app->log.calls.size();
        EXPECT_EQ(c->OnAddInsUpdate(&custom), com::S_OK);
        EXPECT_EQ(c->OnStartupComplete(nullptr), com::S_OK);
        EXPECT_EQ(c->OnBeginShutdown(&custom), com::S_OK);
        EXPECT_EQ(app->log.calls.size(), callsAfterConnect);
        EXPECT_TRUE(c->holdsButtonHandler());
        EXPECT_EQ(app->controlsOf("Insert")->buttons.size(), 1u);
        EXPECT_EQ(c->OnDisconnection(mode, &custom), com::S_OK);
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(other->log.calls.empty()) << "AddInInst is not used";
    EXPECT_EQ(custom.size(), 2u);
}

TEST(Connection, ButtonHandlerIsAnAssignableEventBoundProperty) {
    RecordingMessageBox boxes;
    auto app = com::make<fakehost::Application>();
    auto c = newConnect();
    connect(*c, *app);
    auto button = app->controlsOf("Insert")->buttons[0];

    com::ComPtr<com::ICommandBarButton> held;
    ASSERT_EQ(c->get_ButtonHandler(held.put()), com::S_OK);
    EXPECT_EQ(held.get(), static_cast<com::ICommandBarButton*>(button.get()));

    // By name, as a late-bound caller would: assigning nothing ends the subscription.
    com::DispId id = 0;
    ASSERT_EQ(c->GetIDOfName("buttonhandler", &id), com::S_OK);
    const com::Variant nothing;
    EXPECT_EQ(c->Invoke(id, com::InvokeKind::PropertyPutRef, {&nothing, 1}, nullptr), com::S_OK);
    EXPECT_EQ(button->subscribers(), 0u);
    const com::Variant again{com::ComPtr<com::IUnknown>(held.get())};
    EXPECT_EQ(c->Invoke(id, com::InvokeKind::PropertyPutRef, {&again, 1}, nullptr), com::S_OK);
    EXPECT_EQ(button->subscribers(), 1u);
    EXPECT_TRUE(com::failed(c->Invoke(id, com::InvokeKind::PropertyPut, {&again, 1}, nullptr)));
    com::clearErrorInfo();

    held = nullptr;
    button = nullptr;
    c->OnDisconnection(0, nullptr);
}

TEST(Connection, ReleasingAConnectedComponentLeavesNoSubscriptionBehind) {
    RecordingMessageBox boxes;
    auto app = com::make<fakehost::Application>();
    {
        auto c = newConnect();
        connect(*c, *app);
    }
    auto button = app->controlsOf("Insert")->buttons[0];
    EXPECT_EQ(button->subscribers(), 0u);
    EXPECT_EQ(button->click(), com::S_OK) << "a click after release reaches nobody";
}

}  // namespace
