// The editor's command bars as add-ins use them: bars by name, adding, captioning and
// deleting buttons, Click to every subscriber, failures shown to the author, and only
// lasting controls kept from one run to the next.
#include "com/command_bars.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "host/editor/editor_window.h"
#include "support/editor_harness.h"

namespace {

using com::ComPtr;
using com::Variant;

struct ClickRecorder : com::Object<com::ICommandBarButtonEvents> {
    explicit ClickRecorder(std::function<void(com::ICommandBarButton*, com::Bool16*)> then = {})
        : m_then(std::move(then)) {}
    com::HRESULT Click(com::ICommandBarButton* Ctrl, com::Bool16* CancelDefault) override {
        return com::guarded([&] {
            ++clicks;
            lastCtrl = Ctrl;
            if (m_then) m_then(Ctrl, CancelDefault);
        });
    }
    int clicks = 0;
    com::ICommandBarButton* lastCtrl = nullptr;
    std::function<void(com::ICommandBarButton*, com::Bool16*)> m_then;
};

class CommandBarsTest : public testing::Test {
protected:
    ComPtr<com::ICommandBars> bars() {
        ComPtr<com::ICommandBars> out;
        com::check(m_harness.window().application()->get_CommandBars(out.put()));
        return out;
    }
    ComPtr<com::ICommandBar> bar(const Variant& index) {
        ComPtr<com::ICommandBar> out;
        com::check(bars()->get_Item(index, out.put()));
        return out;
    }
    ComPtr<com::ICommandBarControls> controls(const char* name) {
        ComPtr<com::ICommandBarControls> out;
        com::check(bar(Variant(name))->get_Controls(out.put()));
        return out;
    }
    // Adds a button the way the add-in does: Type as a 16-bit 1, the rest missing, Temporary.
    ComPtr<com::ICommandBarButton> addButton(const char* barName, const std::string& caption,
                                             bool temporary = true) {
        ComPtr<com::ICommandBarControl> control;
        com::check(controls(barName)->Add(Variant(std::int16_t{1}), Variant::missing(),
                                          Variant::missing(), Variant::missing(),
                                          Variant(temporary), control.put()));
        auto button = com::query<com::ICommandBarButton>(control);
        com::check(button->put_Caption(caption));
        return button;
    }
    QToolBar* toolBar(const char* name) { return m_harness.window().findChild<QToolBar*>(name); }
    QAction* actionCaptioned(const char* barName, const QString& caption) {
        for (QAction* a : toolBar(barName)->actions()) {
            if (a->text() == caption) return a;
        }
        return nullptr;
    }
    static com::Error failureOf(com::HRESULT hr) {
        try {
            com::check(hr);
        } catch (const com::Error& e) {
            return e;
        }
        return com::Error(0, "succeeded", "");
    }

    EditorHarness m_harness;
};

TEST_F(CommandBarsTest, ItemFindsBarsByNameOrPositionAndNamesAnUnknownOne) {
    std::string name;
    com::check(bar(Variant("Insert"))->get_Name(&name));
    EXPECT_EQ(name, "Insert");
    com::check(bar(Variant("standard"))->get_Name(&name));
    EXPECT_EQ(name, "Standard");
    com::check(bar(Variant(std::int16_t{1}))->get_Name(&name));
    EXPECT_EQ(name, "Standard");

    ComPtr<com::ICommandBar> none;
    const com::HRESULT hr = bars()->get_Item(Variant("Formatting"), none.put());
    EXPECT_TRUE(com::failed(hr));
    EXPECT_EQ(none, nullptr);
    const com::Error e = failureOf(hr);
    EXPECT_EQ(e.description(), "There is no command bar named 'Formatting'");
    EXPECT_EQ(e.source(), "CommandBars.Item");

    std::int32_t count = 0;
    com::check(controls("Standard")->get_Count(&count));
    EXPECT_EQ(count, 4) << "New, Open, Save, Undo";
}

TEST_F(CommandBarsTest, AddPutsAPlainButtonAtTheEndWithItsCaption) {
    addButton("Insert", "First...");
    auto button = addButton("Insert", "Ostrel...");
    const QList<QAction*> actions = toolBar("Insert")->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions.back()->text(), "Ostrel...");
    auto* shown = qobject_cast<QToolButton*>(toolBar("Insert")->widgetForAction(actions.back()));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), "Ostrel...") << "the caption shows whole, dots included";
    std::string caption;
    com::check(button->get_Caption(&caption));
    EXPECT_EQ(caption, "Ostrel...");

    // Only plain buttons can be added.
    ComPtr<com::ICommandBarControl> popup;
    EXPECT_TRUE(com::failed(controls("Insert")->Add(Variant(std::int16_t{10}), Variant::missing(),
                                                    Variant::missing(), Variant::missing(),
                                                    Variant(true), popup.put())));
    EXPECT_EQ(toolBar("Insert")->actions().size(), 2);
}

