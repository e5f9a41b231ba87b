// Running one job per page on every core, with progress and cancelling for a window.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>

namespace host::site {

// Shared between the worker threads and whoever watches them.
struct TaskProgress {
    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> total{0};
    std::atomic<bool> cancelled{false};
};

// Calls job(i) for every i below count, spread over the machine's cores; returns when all
// are done or, once `progress` is cancelled, when the jobs already started are done. A job
// that throws stops the rest, and its exception is thrown here once every thread has ended.
void forEachPage(std::size_t count, const std::function<void(std::size_t)>& job,
                 TaskProgress* progress = nullptr);

}  // namespace host::site
