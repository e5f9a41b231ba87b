// Fault injection for both per-user files: read-only folders and files, a full disk, a lock
// held or left behind, writers killed mid-write, and many writers at once. Each time the
// result is the new values or a clear failure naming the file, never a torn or emptied file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

#include "platform/files/file_lock.h"
#include "platform/files/user_file.h"
#include "tests/registry/store_kinds.h"
#include "tests/registry/store_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace ostrel::testing;

// A writer process; killed and reaped when the object goes.
class Writer {
public:
    explicit Writer(const std::vector<std::string>& arguments, bool readOutput = false) {
        int out[2] = {-1, -1};
        if (readOutput && ::pipe(out) != 0) throw std::runtime_error("pipe failed");
        m_pid = ::fork();
        if (m_pid == 0) {
            if (readOutput) {
                ::dup2(out[1], STDOUT_FILENO);
                ::close(out[0]);
                ::close(out[1]);
            }
            std::vector<char*> argv{const_cast<char*>(STORE_WRITER)};
            for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(STORE_WRITER, argv.data());
            ::_exit(127);
        }
        if (readOutput) {
            ::close(out[1]);
            m_output = out[0];
        }
    }
    ~Writer() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            wait();
        }
        if (m_output >= 0) ::close(m_output);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    pid_t pid() const { return m_pid; }
    std::string readLine() {
        std::string line;
        char c;
        while (::read(m_output, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    void kill() { ::kill(m_pid, SIGKILL); }
    // The exit status, or -1 when it did not exit normally.
    int wait() {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_output = -1;
};

fs::path lockOf(const fs::path& file) {
    return platform::files::FileLock::lockPathFor(file);
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class StoreFaults : public ::testing::TestWithParam<std::string> {
protected:
    std::string kind() const { return GetParam(); }
    fs::path fileIn(const fs::path& folder) const { return folder / fileNameFor(kind()); }
    void write(const fs::path& file, std::string_view key, std::string_view value,
               std::chrono::milliseconds timeout = 10s) const {
        writeKey(kind(), file, key, value, timeout);
    }
    std::optional<std::string> read(const fs::path& file, std::string_view key) const {
        return readKey(kind(), file, key);
    }
    // The file and its lock file, and no leftover temporary file.
    std::vector<std::string> expectedEntries(const fs::path& file) const {
        return {file.filename().string(), file.filename().string() + ".lock"};
    }
    static void expectNamesFile(const com::ErrorInfo& error, const fs::path& file) {
        EXPECT_NE(error.description.find("\"" + file.string() + "\""), std::string::npos)
            << error.description;
    }

    TempFolder m_folder;
};

TEST_P(StoreFaults, ReadOnlyFolderFailsAndKeepsTheFile) {
    const fs::path folder = ownedFolder(m_folder / "config");
    if (const std::string why = whyNotOrdinaryUser(folder); !why.empty()) GTEST_SKIP() << why;
    const fs::path file = fileIn(folder);
    ASSERT_FALSE(attemptAsOrdinaryUser([&] { write(file, "UserID", "old"); }));
    fs::permissions(folder, fs::perms(0555));
    const auto error = attemptAsOrdinaryUser([&] { write(file, "UserID", "new"); });
    fs::permissions(folder, fs::perms(0755));
    ASSERT_TRUE(error) << "a write into a read-only folder reported success";
    EXPECT_EQ(error->number, com::errc::permissionDenied);
    expectNamesFile(*error, file);
    EXPECT_EQ(read(file, "UserID"), "old");
    EXPECT_EQ(folderEntries(folder), expectedEntries(file));
}

TEST_P(StoreFaults, ReadOnlyFileFailsAndKeepsIt) {
    const fs::path folder = ownedFolder(m_folder / "config");
    if (const std::string why = whyNotOrdinaryUser(folder); !why.empty()) GTEST_SKIP() << why;
    const fs::path file = fileIn(folder);
    ASSERT_FALSE(attemptAsOrdinaryUser([&] { write(file, "UserID", "old"); }));
    fs::permissions(file, fs::perms(0444));
    const auto error = attemptAsOrdinaryUser([&] { write(file, "UserID", "new"); });
    ASSERT_TRUE(error) << "a write to a read-only file reported success";
    EXPECT_EQ(error->number, com::errc::permissionDenied);
    EXPECT_NE(error->description.find("read-only"), std::string::npos) << error->description;
    expectNamesFile(*error, file);
    EXPECT_EQ(read(file, "UserID"), "old");
    EXPECT_EQ(permissionsOf(file), 0444u);
}

TEST_P(StoreFaults, ReadOnlyFileSystemFailsAndKeepsTheFile) {
    const fs::path folder = m_folder / "mounted";
    TmpfsMount mount(folder, "1m");
    if (!mount.mounted()) GTEST_SKIP() << mount.reason();
    const fs::path file = fileIn(folder);
    write(file, "UserID", "old");
    ASSERT_TRUE(mount.makeReadOnly());
    try {
        write(file, "UserID", "new");
        ADD_FAILURE() << "a write to a read-only file system reported success";
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::permissionDenied);
        expectNamesFile(e.info(), file);
    }
    EXPECT_EQ(read(file, "UserID"), "old");
}

TEST_P(StoreFaults, FullDiskFailsAndKeepsTheFile) {
    const fs::path folder = m_folder / "small";
    TmpfsMount mount(folder, "64k");
    if (!mount.mounted()) GTEST_SKIP() << mount.reason();
    const fs::path file = fileIn(folder);
    write(file, "UserID", "old");

    // Fill the disk to the last byte.
    const fs::path filler = folder / "filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, "x", 1) > 0) {
    }
    ::close(fd);

    try {
        write(file, "UserID", std::string(8192, 'n'));
        ADD_FAILURE() << "a write to a full disk reported success";
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), platform::files::errc::diskFull);
        expectNamesFile(e.info(), file);
    }
    EXPECT_EQ(read(file, "UserID"), "old");
    fs::remove(filler);
    EXPECT_EQ(folderEntries(folder), expectedEntries(file));

    write(file, "UserID", std::string(8192, 'n'));
    EXPECT_EQ(read(file, "UserID"), std::string(8192, 'n'));
}

