// Fragment parsing with gumbo, corrected where gumbo's own fragment mode parts from browsers.
//
// Gumbo's fragment mode always parses as a standards-mode document and never sets the form
// element pointer. For the many contexts that parse "in body", a whole document of the
// snippet behind "<body>" (with the page's quirks mode from the doctype) builds the same
// nodes, so that is used; an enclosing form is stood in for by a "<form>" written before the
// snippet and unwrapped afterwards, which has the same effect on the snippet's own form tags.
#include "host/page/html_fragment.h"

#include <string_view>

#include "host/page/gumbo_tree.h"
#include "host/page/page_errors.h"
#include "host/page/text_position.h"

namespace host::page {
namespace {

enum class ContextKind { inBody, table, unsupported };

ContextKind kindOf(const GumboNode* context) {
    if (context->v.element.tag_namespace != GUMBO_NAMESPACE_HTML || readsTextLiterally(context)) {
        return ContextKind::unsupported;
    }
    switch (context->v.element.tag) {
        case GUMBO_TAG_TABLE:
        case GUMBO_TAG_TBODY:
        case GUMBO_TAG_THEAD:
        case GUMBO_TAG_TFOOT:
        case GUMBO_TAG_TR:
        case GUMBO_TAG_TD:
        case GUMBO_TAG_TH:
        case GUMBO_TAG_CAPTION:
        case GUMBO_TAG_COLGROUP:
            return ContextKind::table;
        case GUMBO_TAG_HTML:
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_FRAMESET:
        case GUMBO_TAG_TEMPLATE:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_OPTGROUP:
        case GUMBO_TAG_OPTION:
        case GUMBO_TAG_DATALIST:
        case GUMBO_TAG_NOSCRIPT:
            return ContextKind::unsupported;
        default:
            return ContextKind::inBody;
    }
}

bool insideForm(const GumboNode* context) {
    for (const GumboNode* n = context; n && n->type != GUMBO_NODE_DOCUMENT; n = n->parent) {
        if (isHtml(n, GUMBO_TAG_FORM)) return true;
    }
    return false;
}

// Replaces the stand-in form (the element whose start tag is at `formAt` in the parsed
// text) by its children.
void unwrapStandInForm(Fragment& f, std::size_t formAt) {
    for (std::size_t i = 0; i < f.nodes.size(); ++i) {
        const GumboNode* n = f.nodes[i];
        if (isHtml(n, GUMBO_TAG_FORM) &&
            f.parse->offsetOf(n->v.element.original_tag.data) == formAt) {
            auto kids = childrenOf(n);
            f.nodes.erase(f.nodes.begin() + static_cast<std::ptrdiff_t>(i));
            f.nodes.insert(f.nodes.begin() + static_cast<std::ptrdiff_t>(i), kids.begin(),
                           kids.end());
            return;
        }
    }
}

// In a quirks-mode page a <table> start tag does not close an open <p>; gumbo's fragment
// mode always closes it. Finds whether that happened.
bool tableClosedParagraph(const Fragment& f) {
    std::vector<const GumboNode*> pending(f.nodes.begin(), f.nodes.end());
    std::vector<const GumboNode*> siblings;
    auto check = [](std::span<const GumboNode* const> list) {
        for (std::size_t i = 0; i + 1 < list.size(); ++i) {
            if (isHtml(list[i], GUMBO_TAG_P) && isHtml(list[i + 1], GUMBO_TAG_TABLE) &&
                list[i]->v.element.end_pos.offset == list[i + 1]->v.element.start_pos.offset) {
                return true;
            }
        }
        return false;
    };
    if (check(f.nodes)) return true;
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        auto kids = childrenOf(n);
        if (check(kids)) return true;
        pending.insert(pending.end(), kids.begin(), kids.end());
    }
    return false;
}

Fragment parseInBody(const ParsedHtml& page, const GumboNode* context, const std::string& html,
                     const ParseLimits& limits) {
    std::string text = page.quirks() ? "" : "<!DOCTYPE html>";
    text += "<html><head></head><body>";
    std::size_t formAt = std::string::npos;
    if (insideForm(context)) {
        formAt = text.size();
        text += "<form>";
    }
    text += html;
    Fragment f;
    f.parse = ParsedHtml::parse(std::move(text), limits);
    // A snippet that ends the body and then writes comments puts them outside the body,
    // where a fragment parse would keep them; such snippets go to the other parser.
    auto top = childrenOf(f.parse->document());
    auto inHtml = childrenOf(f.parse->root());
    if (top.size() != 1 || inHtml.size() != 2 || !isHtml(inHtml[1], GUMBO_TAG_BODY)) {
        f.parse.reset();
        return f;
    }
    auto inBody = childrenOf(inHtml[1]);
    f.nodes.assign(inBody.begin(), inBody.end());
    if (formAt != std::string::npos) unwrapStandInForm(f, formAt);
    return f;
}

Fragment parseWithGumboContext(const ParsedHtml& page, const GumboNode* context,
                               const std::string& html, const ParseLimits& limits,
                               const char* source) {
    std::string text;
    std::size_t formAt = std::string::npos;
    if (insideForm(context)) {
        formAt = 0;
        text = "<form>";
    }
    text += html;
    Fragment f;
    f.parse = ParsedHtml::parse(std::move(text), limits,
                                {context->v.element.tag, context->v.element.tag_namespace});
    auto kids = childrenOf(f.parse->root());
    f.nodes.assign(kids.begin(), kids.end());
    if (formAt != std::string::npos) unwrapStandInForm(f, formAt);
    if (page.quirks() && tableClosedParagraph(f)) {
        fail(com::errc::invalidProcedureCall,
             "The HTML cannot be placed inside " + placeOf(page, context) +
                 ": in a page without a standards doctype a <table> inside an open <p> parses "
                 "differently, and that case is not supported. Close the <p> before the "
                 "<table>, or add <!DOCTYPE html> at the top of the page, and try again. The "
                 "page was not changed.",
             source);
    }
    return f;
}

}  // namespace

Fragment parseFragment(const ParsedHtml& page, const GumboNode* context, const std::string& html,
                       const ParseLimits& limits, const char* source) {
    switch (kindOf(context)) {
        case ContextKind::unsupported:
            fail(com::errc::invalidProcedureCall,
                 "HTML cannot be inserted into " + placeOf(page, context) +
                     ": this editor cannot check such an edit against the page a browser "
                     "builds. Use a <div> there instead. The page was not changed.",
                 source);
        case ContextKind::inBody: {
            Fragment f = parseInBody(page, context, html, limits);
            if (f.parse) return f;
            return parseWithGumboContext(page, context, html, limits, source);
        }
        case ContextKind::table:
            break;
    }
    return parseWithGumboContext(page, context, html, limits, source);
}

}  // namespace host::page
