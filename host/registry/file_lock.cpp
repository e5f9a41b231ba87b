// The lock that lets one process at a time change a per-user file.
#include "host/registry/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <thread>

#include "host/registry/user_file.h"

namespace fs = std::filesystem;

namespace ostrel::userfile {
namespace {

// The holder's process id as it wrote it, or "" when the file holds none.
std::string recordedHolder(int fd) {
    char buffer[32] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    if (n <= 0) return {};
    std::string text(buffer, static_cast<std::size_t>(n));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return {};
    return text;
}

}  // namespace

fs::path FileLock::lockPathFor(const fs::path& file) {
    fs::path lock = file;
    lock += ".lock";
    return lock;
}

FileLock::FileLock(const fs::path& file, std::chrono::milliseconds timeout,
                   std::string_view source) {
    const fs::path target = followLinks(file);
    const fs::path lock = lockPathFor(target);
    if (target.has_parent_path()) createFolders(target.parent_path(), file, source);
    m_fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0 && errno == EACCES) m_fd = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        throw fileError(errno, "Cannot save", file, source,
                        "cannot open its lock file \"" + lock.string() + "\"");
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK || Clock::now() >= deadline) {
            const std::string holder = recordedHolder(m_fd);
            ::close(m_fd);
            if (error != EWOULDBLOCK) {
                throw fileError(error, "Cannot save", file, source,
                                "cannot lock \"" + lock.string() + "\"");
            }
            char waited[32];
            std::snprintf(waited, sizeof waited, "%.1f",
                          static_cast<double>(timeout.count()) / 1000.0);
            throw com::Error(com::errc::permissionDenied,
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
    // Recorded only to name the holder in another process's failure; best effort.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(m_fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(m_fd, pid.data(), pid.size(), 0);
    }
}

FileLock::~FileLock() {
    [[maybe_unused]] const int truncated = ::ftruncate(m_fd, 0);
    ::close(m_fd);  // releases the lock
}

}  // namespace ostrel::userfile
