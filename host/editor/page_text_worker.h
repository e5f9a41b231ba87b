// Makes the UTF-8 text the rendered view loads on a thread of its own, so that a large page
// does not hold up typing when a refresh starts.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "host/editor/document_page_text.h"

namespace host {

class PageTextWorker {
public:
    struct Result {
        QByteArray utf8;
        QString failure;  // set instead of the text when memory ran out
    };
    struct Job;

    // Called on the window's thread with the newest snapshot's text only; a result overtaken
    // by a later snapshot is dropped.
    explicit PageTextWorker(std::function<void(const Result&)> done);
    ~PageTextWorker();
    PageTextWorker(const PageTextWorker&) = delete;
    PageTextWorker& operator=(const PageTextWorker&) = delete;

    void convert(const DocumentPageText& text);
    bool busy() const { return m_job != nullptr; }

private:
    void collect();

    std::function<void(const Result&)> m_done;
    std::shared_ptr<Job> m_job;  // the newest, until its text is collected
    QTimer m_collect;
};

}  // namespace host