TEST_F(CommandBarsTest, DeleteRemovesTheButtonAndLaterCallsFailWithoutACrash) {
    auto button = addButton("Insert", "Ostrel...");
    auto recorder = com::make<ClickRecorder>();
    std::uint32_t cookie = 0;
    com::check(button->Advise(recorder.get(), &cookie));
    QAction* action = actionCaptioned("Insert", "Ostrel...");
    ASSERT_NE(action, nullptr);

    com::check(button->Delete(Variant::missing()));
    EXPECT_EQ(actionCaptioned("Insert", "Ostrel..."), nullptr);
    std::int32_t count = -1;
    com::check(controls("Insert")->get_Count(&count));
    EXPECT_EQ(count, 0);

    // The add-in still holds the button: every call fails and names the control.
    std::string caption;
    const com::Error e = failureOf(button->get_Caption(&caption));
    EXPECT_EQ(e.description(), "The control 'Ostrel...' has been deleted from its command bar");
    EXPECT_TRUE(com::failed(button->put_Caption("again")));
    EXPECT_TRUE(com::failed(button->Delete(Variant::missing())));
    EXPECT_TRUE(com::succeeded(button->Unadvise(cookie)))
        << "its subscription ended quietly with it";
    EXPECT_TRUE(com::failed(button->Unadvise(cookie)));
}

TEST_F(CommandBarsTest, ClickReachesEverySubscriberUntilItUnsubscribes) {
    auto button = addButton("Insert", "Ostrel...");
    auto first = com::make<ClickRecorder>();
    auto second = com::make<ClickRecorder>();
    std::uint32_t c1 = 0, c2 = 0;
    com::check(button->Advise(first.get(), &c1));
    com::check(button->Advise(second.get(), &c2));
    actionCaptioned("Insert", "Ostrel...")->trigger();
    EXPECT_EQ(first->clicks, 1);
    EXPECT_EQ(second->clicks, 1);
    EXPECT_EQ(first->lastCtrl, button.get()) << "Ctrl is the clicked button";

    com::check(button->Unadvise(c1));
    actionCaptioned("Insert", "Ostrel...")->trigger();
    EXPECT_EQ(first->clicks, 1);
    EXPECT_EQ(second->clicks, 2);
    com::check(button->Unadvise(c2));
}

TEST_F(CommandBarsTest, FailingClickIsShownWithNumberDescriptionAndSourceAndTheEditorGoesOn) {
    auto button = addButton("Insert", "Ostrel...");
    auto failing = com::make<ClickRecorder>([](com::ICommandBarButton*, com::Bool16*) {
        throw com::Error(-2147024891, "Access is denied", "Ostrel.Connect");
    });
    auto after = com::make<ClickRecorder>();
    std::uint32_t c1 = 0, c2 = 0;
    com::check(button->Advise(failing.get(), &c1));
    com::check(button->Advise(after.get(), &c2));

    actionCaptioned("Insert", "Ostrel...")->trigger();
    ASSERT_EQ(m_harness.messages.shown.size(), 1u);
    const host::MessageRequest& box = m_harness.messages.shown.front();
    EXPECT_EQ(box.icon, host::MessageIcon::Critical);
    EXPECT_TRUE(box.text.contains("Error number: -2147024891")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("Error description: Access is denied")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("Error source: Ostrel.Connect")) << box.text.toStdString();
    EXPECT_EQ(after->clicks, 1) << "the other subscriber still gets the click";

    // And the editor still works: the next click is delivered and reported again.
    actionCaptioned("Insert", "Ostrel...")->trigger();
    EXPECT_EQ(failing->clicks, 2);
    EXPECT_EQ(m_harness.messages.shown.size(), 2u);
    com::check(button->Unadvise(c1));
    com::check(button->Unadvise(c2));
}

