// Loading add-in modules for real: the fixture connects, shows its button, takes clicks
// and leaves cleanly; broken modules are reported and skipped.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QToolBar>

#include "host/addins/addin_module.h"
#include "host/editor/editor_window.h"
#include "support/editor_harness.h"

namespace {

constexpr com::Guid kFixtureClass = com::Guid::literal("{6E0C1A52-3C1B-4F7E-9E55-0A4A3C1D2B01}");

// Keeps the fixture loaded for the test, so what it recorded can be read after the
// editor has let go of it.
class FixtureHandle {
public:
    FixtureHandle() : m_handle(::dlopen(FIXTURE_ADDIN, RTLD_NOW | RTLD_LOCAL)) {}
    ~FixtureHandle() {
        if (m_handle) ::dlclose(m_handle);
    }
    void reset(int clickMode) {
        reinterpret_cast<void (*)(int)>(::dlsym(m_handle, "fixture_reset"))(clickMode);
    }
    std::string log() const {
        return reinterpret_cast<const char* (*)()>(::dlsym(m_handle, "fixture_log"))();
    }
    bool loaded() const { return m_handle != nullptr; }

private:
    void* m_handle;
};

QAction* insertBarAction(host::EditorWindow& window, const QString& caption) {
    for (QAction* a : window.findChild<QToolBar*>("Insert")->actions()) {
        if (a->text() == caption) return a;
    }
    return nullptr;
}

// Presses the named buttons of the modal dialog that `act` opens, one per turn of its loop.
void pressInDialog(const std::function<void()>& act, QStringList buttons) {
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || buttons.isEmpty()) return;
        if (auto* b = dialog->findChild<QAbstractButton*>(buttons.takeFirst())) b->click();
    });
    timer.start();
    act();
}

TEST(AddInLoader, FixtureConnectsTakesClicksAndLeavesNothingBehind) {
    FixtureHandle fixture;
    ASSERT_TRUE(fixture.loaded()) << ::dlerror();
    fixture.reset(0);
    const long before = com::liveObjectCount();
    {
        EditorHarness harness;
        host::AddInModule& module =
            harness.session->loadAddIn({FIXTURE_ADDIN, kFixtureClass}, com::ext_cm_Startup);
        EXPECT_EQ(module.state(), host::AddInModule::State::Connected) << module.error();
        harness.session->startupComplete();
        QAction* button = insertBarAction(harness.window(), "Fixture...");
        ASSERT_NE(button, nullptr);
        button->trigger();
        EXPECT_TRUE(harness.messages.shown.empty());
        harness.stop();
    }
    EXPECT_EQ(fixture.log(),
              "OnConnection 1\nOnStartupComplete\nClick\nOnBeginShutdown\nOnDisconnection 0\n");
    EXPECT_EQ(com::liveObjectCount(), before)
        << "every object of the add-in and the editor is gone";
}

TEST(AddInLoader, ModuleIsClosedOnceItsObjectsAreGone) {
    {
        EditorHarness harness;
        harness.session->loadAddIn({FIXTURE_ADDIN, kFixtureClass}, com::ext_cm_AfterStartup);
        void* probe = ::dlopen(FIXTURE_ADDIN, RTLD_NOW | RTLD_NOLOAD);
        EXPECT_NE(probe, nullptr) << "loaded while connected";
        if (probe) ::dlclose(probe);
    }
    void* probe = ::dlopen(FIXTURE_ADDIN, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(probe, nullptr) << "closed after the editor let go of it";
    if (probe) ::dlclose(probe);
}

TEST(AddInLoader, ClickThatFailsInsideTheAddInIsShownAndTheEditorCarriesOn) {
    FixtureHandle fixture;
    fixture.reset(1);
    EditorHarness harness;
    harness.window().openPage(harness.writeFile("p.html", "<body></body>"));
    harness.session->loadAddIn({FIXTURE_ADDIN, kFixtureClass}, com::ext_cm_Startup);
    QAction* button = insertBarAction(harness.window(), "Fixture...");
    ASSERT_NE(button, nullptr);
    // The stand-in document of the harness has no "all", so the insertion fails there.
    pressInDialog([&] { button->trigger(); }, {"cmdWizControl_2", "cmdWizControl_3"});
    EXPECT_NE(fixture.log().find("Finish 1"), std::string::npos) << fixture.log();
    ASSERT_EQ(harness.messages.shown.size(), 1u);
    const QString text = harness.messages.shown[0].text;
    EXPECT_TRUE(text.contains("Error number: -2147467263")) << text.toStdString();
    EXPECT_TRUE(text.contains("Error description: Not implemented")) << text.toStdString();
    EXPECT_TRUE(text.contains("Error source: all")) << text.toStdString();

    pressInDialog([&] { button->trigger(); }, {"cmdWizControl_0"});
    EXPECT_NE(fixture.log().find("Cancel"), std::string::npos);
    EXPECT_EQ(harness.messages.shown.size(), 1u);
}

TEST(AddInLoader, BrokenModulesAreReportedAndSkipped) {
    struct Case {
        const char* path;
        com::Guid classId;
        const char* expected;
    };
    const Case cases[] = {
        {"/nonexistent/addin.so", kFixtureClass, "cannot open the module"},
        {BROKEN_NO_ENTRY, kFixtureClass, "does not export DllGetClassObject"},
        {FIXTURE_ADDIN, com::Guid::literal("{00000000-1111-2222-3333-444444444444}"),
         "has no class {00000000-1111-2222-3333-444444444444}: Class not available"},
        {BROKEN_FACTORY, kFixtureClass,
         "could not create the add-in: The fixture factory is out of objects (error 7, source "
         "BrokenFactory)"},
        {BROKEN_CONNECT, kFixtureClass,
         "refused to connect: The fixture refuses to connect (error 1004, source BrokenConnect)"},
    };
    for (const Case& c : cases) {
        EditorHarness harness;
        host::AddInModule& module =
            harness.session->loadAddIn({c.path, c.classId}, com::ext_cm_Startup);
        EXPECT_EQ(module.state(), host::AddInModule::State::Failed) << c.path;
        EXPECT_NE(module.error().find(c.expected), std::string::npos) << module.error();
        ASSERT_EQ(harness.messages.shown.size(), 1u) << c.path;
        EXPECT_TRUE(harness.messages.shown[0].text.contains(c.path));
        EXPECT_TRUE(
            harness.messages.shown[0].text.contains(QString::fromStdString(module.error())));
        EXPECT_TRUE(harness.window().findChild<QToolBar*>("Insert")->actions().isEmpty());
        // The editor still works: a good add-in loads after the broken one.
        EXPECT_EQ(
            harness.session->loadAddIn({FIXTURE_ADDIN, kFixtureClass}, com::ext_cm_Startup).state(),
            host::AddInModule::State::Connected);
    }
}

}  // namespace
