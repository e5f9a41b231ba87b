// The settings store in its file: defaults, present-empty values, values put in by hand,
// owner-only permissions and the owner kept, and a file that cannot be read is never rewritten.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/files/user_file.h"
#include "tests/registry/store_test_support.h"
#include "wizard/settings/ini_settings_store.h"
#include "wizard/settings/persisted_keys.h"

namespace {

namespace fs = std::filesystem;
using ostrel::IniSettingsStore;
using ostrel::kSettingsApplication;
using ostrel::kSettingsSection;
using ostrel::testing::fileText;
using ostrel::testing::permissionsOf;
using ostrel::testing::TempFolder;
using ostrel::testing::writeText;
namespace persisted = ostrel::persisted;

class SettingsStoreTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    fs::path m_file = m_folder / "Ostrel_Plugin.ini";
    IniSettingsStore m_store{m_file};
};

TEST_F(SettingsStoreTest, NewUserSeesTheDefaults) {
    const std::pair<std::string_view, std::string_view> expected[] = {
        {"UserID", ""},
        {"FormHeader", "For More Information"},
        {"AdTracking", ""},
        {"ThankURL", "http://www.publisher.example/"},
        {"MsgNo", "1"},
        {"EmailLinkText", "Join our mailing list"},
        {"MailtoLink", ""},
        {"TemplateFileName", "template.wtf"},
        {"BrowseURL", "http://www.publisher.example/ostrel"},
        {"OrderURL", "https://secure.ostrel.example/order.htm?id=20417"},
    };
    ASSERT_EQ(persisted::all.size(), std::size(expected));
    for (std::size_t i = 0; i < persisted::all.size(); ++i) {
        EXPECT_EQ(persisted::all[i].name, expected[i].first);
        EXPECT_EQ(ostrel::readPersisted(m_store, persisted::all[i]), expected[i].second);
        EXPECT_EQ(m_store.value(kSettingsApplication, kSettingsSection, expected[i].first),
                  std::nullopt);
    }
    EXPECT_FALSE(fs::exists(m_file)) << "reading must not create the file";
}

TEST_F(SettingsStoreTest, PresentEmptyReadsEmptyNotTheDefault) {
    ostrel::writePersisted(m_store, persisted::EmailLinkText, "");
    ostrel::writePersisted(m_store, persisted::MsgNo, "none");
    const IniSettingsStore later(m_file);
    EXPECT_EQ(ostrel::readPersisted(later, persisted::EmailLinkText), "");
    EXPECT_EQ(later.value(kSettingsApplication, kSettingsSection, "EmailLinkText"), "");
    EXPECT_EQ(ostrel::readPersisted(later, persisted::MsgNo), "none");
    EXPECT_EQ(ostrel::readPersisted(later, persisted::FormHeader), "For More Information");
}

TEST_F(SettingsStoreTest, ValuesPutInByHandAreReadAndKept) {
    const std::string handWritten =
        "; Deployment values for the Ostrel add-in\n"
        "[Persist_Data]\n"
        "MailtoLink=<a href=\"mailto:<<EMAIL>>\"><<MAILTOTEXT>></a>\n"
        "TemplateFileName=forms/signup.wtf\n"
        "BrowseURL=http://www.publisher.example/ostrel/help\n"
        "OrderURL=https://secure.ostrel.example/order.htm?id=99\n";
    writeText(m_file, handWritten);
    EXPECT_EQ(ostrel::readPersisted(m_store, persisted::MailtoLink),
              "<a href=\"mailto:<<EMAIL>>\"><<MAILTOTEXT>></a>");
    EXPECT_EQ(ostrel::readPersisted(m_store, persisted::TemplateFileName), "forms/signup.wtf");
    EXPECT_EQ(ostrel::readPersisted(m_store, persisted::OrderURL),
              "https://secure.ostrel.example/order.htm?id=99");

    ostrel::writePersisted(m_store, persisted::UserID, "alice");
    EXPECT_EQ(fileText(m_file), handWritten + "UserID=alice\n");
}

TEST_F(SettingsStoreTest, DeploymentKeysAreNeverWritten) {
    EXPECT_THROW(ostrel::writePersisted(m_store, persisted::OrderURL, "x"), com::Error);
    EXPECT_FALSE(fs::exists(m_file));
}

