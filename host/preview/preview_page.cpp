// The rendered page's rules for navigation and windows.
#include "host/preview/preview_page.h"

#include <QWebEngineScript>

#include "host/preview/form_capture.h"

namespace host::preview {

PreviewPage::PreviewPage(QWebEngineProfile* profile, Hooks hooks)
    : QWebEnginePage(profile), m_hooks(std::move(hooks)) {}

PreviewPage::~PreviewPage() {
    *m_alive = false;
}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (type == NavigationTypeFormSubmitted) {
        reportSubmission(url);
        return false;
    }
    if (!isMainFrame) return m_hooks.mayLoadFrame && m_hooks.mayLoadFrame(url);
    // The editor's own loads, and jumps to an anchor inside the page; links, history and
    // scripts go nowhere.
    const QUrl bare = url.adjusted(QUrl::RemoveFragment);
    return bare == m_pageUrl && (type == NavigationTypeTyped || type == NavigationTypeReload ||
                                 url.hasFragment());
}

QWebEnginePage* PreviewPage::createWindow(WebWindowType) {
    // A form aimed at a new window would be submitted there; it is reported instead.
    reportSubmission({});
    return nullptr;
}

void PreviewPage::reportSubmission(const QUrl& navigationUrl) {
    runJavaScript(takeSubmissionScript(), QWebEngineScript::ApplicationWorld,
                  [self = this, alive = m_alive, navigationUrl](const QVariant& taken) {
                      if (!*alive || !self->m_hooks.formSubmitted) return;
                      // A new window asked for by anything but a form has nothing to report.
                      if (navigationUrl.isEmpty() && taken.toString().isEmpty()) return;
                      self->m_hooks.formSubmitted(readSubmission(taken, navigationUrl));
                  });
}

void PreviewPage::reportBlockedSubmission(const QString& violation) {
    runJavaScript(takeSubmissionScript(), QWebEngineScript::ApplicationWorld,
                  [self = this, alive = m_alive, violation](const QVariant& taken) {
                      if (!*alive || !self->m_hooks.formSubmitted) return;
                      self->m_hooks.formSubmitted(readBlockedSubmission(taken, violation));
                  });
}

void PreviewPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message,
                                           int, const QString&) {
    if (!m_blockedToken.isEmpty() && message.startsWith(m_blockedToken)) {
        reportBlockedSubmission(message.mid(m_blockedToken.size()));
        return;
    }
    if (m_hooks.consoleMessage) m_hooks.consoleMessage(message);
}

}  // namespace host::preview
