// The registry: keys compare without case but keep their spelling, the file reads back
// exactly and stays readable, lines that cannot be read are named, and a change is all or
// nothing.
#include <gtest/gtest.h>

#include "platform/registry/registry_file.h"
#include "platform/text/utf8.h"
#include "platform/registry/registry_format.h"
#include "platform/text/text_format.h"
#include "platform/files/user_file.h"
#include "tests/registry/store_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace platform::registry;
using ostrel::testing::fileText;
using ostrel::testing::TempFolder;
using ostrel::testing::writeText;

constexpr std::string_view kAddin =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\FrontPage\\Addins\\OstrelPlugin.Connect";
constexpr std::string_view kServer =
    "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}\\"
    "InprocServer32";

// A key `levels` deep: A\A\...\A.
std::string nestedKey(std::size_t levels) {
    std::string path = "A";
    for (std::size_t i = 1; i < levels; ++i) path += "\\A";
    return path;
}

RegistryTree registration() {
    RegistryTree tree;
    tree.setValue(kAddin, "FriendlyName", std::string("Ostrel Plugin"));
    tree.setValue(kAddin, "Description", std::string("Frontpage plugin for Ostrel autoresponder."));
    tree.setValue(kAddin, "LoadBehavior", std::uint32_t{3});
    tree.setValue(kServer, "", std::string("/opt/ostrel/OstrelPlugin.so"));
    tree.setValue(kServer, "ThreadingModel", std::string("Apartment"));
    return tree;
}

TEST(RegistryTree, NamesIgnoreCaseAndKeepTheirSpelling) {
    RegistryTree tree = registration();
    const std::string shouted = "HKEY_CURRENT_USER\\SOFTWARE\\microsoft\\Office\\FRONTPAGE\\addins";
    EXPECT_EQ(tree.subkeys(shouted), std::vector<std::string>{"OstrelPlugin.Connect"});
    EXPECT_EQ(tree.number(shouted + "\\ostrelplugin.connect", "loadbehavior"), 3u);
    EXPECT_EQ(tree.text(kAddin, "LoadBehavior"), std::nullopt) << "a number is not text";
    EXPECT_EQ(tree.text(kServer, ""), "/opt/ostrel/OstrelPlugin.so");

    tree.setValue(shouted + "\\OSTRELPLUGIN.CONNECT", "friendlyname", std::string("Renamed"));
    const RegistryKey* addin = tree.key(kAddin);
    ASSERT_NE(addin, nullptr);
    EXPECT_EQ(addin->name(), "OstrelPlugin.Connect");
    EXPECT_EQ(addin->values().front().name, "FriendlyName");
    EXPECT_EQ(tree.text(kAddin, "FriendlyName"), "Renamed");
    EXPECT_EQ(tree.subkeys(""), std::vector<std::string>{"HKEY_CURRENT_USER"});
}

TEST(RegistryTree, DeletingRemovesOnlyWhatItNames) {
    RegistryTree tree = registration();
    EXPECT_TRUE(tree.deleteValue(kAddin, "DESCRIPTION"));
    EXPECT_FALSE(tree.deleteValue(kAddin, "Description"));
    EXPECT_EQ(tree.key(kAddin)->values().size(), 2u);

    EXPECT_TRUE(tree.deleteTree("HKEY_CURRENT_USER\\Software\\Classes\\CLSID"));
    EXPECT_FALSE(tree.deleteTree("HKEY_CURRENT_USER\\Software\\Classes\\CLSID"));
    EXPECT_FALSE(tree.hasKey(kServer));
    EXPECT_TRUE(tree.hasKey("HKEY_CURRENT_USER\\Software\\Classes")) << "parents stay";
    EXPECT_TRUE(tree.hasKey(kAddin));
    EXPECT_FALSE(tree.deleteTree("HKEY_CURRENT_USER\\No\\Such\\Key"));
}

