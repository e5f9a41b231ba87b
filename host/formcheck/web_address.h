// Web addresses as the checks compare them: scheme, host, port and path of an absolute
// address, and the origin a page is published at.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace host::formcheck {

struct WebAddress {
    QString scheme;  // lower case
    QString host;    // lower case, in ASCII (an international name in its xn-- form); may be empty
    int port = -1;   // -1 where the address gives none or the scheme's default port
    QString path;    // percent-encoded as written; empty only where the address has none
    QString query;   // without the '?'
    bool hasAuthority = false;  // "scheme://" wrote a host part

    bool isHttp() const { return scheme == u"http" || scheme == u"https"; }
    // An http(s) address with a host: what a form's action and a thank-you page must be.
    bool isAbsoluteHttp() const { return isHttp() && hasAuthority && !host.isEmpty(); }
    QString origin() const;  // "https://host[:port]"
    QString toString() const;
};

// The port a scheme uses when the address names none, or -1.
int defaultPort(const QString& scheme);

// The address as a browser reads an attribute's value: surrounding ASCII white space and
// tabs and line breaks inside are dropped. Nothing when the text has no scheme (a relative
// address, "//host/path" included) or cannot be read as an address.
std::optional<WebAddress> parseAbsoluteAddress(QStringView text);

// `relative` read against the absolute `base`, as a browser resolves a link.
std::optional<WebAddress> resolveAddress(const WebAddress& base, QStringView relative);

// Whether `address` lies under `root` (same scheme, host and port, and its path starts with
// root's path taken as a folder); `rest` receives the path below it, still percent-encoded.
bool addressUnder(const WebAddress& address, const WebAddress& root, QString* rest = nullptr);

// The text with surrounding ASCII white space removed, as browsers trim attribute values
// that hold addresses.
QString trimmedAddressText(QStringView text);

}  // namespace host::formcheck
