// Names on report lines: plain where that cannot mislead, quoted with escapes otherwise.
#include "host/site/report_name.h"

#include <algorithm>
#include <string_view>

#include "platform/text/text_format.h"
#include "platform/text/utf8.h"

namespace host::site {
namespace {

// Characters that print nothing of their own yet change what the line shows: C1 controls,
// the bidirectional marks, embeddings, overrides and isolates (U+202E shows the rest of a
// line backwards), and the line and paragraph separators.
bool hidden(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The code point of the well-formed sequence of n bytes at s.
char32_t decode(std::string_view s) {
    const auto b = [&](std::size_t i) { return char32_t(static_cast<unsigned char>(s[i])); };
    switch (s.size()) {
        case 2:
            return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
        case 3:
            return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
        case 4:
            return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) |
                   (b(3) & 0x3F);
        default:
            return b(0);
    }
}

}  // namespace

QString reportName(const QByteArray& bytes) {
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    bool plain = platform::text::isValidUtf8(view);
    for (std::size_t i = 0; plain && i < view.size();) {
        const std::size_t n =
            std::max<std::size_t>(1, platform::text::wellFormedSequenceAt(view, i));
        const char32_t c = decode(view.substr(i, n));
        plain = c >= 0x20 && c != 0x7F && c != '"' && c != '\\' && !hidden(c);
        i += n;
    }
    if (plain) return QString::fromUtf8(bytes);
    // quoteText keeps well-formed characters as they are; the hidden ones get the escapes of
    // bytes that are not text, so they show as what they are.
    const std::string quoted = platform::text::quoteText(view);
    std::string out;
    out.reserve(quoted.size());
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < quoted.size();) {
        const std::size_t n =
            std::max<std::size_t>(1, platform::text::wellFormedSequenceAt(quoted, i));
        if (n > 1 && hidden(decode(std::string_view(quoted).substr(i, n)))) {
            for (std::size_t k = 0; k < n; ++k) {
                const auto u = static_cast<unsigned char>(quoted[i + k]);
                out += "\\x";
                out += kHex[u >> 4];
                out += kHex[u & 0xF];
            }
        } else {
            out.append(quoted, i, n);
        }
        i += n;
    }
    return QString::fromUtf8(QByteArray::fromStdString(out));
}

}  // namespace host::site
