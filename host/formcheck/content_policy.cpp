// Source-list matching after CSP Level 3, section 6.7.2 (matching URLs to source lists and
// source expressions): scheme, host, port and path parts, 'self' and '*'.
#include "host/formcheck/content_policy.h"

#include <QByteArray>
#include <QStringList>
#include <QUrl>

#include <algorithm>

#include "platform/text/ascii.h"

namespace host::formcheck::csp {
using platform::text::asciiLowered;
using platform::text::isAsciiAlpha;
using platform::text::isAsciiDigit;
using platform::text::isAsciiSpace;

namespace {


// scheme-part match (A from the expression, B the address's scheme), both lower case.
bool schemePartMatches(const QString& a, const QString& b) {
    if (a == b) return true;
    if (a == u"http") return b == u"https";
    if (a == u"ws") return b == u"wss" || b == u"http" || b == u"https";
    if (a == u"wss") return b == u"https";
    return false;
}

// A scheme-source: scheme ":" alone.
std::optional<QString> schemeSource(std::string_view e) {
    if (e.size() < 2 || e.back() != ':' || !isAsciiAlpha(e.front())) return std::nullopt;
    for (char c : e.substr(0, e.size() - 1)) {
        if (!(isAsciiAlpha(c) || isAsciiDigit(c) || c == '+' || c == '-' || c == '.')) return std::nullopt;
    }
    return QString::fromStdString(asciiLowered(e.substr(0, e.size() - 1)));
}

struct HostSource {
    std::optional<QString> scheme;
    QString host;  // lower case, "*", "*.example.com" or a name
    QString port;  // "", "*" or digits
    QString path;  // "" or from the first '/'
};

// host-source = [ scheme-part "://" ] host-part [ ":" port-part ] [ path-part ]
std::optional<HostSource> hostSource(std::string_view e) {
    HostSource s;
    if (const auto sep = e.find("://"); sep != std::string_view::npos) {
        const auto scheme = schemeSource(e.substr(0, sep + 1));
        if (!scheme) return std::nullopt;
        s.scheme = *scheme;
        e.remove_prefix(sep + 3);
    }
    std::size_t i = 0;
    if (i < e.size() && e[i] == '*') {
        ++i;
        if (i < e.size() && e[i] == '.') {
            ++i;
            if (i >= e.size() || e[i] == ':' || e[i] == '/') return std::nullopt;
        } else if (i < e.size() && e[i] != ':' && e[i] != '/') {
            return std::nullopt;
        }
    }
    const std::size_t labelsFrom = i;
    bool dotLast = false;
    while (i < e.size() && e[i] != ':' && e[i] != '/') {
        const char c = e[i];
        if (c == '.') {
            if (i == labelsFrom || dotLast) return std::nullopt;
            dotLast = true;
        } else if (isAsciiAlpha(c) || isAsciiDigit(c) || c == '-') {
            dotLast = false;
        } else {
            return std::nullopt;
        }
        ++i;
    }
    if (dotLast) return std::nullopt;
    if (i == 0) return std::nullopt;
    s.host = QString::fromStdString(asciiLowered(e.substr(0, i)));
    if (i < e.size() && e[i] == ':') {
        const std::size_t from = ++i;
        if (i < e.size() && e[i] == '*') {
            ++i;
        } else {
            while (i < e.size() && isAsciiDigit(e[i])) ++i;
        }
        if (i == from) return std::nullopt;
        s.port = QString::fromStdString(std::string(e.substr(from, i - from)));
    }
    if (i < e.size()) {
        if (e[i] != '/') return std::nullopt;
        const std::string_view path = e.substr(i);
        if (path.find_first_of(",;") != std::string_view::npos) return std::nullopt;
        s.path = QString::fromStdString(std::string(path));
    }
    return s;
}

bool hostPartMatches(const QString& pattern, const QString& host) {
    if (host.isEmpty()) return false;
    if (pattern == u"*") return true;
    if (pattern.startsWith(u"*.")) return host.endsWith(pattern.mid(1));
    return pattern == host;
}

bool portPartMatches(const QString& pattern, const WebAddress& url) {
    if (pattern == u"*") return true;
    const int wanted = pattern.isEmpty() ? -1 : pattern.toInt();
    if (wanted == url.port) return true;
    return url.port == -1 && wanted == defaultPort(url.scheme) && wanted != -1;
}

QString decoded(const QString& piece) {
    return QUrl::fromPercentEncoding(piece.toUtf8());
}

bool pathPartMatches(const QString& pattern, const QString& path) {
    if (pattern.isEmpty()) return true;
    if (pattern == u"/" && path.isEmpty()) return true;
    const bool exact = !pattern.endsWith(u'/');
    QStringList a = pattern.split(u'/');
    const QStringList b = path.split(u'/');
    if (a.size() > b.size()) return false;
    if (exact && a.size() != b.size()) return false;
    if (!exact) a.removeLast();
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (decoded(a[i]) != decoded(b[i])) return false;
    }
    return true;
}

bool sameOriginOrUpgrade(const Origin& o, const WebAddress& url) {
    if (o.scheme == url.scheme && o.host == url.host && o.port == url.port) return true;
    if (o.host != url.host || o.port != url.port) return false;
    return url.scheme == u"https" || url.scheme == u"wss" ||
           (o.scheme == u"http" && url.scheme == u"http");
}

bool expressionMatches(const std::string& expression, const WebAddress& url,
                       const std::optional<Origin>& self, int redirectCount) {
    const std::string e = asciiLowered(expression);
    if (e == "*") {
        return url.scheme == u"http" || url.scheme == u"https" || url.scheme == u"ws" ||
               url.scheme == u"wss" || (self && url.scheme == self->scheme);
    }
    if (const auto scheme = schemeSource(expression)) return schemePartMatches(*scheme, url.scheme);
    if (e == "'self'") return self && sameOriginOrUpgrade(*self, url);
    if (e.starts_with('\'')) return false;  // other keywords, nonces and hashes name no address
    const auto source = hostSource(expression);
    if (!source || url.host.isEmpty()) return false;
    const QString pageScheme = self ? self->scheme : QStringLiteral("http");
    if (!schemePartMatches(source->scheme.value_or(pageScheme), url.scheme)) return false;
    if (!hostPartMatches(source->host, url.host)) return false;
    if (!portPartMatches(source->port, url)) return false;
    if (redirectCount == 0 && !pathPartMatches(source->path, url.path)) return false;
    return true;
}

}  // namespace

