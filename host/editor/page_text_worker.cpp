// The rendered view's text, made off the window's thread.
#include "host/editor/page_text_worker.h"

#include <QFutureWatcher>
#include <QPromise>
#include <QRunnable>
#include <QThreadPool>
#include <memory>
#include <new>

namespace host {
namespace {

// One thread for every page's refresh, apart from the global pool, which others may keep busy.
QThreadPool& pool() {
    static QThreadPool threads;
    static const bool one = [] {
        threads.setMaxThreadCount(1);
        return true;
    }();
    (void)one;
    return threads;
}

// A page too large for the memory left shows this in the rendered view's place rather than
// end the editor.
PageTextWorker::Result outOfMemory() {
    return {{}, QStringLiteral("The page is too large to show rendered with the memory left. "
                               "Close other pages or programs, then edit the page to try again.")};
}

PageTextWorker::Result make(const DocumentPageText::Snapshot& snapshot) {
    try {
        return {DocumentPageText::utf8(snapshot), {}};
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

}  // namespace

void PageTextWorker::convert(const DocumentPageText& text) {
    const std::uint64_t serial = ++m_latest;
    DocumentPageText::Snapshot snapshot;
    try {
        snapshot = text.snapshot();  // a copy of the document's text, on this thread
    } catch (const std::bad_alloc&) {
        m_busy = false;
        m_done(outOfMemory());
        return;
    }
    m_busy = true;
    auto promise = std::make_shared<QPromise<Result>>();
    // A watcher per job, a child of the context: with this worker gone, it is gone too and
    // takes the result nowhere.
    auto* watcher = new QFutureWatcher<Result>(&m_context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [this, watcher, serial] {
        watcher->deleteLater();
        if (serial != m_latest) return;  // a later snapshot's text is on its way
        m_busy = false;
        m_done(watcher->result());
    });
    watcher->setFuture(promise->future());
    pool().start([promise, snapshot = std::move(snapshot)] {
        promise->start();
        promise->addResult(make(snapshot));
        promise->finish();
    });
}

}  // namespace host
