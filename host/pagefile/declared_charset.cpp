// The byte prescan for <meta charset>, and the encoding labels browsers accept.
#include "host/pagefile/declared_charset.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/text/ascii.h"

namespace host {
using platform::text::asciiLower;
using platform::text::isAsciiAlpha;
using platform::text::isAsciiSpace;

namespace {

struct Encoding {
    std::string_view name;
    std::string_view labels;  // space-separated, lower case
    bool convertible = true;
};

// The labels of the web's encodings. Every label outside this table is ignored, as
// browsers ignore it, even where Qt would know it.
constexpr std::array kEncodings = {
    Encoding{"UTF-8", "unicode-1-1-utf-8 unicode11utf8 unicode20utf8 utf-8 utf8 x-unicode20utf8"},
    Encoding{"IBM866", "866 cp866 csibm866 ibm866"},
    Encoding{"ISO-8859-2",
             "csisolatin2 iso-8859-2 iso-ir-101 iso8859-2 iso88592 iso_8859-2 iso_8859-2:1987 l2 "
             "latin2"},
    Encoding{"ISO-8859-3",
             "csisolatin3 iso-8859-3 iso-ir-109 iso8859-3 iso88593 iso_8859-3 iso_8859-3:1988 l3 "
             "latin3"},
    Encoding{"ISO-8859-4",
             "csisolatin4 iso-8859-4 iso-ir-110 iso8859-4 iso88594 iso_8859-4 iso_8859-4:1988 l4 "
             "latin4"},
    Encoding{"ISO-8859-5",
             "csisolatincyrillic cyrillic iso-8859-5 iso-ir-144 iso8859-5 iso88595 iso_8859-5 "
             "iso_8859-5:1988"},
    Encoding{"ISO-8859-6",
             "arabic asmo-708 csiso88596e csiso88596i csisolatinarabic ecma-114 iso-8859-6 "
             "iso-8859-6-e iso-8859-6-i iso-ir-127 iso8859-6 iso88596 iso_8859-6 "
             "iso_8859-6:1987"},
    Encoding{"ISO-8859-7",
             "csisolatingreek ecma-118 elot_928 greek greek8 iso-8859-7 iso-ir-126 iso8859-7 "
             "iso88597 iso_8859-7 iso_8859-7:1987 sun_eu_greek"},
    Encoding{"ISO-8859-8",
             "csiso88598e csisolatinhebrew hebrew iso-8859-8 iso-8859-8-e iso-ir-138 iso8859-8 "
             "iso88598 iso_8859-8 iso_8859-8:1988 visual csiso88598i iso-8859-8-i logical"},
    Encoding{"ISO-8859-10", "csisolatin6 iso-8859-10 iso-ir-157 iso8859-10 iso885910 l6 latin6"},
    Encoding{"ISO-8859-13", "iso-8859-13 iso8859-13 iso885913"},
    Encoding{"ISO-8859-14", "iso-8859-14 iso8859-14 iso885914"},
    Encoding{"ISO-8859-15", "csisolatin9 iso-8859-15 iso8859-15 iso885915 iso_8859-15 l9"},
    Encoding{"ISO-8859-16", "iso-8859-16", false},
    Encoding{"KOI8-R", "cskoi8r koi koi8 koi8-r koi8_r"},
    Encoding{"KOI8-U", "koi8-ru koi8-u"},
    Encoding{"macintosh", "csmacintosh mac macintosh x-mac-roman"},
    Encoding{"windows-874", "dos-874 iso-8859-11 iso8859-11 iso885911 tis-620 windows-874"},
    Encoding{"windows-1250", "cp1250 windows-1250 x-cp1250"},
    Encoding{"windows-1251", "cp1251 windows-1251 x-cp1251"},
    // x-user-defined in a <meta> reads as windows-1252.
    Encoding{"windows-1252",
             "ansi_x3.4-1968 ascii cp1252 cp819 csisolatin1 ibm819 iso-8859-1 iso-ir-100 "
             "iso8859-1 iso88591 iso_8859-1 iso_8859-1:1987 l1 latin1 us-ascii windows-1252 "
             "x-cp1252 x-user-defined"},
    Encoding{"windows-1253", "cp1253 windows-1253 x-cp1253"},
    Encoding{"windows-1254",
             "cp1254 csisolatin5 iso-8859-9 iso-ir-148 iso8859-9 iso88599 iso_8859-9 "
             "iso_8859-9:1989 l5 latin5 windows-1254 x-cp1254"},
    Encoding{"windows-1255", "cp1255 windows-1255 x-cp1255"},
    Encoding{"windows-1256", "cp1256 windows-1256 x-cp1256"},
    Encoding{"windows-1257", "cp1257 windows-1257 x-cp1257"},
    Encoding{"windows-1258", "cp1258 windows-1258 x-cp1258"},
    Encoding{"x-mac-cyrillic", "x-mac-cyrillic x-mac-ukrainian"},
    Encoding{"GBK",
             "chinese csgb2312 csiso58gb231280 gb2312 gb_2312 gb_2312-80 gbk iso-ir-58 x-gbk"},
    Encoding{"gb18030", "gb18030"},
    Encoding{"Big5", "big5 big5-hkscs cn-big5 csbig5 x-x-big5"},
    Encoding{"EUC-JP", "cseucpkdfmtjapanese euc-jp x-euc-jp"},
    Encoding{"ISO-2022-JP", "csiso2022jp iso-2022-jp"},
    Encoding{"Shift_JIS", "csshiftjis ms932 ms_kanji shift-jis shift_jis sjis windows-31j x-sjis"},
    Encoding{"EUC-KR",
             "cseuckr csksc56011987 euc-kr iso-ir-149 korean ks_c_5601-1987 ks_c_5601-1989 "
             "ksc5601 ksc_5601 windows-949"},
    // Browsers show a page declared in these as one replacement character.
    Encoding{"replacement",
             "csiso2022kr hz-gb-2312 iso-2022-cn iso-2022-cn-ext iso-2022-kr replacement", false},
    // Bytes without a byte order mark are not UTF-16: a <meta> naming it means UTF-8.
    Encoding{"UTF-8",
             "unicodefffe utf-16be csunicode iso-10646-ucs-2 ucs-2 unicode unicodefeff utf-16 "
             "utf-16le"},
};

bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view prefix) {
    if (at > s.size() || s.size() - at < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(s[at + i]) != prefix[i]) return false;
    }
    return true;
}

