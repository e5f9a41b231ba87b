// The fragment serializer; iterative, as a page may nest deeper than the call stack allows.
#include "host/page/html_serializer.h"

#include <vector>

#include "host/page/gumbo_tree.h"

namespace host::page {
namespace {

void appendEscaped(std::string& out, const char* text, bool inAttribute) {
    for (const char* p = text; *p; ++p) {
        switch (*p) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                if (inAttribute) {
                    out += "&quot;";
                    break;
                }
                [[fallthrough]];
            default:
                if (p[0] == '\xC2' && p[1] == '\xA0') {  // no-break space, as browsers write it
                    out += "&nbsp;";
                    ++p;
                } else {
                    out += *p;
                }
        }
    }
}

void appendStartTag(std::string& out, const GumboNode* element) {
    out += '<';
    out += serializedName(element);
    const GumboVector& attributes = element->v.element.attributes;
    for (unsigned i = 0; i < attributes.length; ++i) {
        const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
        out += ' ';
        switch (a->attr_namespace) {
            case GUMBO_ATTR_NAMESPACE_XLINK:
                out += "xlink:";
                break;
            case GUMBO_ATTR_NAMESPACE_XML:
                out += "xml:";
                break;
            case GUMBO_ATTR_NAMESPACE_XMLNS:
                if (std::string_view(a->name) != "xmlns") out += "xmlns:";
                break;
            default:
                break;
        }
        out += a->name;
        out += "=\"";
        appendEscaped(out, a->value, true);
        out += '"';
    }
    out += '>';
    // The parser drops one newline right after these start tags; keep a leading one.
    const GumboTag tag = element->v.element.tag;
    if (element->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
        (tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_TEXTAREA || tag == GUMBO_TAG_LISTING)) {
        auto kids = childrenOf(element);
        if (!kids.empty() && isTextLike(kids[0]) && kids[0]->v.text.text[0] == '\n') out += '\n';
    }
}

}  // namespace

std::string serializeNodes(std::span<const GumboNode* const> nodes, const GumboNode* parent) {
    std::string out;
    // Each entry: a node to write, or (closing) an element whose end tag is due.
    struct Step {
        const GumboNode* node;
        const GumboNode* parent;
        bool closing;
    };
    std::vector<Step> pending;
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
        pending.push_back({*it, parent, false});
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        const GumboNode* n = step.node;
        if (step.closing) {
            out += "</" + serializedName(n) + ">";
            continue;
        }
        switch (n->type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE: {
                appendStartTag(out, n);
                if (isVoid(n)) break;
                pending.push_back({n, step.parent, true});
                auto kids = childrenOf(n);
                for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
                    pending.push_back({*it, n, false});
                }
                break;
            }
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
                if (writesTextRaw(step.parent)) {
                    out += n->v.text.text;
                } else {
                    appendEscaped(out, n->v.text.text, false);
                }
                break;
            case GUMBO_NODE_COMMENT:
                out += "<!--";
                out += n->v.text.text;
                out += "-->";
                break;
            case GUMBO_NODE_CDATA:
                out += "<![CDATA[";
                out += n->v.text.text;
                out += "]]>";
                break;
            case GUMBO_NODE_DOCUMENT:
                break;
        }
    }
    return out;
}

}  // namespace host::page
