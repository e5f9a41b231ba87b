// Gumbo parses on a private arena, given up with an error when they cost too much.
#include "host/page/parsed_html.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "host/page/gumbo_tree.h"
#include "host/page/page_errors.h"
#include "host/page/parse_arena.h"
#include "host/page/quirks_mode.h"
#include "platform/text/ascii.h"

namespace host::page {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::unique_ptr<ParsedHtml> ParsedHtml::parse(std::string text, const ParseLimits& limits,
                                              FragmentContext fragment) {
    // Gumbo keeps offsets in 32 bits.
    if (text.size() >= std::numeric_limits<unsigned int>::max()) {
        fail(com::errc::overflow,
             "The page is too large to edit: " + std::to_string(text.size()) +
                 " bytes (the limit is 4 GB).",
             kDocumentSource);
    }
    std::unique_ptr<ParsedHtml> parsed(new ParsedHtml);
    parsed->m_text = std::move(text);
    const std::string& t = parsed->m_text;
    if (fragment.tag == GUMBO_TAG_LAST && std::string_view(t).starts_with(kByteOrderMark)) {
        parsed->m_skipped = kByteOrderMark.size();
    }
    const double megabytes = double(t.size()) / (1 << 20);
    const auto cpuTimeLimit =
        limits.baseTime +
        std::chrono::duration_cast<std::chrono::nanoseconds>(limits.timePerMegabyte * megabytes);
    const std::size_t memoryLimit = limits.baseMemory + limits.memoryPerSourceByte * t.size();

    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;  // parse errors are not used; recording them costs memory
    options.fragment_context = fragment.tag;
    options.fragment_namespace = fragment.ns;
    // A legacy doctype is read with a changed name so that gumbo parses in quirks mode, as
    // browsers do; the text is restored right after (the tree keeps its own copies).
    std::optional<LegacyDoctype> legacy;
    if (fragment.tag == GUMBO_TAG_LAST) legacy = legacyQuirksDoctype(t);
    std::string& writable = parsed->m_text;
    const char saved = legacy ? writable[legacy->nameAt] : '\0';
    if (legacy) writable[legacy->nameAt] = writable[legacy->nameAt] == '_' ? '-' : '_';
    parsed->m_arena = std::make_unique<ParseArena>(memoryLimit, cpuTimeLimit);
    parsed->m_output =
        parsed->m_arena->run(options, t.data() + parsed->m_skipped, t.size() - parsed->m_skipped);
    if (legacy) writable[legacy->nameAt] = saved;
    if (!parsed->m_output) {
        switch (parsed->m_arena->overrun()) {
            case ParseArena::Overrun::outOfMemory:
                throw std::bad_alloc();
            case ParseArena::Overrun::memory:
                fail(com::errc::overflow,
                     "The page is too complex to edit: reading it needs more memory than "
                     "allowed (it may be nested too deeply).",
                     kDocumentSource);
            default:
                fail(com::errc::overflow,
                     "The page is too complex to edit: reading it takes longer than allowed "
                     "(it may be nested too deeply).",
                     kDocumentSource);
        }
    }
    parsed->repairFormEnds();
    return parsed;
}

ParsedHtml::~ParsedHtml() = default;

namespace {

// The text a run of source adds when the parser makes no node of it (tags in it that were
// ignored, character references, line breaks), or nothing when it would make nodes.
std::optional<std::string> textOfRun(std::string_view run) {
    const std::string copy(run);
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = GUMBO_TAG_DIV;
    options.max_errors = 0;
    GumboOutput* out = gumbo_parse_with_options(&options, copy.data(), copy.size());
    std::optional<std::string> text = std::string();
    for (const GumboNode* n : childrenOf(out->root)) {
        if (!isTextLike(n)) {
            text.reset();
            break;
        }
        *text += n->v.text.text;
    }
    gumbo_destroy_output(&options, out);
    return text;
}

bool startsEndTag(std::string_view text, std::size_t at, std::string_view name) {
    if (text.compare(at, 2, "</") != 0 || at + 2 + name.size() >= text.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (platform::text::asciiLower(text[at + 2 + i]) != name[i]) return false;
    }
    const char after = text[at + 2 + name.size()];
    return after == '>' || after == '/' || after == ' ' || after == '\t' || after == '\n' ||
           after == '\r' || after == '\f';
}

}  // namespace

// Gumbo removes a form from the open elements at </form> without first writing out the text
// that came just before, so that text (typically the line break before </form>) ends up in
// the next text node after the form; browsers keep it as the form's last child. Moves it
// back, where the text shows that this happened.
void ParsedHtml::repairFormEnds() {
    const std::string_view sourceText(m_text);
    bool anyFormEnd = false;
    for (std::size_t at = sourceText.find("</"); at != std::string_view::npos && !anyFormEnd;
         at = sourceText.find("</", at + 2)) {
        anyFormEnd = startsEndTag(sourceText, at, "form");
    }
    if (!anyFormEnd) return;
    std::vector<GumboNode*> forms;
    std::vector<GumboNode*> pending{m_output->document};
    while (!pending.empty()) {
        GumboNode* n = pending.back();
        pending.pop_back();
        GumboVector* kids = n->type == GUMBO_NODE_DOCUMENT ? &n->v.document.children
                            : (n->type == GUMBO_NODE_ELEMENT || n->type == GUMBO_NODE_TEMPLATE)
                                ? &n->v.element.children
                                : nullptr;
        if (!kids) continue;
        if (n->type == GUMBO_NODE_ELEMENT && n->v.element.tag == GUMBO_TAG_FORM &&
            n->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
            n->v.element.end_pos.offset == 0 && n->v.element.original_end_tag.length == 0) {
            forms.push_back(n);
        }
        for (unsigned i = 0; i < kids->length; ++i)
            pending.push_back(static_cast<GumboNode*>(kids->data[i]));
    }
    for (GumboNode* form : forms) {
        GumboNode* parent = form->parent;
        if (!parent || parent->type == GUMBO_NODE_DOCUMENT) continue;
        GumboVector& siblings = parent->v.element.children;
        const unsigned next = static_cast<unsigned>(form->index_within_parent) + 1;
        if (next >= siblings.length) continue;
        auto* text = static_cast<GumboNode*>(siblings.data[next]);
        if (text->type != GUMBO_NODE_TEXT && text->type != GUMBO_NODE_WHITESPACE) continue;
        const std::size_t begin = offsetOf(text->v.text.original_text.data);
        if (begin == std::string::npos) continue;
        const std::string_view span(m_text.data() + begin, text->v.text.original_text.length);
        std::size_t endTag = span.find("</");
        while (endTag != std::string_view::npos && !startsEndTag(span, endTag, "form")) {
            endTag = span.find("</", endTag + 2);
        }
        if (endTag == std::string_view::npos || endTag == 0) continue;
        // Only when that </form> closed this form: none may come earlier inside it.
        const std::size_t contentStart = offsetOf(form->v.element.original_tag.data);
        if (contentStart == std::string::npos || contentStart > begin) continue;
        bool closedEarlier = false;
        const std::string_view source(m_text);
        for (std::size_t at = source.find("</", contentStart);
             at != std::string_view::npos && at < begin; at = source.find("</", at + 2)) {
            if (startsEndTag(source, at, "form")) {
                closedEarlier = true;
                break;
            }
        }
        if (closedEarlier) continue;
        const auto moved = textOfRun(span.substr(0, endTag));
        const std::string_view whole(text->v.text.text);
        if (!moved || !whole.starts_with(*moved)) continue;

        // The form's new last child, or more text for the one it has.
        GumboVector& formKids = form->v.element.children;
        auto* last =
            formKids.length ? static_cast<GumboNode*>(formKids.data[formKids.length - 1]) : nullptr;
        if (last && (last->type == GUMBO_NODE_TEXT || last->type == GUMBO_NODE_WHITESPACE)) {
            std::string joined = std::string(last->v.text.text) + *moved;
            char* copy = static_cast<char*>(m_arena->allocateAfterParse(joined.size() + 1));
            std::memcpy(copy, joined.c_str(), joined.size() + 1);
            last->v.text.text = copy;
            if (text->type == GUMBO_NODE_TEXT) last->type = GUMBO_NODE_TEXT;
        } else {
            auto* node = static_cast<GumboNode*>(m_arena->allocateAfterParse(sizeof(GumboNode)));
            *node = *text;
            char* copy = static_cast<char*>(m_arena->allocateAfterParse(moved->size() + 1));
            std::memcpy(copy, moved->c_str(), moved->size() + 1);
            node->v.text.text = copy;
            node->v.text.original_text.length = endTag;
            node->type = moved->find_first_not_of(" \t\n\f") == std::string::npos
                             ? GUMBO_NODE_WHITESPACE
                             : GUMBO_NODE_TEXT;
            node->parent = form;
            node->index_within_parent = formKids.length;
            void** grown = static_cast<void**>(
                m_arena->allocateAfterParse(sizeof(void*) * (formKids.length + 1)));
            if (formKids.length) std::memcpy(grown, formKids.data, sizeof(void*) * formKids.length);
            grown[formKids.length] = node;
            formKids.data = grown;
            formKids.length += 1;
            formKids.capacity = formKids.length;
        }
        // What is left of the text after the form, if anything.
        if (whole.size() == moved->size()) {
            for (unsigned i = next; i + 1 < siblings.length; ++i) {
                siblings.data[i] = siblings.data[i + 1];
                static_cast<GumboNode*>(siblings.data[i])->index_within_parent = i;
            }
            siblings.length -= 1;
        } else {
            text->v.text.text += moved->size();
            text->v.text.original_text.data += endTag;
            text->v.text.original_text.length -= endTag;
            text->v.text.start_pos.offset += static_cast<unsigned>(endTag);
            if (std::string_view(text->v.text.text).find_first_not_of(" \t\n\f") ==
                std::string_view::npos) {
                text->type = GUMBO_NODE_WHITESPACE;
            }
        }
    }
}

std::size_t ParsedHtml::offsetOf(const char* p) const {
    const char* begin = m_text.data();
    if (!p || p < begin || p > begin + m_text.size()) return std::string::npos;
    return static_cast<std::size_t>(p - begin);
}

}  // namespace host::page
