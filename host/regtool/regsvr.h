// The registration tool's work: load a module and call its register or unregister entry
// point, saying what happened.
#pragma once

#include <chrono>
#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>

#include "host/regtool/child_registration.h"

namespace host::regsvr {

// Exit statuses of the tool.
enum ExitCode : int {
    kSuccess = 0,
    kUsage = 1,         // the command line cannot be understood
    kLoadFailed = 2,    // the module is missing or cannot be loaded
    kNoEntryPoint = 3,  // the module does not export the entry point
    kEntryFailed = 4,   // the entry point reported a failure
    kCrashed = 5,       // the entry point crashed, ended the process, or did not finish in time
    kNothingFound = 6,  // --remove-records found no record
    kNotPermitted = 7,  // --machine by anyone but root
    // --machine refused: the module, or the record file or a folder above it, could be
    // changed by someone other than root, or there is a link where the record file goes
    kNotTrusted = 8,
};

struct Options {
    bool unregister = false;
    bool quiet = false;  // no message on success
    bool help = false;
    bool machine = false;    // the machine-wide registry instead of the user's
    bool inProcess = false;  // call the entry point here: what the child does
    int resultFd = -1;       // the child reports there (child_registration.h); -1: not a child
    std::chrono::milliseconds timeLimit = kDefaultTimeLimit;
    std::string removeRecords;  // a class id or module whose records to remove
    std::filesystem::path module;
};

// Parses the arguments after the program name. Throws std::invalid_argument with the reason.
Options parseArguments(std::span<const std::string> args);
std::string usage(std::string_view program);

// Loads the module, calls DllRegisterServer (or DllUnregisterServer), unloads it.
// Success goes to out unless quiet; failures, with the module's number, description and
// source, go to err.
int run(const Options& options, std::ostream& out, std::ostream& err);

// What the tool does for its command line: --remove-records, --in-process (run), or the
// entry point called in a child process that runs `helper` (this same tool).
int runTool(const Options& options, const std::filesystem::path& helper, std::ostream& out,
            std::ostream& err);

}  // namespace host::regsvr
