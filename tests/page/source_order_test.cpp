// The nodes an edit's range holds outside the edited element, found from the walk made at
// parse time, must be exactly those a walk over the whole tree finds.
#include "host/page/source_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "host/page/gumbo_tree.h"
#include "host/page/page_model.h"
#include "tests/page/recording_page_text.h"
#include "tests/page/page_damage.h"
#include "tests/page/sample_pages.h"

namespace {

using host::page::reportedStart;

std::set<const GumboNode*> byFullWalk(const host::page::ParsedHtml& page, const GumboNode* element,
                                      std::size_t from, std::size_t to) {
    std::set<const GumboNode*> found;
    std::vector<const GumboNode*> pending{page.document()};
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (n == element) continue;
        const std::size_t at = reportedStart(page, n);
        if (n != page.document() && at >= from && at < to) found.insert(n);
        for (const GumboNode* kid : host::page::childrenOf(n)) pending.push_back(kid);
    }
    return found;
}

// Every element of the page against ranges from just after its start to its end, to the
// end of the page, and to a point in between.
int compareAll(const std::string& text) {
    host::PageModel model(std::make_shared<host::testing::RecordingPageText>(text));
    std::shared_ptr<const host::PageSnapshot> s;
    try {
        s = model.snapshot();
    } catch (const com::Error&) {
        return 0;
    }
    const auto& page = s->parse();
    int compared = 0;
    for (const GumboNode* e : s->elements()) {
        const std::size_t start = reportedStart(page, e);
        const std::size_t size = page.text().size();
        const std::size_t end =
            e->v.element.end_pos.offset ? page.offsetOf(e->v.element.end_pos) : size;
        for (std::size_t to : {end, size, start + (size - start) / 3}) {
            const std::size_t from = std::min(start + 1, to);
            const auto quick = host::page::nodesStartingWithin(page, s->sourceOrder(), e, from, to);
            const std::set<const GumboNode*> fast(quick.begin(), quick.end());
            EXPECT_EQ(fast.size(), quick.size()) << "a node is reported twice";
            const auto full = byFullWalk(page, e, from, to);
            // Nodes inside the element are left out by both.
            std::set<const GumboNode*> outside;
            for (const GumboNode* n : full) {
                bool inside = false;
                for (const GumboNode* p = n->parent; p && !inside; p = p->parent) inside = p == e;
                if (!inside) outside.insert(n);
            }
            EXPECT_EQ(fast, outside) << "<" << host::page::lowerName(e) << "> at " << start
                                     << ", range [" << from << ", " << to << ") in:\n"
                                     << text;
            ++compared;
        }
        if (::testing::Test::HasFailure()) break;
    }
    return compared;
}

TEST(SourceOrder, RangesFindWhatAWholeWalkFinds) {
    // Moved nodes of every kind: fostered text and elements, misnested formatting elements,
    // a form in a table row, template contents, comments after the document.
    const std::vector<std::string> pages = {
        "<table><tr><form id=OstrelInsert>Join</form></tr></table><p>end</p>",
        "<table><tr><form id=a>x<td>cell</td></form></tr></table>",
        "<table><div id=a>a<td>b</td>c</div></table>",
        "<p><b>one<i>two</b>three</i>four</p><div>x</div>",
        "<a href=1>x<div>y<a href=2>z</a></div></a>",
        "<b><p>x</b>y</p><table>z<tr><td>w</table>",
        "<template><p>in<b>t</template><div>after</div>",
        "<body>x</body></html><!-- after --><p>late",
        "<ul><li>a<li>b<table><li>c</table></ul>",
        "<select><option>a<p>b</select>c",
        "<svg><p>out</svg><math><mi>x</math>",
        "<frameset><frame></frameset><noframes>n</noframes>",
    };
    int compared = 0;
    for (const std::string& page : pages) compared += compareAll(page);
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        compared += compareAll(host::testing::damagePage(pages[round % pages.size()], random));
    }
    for (const std::string& page : host::testing::samplePages()) compared += compareAll(page);
    EXPECT_GT(compared, 10000) << compared;
}

}  // namespace
