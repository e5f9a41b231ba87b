// The rendered page's browser side: it goes nowhere the editor did not send it, opens no
// window, asks the author nothing, reads no file, and turns a form's submission into a
// report of what would have been sent.
#pragma once

#include <QUrl>
#include <QWebEnginePage>
#include <functional>
#include <memory>

#include "host/preview/rendered_view.h"

namespace host::preview {

class PreviewPage final : public QWebEnginePage {
public:
    struct Hooks {
        std::function<bool(const QUrl&)> mayLoadFrame;  // a frame's address the guard allows
        std::function<void(const FormSubmission&)> formSubmitted;
        std::function<void(const QString&)> consoleMessage;
    };
    PreviewPage(QWebEngineProfile* profile, Hooks hooks);
    ~PreviewPage() override;

    // The one address the main frame may go to: the page the view is showing.
    void setPageUrl(const QUrl& url) { m_pageUrl = url; }
    // Starts the console message of the form capture script (form_capture.h) that names a
    // submission the page's content policy blocked; known to the view alone.
    void setBlockedSubmissionToken(const QString& token) { m_blockedToken = token; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
        return false;
    }
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override {
        return {};
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override;

private:
    void reportSubmission(const QUrl& navigationUrl);
    void reportBlockedSubmission(const QString& violation);

    Hooks m_hooks;
    QUrl m_pageUrl;
    QString m_blockedToken;
    // False once this page is being destroyed: the base class answers script callbacks still
    // pending from its own destructor, when this part of the object is already gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace host::preview