TEST_F(SettingsStoreTest, FileIsPrivateToItsOwner) {
    const mode_t oldMask = ::umask(0);
    IniSettingsStore nested(m_folder / "new" / "config" / "Ostrel_Plugin.ini");
    nested.setValue(kSettingsApplication, kSettingsSection, "UserID", "alice");
    ::umask(oldMask);
    EXPECT_EQ(permissionsOf(nested.path()), 0600u);
    EXPECT_EQ(permissionsOf(fs::path(nested.path()) += ".lock"), 0600u);
    EXPECT_EQ(permissionsOf(m_folder / "new"), 0700u);
    EXPECT_EQ(permissionsOf(m_folder / "new" / "config"), 0700u);

    // A file the user opened up on purpose keeps its permissions.
    fs::permissions(nested.path(), fs::perms(0640));
    nested.setValue(kSettingsApplication, kSettingsSection, "UserID", "bob");
    EXPECT_EQ(permissionsOf(nested.path()), 0640u);

    // Rewritten by root (an administrator's shell), it stays its owner's.
    if (::geteuid() != 0) return;  // only root can hand a file to another user
    ASSERT_EQ(::chown(nested.path().c_str(), 65534, 65534), 0);
    nested.setValue(kSettingsApplication, kSettingsSection, "UserID", "carol");
    struct stat st {};
    ASSERT_EQ(::stat(nested.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(SettingsStoreTest, FileThatCannotBeReadIsNeverRewritten) {
    const std::string damaged = "[Persist_Data]\nUserID=alice\nMailtoLink: <a>mail us</a>\n";
    writeText(m_file, damaged);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (attempt == 0) {
                m_store.setValue(kSettingsApplication, kSettingsSection, "FormHeader", "Join");
            } else {
                (void)m_store.value(kSettingsApplication, kSettingsSection, "UserID");
            }
            ADD_FAILURE() << "a damaged file was accepted";
        } catch (const com::Error& e) {
            EXPECT_EQ(e.number(), platform::files::errc::invalidFileFormat);
            EXPECT_NE(e.description().find(m_file.string()), std::string::npos) << e.description();
            EXPECT_NE(e.description().find("line 3"), std::string::npos) << e.description();
            EXPECT_EQ(e.source(), "SettingsStore");
        }
    }
    EXPECT_EQ(fileText(m_file), damaged);
}

TEST_F(SettingsStoreTest, SomethingElseInTheFilesPlaceIsRefusedNotWaitedOn) {
    ASSERT_EQ(::mkfifo(m_file.c_str(), 0600), 0);
    EXPECT_THROW((void)m_store.value(kSettingsApplication, kSettingsSection, "UserID"), com::Error);
    EXPECT_THROW(m_store.setValue(kSettingsApplication, kSettingsSection, "UserID", "x"), com::Error);
    fs::remove(m_file);
    fs::create_directory(m_file);
    EXPECT_THROW((void)m_store.value(kSettingsApplication, kSettingsSection, "UserID"), com::Error);
    EXPECT_THROW(m_store.setValue(kSettingsApplication, kSettingsSection, "UserID", "x"), com::Error);
    EXPECT_TRUE(fs::is_directory(m_file));
}

TEST_F(SettingsStoreTest, OtherApplicationsAreKeptApart) {
    m_store.setValue("ostrel_plugin", kSettingsSection, "UserID", "alice");
    EXPECT_EQ(m_store.value(kSettingsApplication, kSettingsSection, "userid"), "alice");
    EXPECT_EQ(m_store.value("Another_App", kSettingsSection, "UserID"), std::nullopt);
    EXPECT_THROW(m_store.setValue("Another_App", kSettingsSection, "UserID", "x"), com::Error);
}

TEST_F(SettingsStoreTest, LinkedFileIsRewrittenWhereItLives) {
    fs::create_directory(m_folder / "dotfiles");
    writeText(m_folder / "dotfiles" / "ostrel.ini", "[Persist_Data]\nUserID=alice\n");
    fs::create_symlink("dotfiles/ostrel.ini", m_file);
    m_store.setValue(kSettingsApplication, kSettingsSection, "UserID", "bob");
    EXPECT_TRUE(fs::is_symlink(m_file));
    EXPECT_EQ(fileText(m_folder / "dotfiles" / "ostrel.ini"), "[Persist_Data]\nUserID=bob\n");
}

TEST(SettingsStorePlace, FollowsTheXdgConfigFolder) {
    const std::string savedXdg =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-config", 1);
    ::setenv("HOME", "/home/author", 1);
    EXPECT_EQ(IniSettingsStore::defaultPath(), fs::path("/tmp/xdg-config/Ostrel_Plugin.ini"));
    ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(IniSettingsStore::defaultPath(), fs::path("/home/author/.config/Ostrel_Plugin.ini"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(IniSettingsStore().path(), fs::path("/home/author/.config/Ostrel_Plugin.ini"));
    savedXdg.empty() ? ::unsetenv("XDG_CONFIG_HOME")
                     : ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    savedHome.empty() ? ::unsetenv("HOME") : ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
