// Test helpers for the per-user files: a scratch folder, acting as an ordinary user when the
// tests run as root, and a small tmpfs.
#pragma once

#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "com/error.h"
#include "platform/text/utf8.h"

namespace ostrel::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ostrel-stores-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
        // Others may pass through, so that an ordinary user can own a sub-folder.
        ::chmod(m_path.c_str(), 0755);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

inline unsigned permissionsOf(const std::filesystem::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// The user id that file-permission tests act as: ourselves, or "nobody" when we are root
// (root passes every permission check).
inline uid_t ordinaryUser() {
    return ::geteuid() == 0 ? 65534 : ::geteuid();
}

// A folder that the ordinary user owns.
inline std::filesystem::path ownedFolder(const std::filesystem::path& path) {
    std::filesystem::create_directory(path);
    if (::geteuid() == 0 && ::chown(path.c_str(), ordinaryUser(), ordinaryUser()) != 0) {
        throw std::runtime_error("chown failed");
    }
    return path;
}

// Why the tests cannot act as the ordinary user in folder, or "" when they can.
inline std::string whyNotOrdinaryUser(const std::filesystem::path& folder) {
    if (::geteuid() != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(ordinaryUser()) == 0 &&
                             ::setuid(ordinaryUser()) == 0;
        ::_exit(!dropped ? 1 : ::access(folder.c_str(), X_OK) != 0 ? 2 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) {
        return "an ordinary user cannot enter " + folder.string();
    }
    return "root cannot become an ordinary user here";
}

// Runs body and returns the com::Error it threw, or nothing when it succeeded.
inline std::optional<com::ErrorInfo> attempt(const std::function<void()>& body) {
    try {
        body();
        return std::nullopt;
    } catch (const com::Error& e) {
        return e.info();
    } catch (const std::exception& e) {
        return com::ErrorInfo{-1, e.what(), "unexpected exception"};
    }
}

// The same as the ordinary user. As root the body runs in a child process that gives up
// root first.
inline std::optional<com::ErrorInfo> attemptAsOrdinaryUser(const std::function<void()>& body) {
    if (::geteuid() != 0) return attempt(body);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        std::string report = "setuid failed";
        if (::setgroups(0, nullptr) == 0 && ::setgid(ordinaryUser()) == 0 &&
            ::setuid(ordinaryUser()) == 0) {
            const auto error = attempt(body);
            report = error ? std::to_string(error->number) + "\n" + error->description : "ok";
        }
        [[maybe_unused]] ssize_t n = ::write(pipeFds[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string report;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (report == "ok") return std::nullopt;
    if (report == "setuid failed") throw std::runtime_error(report);
    const std::size_t newline = report.find('\n');
    return com::ErrorInfo{std::atoi(report.substr(0, newline).c_str()),
                          newline == std::string::npos ? report : report.substr(newline + 1),
                          {}};
}

// A tmpfs of the given size mounted on folder while the object lives. mounted() is false
// where this process may not mount; the test then skips.
class TmpfsMount {
public:
    TmpfsMount(const std::filesystem::path& folder, const std::string& size) : m_folder(folder) {
        std::filesystem::create_directories(folder);
        const std::string options = "size=" + size + ",mode=0700";
        if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0) {
            m_mounted = true;
        } else {
            m_reason = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
        }
    }
    ~TmpfsMount() {
        if (m_mounted) ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& reason() const { return m_reason; }
    bool makeReadOnly() {
        return ::mount(nullptr, m_folder.c_str(), nullptr,
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

private:
    std::filesystem::path m_folder;
    bool m_mounted = false;
    std::string m_reason;
};

inline std::string randomUnicode(std::mt19937& random) {
    // Random text of up to 24 code points, weighted towards the characters that text
    // formats tend to treat specially.
    static const std::u32string kSpecial = U" \t\r\n\"'\\=;#,@[]%\x7F\x85\u2028\uFEFF";
    std::uniform_int_distribution<int> length(0, 24), pick(0, 3);
    std::uniform_int_distribution<char32_t> ascii(0, 0x7F), bmp(0x80, 0xFFFF),
        astral(0x10000, 0x10FFFF);
    std::string out;
    for (int i = length(random); i > 0; --i) {
        char32_t c = 0;
        switch (pick(random)) {
            case 0:
                c = kSpecial[std::uniform_int_distribution<std::size_t>(
                    0, kSpecial.size() - 1)(random)];
                break;
            case 1:
                c = ascii(random);
                break;
            case 2:
                c = bmp(random);
                break;
            default:
                c = astral(random);
                break;
        }
        if (c >= 0xD800 && c <= 0xDFFF) c = U'?';
        platform::text::appendUtf8(out, c);
    }
    return out;
}

}  // namespace ostrel::testing
