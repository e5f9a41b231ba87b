// The editor at start: it loads the add-ins registered to load then, connects them, and
// unloads them on exit; broken registrations and modules are reported and skipped.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QToolBar>

#include "addin_records.h"
#include "com/addin_extensibility.h"
#include "host/editor/registered_addins.h"
#include "com/registration/class_registration.h"
#include "module_library.h"
#include "support/editor_harness.h"
#include "temp_registry.h"

namespace {

namespace reg = com::registration;

bool moduleIsLoaded(const char* path) {
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

QStringList insertBarCaptions(host::EditorWindow& window) {
    QStringList captions;
    for (QAction* a : window.findChild<QToolBar*>("Insert")->actions()) captions << a->text();
    return captions;
}

void registerOstrelPlugin() {
    ModuleLibrary module(OSTREL_PLUGIN_PATH);
    ASSERT_EQ(module.entry<com::DllRegisterServerFn>("DllRegisterServer")(), com::S_OK);
}

TEST(EditorStart, LoadsTheRegisteredAddInAndUnloadsItOnExit) {
    TempRegistry registry;
    registerOstrelPlugin();
    ASSERT_FALSE(moduleIsLoaded(OSTREL_PLUGIN_PATH));
    const long before = com::liveObjectCount();
    {
        EditorHarness harness;
        host::loadRegisteredAddIns(*harness.session, platform::registry::RegistryFile());
        ASSERT_EQ(harness.session->addInCount(), 1u);
        const auto& module = harness.session->addIn(0);
        EXPECT_EQ(module.state(), host::AddInModule::State::Connected) << module.error();
        EXPECT_EQ(insertBarCaptions(harness.window()).count("Ostrel..."), 1);
        EXPECT_TRUE(harness.messages.shown.empty());
        EXPECT_TRUE(moduleIsLoaded(OSTREL_PLUGIN_PATH));

        harness.stop();
    }
    EXPECT_FALSE(moduleIsLoaded(OSTREL_PLUGIN_PATH)) << "the module was unloaded";
    EXPECT_EQ(com::liveObjectCount(), before) << "no object of the add-in or the editor is left";
}

TEST(EditorStart, BrokenRegistrationsAndModulesAreReportedAndSkipped) {
    TempRegistry registry;
    registerOstrelPlugin();
    auto tree = registry.read();
    registerAddIn(tree, "Broken.NoEntry", "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5F1}",
                  BROKEN_NO_ENTRY);
    registerAddIn(tree, "Broken.Factory", "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5F2}", BROKEN_FACTORY);
    registerAddIn(tree, "Broken.Connect", "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5F3}", BROKEN_CONNECT);
    registerAddIn(tree, "Gone.Module", "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5F4}",
                  (registry.path().parent_path() / "gone.so").string());
    tree.setValue(reg::addInKey(host::kHostRegistryRoot, "Unknown.Class"), "LoadBehavior", 3u);
    // Not to be loaded at start: neither loaded nor reported.
    registerAddIn(tree, "Later.Connect", "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5F5}", BROKEN_FACTORY,
                  0u);
    registry.write(tree);
    const long before = com::liveObjectCount();
    {
        EditorHarness harness;
        host::loadRegisteredAddIns(*harness.session, platform::registry::RegistryFile());

        const auto& shown = harness.messages.shown;
        ASSERT_EQ(shown.size(), 5u);
        // Unresolvable entries come first, then modules in the list's order.
        EXPECT_TRUE(shown[0].text.contains("Unknown.Class")) << shown[0].text.toStdString();
        EXPECT_TRUE(shown[1].text.contains("DllGetClassObject")) << shown[1].text.toStdString();
        EXPECT_TRUE(shown[2].text.contains("The fixture factory is out of objects"))
            << shown[2].text.toStdString();
        EXPECT_TRUE(shown[3].text.contains("The fixture refuses to connect"))
            << shown[3].text.toStdString();
        EXPECT_TRUE(shown[4].text.contains("gone.so")) << shown[4].text.toStdString();
        for (const auto& box : shown) EXPECT_EQ(box.icon, host::MessageIcon::Warning);

        ASSERT_EQ(harness.session->addInCount(), 5u);
        EXPECT_EQ(harness.session->addIn(0).state(), host::AddInModule::State::Connected)
            << "the working add-in, registered first, still connects";
        EXPECT_EQ(insertBarCaptions(harness.window()).count("Ostrel..."), 1);
        harness.stop();
    }
    for (const char* path : {OSTREL_PLUGIN_PATH, BROKEN_FACTORY, BROKEN_CONNECT}) {
        EXPECT_FALSE(moduleIsLoaded(path)) << path;
    }
    EXPECT_EQ(com::liveObjectCount(), before);
}

TEST(EditorStart, UnreadableRegistryIsReportedAndTheEditorStartsWithoutAddIns) {
    TempRegistry registry;
    registry.writeText("not a registry\n");
    EditorHarness harness;
    host::loadRegisteredAddIns(*harness.session, platform::registry::RegistryFile());
    ASSERT_EQ(harness.messages.shown.size(), 1u);
    EXPECT_TRUE(harness.messages.shown[0].text.contains(QString::fromStdString(registry.path())));
    EXPECT_EQ(harness.session->addInCount(), 0u);
    EXPECT_EQ(registry.text(), "not a registry\n");
}

}  // namespace