TEST_F(CommandBarsTest, HandlerMayDeleteItsOwnButton) {
    auto button = addButton("Insert", "Once");
    auto recorder = com::make<ClickRecorder>([](com::ICommandBarButton* ctrl, com::Bool16*) {
        com::check(ctrl->Delete(Variant::missing()));
    });
    std::uint32_t cookie = 0;
    com::check(button->Advise(recorder.get(), &cookie));
    button = nullptr;  // only the bar and the click hold it now
    // Through the tool button itself, which goes with the action it shows.
    auto* tool = qobject_cast<QToolButton*>(
        toolBar("Insert")->widgetForAction(actionCaptioned("Insert", "Once")));
    ASSERT_NE(tool, nullptr);
    tool->click();
    EXPECT_EQ(recorder->clicks, 1);
    EXPECT_EQ(actionCaptioned("Insert", "Once"), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(CommandBarsTest, CancelDefaultStopsABuiltInControlsOwnAction) {
    ComPtr<com::ICommandBarControl> control;
    com::check(controls("Standard")->get_Item(Variant(std::int16_t{1}), control.put()));
    auto newButton = com::query<com::ICommandBarButton>(control);
    auto cancelling = com::make<ClickRecorder>(
        [](com::ICommandBarButton*, com::Bool16* cancel) { *cancel = com::vbTrue; });
    std::uint32_t cookie = 0;
    com::check(newButton->Advise(cancelling.get(), &cookie));
    actionCaptioned("Standard", "&New")->trigger();
    EXPECT_EQ(cancelling->clicks, 1);
    EXPECT_TRUE(m_harness.window().pages().empty());
    com::check(newButton->Unadvise(cookie));
    actionCaptioned("Standard", "&New")->trigger();
    EXPECT_EQ(m_harness.window().pages().size(), 1u);
}

TEST_F(CommandBarsTest, OnlyLastingControlsComeBackInTheNextRun) {
    addButton("Insert", "Temporary...", true);
    addButton("Insert", "Lasting...", false);
    m_harness.stop();
    m_harness.start();
    const QList<QAction*> actions = toolBar("Insert")->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions.front()->text(), "Lasting...");
}

// The child of `parent`'s accessible interface named `name`, or nullptr.
QAccessibleInterface* accessibleChild(QObject* parent, const QString& name) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(parent);
    for (int i = 0; node && i < node->childCount(); ++i) {
        if (node->child(i)->text(QAccessible::Name) == name) return node->child(i);
    }
    return nullptr;
}

TEST_F(CommandBarsTest, TheInsertMenuMirrorsTheBarForKeyboardAndScreenReader) {
    m_harness.window().show();
    QMenuBar* menuBar = m_harness.window().menuBar();
    QMenu* menu = nullptr;
    for (QAction* a : menuBar->actions()) {
        if (a->text() == "&Insert") menu = a->menu();
    }
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->menuAction()->isVisible()) << "an empty menu stays out of the way";

    auto button = addButton("Insert", "Ostrel...");
    ComPtr<com::ICommandBarControl> first;
    com::check(controls("Insert")->Add(Variant(std::int16_t{1}), Variant::missing(),
                                       Variant::missing(), Variant(std::int16_t{1}), Variant(true),
                                       first.put()));
    com::check(first->put_Caption("First"));
    EXPECT_EQ(menu->actions(), toolBar("Insert")->actions()) << "same controls, same order";

    QAccessibleInterface* item = accessibleChild(menuBar, "Insert");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), QAccessible::MenuItem);
    EXPECT_FALSE(item->state().invisible);
    QAccessibleInterface* ostrel = accessibleChild(menu, "Ostrel...");
    ASSERT_NE(ostrel, nullptr);
    EXPECT_EQ(ostrel->role(), QAccessible::MenuItem);

    // Pressed as a screen reader presses it, the menu item or the button clicks the control,
    // after the call has returned: a click may run a modal dialog.
    auto recorder = com::make<ClickRecorder>();
    std::uint32_t cookie = 0;
    com::check(button->Advise(recorder.get(), &cookie));
    QAccessibleInterface* onBar = QAccessible::queryAccessibleInterface(
        toolBar("Insert")->widgetForAction(actionCaptioned("Insert", "Ostrel...")));
    ASSERT_NE(onBar, nullptr);
    EXPECT_EQ(onBar->text(QAccessible::Name), "Ostrel...");
    for (QAccessibleInterface* pressed : {ostrel, onBar}) {
        const int before = recorder->clicks;
        pressed->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(recorder->clicks, before);
        QCoreApplication::processEvents();
        EXPECT_EQ(recorder->clicks, before + 1);
    }
    EXPECT_EQ(recorder->lastCtrl, button.get());

    com::check(button->Delete(Variant::missing()));
    com::check(com::query<com::ICommandBarButton>(first)->Delete(Variant::missing()));
    EXPECT_TRUE(menu->actions().isEmpty());
    EXPECT_EQ(accessibleChild(menu, "Ostrel..."), nullptr);
    EXPECT_FALSE(menu->menuAction()->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(CommandBarsTest, BarsHeldAfterTheEditorClosedFailClearly) {
    auto insert = bar(Variant("Insert"));
    auto button = addButton("Insert", "Ostrel...");
    auto app = m_harness.window().application();
    m_harness.stop();
    ComPtr<com::ICommandBarControls> none;
    EXPECT_TRUE(com::failed(insert->get_Controls(none.put())));
    EXPECT_TRUE(com::failed(button->put_Caption("x")));
    ComPtr<com::ICommandBars> noBars;
    EXPECT_EQ(failureOf(app->get_CommandBars(noBars.put())).description(), "The editor has closed");
}

}  // namespace
