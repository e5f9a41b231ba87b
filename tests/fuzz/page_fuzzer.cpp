// Fuzzes the page document with the add-in's insertion: a random page and snippet, the marker
// "OstrelInsert" looked up, then the snippet put into it or, wrapped in a new marker, at the
// body's end. Each edit is either refused with an error and the page left as it was (counted,
// not a finding), or is one replacement that keeps the author's tags and text outside the
// changed element byte for byte, after which a fresh parse finds the marker holding the snippet.
//
// Input fields (separated by 0x1E): the page, the snippet.
#include <gumbo.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "com/error.h"
#include "host/page/gumbo_tree.h"
#include "host/page/html_document_object.h"
#include "host/page/html_fragment.h"
#include "host/page/html_serializer.h"
#include "host/page/page_model.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/page/addin_operation.h"
#include "tests/page/memory_page_text.h"

namespace {

using host::page::ParsedHtml;

constexpr std::string_view kMarker = "OstrelInsert";

// How many edits were refused, reported at exit so a run shows how much it really edited.
struct Tally {
    long edits = 0;
    long refused = 0;
    ~Tally() {
        if (edits > 0) std::printf("page edits refused: %ld of %ld\n", refused, edits);
    }
};
Tally tally;

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

// The source bytes of every start tag, text and comment the author wrote outside the content
// of `edited` (the marker's own start tag included); with no element edited, every one.
void collectKept(const ParsedHtml& parse, const GumboNode* node, const GumboNode* edited,
                 std::vector<Span>& out) {
    if (node != edited && inside(node, edited)) return;
    if (host::page::isElement(node)) {
        const GumboElement& e = node->v.element;
        if (e.original_tag.length > 0) {
            const std::size_t at = parse.offsetOf(e.start_pos);
            out.push_back({at, at + e.original_tag.length, "<" + host::page::lowerName(node) + ">"});
        }
    } else if (node->type != GUMBO_NODE_DOCUMENT && node->v.text.original_text.length > 0) {
        const std::size_t at = parse.offsetOf(node->v.text.start_pos);
        out.push_back({at, at + node->v.text.original_text.length,
                       std::string(node->v.text.original_text.data,
                                   node->v.text.original_text.length)});
    }
    for (const GumboNode* child : host::page::childrenOf(node)) collectKept(parse, child, edited, out);
}

// What the marker must hold: the snippet as a browser parses it into the element.
std::string expectedContent(const ParsedHtml& parse, const GumboNode* marker,
                            const std::string& snippet) {
    const auto fragment =
        host::page::parseFragment(parse, marker, snippet, host::page::ParseLimits{}, "fuzz");
    return host::page::serializeNodes(fragment.nodes, marker);
}

// The new marker's content: the wrapped snippet parsed at the body's end, its division's
// children as a browser would write them.
std::string expectedWrappedContent(const ParsedHtml& parse, const GumboNode* body,
                                   const std::string& wrapped) {
    const auto fragment =
        host::page::parseFragment(parse, body, wrapped, host::page::ParseLimits{}, "fuzz");
    for (const GumboNode* node : fragment.nodes) {
        if (!host::page::isElement(node)) continue;
        const char* id = host::page::attributeValue(node, "id");
        if (id != nullptr && id == kMarker) {
            return host::page::serializeNodes(host::page::childrenOf(node), node);
        }
    }
    fuzz::fail(__FILE__, __LINE__, "the wrapper parses to a marker", fuzz::visible(wrapped));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::splitFields(data, size);
    const std::string original(fields[0]);
    const std::string snippet(fuzz::fieldAt(fields, 1));

    // The page as it was, and what the edit will aim at.
    auto before = std::make_shared<host::testing::MemoryPageText>(original);
    host::PageModel beforeModel(before);
    std::shared_ptr<const host::PageSnapshot> snapshot;
    try {
        snapshot = beforeModel.snapshot();
    } catch (const com::Error&) {
        return 0;  // beyond the parser's limits: nothing to edit
    }
    const auto markers = host::PageModel::elementsNamed(*snapshot, kMarker);
    const auto bodies = host::PageModel::elementsWithTag(*snapshot, "body");

    ++tally.edits;
    auto text = std::make_shared<host::testing::MemoryPageText>(original);
    try {
        auto document = host::createHtmlDocument(std::make_shared<host::PageModel>(text));
        host::testing::runAddinInsertion(document.get(), snippet);
    } catch (const com::Error& e) {
        ++tally.refused;
        FUZZ_CHECK(text->current() == original && text->replacements().empty(),
                   "a refused edit (" + e.description() + ") changed the page");
        return 0;
    }

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

    const std::string expected =
        replacing ? expectedContent(parse, edited, snippet)
                  : expectedWrappedContent(parse, edited,
                                           host::testing::kWrapperStart + snippet +
                                               host::testing::kWrapperEnd);

    // A fresh document over the edited text: its first marker holds the snippet.
    auto after = std::make_shared<host::testing::MemoryPageText>(text->current());
    host::PageModel afterModel(after);
    const auto reread = afterModel.snapshot();
    const auto found = host::PageModel::elementsNamed(*reread, kMarker);
    FUZZ_CHECK(!found.empty(), "no marker after the edit:\n" + fuzz::visible(text->current()));
    const std::string content = afterModel.innerHtml(afterModel.refOf(*reread, found.front()));
    FUZZ_CHECK(content == expected, "the marker holds " + fuzz::visible(content) +
                                        "\nexpected     " + fuzz::visible(expected) +
                                        "\nedited page: " + fuzz::visible(text->current()));
    return 0;
}
