// Template text: the Windows-1252 fallback and UTF-16 for templates, and byte-order mark removal.
// templates.
#include "wizard/snippet/template_text.h"

#include "platform/text/utf8.h"
#include "platform/text/windows1252.h"

namespace ostrel {
namespace {

using platform::text::appendUtf8;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// UTF-16 after its byte-order mark (bytes from offset 2 on), as UTF-8.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 2;
    for (; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = unitAt(i);
        if (unit < 0xD800 || unit > 0xDFFF) {
            appendUtf8(out, unit);
            continue;
        }
        const char16_t low = unit <= 0xDBFF && i + 3 < bytes.size() ? unitAt(i + 2) : 0;
        if (low < 0xDC00 || low > 0xDFFF) {
            throw TemplateTextError("it is not valid UTF-16: a lone surrogate at byte " +
                                    std::to_string(i));
        }
        appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
    }
    if (i < bytes.size()) {
        throw TemplateTextError("it is not valid UTF-16: it ends with half a character");
    }
    return out;
}

}  // namespace

std::string decodeTemplateText(std::string bytes) {
    const std::string_view view(bytes);
    if (view.starts_with("\xFF\xFE")) return utf16ToUtf8(view, false);
    if (view.starts_with("\xFE\xFF")) return utf16ToUtf8(view, true);
    if (!platform::text::isValidUtf8(bytes)) return platform::text::windows1252ToUtf8(bytes);
    if (std::string_view(bytes).starts_with(kUtf8Bom)) bytes.erase(0, kUtf8Bom.size());
    return bytes;
}

}  // namespace ostrel
