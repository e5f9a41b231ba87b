// The doctype identifier rules for quirks mode, from the HTML standard's "initial" mode.
#include "host/page/quirks_mode.h"
#include "platform/text/ascii.h"

#include <gumbo.h>

#include <algorithm>
#include <string>

namespace host::page {
namespace {

constexpr std::string_view kQuirksPublicPrefixes[] = {
    "+//silmaril//dtd html pro v0r11 19970101//",
    "-//as//dtd html 3.0 aswedit + extensions//",
    "-//advasoft ltd//dtd html 3.0 aswedit + extensions//",
    "-//ietf//dtd html 2.0 level 1//",
    "-//ietf//dtd html 2.0 level 2//",
    "-//ietf//dtd html 2.0 strict level 1//",
    "-//ietf//dtd html 2.0 strict level 2//",
    "-//ietf//dtd html 2.0 strict//",
    "-//ietf//dtd html 2.0//",
    "-//ietf//dtd html 2.1e//",
    "-//ietf//dtd html 3.0//",
    "-//ietf//dtd html 3.2 final//",
    "-//ietf//dtd html 3.2//",
    "-//ietf//dtd html 3//",
    "-//ietf//dtd html level 0//",
    "-//ietf//dtd html level 1//",
    "-//ietf//dtd html level 2//",
    "-//ietf//dtd html level 3//",
    "-//ietf//dtd html strict level 0//",
    "-//ietf//dtd html strict level 1//",
    "-//ietf//dtd html strict level 2//",
    "-//ietf//dtd html strict level 3//",
    "-//ietf//dtd html strict//",
    "-//ietf//dtd html//",
    "-//metrius//dtd metrius presentational//",
    "-//microsoft//dtd internet explorer 2.0 html strict//",
    "-//microsoft//dtd internet explorer 2.0 html//",
    "-//microsoft//dtd internet explorer 2.0 tables//",
    "-//microsoft//dtd internet explorer 3.0 html strict//",
    "-//microsoft//dtd internet explorer 3.0 html//",
    "-//microsoft//dtd internet explorer 3.0 tables//",
    "-//netscape comm. corp.//dtd html//",
    "-//netscape comm. corp.//dtd strict html//",
    "-//o'reilly and associates//dtd html 2.0//",
    "-//o'reilly and associates//dtd html extended 1.0//",
    "-//o'reilly and associates//dtd html extended relaxed 1.0//",
    "-//sq//dtd html 2.0 hotmetal + extensions//",
    "-//softquad software//dtd hotmetal pro 6.0::19990601::extensions to html 4.0//",
    "-//softquad//dtd hotmetal pro 4.0::19971010::extensions to html 4.0//",
    "-//spyglass//dtd html 2.0 extended//",
    "-//sun microsystems corp.//dtd hotjava html//",
    "-//sun microsystems corp.//dtd hotjava strict html//",
    "-//w3c//dtd html 3 1995-03-24//",
    "-//w3c//dtd html 3.2 draft//",
    "-//w3c//dtd html 3.2 final//",
    "-//w3c//dtd html 3.2//",
    "-//w3c//dtd html 3.2s draft//",
    "-//w3c//dtd html 4.0 frameset//",
    "-//w3c//dtd html 4.0 transitional//",
    "-//w3c//dtd html experimental 19960712//",
    "-//w3c//dtd html experimental 970421//",
    "-//w3c//dtd w3 html//",
    "-//w3o//dtd w3 html 3.0//",
    "-//webtechs//dtd mozilla html 2.0//",
    "-//webtechs//dtd mozilla html//",
};
constexpr std::string_view kQuirksPublicIds[] = {"-//w3o//dtd w3 html strict 3.0//en//",
                                                 "-/w3c/dtd html 4.0 transitional/en", "html"};
constexpr std::string_view kQuirksWithoutSystemPrefixes[] = {
    "-//w3c//dtd html 4.01 frameset//", "-//w3c//dtd html 4.01 transitional//"};
constexpr std::string_view kQuirksSystemId =
    "http://www.ibm.com/data/dtd/v11/ibmxhtml1-transitional.dtd";

bool quirksByIdentifiers(std::string_view publicId, std::string_view systemId) {
    const std::string p = platform::text::asciiLowered(publicId);
    const std::string s = platform::text::asciiLowered(systemId);
    auto startsWithAny = [&](const auto& list) {
        return std::any_of(std::begin(list), std::end(list),
                           [&](std::string_view prefix) { return p.starts_with(prefix); });
    };
    if (std::find(std::begin(kQuirksPublicIds), std::end(kQuirksPublicIds), p) !=
        std::end(kQuirksPublicIds)) {
        return true;
    }
    if (s == kQuirksSystemId || startsWithAny(kQuirksPublicPrefixes)) return true;
    return s.empty() && startsWithAny(kQuirksWithoutSystemPrefixes);
}

}  // namespace

std::optional<LegacyDoctype> legacyQuirksDoctype(std::string_view text) {
    // The doctype token ends at the first '>' after "<!doctype"; parse just that far.
    std::size_t at = 0;
    for (; at + 9 <= text.size(); ++at) {
        if (text[at] == '<' && platform::text::asciiLowered(text.substr(at, 9)) == "<!doctype") break;
    }
    if (at + 9 > text.size()) return std::nullopt;
    const std::size_t close = text.find('>', at);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string head(text.substr(0, close + 1));
    GumboOutput* out = gumbo_parse_with_options(&kGumboDefaultOptions, head.data(), head.size());
    const GumboDocument& d = out->document->v.document;
    const bool legacy = d.has_doctype && d.doc_type_quirks_mode != GUMBO_DOCTYPE_QUIRKS &&
                        quirksByIdentifiers(d.public_identifier, d.system_identifier);
    gumbo_destroy_output(&kGumboDefaultOptions, out);
    if (!legacy) return std::nullopt;
    // The name follows "<!doctype" and white space; its last character is changed for the
    // parse (gumbo puts any doctype not named "html" into quirks mode).
    std::size_t name = at + 9;
    while (name < close && std::isspace(static_cast<unsigned char>(text[name]))) ++name;
    std::size_t end = name;
    while (end < close && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
    if (end == name) return std::nullopt;
    return LegacyDoctype{end - 1};
}

}  // namespace host::page
