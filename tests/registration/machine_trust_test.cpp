// Add-ins for every user run in root's editor too: their records and modules count only when
// root alone can change them and every folder above them. The tests run as root (CI) and as
// an ordinary user, whose own files stand in for root's (OSTREL_TRUST_OWN_FILES); a file of
// another owner can only be made as root, so those rows run there alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <functional>

#include "addin_records.h"
#include "host/addinsui/addins_dialog.h"
#include "platform/registry/registry_changes.h"
#include "platform/registry/registry_format.h"
#include "support/editor_harness.h"
#include "temp_registry.h"

namespace {

namespace fs = std::filesystem;
namespace pr = platform::registry;

constexpr uid_t kNobody = 65534;
const char* const kClsid = "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5F9}";

pr::OwnerTrust ownTrust() {
    return {{0, ::geteuid()}};
}

// Every file of the tree below root, with its mode: "nothing written" compares two of these.
std::string listing(const fs::path& root) {
    std::string out;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        struct stat info {};
        ::lstat(it->path().c_str(), &info);
        out += it->path().string() + " " + std::to_string(info.st_mode) + "\n";
    }
    return out;
}

struct Tree {
    fs::path root, records, module;
};

// An add-in for all users as the package installs it: its record file and its module, each
// 0644 in folders 0755.
Tree makeTree(const fs::path& root, bool legacy = false) {
    const pr::MachinePlaces places = pr::MachinePlaces::under(root);
    Tree tree{root, legacy ? places.legacyFile : places.adminRecords / "Fixture.reg",
              root / "opt" / "fixture" / "fixture.so"};
    fs::create_directories(tree.records.parent_path());
    fs::create_directories(tree.module.parent_path());
    fs::copy_file(FIXTURE_ADDIN, tree.module);
    pr::RegistryTree records;
    registerAddIn(records, "Fixture.Connect", kClsid, tree.module.string());
    std::ofstream(tree.records) << pr::formatRegistry(
        pr::withHiveRenamed(records, pr::kUserHive, pr::kMachineHive));
    for (fs::path at = tree.records; at != root; at = at.parent_path())
        ::chmod(at.c_str(), at == tree.records ? 0644 : 0755);
    for (fs::path at = tree.module; at != root; at = at.parent_path())
        ::chmod(at.c_str(), at == tree.module ? 0644 : 0755);
    return tree;
}

// A scratch folder whose every folder above is trusted, or a reason to skip.
std::optional<std::string> untrustedBase(const QTemporaryDir& dir) {
    const auto check = pr::checkTrusted(dir.path().toStdString(), ownTrust());
    if (check.trusted()) return std::nullopt;
    return "the build folder fails the owner test itself: " + check.problem;
}

TEST(MachineTrust, RecordsAndModulesLoadOnlyWhenRootAloneCanChangeThem) {
    struct Case {
        const char* what;
        std::function<void(const Tree&)> change;
        const char* atFault;  // the path the reason names, relative to the root; null: loaded
        bool asRootOnly = false;
        bool legacy = false;
    };
    const auto mode = [](const char* relative, mode_t m) {
        return [=](const Tree& t) { ::chmod((t.root / relative).c_str(), m); };
    };
    const auto owner = [](const char* relative) {
        return
            [=](const Tree& t) { ASSERT_EQ(::chown((t.root / relative).c_str(), kNobody, -1), 0); };
    };
    const Case cases[] = {
        {"all 0644 and 0755", [](const Tree&) {}, nullptr},
        {"the older single file, 0644", [](const Tree&) {}, nullptr, false, true},
        {"record file 0666", mode("etc/ostrel/registry.d/Fixture.reg", 0666),
         "etc/ostrel/registry.d/Fixture.reg"},
        {"records folder 0777", mode("etc/ostrel/registry.d", 0777), "etc/ostrel/registry.d"},
        {"a folder above the records 0775", mode("etc", 0775), "etc\""},
        {"the older file 0666", mode("etc/ostrel/registry.reg", 0666), "etc/ostrel/registry.reg",
         false, true},
        {"module 0666", mode("opt/fixture/fixture.so", 0666), "opt/fixture/fixture.so"},
        {"module folder 0777", mode("opt/fixture", 0777), "opt/fixture\""},
        {"a folder above the module 0757", mode("opt", 0757), "opt\""},
        {"record file owned by nobody", owner("etc/ostrel/registry.d/Fixture.reg"),
         "etc/ostrel/registry.d/Fixture.reg", true},
        {"module folder owned by nobody", owner("opt/fixture"), "opt/fixture\"", true},
    };
    TempRegistry registry;
    EditorHarness harness;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.asRootOnly && ::geteuid() != 0) continue;  // only root can give a file away
        QTemporaryDir dir(QDir::currentPath() + "/trust-XXXXXX");
        if (const auto reason = untrustedBase(dir)) GTEST_SKIP() << *reason;
        const Tree tree = makeTree(dir.path().toStdString(), c.legacy);
        c.change(tree);
        const pr::MachineRegistry machine(pr::MachinePlaces::under(tree.root), ownTrust());

        const auto found = host::findRegisteredAddIns(pr::RegistryFile(), machine);
        EXPECT_TRUE(found.problems.empty());
        if (!c.atFault) {
            ASSERT_EQ(found.toLoad.size(), 1u);
            EXPECT_EQ(found.toLoad[0].path.toStdString(), fs::canonical(tree.module).string());
            EXPECT_TRUE(found.refused.empty());
        } else {
            EXPECT_TRUE(found.toLoad.empty());
            ASSERT_EQ(found.refused.size(), 1u);
            EXPECT_TRUE(found.refused[0].contains(
                QString::fromStdString((fs::canonical(tree.root) / c.atFault).string())))
                << found.refused[0].toStdString();
        }
        // Tools > Add-ins lists it: a check box when it may load, the reason when not.
        host::AddInsDialogServices services{&harness.messages,
                                            {},
                                            OSTREL_REGSVR_PATH,
                                            registry.path(),
                                            std::string(host::kHostRegistryRoot)};
        services.machine = machine;
        host::AddInsDialog dialog(*harness.session, services);
        auto* list = dialog.findChild<QTreeWidget*>("lstAddIns");
        ASSERT_EQ(list->topLevelItemCount(), 1);
        QTreeWidgetItem* row = list->topLevelItem(0);
        EXPECT_EQ(row->text(2), "all users");
        EXPECT_EQ(bool(row->flags() & Qt::ItemIsUserCheckable), !c.atFault);
        EXPECT_EQ(row->text(4).startsWith("Not loaded: "), bool(c.atFault))
            << row->text(4).toStdString();
        EXPECT_TRUE(harness.messages.shown.empty());
    }
    harness.stop();
}

