// The lock that lets one process at a time change a per-user file.
#include "platform/files/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/files/user_file.h"

namespace fs = std::filesystem;

namespace platform::files {
namespace {

// The process that holds a whole-file lock on the lock file, as the kernel lists it, or ""
// when it cannot be told. Asking the kernel means the lock file never has to be written.
std::string lockHolder(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return {};
    char device[48];
    std::snprintf(device, sizeof device, "%02x:%02x:", ::major(st.st_dev), ::minor(st.st_dev));
    const std::string inode = ":" + std::to_string(st.st_ino);
    std::ifstream locks("/proc/locks");
    std::string line, byInodeOnly;
    int inodeMatches = 0;
    while (std::getline(locks, line)) {
        // "1: FLOCK  ADVISORY  WRITE 4242 08:01:131090 0 EOF"; waiters are marked "->".
        std::istringstream fields(line);
        std::string number, kind, advisory, access, pid, where;
        fields >> number >> kind >> advisory >> access >> pid >> where;
        if (kind != "FLOCK" || pid.empty() || pid == "0" ||
            pid.find_first_not_of("0123456789") != std::string::npos || !where.ends_with(inode)) {
            continue;
        }
        if (where == device + inode.substr(1)) return pid;
        // Stacked file systems may list another device than the one stat reports.
        byInodeOnly = pid;
        ++inodeMatches;
    }
    return inodeMatches == 1 ? byInodeOnly : std::string();
}

}  // namespace

fs::path FileLock::lockPathFor(const fs::path& file) {
    fs::path lock = file;
    lock += ".lock";
    return lock;
}

FileLock::FileLock(const fs::path& file, std::chrono::milliseconds timeout,
                   std::string_view source) {
    // Beside the path as given, never beside a link's target: a lock file in the folder a
    // link points to would be a stray file in a folder the user never named.
    const fs::path lock = lockPathFor(file);
    if (file.has_parent_path()) createFolders(file.parent_path(), file, source);
    // Read-only is enough for flock, and nothing is ever written to the lock file; a link in
    // its place is refused, not followed, and a pipe never blocks the open.
    m_fd = ::open(lock.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (m_fd < 0 && errno == ELOOP) {
        throw fileError(ELOOP, "Cannot save", file, source,
                        "its lock file \"" + lock.string() +
                            "\" is a symbolic link, which is never followed; remove the link");
    }
    if (m_fd < 0) {
        throw fileError(errno, "Cannot save", file, source,
                        "cannot open or create its lock file \"" + lock.string() + "\"");
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(m_fd);
        throw fileError(EINVAL, "Cannot save", file, source,
                        "its lock file \"" + lock.string() + "\" is not a regular file");
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK || Clock::now() >= deadline) {
            const std::string holder = lockHolder(m_fd);
            ::close(m_fd);
            if (error != EWOULDBLOCK) {
                throw fileError(error, "Cannot save", file, source,
                                "cannot lock \"" + lock.string() + "\"");
            }
            char waited[32];
            std::snprintf(waited, sizeof waited, "%.1f",
                          static_cast<double>(timeout.count()) / 1000.0);
            throw platform::Error(platform::errc::permissionDenied,
                             "Cannot save \"" + file.string() + "\": another program" +
                                 (holder.empty() ? std::string() : " (process " + holder + ")") +
                                 " is changing it and still holds \"" + lock.string() +
                                 "\" after " + waited +
                                 " seconds. Close that program or try again; nothing was changed.",
                             std::string(source));
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - Clock::now()));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

FileLock::~FileLock() {
    ::close(m_fd);  // releases the lock
}

}  // namespace platform::files
