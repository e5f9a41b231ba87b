// The address scheme the rendered page is loaded from. The page's text comes from the
// editor's memory, not the file, so the view shows unsaved edits; everything else the page
// names relatively resolves to the same scheme and is read from the page's folder.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

#include "host/preview/page_folder.h"

namespace host::preview {

inline constexpr char kPageScheme[] = "ostrel-page";

// Registers the scheme with Qt WebEngine; call once before the first profile is made.
void registerPageScheme();

// ostrel-page:///folder/page.html for a saved page; a page never saved lives at the root
// under its display name, so relative addresses find no folder.
QUrl pageUrl(const QString& pagePath, const QString& untitledName);

class PageSchemeHandler final : public QWebEngineUrlSchemeHandler {
public:
    void setPage(QByteArray utf8Html, QUrl url, PageFolder folder);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QByteArray m_html;
    QUrl m_url;
    PageFolder m_folder;
};

}  // namespace host::preview
