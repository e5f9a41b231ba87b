// The lock that lets one process at a time change a per-user file.
#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

namespace platform::files {

// Holds an advisory lock on "<file>.lock", beside the path as given even when that path is
// a link. The kernel drops the lock when its holder dies, so a lock file left by a killed
// process never blocks anyone; a live holder is waited for at most `timeout`, then the
// failure names the file, the lock file and the holder. The lock file is opened without
// following a link and never written, so a link or another file in its place is never
// changed. It stays in place: removing it would let two processes lock different files.
class FileLock {
public:
    FileLock(const std::filesystem::path& file, std::chrono::milliseconds timeout,
             std::string_view source);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static std::filesystem::path lockPathFor(const std::filesystem::path& file);

private:
    int m_fd = -1;
};

// How long a change waits for another process to finish its own.
inline constexpr std::chrono::milliseconds kDefaultLockTimeout{5000};

}  // namespace platform::files
