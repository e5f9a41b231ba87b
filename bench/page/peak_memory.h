// The memory peak of one piece of work, measured in a child process of its own so that no
// other case's heap, thread arenas or freed-but-kept pages count towards it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace bench {

// The argument that makes this program measure one case: `<program> --peak-of=<name>`.
inline constexpr std::string_view kPeakOption = "--peak-of=";

// In the child: runs `work` and prints how far the resident set rose above what it was
// just before (after `setup` ran and the process's high-water mark was reset), in bytes.
int printPeakOf(const std::function<void()>& setup, const std::function<void()>& work);

// In the parent: runs this program again with `--peak-of=<name>` and returns its figure, or
// nothing when the child failed.
std::optional<std::size_t> peakInChild(const std::string& name);

}  // namespace bench
