// Edit placement from verified spans: content range, insertion offsets, closing end tags.
#include "host/page/edit_plan.h"

#include <vector>

#include "host/page/gumbo_tree.h"
#include "host/page/page_errors.h"
#include "host/page/page_model.h"
#include "host/page/source_spans.h"
#include "host/page/text_position.h"

namespace host::page {
namespace {

[[noreturn]] void cannotLocate(const ParsedHtml& page, const GumboNode* element, const char* what,
                               const char* source) {
    fail(com::errc::invalidProcedureCall,
         "The page text around " + placeOf(page, element) + " cannot be edited safely: " + what +
             ". Close its tags as written elsewhere in the page, or edit it by hand. The page "
             "was not changed.",
         source);
}

// Text between an element's tags can hold nodes that the parser put elsewhere in the tree:
// text or elements fostered out of a table, for instance. Replacing that text would delete
// those nodes from the page, so such an element's content is not replaced. White space and
// the end tags of enclosing elements may lie there too; the tree check after the edit
// decides about those.
void refuseForeignContent(const ParsedHtml& page, const SourceOrder& order,
                          const GumboNode* element, std::size_t from, std::size_t to,
                          const char* source) {
    const auto inside = [&](std::size_t offset) { return offset >= from && offset < to; };
    for (const GumboNode* node : nodesStartingWithin(page, order, element, from, to)) {
        bool foreign = false;
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_CDATA) {
            foreign = node->v.text.original_text.length > 0;
        } else if (isElement(node)) {
            // Only a reported position inside the range is worth checking against the text.
            const auto start = startTagSpan(page, node);
            foreign = start && inside(start->begin);
        }
        if (foreign) {
            cannotLocate(page, element,
                         "its text also holds parts of the page that browsers place elsewhere "
                         "(text moved out of a table, for instance), which replacing its content "
                         "would delete",
                         source);
        }
    }
}

}  // namespace

std::string EditPlan::text(std::string_view html, bool ownLine, std::string_view extra,
                           std::string_view lead) const {
    std::string out(lead);
    out += prefix;
    out += extra;
    if (!ownLine || !bodyEnd) return out.append(html);
    out += bodyEnd->lineBefore;
    out += html;
    if (bodyEnd->lineAfter) {
        if (!html.ends_with('\n')) out += bodyEnd->lineBreak;
        out += *bodyEnd->lineAfter;
    }
    return out;
}

EditPlan planEdit(const ParsedHtml& page, const SourceOrder& order, const GumboNode* element,
                  std::optional<AdjacentPosition> where, const char* source) {
    EditPlan plan;
    plan.context = element;
    plan.parent = element;
    const auto kids = childrenOf(element);
    if (!where) {
        const auto begin = contentBegin(page, element);
        const auto end = contentEnd(page, element);
        if (!begin || !end || end->offset < *begin) {
            cannotLocate(page, element, "its content has no place of its own in the text", source);
        }
        // Elements still open at the end lie inside the replaced text: no end tags needed.
        plan.from = *begin;
        plan.to = end->offset;
        refuseForeignContent(page, order, element, plan.from, plan.to, source);
        return plan;
    }
    switch (*where) {
        case AdjacentPosition::afterBegin: {
            const auto begin = contentBegin(page, element);
            if (!begin) cannotLocate(page, element, "its start tag is not written in the text", source);
            plan.from = plan.to = *begin;
            plan.after.assign(kids.begin(), kids.end());
            return plan;
        }
        case AdjacentPosition::beforeEnd: {
            if (isHtml(element, GUMBO_TAG_BODY)) {
                plan.bodyEnd = bodyEnd(page, element, source);
                plan.from = plan.to = plan.bodyEnd->offset;
                plan.prefix = plan.bodyEnd->closers;
                plan.before.assign(kids.begin(), kids.end());
                plan.firstShifted = kids.size();
                return plan;
            }
            const auto end = contentEnd(page, element);
            if (!end) {
                cannotLocate(page, element, "the end of its content has no place of its own in the text",
                             source);
            }
            plan.from = plan.to = end->offset;
            plan.prefix = end->closers;
            plan.before.assign(kids.begin(), kids.end());
            plan.firstShifted = kids.size();
            return plan;
        }
        case AdjacentPosition::beforeBegin:
        case AdjacentPosition::afterEnd:
            break;
    }
    plan.parent = element->parent;
    if (!plan.parent || !isElement(plan.parent)) {
        fail(com::errc::invalidProcedureCall,
             "HTML cannot be inserted outside the <" + lowerName(element) + "> element.", source);
    }
    plan.context = plan.parent;
    const std::size_t i = element->index_within_parent;
    if (*where == AdjacentPosition::beforeBegin) {
        const auto tag = startTagSpan(page, element);
        if (!tag) cannotLocate(page, element, "its start tag is not written in the text", source);
        plan.from = plan.to = tag->begin;
        plan.firstShifted = i;
    } else if (const auto tag = endTagSpan(page, element)) {
        plan.from = plan.to = tag->end;
        plan.firstShifted = i + 1;
    } else {
        // Ended implicitly: close it (and what is open inside it) where its content ends.
        const auto end = contentEnd(page, element);
        if (!end) cannotLocate(page, element, "its end has no place of its own in the text", source);
        plan.from = plan.to = end->offset;
        plan.prefix = end->closers + "</" + lowerName(element) + ">";
        plan.firstShifted = i + 1;
    }
    const auto siblings = childrenOf(plan.parent);
    const auto split = siblings.begin() + static_cast<std::ptrdiff_t>(plan.firstShifted);
    plan.before.assign(siblings.begin(), split);
    plan.after.assign(split, siblings.end());
    return plan;
}

}  // namespace host::page
