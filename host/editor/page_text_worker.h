// Makes the UTF-8 text the rendered view loads on a thread of its own, so that a large page
// does not hold up typing when a refresh starts.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>

#include "host/editor/rendered_text.h"

namespace host {

class Page;

class PageTextWorker {
public:
    struct Job;

    // Called on the window's thread with the newest page text only; a text overtaken by a
    // later one is dropped. Called within convert() when there is nothing to convert.
    explicit PageTextWorker(std::function<void(const RenderedText&)> done);
    ~PageTextWorker();
    PageTextWorker(const PageTextWorker&) = delete;
    PageTextWorker& operator=(const PageTextWorker&) = delete;

    void convert(const Page& page);
    bool busy() const { return m_job != nullptr; }

private:
    void collect();

    std::function<void(const RenderedText&)> m_done;
    std::shared_ptr<Job> m_job;  // the newest, until its text is collected
    QTimer m_collect;
};

}  // namespace host