int regsvr(const QStringList& args, QString* said = nullptr) {
    QProcess process;  // inherits the temporary registries
    process.start(OSTREL_REGSVR_PATH, args);
    EXPECT_TRUE(process.waitForFinished(30000));
    if (said) *said = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
}

TEST(MachineTrust, RegsvrRefusesWhatSomeoneElseCouldChangeAndWritesNothing) {
    struct Case {
        const char* what;
        std::function<void(const fs::path& records, const fs::path& module)> change;
        const char* said;  // in the refusal; null: registered
        bool asRootOnly = false;
    };
    const Case cases[] = {
        {"module 0644 in folders 0755", [](const fs::path&, const fs::path&) {}, nullptr},
        {"module 0666", [](const fs::path&, const fs::path& m) { ::chmod(m.c_str(), 0666); },
         "writable by every user"},
        {"module folder 0777",
         [](const fs::path&, const fs::path& m) { ::chmod(m.parent_path().c_str(), 0777); },
         "writable by every user"},
        {"a link at the record file",
         [](const fs::path& r, const fs::path&) {
             fs::create_directories(r.parent_path());
             fs::create_symlink(r.parent_path().parent_path() / "elsewhere.reg", r);
         },
         "is a link"},
        {"a link at the records folder",
         [](const fs::path& r, const fs::path&) {
             fs::create_directories(r.parent_path().parent_path() / "real");
             fs::create_symlink("real", r.parent_path());
         },
         "is a link"},
        {"record file 0666",
         [](const fs::path& r, const fs::path&) {
             fs::create_directories(r.parent_path());
             std::ofstream(r) << "OstrelRegistry 1\n";
             ::chmod(r.c_str(), 0666);
         },
         "chmod go-w"},
        {"record file owned by nobody",
         [](const fs::path& r, const fs::path&) {
             fs::create_directories(r.parent_path());
             std::ofstream(r) << "OstrelRegistry 1\n";
             ASSERT_EQ(::chown(r.c_str(), kNobody, -1), 0);
         },
         "chown root:root", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.asRootOnly && ::geteuid() != 0) continue;
        TempRegistry registry;
        if (const auto check = pr::checkTrusted(registry.machineRoot(), ownTrust());
            !check.trusted())
            GTEST_SKIP() << check.problem;
        const fs::path module = registry.machineRoot() / "opt" / "OstrelPlugin.so";
        fs::create_directories(module.parent_path());
        ::chmod(module.parent_path().c_str(), 0755);
        fs::copy_file(OSTREL_PLUGIN_PATH, module);
        ::chmod(module.c_str(), 0644);
        const fs::path records = registry.machineRecords(module);
        c.change(records, module);
        const std::string before = listing(registry.machineRoot());
        QString said;
        const int status =
            regsvr({"--machine", "-s", QString::fromStdString(module.string())}, &said);
        if (!c.said) {
            EXPECT_EQ(status, 0) << said.toStdString();
            struct stat info {};
            ASSERT_EQ(::stat(records.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0644u);
            continue;
        }
        EXPECT_EQ(status, 8);
        EXPECT_TRUE(said.contains(c.said)) << said.toStdString();
        EXPECT_TRUE(said.contains("Nothing was written")) << said.toStdString();
        EXPECT_EQ(listing(registry.machineRoot()), before);
    }
}

}  // namespace