TEST_P(StoreFaults, LockOfALiveWriterIsWaitedForThenNamed) {
    const fs::path file = fileIn(m_folder.path());
    write(file, "UserID", "old");
    Writer holder({kind(), file.string(), "hold"}, true);
    ASSERT_EQ(holder.readLine(), "locked");
    try {
        write(file, "UserID", "new", 200ms);
        ADD_FAILURE() << "a write went past another process's lock";
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::permissionDenied);
        expectNamesFile(e.info(), file);
        EXPECT_NE(e.description().find(platform::files::FileLock::lockPathFor(file).string()),
                  std::string::npos);
        EXPECT_NE(e.description().find("process " + std::to_string(holder.pid())),
                  std::string::npos)
            << e.description();
    }
    EXPECT_EQ(read(file, "UserID"), "old");

    // Once the holder is killed its lock file stays behind, and blocks nobody.
    holder.kill();
    holder.wait();
    EXPECT_TRUE(fs::exists(platform::files::FileLock::lockPathFor(file)));
    write(file, "UserID", "new", 0ms);
    EXPECT_EQ(read(file, "UserID"), "new");
}

TEST_P(StoreFaults, LeftoverLockFileBlocksNobody) {
    const fs::path file = fileIn(m_folder.path());
    writeText(platform::files::FileLock::lockPathFor(file), "4194303\n");
    write(file, "UserID", "new", 0ms);
    EXPECT_EQ(read(file, "UserID"), "new");
}

TEST_P(StoreFaults, WriterKilledMidWriteLeavesTheOldOrTheNewFile) {
    const fs::path file = fileIn(m_folder.path());
    constexpr std::size_t kSize = 256 * 1024;
    write(file, "Big", std::string(kSize, '-'));
    std::mt19937 random(GetParam().size());
    std::uniform_int_distribution<int> delay(0, 20000);
    std::set<char> seen;
    for (int round = 0; round < 25; ++round) {
        {
            Writer writer({kind(), file.string(), "loop", "Big", std::to_string(kSize)}, true);
            // Every other round lets one write finish, so that values do change.
            if (round % 2 == 1) {
                ASSERT_EQ(writer.readLine(), "wrote");
            }
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        }  // killed with SIGKILL here, most often in the middle of a write
        const auto value = read(file, "Big");
        ASSERT_TRUE(value) << "round " << round;
        ASSERT_EQ(value->size(), kSize) << "round " << round;
        ASSERT_EQ(value->find_first_not_of(value->front()), std::string::npos) << "torn value";
        seen.insert(value->front());
        write(file, "Other", std::to_string(round), 0ms);  // the dead writer's lock is free
    }
    EXPECT_EQ(folderEntries(m_folder.path()), expectedEntries(file));
    EXPECT_GT(seen.size(), 1u) << "no writer finished a write before it was killed";
}

