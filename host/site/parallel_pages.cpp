// A fixed set of threads taking page indexes from one counter.
#include "host/site/parallel_pages.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace host::site {

void forEachPage(std::size_t count, const std::function<void(std::size_t)>& job,
                 TaskProgress* progress) {
    if (progress) progress->total = count;
    std::atomic<std::size_t> next{0};
    // The first failure of a job stops the others and is thrown again here, on the caller's
    // thread, once every thread has ended: one escaping a pool thread would end the program.
    std::mutex failureLock;
    std::exception_ptr failure;
    std::atomic<bool> failed{false};
    const auto work = [&] {
        for (;;) {
            if ((progress && progress->cancelled) || failed) return;
            const std::size_t i = next++;
            if (i >= count) return;
            try {
                job(i);
            } catch (...) {
                const std::lock_guard lock(failureLock);
                if (!failure) failure = std::current_exception();
                failed = true;
                return;
            }
            if (progress) ++progress->done;
        }
    };
    {
        const std::size_t threads =
            std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), count);
        std::vector<std::jthread> pool;
        for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(work);
        work();
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace host::site
