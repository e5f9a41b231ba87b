// Read helpers over gumbo's tree; every walk is iterative, as pages may nest very deeply.
#include "host/page/gumbo_tree.h"
#include "platform/text/ascii.h"

#include <cstring>

namespace host::page {

bool writesTextRaw(const GumboNode* element) {
    if (!element || !isElement(element) ||
        element->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) {
        return false;
    }
    switch (element->v.element.tag) {
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_XMP:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_NOEMBED:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_PLAINTEXT:
            return true;
        default:
            return false;
    }
}

bool readsTextLiterally(const GumboNode* element) {
    return writesTextRaw(element) || isHtml(element, GUMBO_TAG_TEXTAREA) ||
           isHtml(element, GUMBO_TAG_TITLE);
}

bool isFormatting(const GumboNode* element) {
    if (!isElement(element) || element->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) {
        return false;
    }
    switch (element->v.element.tag) {
        case GUMBO_TAG_A:
        case GUMBO_TAG_B:
        case GUMBO_TAG_BIG:
        case GUMBO_TAG_CODE:
        case GUMBO_TAG_EM:
        case GUMBO_TAG_FONT:
        case GUMBO_TAG_I:
        case GUMBO_TAG_NOBR:
        case GUMBO_TAG_S:
        case GUMBO_TAG_SMALL:
        case GUMBO_TAG_STRIKE:
        case GUMBO_TAG_STRONG:
        case GUMBO_TAG_TT:
        case GUMBO_TAG_U:
            return true;
        default:
            return false;
    }
}

bool isVoid(const GumboNode* element) {
    if (!isElement(element) || element->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) {
        return false;
    }
    switch (element->v.element.tag) {
        case GUMBO_TAG_AREA:
        case GUMBO_TAG_BASE:
        case GUMBO_TAG_BASEFONT:
        case GUMBO_TAG_BGSOUND:
        case GUMBO_TAG_BR:
        case GUMBO_TAG_COL:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_FRAME:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_INPUT:
        case GUMBO_TAG_KEYGEN:
        case GUMBO_TAG_LINK:
        case GUMBO_TAG_META:
        case GUMBO_TAG_PARAM:
        case GUMBO_TAG_SOURCE:
        case GUMBO_TAG_TRACK:
        case GUMBO_TAG_WBR:
            return true;
        default:
            return false;
    }
}

std::span<const GumboNode* const> childrenOf(const GumboNode* n) {
    const GumboVector* v = nullptr;
    if (n->type == GUMBO_NODE_DOCUMENT) {
        v = &n->v.document.children;
    } else if (isElement(n)) {
        v = &n->v.element.children;
    } else {
        return {};
    }
    return {reinterpret_cast<const GumboNode* const*>(v->data), v->length};
}

std::string lowerName(const GumboNode* element) {
    const GumboElement& e = element->v.element;
    std::string name;
    if (e.tag != GUMBO_TAG_UNKNOWN) {
        name = gumbo_normalized_tagname(e.tag);
    } else {
        GumboStringPiece piece = e.original_tag;
        gumbo_tag_from_original_text(&piece);
        name.assign(piece.data ? piece.data : "", piece.length);
    }
    return platform::text::asciiLowered(name);
}

std::string serializedName(const GumboNode* element) {
    std::string name = lowerName(element);
    if (element->v.element.tag_namespace == GUMBO_NAMESPACE_SVG) {
        GumboStringPiece piece{name.data(), name.size()};
        if (const char* adjusted = gumbo_normalize_svg_tagname(&piece)) return adjusted;
    }
    return name;
}

const char* attributeValue(const GumboNode* element, const char* name) {
    const GumboAttribute* a = gumbo_get_attribute(&element->v.element.attributes, name);
    return a ? a->value : nullptr;
}

std::optional<std::string> decodePlainText(std::string_view source) {
    std::string out;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '&' || c == '<' || c == '\0') return std::nullopt;
        if (c == '\r') {
            out += '\n';
            if (i + 1 < source.size() && source[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

TreePath pathOf(const GumboNode* node) {
    TreePath path;
    for (; node && node->parent; node = node->parent) path.push_back(node->index_within_parent);
    return {path.rbegin(), path.rend()};
}

const GumboNode* nodeAt(const GumboNode* document, const TreePath& path) {
    const GumboNode* n = document;
    for (std::size_t i : path) {
        auto kids = childrenOf(n);
        if (i >= kids.size()) return nullptr;
        n = kids[i];
    }
    return n;
}

std::vector<const GumboNode*> elementsInOrder(const GumboNode* document) {
    std::vector<const GumboNode*> out;
    forEachElement(document, [&](const GumboNode* e) { out.push_back(e); });
    return out;
}

}  // namespace host::page
