// Every request of the rendered page passes here: the page and files inside its folder go
// through, anything else (the network, other files, other schemes) is blocked and counted.
#pragma once

#include <QSet>
#include <QWebEngineUrlRequestInterceptor>
#include <functional>

#include "host/preview/page_folder.h"

namespace host::preview {

class RequestGuard final : public QWebEngineUrlRequestInterceptor {
public:
    // `blockedChanged` is told the number of different addresses blocked so far.
    explicit RequestGuard(std::function<void(int)> blockedChanged)
        : m_blockedChanged(std::move(blockedChanged)) {}

    // A new rendering: the page's address and folder, and a fresh count.
    void reset(QUrl page, PageFolder folder);
    int blockedCount() const { return int(m_blocked.size()); }
    bool allows(const QUrl& url) const;
    // Counts an address refused elsewhere (a connection the page's scripts asked for).
    void refuse(const QString& address);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QUrl m_page;
    PageFolder m_folder;
    QSet<QString> m_blocked;
    std::function<void(int)> m_blockedChanged;
};

}  // namespace host::preview
