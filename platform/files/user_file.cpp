// The per-user files' place, whole-file reads and replacement in one step.
#include "platform/files/user_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace platform::files {
namespace {

std::int32_t numberFor(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return platform::errc::permissionDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return errc::diskFull;
        case ENOENT:
        case ENOTDIR:
            return platform::errc::pathNotFound;
        case EIO:
            return errc::deviceIoError;
        default:
            return platform::errc::pathFileAccessError;
    }
}

std::string systemMessage(int error) {
    char buffer[256];
    // The GNU strerror_r may return a static text instead of filling the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

fs::path folderOf(const fs::path& file) {
    const fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// Closes and removes a temporary file unless the rename took it.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    ~TemporaryFile() {
        if (m_fd >= 0) ::close(m_fd);
        if (!m_path.empty()) ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    // Closing reports late write errors (some file systems only find a full disk here).
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }
    void keep() { m_path.clear(); }

private:
    int m_fd;
    std::string m_path;
};

int writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

std::string temporaryPrefix(const fs::path& target) {
    std::string prefix(1, '.');
    prefix += target.filename().string();
    prefix += ".tmp-";
    return prefix;
}

// Only writers that hold the lock create temporary files, so any found while holding it
// was left by a writer that died.
void removeLeftoverTemporaries(const fs::path& folder, const fs::path& target) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const std::string prefix = temporaryPrefix(target);
    while (const dirent* entry = ::readdir(dir)) {
        if (std::string_view(entry->d_name).starts_with(prefix)) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// Read from /proc rather than set and reset, which would race with other threads.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    }
    return 022;
}

// Makes the rename itself durable; a failure here cannot undo it, so it is not reported.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

platform::Error fileError(int error, std::string_view action, const fs::path& file,
                     std::string_view source, std::string_view detail) {
    std::string description = std::string(action) + " \"" + file.string() + "\": ";
    if (detail.empty()) {
        description += systemMessage(error);
    } else {
        description += std::string(detail) + " (" + systemMessage(error) + ")";
    }
    return platform::Error(numberFor(error), std::move(description), std::string(source));
}

platform::Error unreadableFileError(const text::TextFormatError& error, std::string_view action,
                               const fs::path& file, std::string_view source) {
    return platform::Error(errc::invalidFileFormat,
                      std::string(action) + " \"" + file.string() + "\": line " +
                          std::to_string(error.line()) + ": " + error.what() +
                          ". The file was left as it is; correct or remove that line.",
                      std::string(source));
}

fs::path configHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home && home[0] != '\0') {
        return fs::path(home) / ".config";
    }
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir) {
        return fs::path(found->pw_dir) / ".config";
    }
    throw platform::Error(platform::errc::pathNotFound,
                     "Cannot find the user's configuration folder: neither XDG_CONFIG_HOME "
                     "nor HOME is set",
                     "ConfigFolder");
}

fs::path followLinks(const fs::path& file) {
    fs::path current = file;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return current;
        const fs::path next(std::string(target.data(), static_cast<std::size_t>(n)));
        current = next.is_absolute() ? next : folderOf(current) / next;
    }
    return current;  // a loop: the open that follows reports it
}

std::optional<std::string> readFile(const fs::path& file, std::string_view source) {
    // Non-blocking, so that a pipe put in the file's place is refused instead of hanging.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw fileError(errno, "Cannot read", file, source);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        throw fileError(error, "Cannot read", file, source);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw fileError(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, "Cannot read", file, source,
                        "it is not a regular file");
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            throw fileError(error, "Cannot read", file, source);
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

void createFolders(const fs::path& folder, const fs::path& forFile, std::string_view source) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return;
        throw fileError(ENOTDIR, "Cannot save", forFile, source,
                        "\"" + folder.string() + "\" is not a folder");
    }
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        createFolders(folder.parent_path(), forFile, source);
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        throw fileError(errno, "Cannot save", forFile, source,
                        "cannot create the folder \"" + folder.string() + "\"");
    }
}

void replaceFile(const fs::path& file, std::string_view text, std::string_view source,
                 const ReplaceOptions& options) {
    const fs::path target = options.followLinks ? followLinks(file) : file;
    const fs::path folder = folderOf(target);
    // Only the folders of the path as given are made; a link's target folder must exist.
    if (options.makeFolders) createFolders(folderOf(file), file, source);

    mode_t mode = options.newFileFollowsUmask ? (0666 & ~currentUmask()) : 0600;
    std::optional<std::pair<uid_t, gid_t>> owner;
    struct stat st {};
    const int looked = options.followLinks ? ::stat(target.c_str(), &st) : ::lstat(target.c_str(), &st);
    if (looked == 0 && !options.followLinks && !S_ISREG(st.st_mode)) {
        // Taken over by the rename as if there were nothing.
    } else if (looked == 0) {
        if (!S_ISREG(st.st_mode)) {
            throw fileError(EISDIR, "Cannot save", file, source, "it is not a regular file");
        }
        // A rename would replace a read-only file all the same; honour its read-only mark,
        // also for root, whom the access check lets write anything.
        const bool permitted = ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
        const int refusal = permitted ? EACCES : errno;
        if (!permitted || (st.st_mode & 0222) == 0) {
            throw fileError(refusal, "Cannot save", file, source, "the file is read-only");
        }
        mode = st.st_mode & 07777;
        owner = std::make_pair(st.st_uid, st.st_gid);
    } else if (errno != ENOENT) {
        throw fileError(errno, "Cannot save", file, source);
    }

    if (options.removeLeftovers) removeLeftoverTemporaries(folder, target);
    std::string pattern = (folder / (temporaryPrefix(target) + "XXXXXX")).string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        throw fileError(errno, "Cannot save", file, source,
                        "cannot create a new file in the folder \"" + folder.string() + "\"");
    }
    TemporaryFile temporary(fd, pattern);
    // Root saving another user's file must not leave that user a file only root can read.
    if (owner && (owner->first != ::geteuid() || owner->second != ::getegid()) &&
        ::fchown(fd, owner->first, owner->second) != 0 && ::geteuid() == 0) {
        throw fileError(errno, "Cannot save", file, source, "cannot keep the file's owner");
    }
    if (::fchmod(fd, mode) != 0) throw fileError(errno, "Cannot save", file, source);
    if (const int error = writeAll(fd, text)) throw fileError(error, "Cannot save", file, source);
    if (::fsync(fd) != 0) throw fileError(errno, "Cannot save", file, source);
    if (temporary.close() != 0) throw fileError(errno, "Cannot save", file, source);
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        throw fileError(errno, "Cannot save", file, source);
    }
    temporary.keep();
    if (options.syncFolder) syncFolder(folder);
}

}  // namespace platform::files