struct Attribute {
    std::string name;
    std::string value;
};

// One attribute of a tag, as the prescan reads it; nothing at the tag's end.
std::optional<Attribute> nextAttribute(std::string_view s, std::size_t& pos) {
    while (pos < s.size() && (isAsciiSpace(s[pos]) || s[pos] == '/')) ++pos;
    if (pos >= s.size() || s[pos] == '>') return std::nullopt;
    Attribute a;
    while (pos < s.size()) {
        const char c = s[pos];
        if (c == '=' && !a.name.empty()) break;
        if (isAsciiSpace(c) || c == '/' || c == '>') break;
        a.name += asciiLower(c);
        ++pos;
    }
    while (pos < s.size() && isAsciiSpace(s[pos])) ++pos;
    if (pos >= s.size() || s[pos] != '=') return a;
    ++pos;
    while (pos < s.size() && isAsciiSpace(s[pos])) ++pos;
    if (pos < s.size() && (s[pos] == '"' || s[pos] == '\'')) {
        const char quote = s[pos++];
        while (pos < s.size() && s[pos] != quote) a.value += asciiLower(s[pos++]);
        ++pos;
        return a;
    }
    while (pos < s.size() && !isAsciiSpace(s[pos]) && s[pos] != '>') a.value += asciiLower(s[pos++]);
    return a;
}

