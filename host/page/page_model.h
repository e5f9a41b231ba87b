// The page as an HTML document: one parse per text revision, lookups and verified edits.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "com/error.h"
#include "host/page/gumbo_tree.h"
#include "host/page/page_text.h"
#include "host/page/parsed_html.h"
#include "host/page/source_order.h"

namespace host {

// One parse of one revision of the text, shared by every lookup until the text changes.
class PageSnapshot {
public:
    PageSnapshot(std::uint64_t revision, std::unique_ptr<page::ParsedHtml> parse)
        : m_revision(revision), m_parse(std::move(parse)) {}
    std::uint64_t revision() const { return m_revision; }
    const page::ParsedHtml& parse() const { return *m_parse; }
    // Every element in document order.
    const std::vector<const GumboNode*>& elements() const { return index().elements; }
    // The offset up to which nothing in the page leaves parser state behind (see
    // checkpoint_check.h).
    std::size_t stateCleanUntil() const { return index().cleanUntil; }
    // Whether the parser moved elements away from where their tags stand in the text.
    bool movedElements() const { return index().movedElements; }
    // What in the page browsers read differently from gumbo, if anything.
    const std::optional<std::string>& readsUnlikeBrowsers() const { return index().divergence; }
    // Which nodes stand elsewhere in the tree than their text does.
    const page::SourceOrder& sourceOrder() const { return index().order; }

private:
    std::uint64_t m_revision;
    std::unique_ptr<page::ParsedHtml> m_parse;
    // Everything found by one walk over the elements, made on first use.
    struct Index {
        std::vector<const GumboNode*> elements;
        std::size_t cleanUntil = 0;
        bool movedElements = false;
        std::optional<std::string> divergence;
        page::SourceOrder order;
    };
    const Index& index() const;

    mutable std::optional<Index> m_index;
};

// An element found in the page: where it was in the tree, at which revision. It follows the
// edits made through its PageModel; any other change of the text (the author typing) makes
// it stale, and using it then fails with an error that asks to look the element up again,
// rather than guess which element it has become.
struct ElementRef {
    std::uint64_t revision = 0;
    page::TreePath path;
};

enum class AdjacentPosition { beforeBegin, afterBegin, beforeEnd, afterEnd };
// "BeforeBegin", "AfterBegin", "BeforeEnd" or "AfterEnd", in any letter case.
std::optional<AdjacentPosition> adjacentPositionFromName(std::string_view name);

// The failures are com::Error with a description that names the problem.
class PageModel {
public:
    // Edits are checked by parsing the page from a checkpoint before the edit where that is
    // sound, else the whole page; `wholePageChecks` always parses the whole page.
    explicit PageModel(std::shared_ptr<PageText> text, page::ParseLimits limits = {},
                       bool wholePageChecks = false);

    // The parse of the current text; parsed again only when the revision moved on.
    std::shared_ptr<const PageSnapshot> snapshot();
    ElementRef refOf(const PageSnapshot& snapshot, const GumboNode* element) const;
    // The element now in `snapshot` (which must be current), or a failure when it is gone.
    const GumboNode* resolve(const ElementRef& ref, const PageSnapshot& snapshot,
                             const char* source) const;

    // Elements whose id is `name`, or whose name is `name` where a name identifies an element
    // (forms, images, inputs, ...), in document order.
    static std::vector<const GumboNode*> elementsNamed(const PageSnapshot& s,
                                                       std::string_view name) {
        return elementsNamed(s.elements(), name);
    }
    // The same among `elements`.
    static std::vector<const GumboNode*> elementsNamed(std::span<const GumboNode* const> elements,
                                                       std::string_view name);
    // Elements with that tag name (any letter case for HTML elements), in document order.
    static std::vector<const GumboNode*> elementsWithTag(const PageSnapshot& s,
                                                         std::string_view tag) {
        return elementsWithTag(s.elements(), tag);
    }
    // The same among `elements`.
    static std::vector<const GumboNode*> elementsWithTag(std::span<const GumboNode* const> elements,
                                                         std::string_view tag);

    std::string innerHtml(const ElementRef& ref);
    void setInnerHtml(const ElementRef& ref, const std::string& html);
    void insertAdjacentHtml(const ElementRef& ref, AdjacentPosition where, const std::string& html);

    const std::shared_ptr<PageText>& text() const { return m_text; }

private:
    void edit(const ElementRef& ref, std::optional<AdjacentPosition> where, const std::string& html,
              const char* source);

    // How an edit made here moved the children of one element, so that element references
    // taken before it still find their element after it.
    struct Move {
        std::uint64_t from = 0;
        std::uint64_t to = 0;
        page::TreePath parent;
        std::size_t firstShifted = 0;  // children from this index on moved by `shift`
        std::ptrdiff_t shift = 0;
        bool childrenReplaced = false;  // the old children are gone
    };
    // Writes an edit's checked text into the page (the old parse already gone) and records
    // `move`; a whole-page parse of the new text, if the check made one, becomes the snapshot.
    void writeChecked(std::size_t from, std::size_t to, const std::string& text,
                      std::unique_ptr<page::ParsedHtml> reparsed, Move move);

    std::shared_ptr<PageText> m_text;
    page::ParseLimits m_limits;
    bool m_wholePageChecks;
    std::shared_ptr<const PageSnapshot> m_snapshot;
    struct Failure {
        std::uint64_t revision;
        com::Error error;
    };
    std::optional<Failure> m_failure;
    std::deque<Move> m_moves;
};

}  // namespace host
