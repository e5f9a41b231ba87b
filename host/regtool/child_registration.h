// Running a module's registration entry point in a child process, so that a module that
// crashes or hangs takes only the child with it, and the registry changes only when the
// entry point succeeds.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace host::regsvr {

inline constexpr std::chrono::seconds kDefaultTimeLimit{30};

struct ChildRequest {
    std::filesystem::path helper;  // the ostrel-regsvr program, run as the child
    std::filesystem::path module;  // absolute
    bool unregister = false;
    std::chrono::milliseconds timeLimit = kDefaultTimeLimit;
    std::filesystem::path registry;  // the registry file to change
};

struct ChildOutcome {
    int exitCode = 0;  // an ExitCode of regsvr.h
    std::string out;   // what the child said on success
    std::string err;   // why it failed, naming the module
};

// The child works on a copy of the registry. Only when its entry point succeeds are the
// changes it made to the copy carried over to the registry, under its lock, so that a
// crash, a hang (the child is killed at the time limit) or a failure part-way leaves the
// registry as it was, and changes that others made meanwhile are kept.
ChildOutcome runInChild(const ChildRequest& request);

}  // namespace host::regsvr