TEST(RegistryTree, IllFormedPathsAreRefused) {
    RegistryTree tree;
    for (std::string_view path : {"", "A\\\\B", "\\A", "A\\", "A\\B\x01"}) {
        EXPECT_THROW(tree.setValue(path, "v", std::uint32_t{1}), com::Error) << path;
        EXPECT_EQ(tree.value(path, "v"), std::nullopt);
    }
    EXPECT_TRUE(tree.empty());

    // The deepest key allowed reads back; one level more is refused.
    tree.setValue(nestedKey(kMaxKeyDepth), "v", std::uint32_t{1});
    EXPECT_EQ(parseRegistry(formatRegistry(tree)).number(nestedKey(kMaxKeyDepth), "v"), 1u);
    EXPECT_THROW(tree.createKey(nestedKey(kMaxKeyDepth + 1)), com::Error);
}

TEST(RegistryFormat, FileReadsLikeTheOriginalPlatformsExports) {
    EXPECT_EQ(formatRegistry(registration()),
              "OstrelRegistry 1\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\FrontPage\\Addins\\OstrelPlugin."
              "Connect]\n"
              "\"FriendlyName\"=\"Ostrel Plugin\"\n"
              "\"Description\"=\"Frontpage plugin for Ostrel autoresponder.\"\n"
              "\"LoadBehavior\"=dword:00000003\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{2D94A8A9-A676-40FA-A131-"
              "CB6D94BE99EC}\\InprocServer32]\n"
              "@=\"/opt/ostrel/OstrelPlugin.so\"\n"
              "\"ThreadingModel\"=\"Apartment\"\n");
}

TEST(RegistryFormat, RandomTreesReadBackExactly) {
    std::mt19937 random(1304);
    std::uniform_int_distribution<int> count(0, 4), kind(0, 2);
    std::uniform_int_distribution<std::uint32_t> number;
    for (int round = 0; round < 200; ++round) {
        RegistryTree tree;
        tree.createKey("HKEY_CURRENT_USER");
        std::vector<std::string> paths = {"HKEY_CURRENT_USER"};
        for (int k = count(random) * 3; k > 0; --k) {
            std::string name = ostrel::testing::randomUnicode(random);
            std::erase_if(name,
                          [](char c) { return c == '\\' || (c >= 0 && c < 0x20) || c == 0x7F; });
            if (name.empty()) name = "k";
            const std::string path = paths[random() % paths.size()] + "\\" + name;
            tree.createKey(path);
            paths.push_back(path);
            for (int v = count(random); v > 0; --v) {
                const std::string valueName =
                    kind(random) == 0 ? "" : ostrel::testing::randomUnicode(random);
                if (kind(random) == 0) {
                    tree.setValue(path, valueName, number(random));
                } else {
                    tree.setValue(path, valueName, ostrel::testing::randomUnicode(random));
                }
            }
        }
        const std::string text = formatRegistry(tree);
        ASSERT_TRUE(platform::text::isValidUtf8(text));
        ASSERT_EQ(formatRegistry(parseRegistry(text)), text);
        for (const std::string& path : paths) {
            ASSERT_TRUE(parseRegistry(text).hasKey(path)) << path;
        }
    }
}

TEST(RegistryFormat, HandWrittenFilesAreRead) {
    const RegistryTree tree = parseRegistry(
        "\xEF\xBB\xBFOstrelRegistry 1\r\n"
        "; added by hand\r\n"
        "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
        "  \"Path\" = \"C:\\\\Program Files\\\\x\"  \r\n"
        "@=DWORD:A\r\n"
        "\"Path\"=\"later wins\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Empty]");
    EXPECT_EQ(tree.text("HKEY_CURRENT_USER\\Software\\Test", "path"), "later wins");
    EXPECT_EQ(tree.number("HKEY_CURRENT_USER\\Software\\Test", ""), 10u);
    EXPECT_TRUE(tree.hasKey("HKEY_CURRENT_USER\\Software\\Empty"));
    EXPECT_TRUE(parseRegistry("").empty());
    EXPECT_TRUE(parseRegistry("\n; nothing yet\n").empty());
}

