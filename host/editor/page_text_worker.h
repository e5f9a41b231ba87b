// Makes the UTF-8 text the rendered view loads on a thread of its own, so that a large page
// does not hold up typing when a refresh starts.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "host/editor/document_page_text.h"

namespace host {

class PageTextWorker {
public:
    struct Result {
        QByteArray utf8;
        QString failure;  // set instead of the text when memory ran out
    };
    // Called on the window's thread with the newest snapshot's text only; a result overtaken
    // by a later snapshot is dropped.
    explicit PageTextWorker(std::function<void(const Result&)> done) : m_done(std::move(done)) {}
    PageTextWorker(const PageTextWorker&) = delete;
    PageTextWorker& operator=(const PageTextWorker&) = delete;

    void convert(const DocumentPageText& text);
    bool busy() const { return m_busy; }

private:
    std::function<void(const Result&)> m_done;
    QObject m_context;  // the results' watchers live in it
    std::uint64_t m_latest = 0;
    bool m_busy = false;
};

}  // namespace host
