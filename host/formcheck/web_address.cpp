// Addresses read with QUrl, then brought to the form the content policy's matching compares.
#include "host/formcheck/web_address.h"

#include <QUrl>

namespace host::formcheck {
namespace {

bool isAsciiSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

std::optional<WebAddress> fromUrl(const QUrl& url) {
    if (!url.isValid() || url.scheme().isEmpty()) return std::nullopt;
    WebAddress a;
    a.scheme = url.scheme().toLower();
    a.hasAuthority = url.toString(QUrl::FullyEncoded).mid(a.scheme.size() + 1).startsWith(u"//");
    a.host = QString::fromLatin1(QUrl::toAce(url.host(QUrl::FullyDecoded))).toLower();
    if (a.host.isEmpty()) a.host = url.host(QUrl::FullyEncoded).toLower();
    a.port = url.port(-1);
    if (a.port == defaultPort(a.scheme)) a.port = -1;
    a.path = url.path(QUrl::FullyEncoded);
    if (a.path.isEmpty() && a.hasAuthority && a.isHttp()) a.path = QStringLiteral("/");
    a.query = url.query(QUrl::FullyEncoded);
    return a;
}

}  // namespace

QString WebAddress::origin() const {
    QString o = scheme + QStringLiteral("://") + host;
    if (port >= 0) o += u':' + QString::number(port);
    return o;
}

QString WebAddress::toString() const {
    QString s = hasAuthority ? origin() : scheme + u':';
    s += path;
    if (!query.isEmpty()) s += u'?' + query;
    return s;
}

int defaultPort(const QString& scheme) {
    if (scheme == u"http" || scheme == u"ws") return 80;
    if (scheme == u"https" || scheme == u"wss") return 443;
    if (scheme == u"ftp") return 21;
    return -1;
}

QString trimmedAddressText(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && isAsciiSpace(text[begin])) ++begin;
    while (end > begin && isAsciiSpace(text[end - 1])) --end;
    QString out;
    out.reserve(end - begin);
    for (qsizetype i = begin; i < end; ++i) {
        if (text[i] != u'\t' && text[i] != u'\n' && text[i] != u'\r') out += text[i];
    }
    return out;
}

std::optional<WebAddress> parseAbsoluteAddress(QStringView text) {
    const QString trimmed = trimmedAddressText(text);
    // A scheme is a letter, then letters, digits, '+', '-' or '.', then ':'.
    qsizetype colon = 0;
    while (colon < trimmed.size() && trimmed[colon] != u':') {
        const QChar c = trimmed[colon];
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        const bool other = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
        if (!(letter || (colon > 0 && other))) return std::nullopt;
        ++colon;
    }
    if (colon == 0 || colon == trimmed.size()) return std::nullopt;
    return fromUrl(QUrl(trimmed, QUrl::TolerantMode));
}

std::optional<WebAddress> resolveAddress(const WebAddress& base, QStringView relative) {
    const QUrl baseUrl(base.toString(), QUrl::TolerantMode);
    if (!baseUrl.isValid()) return std::nullopt;
    return fromUrl(baseUrl.resolved(QUrl(trimmedAddressText(relative), QUrl::TolerantMode)));
}

bool addressUnder(const WebAddress& address, const WebAddress& root, QString* rest) {
    if (address.scheme != root.scheme || address.host != root.host || address.port != root.port)
        return false;
    QString folder = root.path.isEmpty() ? QStringLiteral("/") : root.path;
    if (!folder.endsWith(u'/')) folder += u'/';
    QString path = address.path.isEmpty() ? QStringLiteral("/") : address.path;
    if (path + u'/' == folder) path = folder;  // the root itself, written without its slash
    if (!path.startsWith(folder)) return false;
    if (rest) *rest = path.mid(folder.size());
    return true;
}

}  // namespace host::formcheck
