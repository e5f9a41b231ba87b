// A fixed set of threads taking page indexes from one counter.
#include "host/site/parallel_pages.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace host::site {

void forEachPage(std::size_t count, const std::function<void(std::size_t)>& job,
                 TaskProgress* progress) {
    if (progress) progress->total = count;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (;;) {
            if (progress && progress->cancelled) return;
            const std::size_t i = next++;
            if (i >= count) return;
            job(i);
            if (progress) ++progress->done;
        }
    };
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), count);
    std::vector<std::jthread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
}

}  // namespace host::site
