// No add-in keeps the editor from starting twice: after a run that crashed, was killed or
// hung in an add-in, the next start names it and offers to disable it, and loads the rest;
// safe mode loads nothing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "addin_records.h"
#include "host/addins/load_record.h"
#include "host/editor/registered_addins.h"
#include "host/editor/run_editor.h"
#include "support/editor_harness.h"
#include "temp_registry.h"

namespace {

namespace reg = com::registration;

constexpr const char* kFixtureClass = "{6E0C1A52-3C1B-4F7E-9E55-0A4A3C1D2B01}";
constexpr const char* kBadClass = "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5A1}";

// The bad add-in is listed first, so it is met before the fixture.
void registerBadThenFixture(TempRegistry& registry, const char* badModule) {
    platform::registry::RegistryTree tree;
    registerAddIn(tree, "Bad.AddIn", kBadClass, badModule);
    registerAddIn(tree, "Fixture.AddIn", kFixtureClass, FIXTURE_ADDIN);
    registry.write(tree);
}

QStringList callRecords(const QString& folder) {
    return QDir(folder).entryList({"addin-call-*"}, QDir::Files);
}

TEST(AddInRecovery, TheStartAfterACrashKillOrHangOffersToDisableAndLoadsTheRest) {
    enum class End { Crashes, Killed, StillHanging };
    struct Case {
        const char* module;
        End end;
    };
    const Case cases[] = {{BROKEN_CRASH_CONNECT, End::Crashes},
                          {BROKEN_SLEEP, End::Killed},
                          {BROKEN_SLEEP, End::StillHanging}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        TempRegistry registry;
        registerBadThenFixture(registry, c.module);
        QTemporaryDir state;
        const QString records = state.filePath("ostrel");

        QProcess first;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_STATE_HOME", state.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        // A real fault, not the address sanitizer's report and exit.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":handle_segv=0");
        first.setProcessEnvironment(env);
        first.start(PAGEHOST, {});
        ASSERT_TRUE(first.waitForStarted());
        if (c.end == End::Crashes) {
            ASSERT_TRUE(first.waitForFinished(60000));
            EXPECT_EQ(first.exitStatus(), QProcess::CrashExit);
        } else {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !callRecords(records).isEmpty(); }, 60000));
            if (c.end == End::Killed) {
                first.kill();
                first.waitForFinished();
            }
        }
        ASSERT_EQ(callRecords(records).size(), 1) << "the first start left its record";

        {
            EditorHarness second(records.toStdString());
            second.messages.answers = {host::MessageButton::Yes};
            const auto hangAfter = std::chrono::seconds(c.end == End::StillHanging ? 0 : 3600);
            host::loadRegisteredAddIns(*second.session, platform::registry::RegistryFile(),
                                       hangAfter);
            ASSERT_EQ(second.messages.shown.size(), 1u);
            const QString asked = second.messages.shown[0].text;
            EXPECT_TRUE(asked.startsWith("The add-in \"Bad.AddIn add-in\"")) << asked.toStdString();
            EXPECT_TRUE(asked.contains(c.module)) << asked.toStdString();
            EXPECT_TRUE(asked.contains("starting up")) << asked.toStdString();
            EXPECT_EQ(asked.contains("seems to hang"), c.end == End::StillHanging);
            EXPECT_EQ(registry.read().number(reg::addInKey(host::kHostRegistryRoot, "Bad.AddIn"),
                                             "LoadBehavior"),
                      reg::kNotLoaded);
            EXPECT_TRUE(second.session->isConnected(com::Guid::parse(kFixtureClass).value()));
            EXPECT_EQ(second.session->addInCount(), 1u) << "the disabled add-in was not loaded";
            EXPECT_FALSE(
                second.session->lastFailure(com::Guid::parse(kBadClass).value()).isEmpty());
            second.stop();
        }
        EXPECT_TRUE(callRecords(records).isEmpty()) << "asked once, then forgotten";
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished();
        }
    }
}

TEST(AddInRecovery, SafeModeLoadsNoAddInAndSaysSo) {
    TempRegistry registry;
    registerBadThenFixture(registry, BROKEN_CRASH_CONNECT);
    EditorHarness harness;
    host::CommandLine cl = host::parseCommandLine({"pagehost", "--safe-mode"});
    host::startAddIns(*harness.session, cl);
    EXPECT_EQ(harness.session->addInCount(), 0u);
    EXPECT_TRUE(harness.window().windowTitle().endsWith("(Safe Mode)"));
    auto* note = harness.window().statusBar()->findChild<QLabel*>("modeNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains("no add-in"));
    EXPECT_TRUE(host::usage().contains("--safe-mode"));
    harness.stop();
}

// What sits at a record's path may be a trap: a hard link to another file, a FIFO, a link.
// Writing the editor's own record neither writes through it nor waits on it, and reading
// another run's records leaves such a thing out.
TEST(AddInRecovery, RecordsAreNeitherWrittenThroughNorReadFromWhatIsPlantedAtTheirPath) {
    namespace fs = std::filesystem;
    enum class Plant { HardLink, Fifo, SymbolicLink };
    for (Plant plant : {Plant::HardLink, Plant::Fifo, Plant::SymbolicLink}) {
        QTemporaryDir dir;
        const fs::path folder = fs::path(dir.path().toStdString()) / "ostrel";
        fs::create_directory(folder);
        const fs::path victim = fs::path(dir.path().toStdString()) / "victim";
        const std::string kept = "process=\"999999\"\noperation=\"load\"\nsince=\"0\"\n";
        std::ofstream(victim) << kept;
        const auto planted = [&](const fs::path& at) {
            if (plant == Plant::HardLink) fs::create_hard_link(victim, at);
            if (plant == Plant::Fifo) {
                ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0);
            }
            if (plant == Plant::SymbolicLink) fs::create_symlink(victim, at);
        };
        const fs::path own = folder / ("addin-call-" + std::to_string(::getpid()));
        planted(own);
        const host::LoadRecords records(folder);
        {
            const auto scope = records.record({"Bad.AddIn", kBadClass, "/bad.so", "load"});
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(own)));
            EXPECT_EQ(fs::hard_link_count(own), 1u);
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(own)));
        planted(folder / "addin-call-999999");
        EXPECT_TRUE(records.unfinished(std::chrono::seconds(0)).empty());
        std::ifstream in(victim);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kept);
    }
}

}  // namespace
