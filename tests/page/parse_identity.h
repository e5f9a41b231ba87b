// Whether two parses of the same text made the same tree: node by node, the same kinds,
// tags, text, attributes, flags, positions and spans of source text.
#pragma once

#include <string>

#include "host/page/gumbo_tree.h"
#include "host/page/parsed_html.h"

namespace host::testing {

namespace detail {

class ParseIdentity {
public:
    ParseIdentity(const page::ParsedHtml& a, const page::ParsedHtml& b) : m_a(a), m_b(b) {}

    // The first difference, or "" when there is none.
    std::string firstDifference() {
        node(m_a.document(), m_b.document(), "");
        return m_difference;
    }

private:
    bool differ(bool different, const std::string& what) {
        if (different && m_difference.empty()) m_difference = what + " differs at " + m_path;
        return different;
    }
    void text(const char* what, const GumboStringPiece& x, const GumboStringPiece& y) {
        differ(m_a.offsetOf(x.data) != m_b.offsetOf(y.data) || x.length != y.length,
               std::string("span of ") + what);
    }
    void position(const char* what, const GumboSourcePosition& x, const GumboSourcePosition& y) {
        differ(x.offset != y.offset || x.line != y.line || x.column != y.column,
               std::string("position of ") + what + " (" + std::to_string(x.offset) + ":" +
                   std::to_string(x.line) + ":" + std::to_string(x.column) + " against " +
                   std::to_string(y.offset) + ":" + std::to_string(y.line) + ":" +
                   std::to_string(y.column) + ")");
    }
    void node(const GumboNode* x, const GumboNode* y, const std::string& path) {
        m_path = path.empty() ? "/" : path;
        if (differ(x->type != y->type, "node kind")) return;
        differ(x->parse_flags != y->parse_flags, "parse flags");
        differ(x->index_within_parent != y->index_within_parent, "index in parent");
        if (x->type == GUMBO_NODE_DOCUMENT) {
            differ(x->v.document.doc_type_quirks_mode != y->v.document.doc_type_quirks_mode,
                   "quirks mode");
        } else if (page::isElement(x)) {
            const GumboElement& p = x->v.element;
            const GumboElement& q = y->v.element;
            if (differ(p.tag != q.tag || p.tag_namespace != q.tag_namespace, "tag")) return;
            text("start tag", p.original_tag, q.original_tag);
            text("end tag", p.original_end_tag, q.original_end_tag);
            position("start", p.start_pos, q.start_pos);
            position("end", p.end_pos, q.end_pos);
            if (differ(p.attributes.length != q.attributes.length, "attribute count")) return;
            for (unsigned i = 0; i < p.attributes.length; ++i) {
                const auto* s = static_cast<const GumboAttribute*>(p.attributes.data[i]);
                const auto* t = static_cast<const GumboAttribute*>(q.attributes.data[i]);
                differ(std::string(s->name) != t->name || std::string(s->value) != t->value,
                       "attribute");
                text("attribute name", s->original_name, t->original_name);
                text("attribute value", s->original_value, t->original_value);
                position("attribute name", s->name_start, t->name_start);
                position("attribute name end", s->name_end, t->name_end);
                position("attribute value", s->value_start, t->value_start);
                position("attribute value end", s->value_end, t->value_end);
            }
        } else {
            differ(std::string(x->v.text.text) != y->v.text.text, "text");
            text("text", x->v.text.original_text, y->v.text.original_text);
            position("text", x->v.text.start_pos, y->v.text.start_pos);
        }
        const auto xs = page::childrenOf(x);
        const auto ys = page::childrenOf(y);
        if (differ(xs.size() != ys.size(), "child count")) return;
        for (std::size_t i = 0; i < xs.size() && m_difference.empty(); ++i) {
            if (differ(ys[i]->parent != y, "parent of child " + std::to_string(i))) return;
            node(xs[i], ys[i], path + "/" + std::to_string(i));
        }
    }

    const page::ParsedHtml& m_a;
    const page::ParsedHtml& m_b;
    std::string m_path;
    std::string m_difference;
};

}  // namespace detail

inline std::string firstDifference(const page::ParsedHtml& a, const page::ParsedHtml& b) {
    return detail::ParseIdentity(a, b).firstDifference();
}

}  // namespace host::testing
