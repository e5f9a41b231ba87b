// The marker syntaxes of template engines, mail-merge and word-processor templates, matched
// on the value and on its unescaped forms.
#include "host/formcheck/tool_markers.h"

#include <QRegularExpression>
#include <QUrl>

#include <array>
#include <utility>

namespace host::formcheck {
namespace {

// Marker syntaxes that ordinary text does not contain: their content stays on one line and
// is short.
const QRegularExpression& textMarkers() {
    static const QRegularExpression re(
        QStringLiteral(R"(\{\{[^}\n]{0,80}\}\})"                                   // {{LIST_ID}}
                       R"(|\{%[^\n]{0,80}?%\})"                                    // {% name %}
                       R"(|\[\[[^\]\n]{0,80}\]\])"                                 // [[name]]
                       R"(|\[\s*(?:your|insert|enter|add|type)\b[^\]\n]{0,80}\])"  // [Your heading]
                       R"(|\$\{[^}\n]{0,80}\})"                                    // ${name}
                       R"(|<<[^\s<>][^<>\n]{0,79}>>)"                              // <<NAME>>
                       R"(|\*\|[^|\n]{1,80}\|\*)"                                  // *|NAME|*
                       R"(|%([A-Za-z_][A-Za-z0-9_.:-]{1,40})%)"),                  // %NAME%
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

// In a value that is one id, any bracketed or sigil-led name is a marker as well.
const QRegularExpression& identifierMarkers() {
    static const QRegularExpression re(QStringLiteral(
        R"(\{[^{}\n]{1,80}\}|\[[^\[\]\n]{1,80}\]|<[^<>\n]{1,80}>|\$[A-Za-z_]\w*|__\w+__)"));
    return re;
}

bool isHex(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A %NAME% whose percent signs each start an escape ("%E2%80%99", "%ABC%20") is an encoded
// address, not a marker.
bool readsAsEscapes(QStringView value, qsizetype begin, qsizetype end) {
    const auto escape = [&](qsizetype at) {
        return at + 2 < value.size() && isHex(value[at + 1]) && isHex(value[at + 2]);
    };
    return escape(begin) && escape(end - 1);
}

std::optional<QString> firstMarker(QStringView value, bool identifier) {
    auto it = textMarkers().globalMatch(value);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.capturedLength(1) > 0 && readsAsEscapes(value, m.capturedStart(), m.capturedEnd()))
            continue;
        return m.captured();
    }
    if (identifier) {
        const auto m = identifierMarkers().match(value);
        if (m.hasMatch()) return m.captured();
    }
    return std::nullopt;
}

// Character references that write marker punctuation; the parser has read the page's own
// once, so these are the ones written twice over (&amp;lt;) or shown as text.
QString withReferencesRead(QString text) {
    static const QRegularExpression ref(
        QStringLiteral(R"(&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z]+);)"));
    static const std::array<std::pair<const char16_t*, char16_t>, 19> kNamed{{
        {u"lt", u'<'},     {u"gt", u'>'},     {u"amp", u'&'},    {u"quot", u'"'},
        {u"apos", u'\''},  {u"lbrace", u'{'}, {u"rbrace", u'}'}, {u"lcub", u'{'},
        {u"rcub", u'}'},   {u"lsqb", u'['},   {u"rsqb", u']'},   {u"lbrack", u'['},
        {u"rbrack", u']'}, {u"percnt", u'%'}, {u"dollar", u'$'}, {u"verbar", u'|'},
        {u"vert", u'|'},   {u"ast", u'*'},    {u"midast", u'*'},
    }};
    QString out;
    qsizetype from = 0;
    auto it = ref.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString name = m.captured(1);
        QString replacement;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
            const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            const char32_t c = code;
            if (ok && code > 0 && code <= 0x10FFFF) replacement = QString::fromUcs4(&c, 1);
        } else {
            for (const auto& [entity, c] : kNamed) {
                if (name == QStringView(entity)) replacement = QChar(c);
            }
        }
        if (replacement.isEmpty()) continue;
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += replacement;
        from = m.capturedEnd();
    }
    if (from == 0) return text;
    out += QStringView(text).mid(from);
    return out;
}

QString withPercentEscapesRead(const QString& text) {
    static const QRegularExpression escape(QStringLiteral("%[0-9A-Fa-f]{2}"));
    if (!text.contains(escape)) return text;
    return QUrl::fromPercentEncoding(text.toUtf8());
}

QString withBackslashesRead(QString text) {
    static const QRegularExpression escaped(QStringLiteral(R"(\\([{}\[\]%$<>|*]))"));
    return text.replace(escaped, QStringLiteral("\\1"));
}

}  // namespace

std::optional<QString> findToolMarker(QStringView value, bool identifier) {
    if (auto found = firstMarker(value, identifier)) return found;
    // Each reading on top of the one before: "&amp;#123;" and "%5C%7B" unescape in two steps.
    QString previous = value.toString();
    for (int step = 0; step < 3; ++step) {
        QString next = step == 0   ? withReferencesRead(previous)
                       : step == 1 ? withPercentEscapesRead(previous)
                                   : withBackslashesRead(previous);
        if (next != previous) {
            if (auto found = firstMarker(next, identifier)) return found;
            previous = std::move(next);
        }
    }
    return std::nullopt;
}

}  // namespace host::formcheck
