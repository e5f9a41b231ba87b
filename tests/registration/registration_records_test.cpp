// What DllRegisterServer records in the per-user registry, and that DllUnregisterServer
// takes exactly that away again.
#include <gtest/gtest.h>

#include <filesystem>

#include "addin_records.h"
#include "com/addin_extensibility.h"
#include "com/error.h"
#include "com/registration/class_registration.h"
#include "com/registration/record_removal.h"
#include "module_library.h"
#include "temp_registry.h"

namespace {

namespace reg = com::registration;
using platform::registry::RegistryTree;

constexpr const char* kFrontPage = "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\FrontPage";
constexpr const char* kClass =
    "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\"
    "{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}";
constexpr const char* kProgId = "HKEY_CURRENT_USER\\Software\\Classes\\OstrelPlugin.Connect";
constexpr const char* kTypeLib =
    "HKEY_CURRENT_USER\\Software\\Classes\\TypeLib\\"
    "{B91C026D-F6DB-4783-9745-2DA6D10AFD11}";
constexpr const char* kInterface =
    "HKEY_CURRENT_USER\\Software\\Classes\\Interface\\"
    "{102C8F25-352E-4CAF-88FA-76A4FDB76ED5}";

class Registration : public testing::Test {
protected:
    TempRegistry registry;
    ModuleLibrary module{OSTREL_PLUGIN_PATH};
    com::DllRegisterServerFn registerServer =
        module.entry<com::DllRegisterServerFn>("DllRegisterServer");
    com::DllUnregisterServerFn unregisterServer =
        module.entry<com::DllUnregisterServerFn>("DllUnregisterServer");
    std::filesystem::path modulePath = std::filesystem::canonical(OSTREL_PLUGIN_PATH);

