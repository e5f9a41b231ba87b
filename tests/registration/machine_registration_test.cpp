// Add-ins for every user: the machine-wide registry as the package writes it (ostrel-regsvr
// --machine MODULE), read beneath the user's by the editor and the Add-ins dialog.
#include <gtest/gtest.h>

#include <QProcess>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>

#include "addin_records.h"
#include "host/addinsui/addins_dialog.h"
#include "support/editor_harness.h"
#include "temp_registry.h"

namespace {

namespace reg = com::registration;

int regsvr(const QStringList& args) {
    QProcess process;  // inherits the temporary registries
    process.start(OSTREL_REGSVR_PATH, args);
    EXPECT_TRUE(process.waitForFinished(30000));
    return process.exitCode();
}

// The user's own "do not load" (the check box, or disabling after a crash) wins; so does a
// registration of the same program id for the user alone, whose module is loaded instead
// and which the Add-ins dialog calls the user's.
TEST(MachineRegistration, LoadsForAUserWithoutARegistrationUnlessTheUserSaysOtherwise) {
    struct Case {
        const char* what;
        std::optional<std::uint32_t> userLoadBehavior;
        const char* userModule;  // the user's own registration of the same program id
        std::size_t loaded;
        reg::RegisteredFor registeredFor;
    };
    const Case cases[] = {
        {"no per-user record", std::nullopt, nullptr, 1, reg::RegisteredFor::AllUsers},
        {"the user's do-not-load", reg::kNotLoaded, nullptr, 0, reg::RegisteredFor::AllUsers},
        {"the user's own module", std::nullopt, BROKEN_FACTORY, 1, reg::RegisteredFor::ThisUser},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempRegistry registry;
        ASSERT_EQ(regsvr({"--machine", "-s", OSTREL_PLUGIN_PATH}), 0);
        ASSERT_FALSE(registry.exists()) << "nothing is written for the user";
        const auto key = reg::addInKey(host::kHostRegistryRoot, "OstrelPlugin.Connect");
        if (c.userLoadBehavior) {
            platform::registry::RegistryFile().setValue(key, "LoadBehavior", *c.userLoadBehavior);
        }
        if (c.userModule) {
            auto tree = registry.read();
            registerAddIn(tree, "OstrelPlugin.Connect", "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5F2}",
                          c.userModule);
            registry.write(tree);
        }
        const auto found = host::findRegisteredAddIns(platform::registry::RegistryFile());
        EXPECT_TRUE(found.problems.empty());
        ASSERT_EQ(found.toLoad.size(), c.loaded);
        if (c.loaded) {
            EXPECT_EQ(found.toLoad[0].path, c.userModule ? c.userModule : OSTREL_PLUGIN_PATH);
        }
        const auto machine = platform::registry::RegistryFile(registry.machineRecords(OSTREL_PLUGIN_PATH)).read();
        EXPECT_EQ(reg::registeredFor(registry.read(), machine, host::kHostRegistryRoot,
                                     "OstrelPlugin.Connect"),
                  c.registeredFor);
    }
}

// The editor loads it; the dialog says whose it is and will not remove it for everyone;
// ostrel-regsvr --machine --remove-records (the package's removal) takes it away.
TEST(MachineRegistration, TheEditorLoadsItAndOnlyTheMachineRemovalRemovesIt) {
    TempRegistry registry;
    ASSERT_EQ(regsvr({"--machine", "-s", OSTREL_PLUGIN_PATH}), 0);
    const std::string machineText =
        TempRegistry::textOf(registry.machineRecords(OSTREL_PLUGIN_PATH));
    EXPECT_NE(machineText.find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\OstrelPlugin.Connect]"),
              std::string::npos);
    {
        EditorHarness harness;
        host::loadRegisteredAddIns(*harness.session, platform::registry::RegistryFile());
        ASSERT_EQ(harness.session->addInCount(), 1u);
        EXPECT_EQ(harness.session->addIn(0).state(), host::AddInModule::State::Connected);
        EXPECT_EQ(harness.window().findChild<QToolBar*>("Insert")->actions().size(), 1);

        host::AddInsDialog dialog(*harness.session, {&harness.messages,
                                                     {},
                                                     OSTREL_REGSVR_PATH,
                                                     registry.path(),
                                                     std::string(host::kHostRegistryRoot)});
        auto* list = dialog.findChild<QTreeWidget*>("lstAddIns");
        ASSERT_EQ(list->topLevelItemCount(), 1);
        EXPECT_EQ(list->topLevelItem(0)->text(2), "all users");
        list->setCurrentItem(list->topLevelItem(0));
        dialog.findChild<QPushButton*>("cmdRemoveAddIn")->click();
        ASSERT_EQ(harness.messages.shown.size(), 1u);
        EXPECT_TRUE(harness.messages.shown[0].text.contains("registered for all users"));
        EXPECT_EQ(TempRegistry::textOf(registry.machineRecords(OSTREL_PLUGIN_PATH)), machineText);
        EXPECT_EQ(harness.session->addInCount(), 1u);
        harness.stop();
    }
    EXPECT_EQ(regsvr({"--machine", "-s", "--remove-records", OSTREL_PLUGIN_PATH}), 0);
    EXPECT_TRUE(host::findRegisteredAddIns(platform::registry::RegistryFile()).toLoad.empty());
    EXPECT_FALSE(registry.exists());
    EXPECT_FALSE(std::filesystem::exists(registry.machineRecords(OSTREL_PLUGIN_PATH)))
        << "a record file left empty goes";
}

}  // namespace