TEST_P(StoreFaults, ConcurrentWritersKeepEveryKey) {
    for (const int writers : {2, 8}) {
        SCOPED_TRACE(std::to_string(writers) + " writers");
        const fs::path folder = m_folder / std::to_string(writers);
        const fs::path file = fileIn(folder);
        constexpr int kKeys = 12;
        std::vector<std::unique_ptr<Writer>> running;
        for (int w = 0; w < writers; ++w) {
            running.push_back(std::make_unique<Writer>(std::vector<std::string>{
                kind(), file.string(), "keys", "W" + std::to_string(w), std::to_string(kKeys)}));
        }
        for (auto& writer : running) EXPECT_EQ(writer->wait(), 0);
        for (int w = 0; w < writers; ++w) {
            for (int k = 0; k < kKeys; ++k) {
                EXPECT_EQ(read(file, "W" + std::to_string(w) + "_" + std::to_string(k)),
                          "v" + std::to_string(k));
            }
        }
    }
}

// Links, modes and bad values, each arranged and tried by the acting user: root (when the
// tests run as root) and an ordinary user. Nothing outside the file asked for may change.
TEST_P(StoreFaults, LinksModesAndValuesNeverReachAnotherFile) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& file, const fs::path& other)> arrange;
        const char* failure;  // nullptr: the write succeeds
        bool settingsOnly = false;
        bool ordinaryOnly = false;  // root may write in any folder
    };
    const std::vector<Case> cases = {
        {"lock is a link to another file",
         [](auto& file, auto& other) {
             fs::remove(lockOf(file));
             fs::create_symlink(other / "victim", lockOf(file));
         },
         "is a symbolic link"},
        {"lock is a hard link to another file",
         [](auto& file, auto& other) {
             fs::remove(lockOf(file));
             fs::create_hard_link(other / "victim", lockOf(file));
         },
         nullptr},
        {"file is a link into another folder",
         [](auto& file, auto& other) {
             fs::rename(file, other / "target");
             fs::create_symlink(other / "target", file);
         },
         nullptr},
        {"file is read-only", [](auto& file, auto&) { fs::permissions(file, fs::perms(0444)); },
         "read-only"},
        {"folder is read-only, no lock yet",
         [](auto& file, auto&) {
             fs::remove(lockOf(file));
             fs::permissions(file.parent_path(), fs::perms(0555));
         },
         "Permission denied", false, true},
        {"value holds a NUL",
         [](auto& file, auto&) {
             writeText(file, std::string("[Persist_Data]\nUserID=a") + '\0' + "b\n");
         },
         "line 2: the value of UserID holds a NUL", true},
    };
    const bool root = ::geteuid() == 0;
    for (const bool asRoot : {true, false}) {
        if (asRoot && !root) continue;
        for (const Case& c : cases) {
            if ((c.settingsOnly && kind() != "settings") || (c.ordinaryOnly && asRoot)) continue;
            SCOPED_TRACE(std::string(c.name) + (asRoot ? " (root)" : " (ordinary user)"));
            const fs::path base =
                ownedFolder(m_folder / ((asRoot ? "r-" : "u-") + std::string(c.name)));
            if (const std::string why = whyNotOrdinaryUser(base); !asRoot && !why.empty())
                GTEST_SKIP() << why;
            const fs::path folder = base / "config", other = base / "other", file = fileIn(folder);
            const auto act = [&] {
                fs::create_directory(folder);
                fs::create_directory(other);
                writeText(other / "victim", "precious");
                write(file, "UserID", "old");
                c.arrange(file, other);
                write(file, "UserID", "new");
            };
            const auto error = asRoot ? attempt(act) : attemptAsOrdinaryUser(act);
            fs::permissions(folder, fs::perms(0755));
            EXPECT_EQ(fileText(other / "victim"), "precious");
            EXPECT_FALSE(fs::exists(other / "victim.lock") || fs::exists(other / "target.lock"));
            if (!c.failure) {
                EXPECT_FALSE(error) << error->description;
                EXPECT_EQ(read(file, "UserID"), "new");
                continue;
            }
            ASSERT_TRUE(error);
            EXPECT_NE(error->description.find(c.failure), std::string::npos) << error->description;
            if (c.settingsOnly) {
                EXPECT_THROW(read(file, "UserID"), com::Error) << "refused at read too";
            } else {
                EXPECT_EQ(read(file, "UserID"), "old");
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothFiles, StoreFaults, ::testing::Values("settings", "registry"),
                         [](const auto& each) { return each.param; });

}  // namespace
