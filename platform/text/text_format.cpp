// Text helpers shared by the per-user file formats.
#include "platform/text/text_format.h"

#include "platform/text/utf8.h"

namespace platform::text {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<TextLine> splitLines(std::string_view text) {
    std::vector<TextLine> lines;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        if (lf == std::string_view::npos) {
            lines.push_back({text, {}});
            break;
        }
        const std::size_t end = (lf > 0 && text[lf - 1] == '\r') ? lf - 1 : lf;
        lines.push_back({text.substr(0, end), text.substr(end, lf + 1 - end)});
        text.remove_prefix(lf + 1);
    }
    return lines;
}

std::string_view withoutByteOrderMark(std::string_view line) {
    if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    return line;
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string quoteText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        const std::size_t n = wellFormedSequenceAt(text, i);
        if (n > 1) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        ++i;
        switch (c) {
            case '\\':
                out += "\\\\";
                continue;
            case '"':
                out += "\\\"";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (n == 1 && u >= 0x20 && u != 0x7F) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        }
    }
    out += '"';
    return out;
}

std::size_t quotedTokenLength(std::string_view text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

std::string unquoteText(std::string_view quoted, std::size_t line) {
    if (quoted.size() < 2 || quoted.front() != '"' || quotedTokenLength(quoted) != quoted.size()) {
        throw TextFormatError(line, "the quoted text has no closing quote, or text follows it");
    }
    const std::string_view body = quoted.substr(1, quoted.size() - 2);
    std::string out;
    out.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\') {
            out += body[i];
            continue;
        }
        const char e = body[++i];  // a backslash never ends the body (see quotedTokenLength)
        switch (e) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                const int hi = i + 1 < body.size() ? hexDigit(body[i + 1]) : -1;
                const int lo = i + 2 < body.size() ? hexDigit(body[i + 2]) : -1;
                if (hi < 0 || lo < 0) {
                    throw TextFormatError(line, "\\x must be followed by two hexadecimal digits");
                }
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                throw TextFormatError(
                    line, std::string("unknown escape \\") + e + " (a backslash is written \\\\)");
        }
    }
    return out;
}

}  // namespace platform::text