std::vector<Directive> parsePolicy(std::string_view serialized) {
    std::vector<Directive> policy;
    std::size_t start = 0;
    while (start <= serialized.size()) {
        std::size_t end = serialized.find(';', start);
        if (end == std::string_view::npos) end = serialized.size();
        std::size_t i = start;
        while (i < end && isAsciiSpace(serialized[i])) ++i;
        const std::size_t nameAt = i;
        while (i < end && !isAsciiSpace(serialized[i])) ++i;
        const std::string name = asciiLowered(serialized.substr(nameAt, i - nameAt));
        const bool token = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return isAsciiAlpha(c) || isAsciiDigit(c) || c == '-';
        });
        if (token && !findDirective(policy, name)) {
            Directive d{name, {}, nameAt};
            while (i < end) {
                while (i < end && isAsciiSpace(serialized[i])) ++i;
                const std::size_t from = i;
                while (i < end && !isAsciiSpace(serialized[i])) ++i;
                if (i > from) d.sources.emplace_back(serialized.substr(from, i - from));
            }
            policy.push_back(std::move(d));
        }
        start = end + 1;
    }
    return policy;
}

const Directive* findDirective(const std::vector<Directive>& policy, std::string_view name) {
    for (const Directive& d : policy) {
        if (d.name == name) return &d;
    }
    return nullptr;
}

bool allows(const std::vector<std::string>& sourceList, const WebAddress& url,
            const std::optional<Origin>& self, int redirectCount) {
    if (sourceList.empty()) return false;
    if (sourceList.size() == 1 && asciiLowered(sourceList.front()) == "'none'") return false;
    return std::any_of(sourceList.begin(), sourceList.end(), [&](const std::string& e) {
        return expressionMatches(e, url, self, redirectCount);
    });
}

}  // namespace host::formcheck::csp
