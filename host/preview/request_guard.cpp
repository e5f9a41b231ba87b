// The rendered page's only way out.
#include "host/preview/request_guard.h"

#include "host/preview/page_scheme.h"

namespace host::preview {

void RequestGuard::reset(QUrl page, PageFolder folder) {
    m_page = std::move(page);
    m_folder = std::move(folder);
    const bool had = !m_blocked.isEmpty();
    m_blocked.clear();
    if (had && m_blockedChanged) m_blockedChanged(0);
}

bool RequestGuard::allows(const QUrl& url) const {
    const QString scheme = url.scheme();
    // Inline content fetches nothing.
    if (scheme == u"data" || scheme == u"blob") return true;
    if (scheme != QLatin1String(kPageScheme)) return false;
    return url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment) == m_page ||
           !m_folder.resolve(url.path()).isEmpty();
}

void RequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl url = info.requestUrl();
    if (allows(url)) return;
    info.block(true);
    refuse(url.toString(QUrl::RemoveUserInfo));
}

void RequestGuard::refuse(const QString& address) {
    const qsizetype before = m_blocked.size();
    m_blocked.insert(address);
    if (m_blocked.size() != before && m_blockedChanged) m_blockedChanged(blockedCount());
}

}  // namespace host::preview
