// Peak resident memory through /proc: VmHWM after the work less VmRSS before it, with the
// high-water mark reset in between (clear_refs 5), so the setup's own peak does not count.
#include "bench/page/peak_memory.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace bench {
namespace {

// A field of /proc/self/status in bytes, or -1.
long long statusField(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) return std::stoll(line.substr(field.size() + 1)) * 1024;
    }
    return -1;
}

}  // namespace

int printPeakOf(const std::function<void()>& setup, const std::function<void()>& work) {
    setup();
    malloc_trim(0);  // what the setup freed is not part of the work's peak
    if (!(std::ofstream("/proc/self/clear_refs") << "5")) {
        std::cerr << "cannot reset the peak of resident memory (/proc/self/clear_refs)\n";
        return 1;
    }
    const long long before = statusField("VmRSS");
    work();
    const long long peak = statusField("VmHWM");
    if (before < 0 || peak < 0) return 1;
    std::cout << (peak > before ? peak - before : 0) << "\n";
    return 0;
}

std::optional<std::size_t> peakInChild(const std::string& name) {
    // The figure is the child's only output; names are made by the program, never quoted.
    const std::string command = "/proc/" + std::to_string(::getpid()) + "/exe '" +
                                std::string(kPeakOption) + name + "'";
    FILE* child = ::popen(command.c_str(), "r");
    if (!child) return std::nullopt;
    unsigned long long bytes = 0;
    const bool read = std::fscanf(child, "%llu", &bytes) == 1;
    if (::pclose(child) != 0 || !read) return std::nullopt;
    return static_cast<std::size_t>(bytes);
}

}  // namespace bench
