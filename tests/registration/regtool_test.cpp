// ostrel-regsvr run as a user runs it: its exit statuses and what it says.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <fstream>

#include "host/regtool/class_registration.h"
#include "temp_registry.h"

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome regsvr(const QStringList& args) {
    QProcess process;
    process.start(OSTREL_REGSVR_PATH, args);  // inherits the temporary registry's variable
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

constexpr const char* kFrontPage = "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\FrontPage";

TEST(RegistrationTool, RegistersAndUnregistersTheModule) {
    TempRegistry registry;
    auto result = regsvr({OSTREL_PLUGIN_PATH});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("DllRegisterServer"), std::string::npos);
    EXPECT_EQ(ostrel::registration::listAddIns(registry.read(), kFrontPage).size(), 1u);

    result = regsvr({"-u", "-s", OSTREL_PLUGIN_PATH});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "") << "quiet";
    EXPECT_TRUE(ostrel::registration::listAddIns(registry.read(), kFrontPage).empty());
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

}  // namespace
