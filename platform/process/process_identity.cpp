// Reading a process's state and start time from /proc.
#include "platform/process/process_identity.h"

#include <fstream>
#include <sstream>

namespace platform::process {

std::optional<std::string> processStartTicks(long pid) {
    if (pid <= 0) return std::nullopt;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!in || !std::getline(in, stat)) return std::nullopt;
    // The name in parentheses may hold blanks and parentheses; the fields follow the last ')'.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    fields >> state;  // field 3
    if (state == "Z" || state == "X") return std::nullopt;
    std::string field;
    for (int n = 4; n <= 22; ++n) {
        if (!(fields >> field)) return std::nullopt;
    }
    return field;
}

bool processRuns(long pid, const std::string& startTicks) {
    const auto now = processStartTicks(pid);
    return now && *now == startTicks;
}

}  // namespace platform::process
