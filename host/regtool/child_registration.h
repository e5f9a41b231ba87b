// Running a module's registration entry point in a child process, so that a module that
// crashes, hangs, ends the process or floods its output takes only the child with it, and
// the registry changes only when the entry point itself returns success.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace host::regsvr {

inline constexpr std::chrono::seconds kDefaultTimeLimit{30};
// How much of each of the module's output streams is kept: the end of it, where the reason
// for a failure usually is. A module may write without end.
inline constexpr std::size_t kOutputTail = 64 * 1024;
// How much of the child's own message (a module's error description is its own text) it
// reports; quoted, it takes up to four times as much.
inline constexpr std::size_t kMaxMessage = 16 * 1024;

struct ChildRequest {
    std::filesystem::path helper;  // the ostrel-regsvr program, run as the child
    std::filesystem::path module;  // absolute
    bool unregister = false;
    std::chrono::milliseconds timeLimit = kDefaultTimeLimit;
    std::filesystem::path registry;  // the registry file to change
    // Set from another thread to stop the registration: the child and all it started end.
    const std::atomic<bool>* cancel = nullptr;
    // The registry is the machine-wide one: the module sees its records in the user's hive,
    // where it writes its own, and what it changes goes back to the machine's hive.
    bool machine = false;
};

struct ChildOutcome {
    int exitCode = 0;     // an ExitCode of regsvr.h
    std::string message;  // on failure, what happened, naming the module
    std::string out;      // the end of what the module wrote to standard output
    std::string err;      // and to standard error; both say how much was left out before
    bool cancelled = false;
};

// The child works on a copy of the registry. Only when its entry point returns success are
// the changes it made to the copy carried over to the registry, under its lock, so that a
// crash, a hang (the child is stopped at the time limit), an exit inside the entry point or
// a failure part-way leaves the registry as it was, and changes that others made meanwhile
// are kept. Safe to call on any thread.
ChildOutcome runInChild(const ChildRequest& request);

// The child's side. It reports on descriptor kResultDescriptor, one record a line: how far
// it got ("stage loading", "stage calling", "stage returned"), the outcome of the call
// ("done <exit status> <quoted message>"), and at last how the process that made the call
// ended ("ended <wait status>").
inline constexpr int kResultDescriptor = 3;
void writeRecord(int fd, std::string_view line);

// Runs `call` in a process of its own and waits for it; then ends every process it left
// behind, even those that left the process group or the session (this process adopts
// them), and writes the "ended" record. Returns this process's exit status.
int keepCall(int resultFd, const std::function<int()>& call);

}  // namespace host::regsvr
