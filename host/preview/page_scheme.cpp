// Serving the page and its folder's files to the rendered view.
#include "host/preview/page_scheme.h"

#include <QBuffer>
#include <QFile>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace host::preview {

void registerPageScheme() {
    static const bool registered = [] {
        QWebEngineUrlScheme scheme(kPageScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        // Local, like file:, so that web content elsewhere can never load it.
        scheme.setFlags(QWebEngineUrlScheme::LocalScheme);
        QWebEngineUrlScheme::registerScheme(scheme);
        return true;
    }();
    (void)registered;
}

QUrl pageUrl(const QString& pagePath, const QString& untitledName) {
    QUrl url;
    url.setScheme(kPageScheme);
    // An empty host, so that the address reads ostrel-page:///...: Chromium resolves
    // relative addresses only against one with an authority.
    url.setHost(QStringLiteral(""));
    url.setPath(pagePath.isEmpty() ? u'/' + untitledName : pagePath);
    return url;
}

void PageSchemeHandler::setPage(QByteArray utf8Html, QUrl url, PageFolder folder) {
    m_html = std::move(utf8Html);
    m_url = std::move(url);
    m_folder = std::move(folder);
}

void PageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl().adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment);
    if (url == m_url) {
        auto* body = new QBuffer(job);
        body->setData(m_html);
        body->open(QIODevice::ReadOnly);
        // The text is the editor's, in UTF-8, whatever the file's own encoding.
        job->reply("text/html;charset=utf-8", body);
        return;
    }
    // The request guard has let only files of the folder through; asked again here so that
    // this handler is safe on its own.
    const QString path = m_folder.resolve(url.path());
    auto* file = new QFile(path, job);
    if (path.isEmpty() || !file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // Chromium reads the file on its own thread, a piece at a time as the page takes it;
    // here only its first bytes are looked at, for the type.
    const QByteArray type = QMimeDatabase().mimeTypeForFileNameAndData(path, file).name().toUtf8();
    job->reply(type, file);
}

}  // namespace host::preview
