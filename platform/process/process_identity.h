// Telling whether a process that a file names still runs, even after its id was reused.
#pragma once

#include <optional>
#include <string>

namespace platform::process {

// The kernel's start time of the process (clock ticks since boot), which tells it from a
// later process given the same id; nothing when it has ended, including a finished process
// that nobody has reaped yet.
std::optional<std::string> processStartTicks(long pid);

// Whether process `pid` runs and is the one that started at `startTicks`.
bool processRuns(long pid, const std::string& startTicks);

}  // namespace platform::process
