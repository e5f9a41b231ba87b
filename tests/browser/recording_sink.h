// A subscriber to the browser's events that records each quit notification.
#pragma once

#include <QCoreApplication>
#include <QThread>
#include <functional>

#include "com/object.h"
#include "com/web_browser.h"

namespace testing_browser {

class RecordingSink : public com::Object<com::DWebBrowserEvents> {
public:
    com::HRESULT Quit(com::Bool16* Cancel) override {
        ++quits;
        onUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        cancelSeen = *Cancel;
        if (onQuit) onQuit();
        return com::S_OK;
    }

    int quits = 0;
    bool onUiThread = false;
    com::Bool16 cancelSeen = 1;  // neither True nor False until a notification came
    std::function<void()> onQuit;
};

}  // namespace testing_browser