TEST(RegistryFormat, LinesThatCannotBeReadAreNamed) {
    struct Case {
        std::string text;
        std::size_t line;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"[HKEY_CURRENT_USER]\n", 1, "not a registry file"},
        {"OstrelRegistry 2\n", 1, "cannot read"},
        {"OstrelRegistry 1\n\"v\"=\"x\"\n", 2, "before any [key path]"},
        {"OstrelRegistry 1\n[A\n", 2, "must end with ]"},
        {"OstrelRegistry 1\n[A\\\\B]\n", 2, "empty"},
        {"OstrelRegistry 1\n[]\n", 2, "names no key"},
        {"OstrelRegistry 1\n[A]\nName=\"x\"\n", 3, "expected [key path]"},
        {"OstrelRegistry 1\n[A]\n\"Name\"\"x\"\n", 3, "followed by ="},
        {"OstrelRegistry 1\n[A]\n\"Name=x\n", 3, "closing quote"},
        {"OstrelRegistry 1\n[A]\n\"N\"=dword:123456789\n", 3, "1 to 8"},
        {"OstrelRegistry 1\n[A]\n\"N\"=dword:-1\n", 3, "hexadecimal"},
        {"OstrelRegistry 1\n[A]\n\"N\"=hex:00,01\n", 3, "neither"},
        {"OstrelRegistry 1\n[A]\n\"N\"=\"\\z\"\n", 3, "unknown escape"},
        {"OstrelRegistry 1\n[A]\n\"N\"=\"\xC3\"\n", 3, "UTF-8"},
        {"OstrelRegistry 1\n[A]\n[" + nestedKey(kMaxKeyDepth + 1) + "]\n", 3, "nested 513 levels"},
        {"OstrelRegistry 1\n\n[" + nestedKey(100'000) + "]\n", 3, "nested 100000 levels"},
    };
    for (const Case& c : cases) {
        try {
            (void)parseRegistry(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const platform::text::TextFormatError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text;
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

class RegistryFileTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    fs::path m_path = m_folder / "registry.reg";
    RegistryFile m_file{m_path};
};

TEST_F(RegistryFileTest, ChangesAreAllOrNothing) {
    m_file.modify([](RegistryTree&) {});
    EXPECT_FALSE(fs::exists(m_path)) << "a change that changes nothing writes nothing";

    m_file.modify([](RegistryTree& tree) { tree = registration(); });
    const std::string before = fileText(m_path);
    EXPECT_THROW(m_file.modify([](RegistryTree& tree) {
        tree.deleteTree("HKEY_CURRENT_USER");
        throw com::Error(5, "half way", "test");
    }),
                 com::Error);
    EXPECT_EQ(fileText(m_path), before);
    EXPECT_EQ(ostrel::testing::permissionsOf(m_path), 0600u);

    EXPECT_TRUE(m_file.deleteValue(kAddin, "Description"));
    EXPECT_FALSE(m_file.deleteValue(kAddin, "Description"));
    EXPECT_TRUE(m_file.deleteTree(kAddin));
    EXPECT_FALSE(m_file.deleteTree(kAddin));
    const RegistryTree after = RegistryFile(m_path).read();
    EXPECT_FALSE(after.hasKey(kAddin));
    EXPECT_EQ(after.text(kServer, ""), "/opt/ostrel/OstrelPlugin.so");
}

TEST_F(RegistryFileTest, FileThatCannotBeReadIsNeverRewritten) {
    const std::string damaged = "OstrelRegistry 1\n[A]\n\"ok\"=dword:1\nbroken line\n";
    writeText(m_path, damaged);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (attempt == 0) {
                m_file.setValue("A", "new", std::uint32_t{2});
            } else {
                (void)m_file.read();
            }
            ADD_FAILURE() << "a damaged file was accepted";
        } catch (const com::Error& e) {
            EXPECT_EQ(e.number(), platform::files::errc::invalidFileFormat);
            EXPECT_NE(e.description().find(m_path.string()), std::string::npos) << e.description();
            EXPECT_NE(e.description().find("line 4"), std::string::npos) << e.description();
        }
    }
    EXPECT_EQ(fileText(m_path), damaged);
}

TEST_F(RegistryFileTest, EveryProgramFindsTheSameFile) {
    ::setenv(kRegistryFileVariable, m_path.c_str(), 1);
    RegistryFile().setValue(kAddin, "LoadBehavior", std::uint32_t{3});
    ::unsetenv(kRegistryFileVariable);
    EXPECT_EQ(RegistryFile(m_path).read().number(kAddin, "LoadBehavior"), 3u);

    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = savedXdg ? savedXdg : "";
    ::setenv("XDG_CONFIG_HOME", m_folder.path().c_str(), 1);
    EXPECT_EQ(RegistryFile::defaultPath(), m_folder / "ostrel" / "registry.reg");
    savedXdg ? ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
