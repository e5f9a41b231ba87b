// The rendered view's text, made off the window's thread.
#include "host/editor/page_text_worker.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace host {

// What passes between the threads, under the worker's one lock: the snapshot goes in, the
// text comes out. Only standard locks cross threads here, none of Qt's events or futures,
// so that ThreadSanitizer sees every hand-over (Qt's own library is not built for it).
struct PageTextWorker::Job {
    DocumentPageText::Snapshot snapshot;
    bool dropped = false;
    bool done = false;
    RenderedText result;
};

namespace {

// One thread for every page's refresh, started on first use and joined as the program ends.
class Thread {
public:
    static Thread& instance() {
        static Thread thread;
        return thread;
    }
    ~Thread() {
        {
            std::lock_guard lock(m_lock);
            m_stop = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable()) m_thread.join();
    }
    void post(std::shared_ptr<PageTextWorker::Job> job) {
        {
            std::lock_guard lock(m_lock);
            m_queue.push_back(std::move(job));
            if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_one();
    }
    std::mutex& lock() { return m_lock; }

private:
    void run() {
        std::unique_lock lock(m_lock);
        while (true) {
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_stop) return;
            const std::shared_ptr<PageTextWorker::Job> job = std::move(m_queue.front());
            m_queue.pop_front();
            if (job->dropped) continue;
            lock.unlock();
            // The snapshot is this thread's alone until `done` is set.
            RenderedText result = renderedText(job->snapshot);
            job->snapshot = {};
            lock.lock();
            job->result = std::move(result);
            job->done = true;
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<PageTextWorker::Job>> m_queue;
    bool m_stop = false;
    std::thread m_thread;
};

// How often the window's thread looks for the text while it is being made: short against
// the conversion of a large page, and only while one is under way.
constexpr int kCollectMs = 2;

}  // namespace

PageTextWorker::PageTextWorker(std::function<void(const RenderedText&)> done) : m_done(std::move(done)) {
    m_collect.setInterval(kCollectMs);
    QObject::connect(&m_collect, &QTimer::timeout, [this] { collect(); });
}

PageTextWorker::~PageTextWorker() {
    if (!m_job) return;
    std::lock_guard lock(Thread::instance().lock());
    m_job->dropped = true;
}

void PageTextWorker::convert(const Page& page) {
    auto start = renderedTextStart(page);  // a copy of the document's text, on this thread
    if (m_job) {
        std::lock_guard lock(Thread::instance().lock());
        m_job->dropped = true;  // a later text is on its way
        m_job.reset();
        m_collect.stop();
    }
    if (auto* done = std::get_if<RenderedText>(&start)) {
        // Nothing to convert (a page as it was opened, or declined): the view has it now.
        m_done(*done);
        return;
    }
    auto job = std::make_shared<Job>();
    job->snapshot = std::move(std::get<DocumentPageText::Snapshot>(start));
    m_job = job;
    Thread::instance().post(job);
    m_collect.start();
}

void PageTextWorker::collect() {
    RenderedText result;
    {
        std::lock_guard lock(Thread::instance().lock());
        if (!m_job->done) return;
        result = std::move(m_job->result);
    }
    m_job.reset();
    m_collect.stop();
    m_done(result);
}

}  // namespace host