// The charset named in a Content-Type value such as "text/html; charset=iso-8859-2".
std::optional<std::string> charsetInContent(std::string_view content) {
    std::size_t pos = 0;
    while ((pos = content.find("charset", pos)) != std::string_view::npos) {
        pos += 7;
        while (pos < content.size() && isAsciiSpace(content[pos])) ++pos;
        if (pos >= content.size() || content[pos] != '=') continue;
        ++pos;
        while (pos < content.size() && isAsciiSpace(content[pos])) ++pos;
        if (pos >= content.size()) return std::nullopt;
        if (content[pos] == '"' || content[pos] == '\'') {
            const std::size_t end = content.find(content[pos], pos + 1);
            if (end == std::string_view::npos) return std::nullopt;
            return std::string(content.substr(pos + 1, end - pos - 1));
        }
        std::size_t end = pos;
        while (end < content.size() && !isAsciiSpace(content[end]) && content[end] != ';') ++end;
        return std::string(content.substr(pos, end - pos));
    }
    return std::nullopt;
}

// The encoding a <meta> element declares, its attributes read from `pos`.
std::optional<DeclaredCharset> metaCharset(std::string_view s, std::size_t& pos) {
    std::vector<std::string> seen;
    bool gotPragma = false;
    std::optional<bool> needPragma;
    std::optional<std::string> charset;
    while (auto a = nextAttribute(s, pos)) {
        if (std::find(seen.begin(), seen.end(), a->name) != seen.end()) continue;
        seen.push_back(a->name);
        if (a->name == "http-equiv") {
            gotPragma = gotPragma || a->value == "content-type";
        } else if (a->name == "content" && !charset) {
            if (auto c = charsetInContent(a->value)) {
                charset = std::move(c);
                needPragma = true;
            }
        } else if (a->name == "charset") {
            charset = a->value;
            needPragma = false;
        }
    }
    if (!needPragma || (*needPragma && !gotPragma) || !charset) return std::nullopt;
    return encodingForLabel(*charset);
}

void skipPast(std::string_view s, std::size_t& pos, std::string_view what) {
    const std::size_t at = s.find(what, pos);
    pos = at == std::string_view::npos ? s.size() : at + what.size();
}

}  // namespace

std::optional<DeclaredCharset> encodingForLabel(std::string_view label) {
    while (!label.empty() && isAsciiSpace(label.front())) label.remove_prefix(1);
    while (!label.empty() && isAsciiSpace(label.back())) label.remove_suffix(1);
    if (label.empty()) return std::nullopt;
    std::string wanted;
    for (char c : label) wanted += asciiLower(c);
    for (const Encoding& e : kEncodings) {
        std::string_view labels = e.labels;
        while (!labels.empty()) {
            const std::size_t space = labels.find(' ');
            if (labels.substr(0, space) == wanted)
                return DeclaredCharset{e.name, e.convertible, wanted};
            labels.remove_prefix(space == std::string_view::npos ? labels.size() : space + 1);
        }
    }
    return std::nullopt;
}

std::optional<DeclaredCharset> declaredCharset(std::string_view bytes) {
    const std::string_view s = bytes.substr(0, 1024);
    std::size_t pos = 0;
    while (pos < s.size()) {
        if (s.compare(pos, 4, "<!--") == 0) {
            pos += 2;  // "<!-->" closes the comment it opens
            skipPast(s, pos, "-->");
        } else if (startsWithNoCase(s, pos, "<meta") && pos + 5 < s.size() &&
                   (isAsciiSpace(s[pos + 5]) || s[pos + 5] == '/')) {
            pos += 5;
            if (auto found = metaCharset(s, pos)) return found;
        } else if (s[pos] == '<' && pos + 1 < s.size() &&
                   (isAsciiAlpha(s[pos + 1]) ||
                    (s[pos + 1] == '/' && pos + 2 < s.size() && isAsciiAlpha(s[pos + 2])))) {
            while (pos < s.size() && !isAsciiSpace(s[pos]) && s[pos] != '>') ++pos;
            while (nextAttribute(s, pos)) {
            }
        } else if (s[pos] == '<' && pos + 1 < s.size() &&
                   (s[pos + 1] == '!' || s[pos + 1] == '/' || s[pos + 1] == '?')) {
            skipPast(s, pos, ">");
        } else {
            ++pos;
        }
    }
    return std::nullopt;
}

}  // namespace host
