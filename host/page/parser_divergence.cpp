// Finds the few constructs where gumbo's parsing rules are older than the browsers'.
#include "host/page/parser_divergence.h"

#include <cctype>
#include <string_view>

#include "host/page/gumbo_tree.h"
#include "host/page/source_spans.h"

namespace host::page {
namespace {

// The tag names written in text[from, to), lower case, end tags with a leading '/'.
std::vector<std::string> tagsIn(std::string_view text, std::size_t from, std::size_t to) {
    std::vector<std::string> names;
    for (std::size_t at = text.find('<', from); at != std::string_view::npos && at < to;
         at = text.find('<', at + 1)) {
        std::size_t i = at + 1;
        std::string name;
        if (i < to && text[i] == '/') {
            name = "/";
            ++i;
        }
        while (i < to && std::isalnum(static_cast<unsigned char>(text[i]))) {
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            ++i;
        }
        const std::size_t first = name.starts_with('/') ? 1 : 0;
        if (name.size() > first && std::isalpha(static_cast<unsigned char>(name[first]))) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

// Markup that old and new rules for <select> content read alike.
bool allowedInSelect(std::string_view name) {
    for (std::string_view ok : {"option", "optgroup", "select", "script", "template", "input",
                                "keygen", "textarea", "/option", "/optgroup", "/select",
                                "/script", "/template"}) {
        if (name == ok) return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> readsUnlikeBrowsers(const ParsedHtml& page,
                                               const std::vector<const GumboNode*>& elements) {
    const std::string_view text(page.text());
    for (const GumboNode* e : elements) {
        if (e->parse_flags & GUMBO_INSERTION_FROM_ISINDEX || isHtml(e, GUMBO_TAG_ISINDEX)) {
            return "an <isindex> element";
        }
        if (e->v.element.tag == GUMBO_TAG_UNKNOWN) {
            if (lowerName(e) == "search") return "a <search> element";
            // Gumbo lets an end tag of any unknown name close any element of unknown name;
            // browsers match names.
            const GumboStringPiece end = e->v.element.original_end_tag;
            const std::size_t at = page.offsetOf(end.data);
            if (end.length > 2 && at != std::string::npos) {
                const auto names = tagsIn(text, at, at + end.length);
                if (!names.empty() && names[0] != "/" + lowerName(e) &&
                    gumbo_tagn_enum(names[0].data() + 1, static_cast<unsigned>(names[0].size() - 1)) ==
                        GUMBO_TAG_UNKNOWN) {
                    return "<" + names[0] + "> closing <" + lowerName(e) + ">";
                }
            }
        }
        if (!isHtml(e, GUMBO_TAG_SELECT)) continue;
        const auto start = startTagSpan(page, e);
        if (!start) return "a <select> element not written as such";
        std::size_t end = text.size();
        if (const auto tag = endTagSpan(page, e)) end = tag->begin;
        for (const std::string& name : tagsIn(text, start->end, end)) {
            if (!allowedInSelect(name)) return "<" + name + "> inside a <select> element";
        }
    }
    return std::nullopt;
}

}  // namespace host::page
