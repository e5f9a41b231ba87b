// ostrel-regsvr run as a user runs it: its exit statuses and what it says.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <fstream>

#include "addin_records.h"
#include "host/regtool/child_registration.h"
#include "com/registration/class_registration.h"
#include "temp_registry.h"

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome runProgram(const char* program, const QStringList& args) {
    QProcess process;
    auto env = QProcessEnvironment::systemEnvironment();  // with the temporary registry
    // A module's fault stays a signal under the address sanitizer.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":handle_segv=0");
    process.setProcessEnvironment(env);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

Outcome regsvr(const QStringList& args) {
    return runProgram(OSTREL_REGSVR_PATH, args);
}

constexpr const char* kFrontPage = "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\FrontPage";

TEST(RegistrationTool, RegistersAndUnregistersTheModule) {
    TempRegistry registry;
    auto result = regsvr({OSTREL_PLUGIN_PATH});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("DllRegisterServer"), std::string::npos);
    EXPECT_EQ(com::registration::listAddIns(registry.read(), kFrontPage).size(), 1u);

    result = regsvr({"-u", "-s", OSTREL_PLUGIN_PATH});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "") << "quiet";
    EXPECT_TRUE(com::registration::listAddIns(registry.read(), kFrontPage).empty());
}

TEST(RegistrationTool, EachKindOfFailureHasItsExitStatusAndReason) {
    TempRegistry registry;

    auto result = regsvr({"-x", OSTREL_PLUGIN_PATH});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("unknown option -x"), std::string::npos) << result.err;
    EXPECT_EQ(regsvr({}).exitCode, 1);

    const auto folder = registry.path().parent_path();
    result = regsvr({QString::fromStdString((folder / "missing.so").string())});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("missing.so"), std::string::npos) << result.err;
    std::ofstream(folder / "text.so") << "not a library\n";
    result = regsvr({QString::fromStdString((folder / "text.so").string())});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("cannot be loaded"), std::string::npos) << result.err;

    result = regsvr({BROKEN_NO_ENTRY});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("does not export DllRegisterServer"), std::string::npos)
        << result.err;

    result = regsvr({REFUSES_REGISTRATION});
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_NE(result.err.find("Error number: 75\n"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("Error description: The fixture module refuses to register\n"),
              std::string::npos);
    EXPECT_NE(result.err.find("Error source: RefusingFixture\n"), std::string::npos);

    EXPECT_FALSE(registry.exists()) << "no failure wrote anything";
}

TEST(RegistrationTool, DamagedRegistryFailsRegistrationAndNamesTheFile) {
    TempRegistry registry;
    registry.writeText("not a registry\n");
    const auto result = regsvr({OSTREL_PLUGIN_PATH});
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_NE(result.err.find(registry.path().string()), std::string::npos) << result.err;
    EXPECT_EQ(registry.text(), "not a registry\n");
}

TEST(RegistrationTool, AModuleThatCrashesOrHangsIsNamedAndChangesNothing) {
    TempRegistry registry;
    ASSERT_EQ(regsvr({OSTREL_PLUGIN_PATH}).exitCode, 0);
    const std::string before = registry.text();
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{BROKEN_CRASH_REGISTER}, "crashed in DllRegisterServer (signal 11, Segmentation fault)"},
        {{"-u", BROKEN_CRASH_REGISTER}, "--remove-records \"" BROKEN_CRASH_REGISTER "\""},
        {{"--time-limit", "0.5", BROKEN_SLEEP},
         "did not finish DllRegisterServer within the time limit of 0.5 s"},
        // Only the entry point's own return counts: ending the process is no success.
        {{BROKEN_EXIT}, "exit status 3 inside DllRegisterServer instead of returning"},
        {{BROKEN_QUIET_EXIT}, "exit status 0 inside DllRegisterServer instead of returning"},
        {{"--time-limit", "0.5", BROKEN_FLOOD}, "bytes of earlier output left out]\nxxx"},
    };
    for (const Case& c : cases) {
        const auto result = regsvr(c.args);
        EXPECT_EQ(result.exitCode, 5) << result.err;
        EXPECT_LT(result.err.size(), host::regsvr::kOutputTail + 1024) << "only the end is kept";
        EXPECT_LT(result.out.size(), host::regsvr::kOutputTail + 1024);
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(c.args.last().toStdString()), std::string::npos);
        EXPECT_NE(result.err.find("The registry was left as it was."), std::string::npos);
        EXPECT_EQ(registry.text(), before) << "not even what the module wrote before it crashed";
    }
}

TEST(RegistrationTool, NoProcessTheModuleStartsOutlivesTheRegistration) {
    TempRegistry registry;
    // The module's daemon leaves the process group and the session, and says who it is.
    const auto pidFile = registry.path().parent_path() / "daemon.pid";
    setenv("BROKEN_DETACH_PID_FILE", pidFile.c_str(), 1);
    const auto result = regsvr({BROKEN_DETACH});
    unsetenv("BROKEN_DETACH_PID_FILE");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::ifstream in(pidFile);
    pid_t daemon = 0;
    ASSERT_TRUE(in >> daemon);
    EXPECT_NE(::kill(daemon, 0), 0) << "process " << daemon << " still runs";
}

TEST(RegistrationTool, RemoveRecordsDeletesAClassWithoutRunningItsModule) {
    for (const char* target : {OSTREL_PLUGIN_PATH, "{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}"}) {
        TempRegistry registry;
        ASSERT_EQ(regsvr({OSTREL_PLUGIN_PATH}).exitCode, 0);
        auto tree = registry.read();
        // Its unregistration would crash, and the module is never run here.
        registerAddIn(tree, "Crash.AddIn", "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5B1}",
                      BROKEN_CRASH_REGISTER);
        registry.write(tree);

        auto result = regsvr({"--remove-records", target});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const std::string text = registry.text();
        for (const char* gone : {"OstrelPlugin", "2D94A8A9", "B91C026D", "102C8F25"})
            EXPECT_EQ(text.find(gone), std::string::npos) << gone << " in\n" << text;
        const auto left = com::registration::listAddIns(registry.read(), kFrontPage);
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(com::registration::resolveProgId(registry.read(), "Crash.AddIn").module,
                  BROKEN_CRASH_REGISTER)
            << "the other add-in's records stay";

        result = regsvr({"--remove-records", BROKEN_CRASH_REGISTER});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(com::registration::listAddIns(registry.read(), kFrontPage).empty());
        EXPECT_EQ(regsvr({"--remove-records", target}).exitCode, 6) << "nothing left to remove";
    }
}

TEST(Programs, VersionPrintsTheProjectVersionAndDoesNothingElse) {
    TempRegistry registry;
    const std::pair<const char*, QStringList> runs[] = {
        {PAGEHOST, {"--version", "no-such-page.html"}},
        {OSTREL_REGSVR_PATH, {OSTREL_PLUGIN_PATH, "--version"}},
    };
    for (const auto& [program, args] : runs) {
        const auto result = runProgram(program, args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out,
                  std::filesystem::path(program).filename().string() + " " OSTREL_VERSION "\n");
        EXPECT_NE(runProgram(program, {"--help"}).out.find("--version"), std::string::npos);
    }
    EXPECT_FALSE(registry.exists()) << "nothing was registered";
    EXPECT_EQ(regsvr({"--", "--version"}).exitCode, 2) << "after -- it names a module";
}

}  // namespace
