// Fuzzes the page document with the add-in's insertion: a random page and snippet, the marker
// "OstrelInsert" looked up, then the snippet put into it or, wrapped in a new marker, at the
// body's end. An edit is either refused with an error and the page left as it was (counted,
// not a finding; FUZZ_SHOW_REFUSALS=1 prints why), or is one replacement that leaves every
// start tag and comment outside the marker's content where it was, after which a fresh parse
// finds the marker holding the snippet and the page's tree with the snippet put in, as a
// browser's DOM operation would make it.
//
// Input fields (separated by 0x1E): the page, the snippet.
#include <gumbo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "com/error.h"
#include "host/page/gumbo_tree.h"
#include "host/page/html_document_object.h"
#include "host/page/html_fragment.h"
#include "host/page/html_serializer.h"
#include "host/page/page_model.h"
#include "tests/fuzz/fuzz_support.h"
#include "testing/addin_operation.h"
#include "tests/page/recording_page_text.h"

namespace {

using host::page::ParsedHtml;

constexpr std::string_view kMarker = "OstrelInsert";

// How many edits were refused, so a run shows how much it really edited.
fuzz::Tally tally("page edits refused");

struct Span {
    std::size_t begin, end;
    std::string what;
};

bool inside(const GumboNode* node, const GumboNode* ancestor) {
    for (; node != nullptr; node = node->parent) {
        if (node == ancestor) return true;
    }
    return false;
}

// The source bytes of every start tag and comment the author wrote outside the content of
// `edited` (the marker's own start tag included); with no element edited, every one. Text is
// left to the tree comparison: gumbo's source span of a text can run on over end tags.
void collectKept(const ParsedHtml& parse, const GumboNode* node, const GumboNode* edited,
                 std::vector<Span>& out) {
    if (node != edited && inside(node, edited)) return;
    // A formatting element the parser opens again, or clones, keeps the source position of
    // the one the author wrote; only that one is the author's tag.
    constexpr unsigned kCopies =
        GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;
    if (host::page::isElement(node) && node->v.element.original_tag.length > 0 &&
        (node->parse_flags & kCopies) == 0) {
        const GumboElement& e = node->v.element;
        const std::size_t at = parse.offsetOf(e.start_pos);
        out.push_back({at, at + e.original_tag.length, "<" + host::page::lowerName(node) + ">"});
    } else if (node->type == GUMBO_NODE_COMMENT && node->v.text.original_text.length > 0) {
        const std::size_t at = parse.offsetOf(node->v.text.start_pos);
        out.push_back({at, at + node->v.text.original_text.length, "a comment"});
    }
    for (const GumboNode* child : host::page::childrenOf(node)) {
        collectKept(parse, child, edited, out);
    }
}

// Where the edit's nodes go in the tree the page had: in place of the marker's children, or
// after the body's last child, as the browser's DOM operation puts them.
struct Graft {
    const GumboNode* at = nullptr;
    bool replacing = false;
    std::vector<const GumboNode*> nodes;
};

// Texts read with each run of white space as one space and none at either end: spacing between
// tags may move across the body's end, which a browser does not render.
std::string collapsed(std::string_view text) {
    std::string out;
    bool space = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

void dumpNode(const GumboNode* node, const Graft& graft, std::string& out);

void dumpChildren(const GumboNode* node, const Graft& graft, std::string& out) {
    std::vector<const GumboNode*> children;
    if (node != graft.at || !graft.replacing) {
        for (const GumboNode* child : host::page::childrenOf(node)) children.push_back(child);
    }
    if (node == graft.at) children.insert(children.end(), graft.nodes.begin(), graft.nodes.end());
    // Adjacent texts are joined: they read the same whichever nodes hold them.
    std::string text;
    const auto flush = [&] {
        if (std::string c = collapsed(std::exchange(text, {})); !c.empty()) out += "T(" + c + ")";
    };
    for (const GumboNode* child : children) {
        if (host::page::isTextLike(child) || child->type == GUMBO_NODE_CDATA) {
            text += child->v.text.text;
        } else {
            flush();
            dumpNode(child, graft, out);
        }
    }
    flush();
}

// The tree as text: names with namespaces and attributes, texts, comments, the doctype.
void dumpNode(const GumboNode* node, const Graft& graft, std::string& out) {
    if (node->type == GUMBO_NODE_DOCUMENT) {
        const GumboDocument& d = node->v.document;
        out += "D(" + std::string(d.has_doctype ? d.name : "-") + "," +
               std::to_string(d.doc_type_quirks_mode) + ")";
        dumpChildren(node, graft, out);
    } else if (host::page::isElement(node)) {
        out +=
            "<" + std::to_string(node->v.element.tag_namespace) + ":" + host::page::lowerName(node);
        const GumboVector& attributes = node->v.element.attributes;
        for (unsigned i = 0; i < attributes.length; ++i) {
            const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
            out += " " + std::string(a->name) + "=" + fuzz::visible(a->value);
        }
        out += ">";
        dumpChildren(node, graft, out);
        out += "</>";
    } else if (node->type == GUMBO_NODE_COMMENT) {
        out += "C(" + std::string(node->v.text.text) + ")";
    }
}

std::string dump(const ParsedHtml& parse, const Graft& graft = {}) {
    std::string out;
    dumpNode(parse.document(), graft, out);
    return out;
}

// The content a marker gets from the fragment parsed for the edit: the fragment itself when
// it replaces the marker's content; the wrapper's children when it is a new marker.
std::string expectedContent(const host::page::Fragment& fragment, const GumboNode* context,
                            bool replacing) {
    if (replacing) return host::page::serializeNodes(fragment.nodes, context);
    for (const GumboNode* node : fragment.nodes) {
        const char* id =
            host::page::isElement(node) ? host::page::attributeValue(node, "id") : nullptr;
        if (id != nullptr && id == kMarker) {
            return host::page::serializeNodes(host::page::childrenOf(node), node);
        }
    }
    return "(the wrapper parses to no marker)";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::splitFields(data, size);
    const std::string original(fields[0]);
    const std::string snippet(fuzz::fieldAt(fields, 1));

    // The page as it was, and what the edit will aim at.
    auto before = std::make_shared<host::testing::RecordingPageText>(original);
    host::PageModel beforeModel(before);
    std::shared_ptr<const host::PageSnapshot> snapshot;
    try {
        snapshot = beforeModel.snapshot();
    } catch (const com::Error&) {
        return 0;  // beyond the parser's limits: nothing to edit
    }
    const auto markers = host::PageModel::elementsNamed(*snapshot, kMarker);
    const auto bodies = host::PageModel::elementsWithTag(*snapshot, "body");

    auto text = std::make_shared<host::testing::RecordingPageText>(original);
    try {
        auto document = host::createHtmlDocument(std::make_shared<host::PageModel>(text));
        host::testing::runAddinInsertion(document.get(), snippet);
    } catch (const com::Error& e) {
        tally.add(true);
        if (std::getenv("FUZZ_SHOW_REFUSALS"))
            std::fprintf(stderr, "REFUSED: %s\n", e.description().c_str());
        FUZZ_CHECK(text->current() == original && text->replacements().empty(),
                   "a refused edit (" + e.description() + ") changed the page");
        return 0;
    }

    tally.add(false);
    const bool replacing = !markers.empty();
    FUZZ_CHECK(markers.size() <= 1, "an edit went ahead with several markers in the page");
    FUZZ_CHECK(replacing || !bodies.empty(), "an insertion went ahead without a body");
    FUZZ_CHECK(text->replacements().size() == 1, "an edit made other than one replacement");
    const auto& edit = text->replacements().front();

    const ParsedHtml& parse = snapshot->parse();
    const GumboNode* edited = replacing ? markers.front() : bodies.front();
    std::vector<Span> kept;
    collectKept(parse, parse.document(), replacing ? edited : nullptr, kept);
    for (const Span& span : kept) {
        const bool overlaps = edit.length > 0
                                  ? edit.offset < span.end && span.begin < edit.offset + edit.length
                                  : span.begin < edit.offset && edit.offset < span.end;
        FUZZ_CHECK(!overlaps, "the edit at " + std::to_string(edit.offset) + "+" +
                                  std::to_string(edit.length) + " touched " +
                                  fuzz::visible(span.what) + " at " + std::to_string(span.begin) +
                                  "\npage:   " + fuzz::visible(original) +
                                  "\nedited: " + fuzz::visible(text->current()));
    }

    // What a browser's DOM operation makes of the page, from the page's own parse.
    const std::string html =
        replacing ? snippet : host::testing::kWrapperStart + snippet + host::testing::kWrapperEnd;
    const auto fragment =
        host::page::parseFragment(parse, edited, html, host::page::ParseLimits{}, "fuzz");
    const std::string expected = expectedContent(fragment, edited, replacing);

    // A fresh document over the edited text: its first marker holds the snippet, and the
    // whole tree is the page's with the fragment grafted in.
    auto after = std::make_shared<host::testing::RecordingPageText>(text->current());
    host::PageModel afterModel(after);
    const auto reread = afterModel.snapshot();
    const auto found = host::PageModel::elementsNamed(*reread, kMarker);
    const std::string pages =
        "\npage:   " + fuzz::visible(original) + "\nedited: " + fuzz::visible(text->current());
    FUZZ_CHECK(!found.empty(), "no marker after the edit" + pages);
    const std::string content = afterModel.innerHtml(afterModel.refOf(*reread, found.front()));
    FUZZ_CHECK(content == expected, "the marker holds " + fuzz::visible(content) +
                                        "\nexpected         " + fuzz::visible(expected) + pages);

    const std::string treeExpected = dump(parse, {edited, replacing, fragment.nodes});
    const std::string treeAfter = dump(reread->parse());
    FUZZ_CHECK(treeAfter == treeExpected,
               "the edited page is not the page with the snippet put in" +
                   std::string("\nexpected: ") + treeExpected + "\ngot:      " + treeAfter + pages);
    return 0;
}