    // Keys of other programs that registration must leave as they are.
    static RegistryTree unrelatedKeys() {
        RegistryTree tree;
        tree.setValue(std::string(kFrontPage) + "\\Addins\\Other.Connect", "LoadBehavior", 3u);
        tree.setValue(std::string(kFrontPage) + "\\Options", "Theme", std::string("blue"));
        tree.setValue(
            "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\"
            "{11111111-2222-3333-4444-555555555555}\\InprocServer32",
            "", std::string("/opt/other.so"));
        tree.setValue("HKEY_CURRENT_USER\\Software\\Classes\\Other.Connect\\Clsid", "",
                      std::string("{11111111-2222-3333-4444-555555555555}"));
        tree.setValue(
            "HKEY_CURRENT_USER\\Software\\Classes\\Interface\\"
            "{11111111-2222-3333-4444-666666666666}",
            "", std::string("IOther"));
        // Another version of our own type library is somebody else's record too.
        tree.setValue(std::string(kTypeLib) + "\\4.0", "", std::string("older"));
        return tree;
    }
};

TEST_F(Registration, RecordsTheAddInEntryClassProgIdTypeLibraryAndInterface) {
    ASSERT_EQ(registerServer(), com::S_OK);
    const auto tree = registry.read();

    const auto addIns = reg::listAddIns(tree, kFrontPage);
    ASSERT_EQ(addIns.size(), 1u);
    EXPECT_EQ(addIns[0].progId, "OstrelPlugin.Connect");
    const std::string entry = std::string(kFrontPage) + "\\Addins\\OstrelPlugin.Connect";
    const auto* entryKey = tree.key(entry);
    ASSERT_NE(entryKey, nullptr);
    EXPECT_EQ(entryKey->values().size(), 3u) << "no other add-in option is set";
    EXPECT_EQ(tree.text(entry, "FriendlyName"), "Ostrel Plugin");
    EXPECT_EQ(tree.text(entry, "Description"), "Frontpage plugin for Ostrel autoresponder.");
    EXPECT_EQ(tree.number(entry, "LoadBehavior"), 3u) << "a number, not a text";

    EXPECT_EQ(tree.text(std::string(kClass) + "\\InprocServer32", ""), modulePath.string());
    EXPECT_EQ(tree.text(std::string(kClass) + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(tree.text(std::string(kClass) + "\\ProgID", ""), "OstrelPlugin.Connect");
    EXPECT_EQ(tree.text(std::string(kProgId) + "\\Clsid", ""),
              "{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}");
    EXPECT_EQ(tree.text(std::string(kTypeLib) + "\\5.0", ""), "Ostrel auto responder plugin");
    EXPECT_EQ(tree.subkeys(std::string(kTypeLib) + "\\5.0\\0").size(), 1u)
        << "locale 0 names the library's file";
    EXPECT_EQ(tree.text(std::string(kInterface), ""), "_Connect");
    EXPECT_EQ(tree.text(std::string(kInterface) + "\\TypeLib", ""),
              "{B91C026D-F6DB-4783-9745-2DA6D10AFD11}");

    // What the editor will do with it.
    const auto server = reg::resolveProgId(tree, "OstrelPlugin.Connect");
    EXPECT_EQ(server.clsid.toString(), "{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}");
    EXPECT_EQ(server.module, modulePath);
}

TEST_F(Registration, RepeatsLeaveOneEntryAndUnregisterRemovesExactlyWhatWasWritten) {
    registry.write(unrelatedKeys());
    const std::string before = registry.text();

    ASSERT_EQ(registerServer(), com::S_OK);
    const std::string once = registry.text();
    ASSERT_EQ(registerServer(), com::S_OK);
    EXPECT_EQ(registry.text(), once) << "registering twice changes nothing";
    EXPECT_EQ(reg::listAddIns(registry.read(), kFrontPage).size(), 2u);

    ASSERT_EQ(unregisterServer(), com::S_OK);
    const auto tree = registry.read();
    EXPECT_FALSE(tree.hasKey(std::string(kFrontPage) + "\\Addins\\OstrelPlugin.Connect"));
    EXPECT_FALSE(tree.hasKey(kClass));
    EXPECT_FALSE(tree.hasKey(kProgId));
    EXPECT_FALSE(tree.hasKey(std::string(kTypeLib) + "\\5.0"));
    EXPECT_FALSE(tree.hasKey(kInterface));
    EXPECT_EQ(registry.text(), before) << "every other key and value is as it was";

    EXPECT_EQ(unregisterServer(), com::S_OK) << "unregistering twice succeeds";
    EXPECT_EQ(registry.text(), before);
}

TEST_F(Registration, UnregisterWithoutAnyRegistryWritesNothing) {
    EXPECT_EQ(unregisterServer(), com::S_OK);
    EXPECT_FALSE(registry.exists());
}

TEST_F(Registration, LastVersionOfTheTypeLibraryTakesItsKeyAlong) {
    ASSERT_EQ(registerServer(), com::S_OK);
    ASSERT_EQ(unregisterServer(), com::S_OK);
    EXPECT_FALSE(registry.read().hasKey(kTypeLib));
}

TEST_F(Registration, UnreadableRegistryIsNeitherOverwrittenNorReportedAsSuccess) {
    const std::string damaged = "OstrelRegistry 1\n[HKEY_CURRENT_USER\\Software\n";
    registry.writeText(damaged);
    com::clearErrorInfo();

    EXPECT_TRUE(com::failed(registerServer()));
    const auto info = com::takeErrorInfo();
    ASSERT_TRUE(info.has_value());
    EXPECT_NE(info->description.find(registry.path().string()), std::string::npos)
        << info->description;
    EXPECT_TRUE(com::failed(unregisterServer()));
    EXPECT_EQ(registry.text(), damaged);
}

TEST(AddInResolution, NamesTheMissingOrBadRecord) {
    RegistryTree tree;
    auto failure = [&](std::string_view progId) -> std::string {
        try {
            reg::resolveProgId(tree, progId);
        } catch (const com::Error& e) {
            EXPECT_EQ(e.number(), com::REGDB_E_CLASSNOTREG);
            return e.description();
        }
        return "resolved";
    };
    EXPECT_NE(failure("Gone.Connect").find("no class id"), std::string::npos);

    tree.setValue("HKEY_CURRENT_USER\\Software\\Classes\\Bad.Connect\\Clsid", "",
                  std::string("not-an-id"));
    EXPECT_NE(failure("Bad.Connect").find("is not a class id"), std::string::npos);

    const std::string clsid = "{11111111-2222-3333-4444-555555555555}";
    tree.setValue("HKEY_CURRENT_USER\\Software\\Classes\\Half.Connect\\Clsid", "", clsid);
    EXPECT_NE(failure("Half.Connect").find("no module"), std::string::npos);

    tree.setValue("HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32", "",
                  std::string("relative.so"));
    EXPECT_NE(failure("Half.Connect").find("not an absolute path"), std::string::npos);
}

TEST(RecordRemoval, TakesOnlyTheProgramIdsThatMapBackToTheClass) {
    // A stale class whose ProgID value names a program id that now belongs to another class.
    const std::string stale = "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5D1}";
    const std::string current = "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5D2}";
    for (const std::string& target : {stale, std::string("/opt/stale.so")}) {
        RegistryTree tree;
        registerAddIn(tree, "Stale.AddIn", stale, "/opt/stale.so");
        registerAddIn(tree, "Current.AddIn", current, "/opt/current.so");
        tree.setValue(reg::classKey(com::Guid::parse(stale).value()) + "\\ProgID", "",
                      std::string("Current.AddIn"));
        reg::removeRecords(tree, target);
        EXPECT_FALSE(tree.hasKey(reg::addInKey(host::kHostRegistryRoot, "Stale.AddIn")));
        EXPECT_FALSE(tree.hasKey(reg::progIdKey("Stale.AddIn")));
        EXPECT_EQ(reg::resolveProgId(tree, "Current.AddIn").module, "/opt/current.so") << target;
        EXPECT_TRUE(tree.hasKey(reg::addInKey(host::kHostRegistryRoot, "Current.AddIn"))) << target;
    }
}

}  // namespace
