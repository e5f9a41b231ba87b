// Spans that gumbo reports but the text does not hold are never used to edit by.
#include "host/page/source_spans.h"

#include <gtest/gtest.h>

#include "host/page/gumbo_tree.h"
#include "host/page/page_model.h"
#include "tests/page/recording_page_text.h"

namespace {

using host::page::endTagSpan;
using host::page::ParsedHtml;
using host::page::startTagSpan;

std::vector<const GumboNode*> withTag(const ParsedHtml& page, GumboTag tag) {
    std::vector<const GumboNode*> out;
    for (const GumboNode* e : host::page::elementsInOrder(page.document())) {
        if (e->v.element.tag == tag) out.push_back(e);
    }
    return out;
}

TEST(SourceSpans, ImpliedElementsHaveNoTags) {
    auto page = ParsedHtml::parse("<table><tr><td>x</table>", {});
    const GumboNode* body = withTag(*page, GUMBO_TAG_BODY).at(0);
    const GumboNode* tbody = withTag(*page, GUMBO_TAG_TBODY).at(0);
    const GumboNode* td = withTag(*page, GUMBO_TAG_TD).at(0);
    EXPECT_FALSE(startTagSpan(*page, body));
    EXPECT_FALSE(startTagSpan(*page, tbody));
    // Gumbo gives tbody, tr and td the </table> as their end tag; none of them owns it.
    EXPECT_FALSE(endTagSpan(*page, tbody));
    EXPECT_FALSE(endTagSpan(*page, td));
    const auto table = endTagSpan(*page, withTag(*page, GUMBO_TAG_TABLE).at(0));
    ASSERT_TRUE(table);
    EXPECT_EQ(page->text().substr(table->begin, table->end - table->begin), "</table>");
}

TEST(SourceSpans, ClonedFormattingElementsAreNotTheirOriginal) {
    // The <b> reopened in the second paragraph points at the first one's start tag.
    auto page = ParsedHtml::parse("<p><b id=x>one<p>two</b>", {});
    const auto bs = withTag(*page, GUMBO_TAG_B);
    ASSERT_EQ(bs.size(), 2u);
    EXPECT_TRUE(startTagSpan(*page, bs[0]));
    EXPECT_FALSE(startTagSpan(*page, bs[1]));
    EXPECT_FALSE(endTagSpan(*page, bs[0])) << "closed by the second <p>, not by </b>";
}

TEST(SourceSpans, FormEndIsFoundInTheTextAndItsLineBreakStaysInside) {
    auto page = ParsedHtml::parse("<form id=f>\n<input>\n</form>\n<p>x</p>", {});
    const GumboNode* form = withTag(*page, GUMBO_TAG_FORM).at(0);
    EXPECT_FALSE(endTagSpan(*page, form)) << "gumbo reports no end for it";
    const auto end = host::page::contentEnd(*page, form);
    ASSERT_TRUE(end);
    EXPECT_EQ(page->text().compare(end->offset, 7, "</form>"), 0);
    // As in a browser, the line break before </form> is the form's last child.
    auto kids = host::page::childrenOf(form);
    ASSERT_EQ(kids.size(), 3u);
    EXPECT_STREQ(kids[2]->v.text.text, "\n");
}

TEST(SourceSpans, OffsetsStayInBytesPastInvalidUtf8AndAByteOrderMark) {
    const std::string text = "\xEF\xBB\xBF<p>\xFF\xFE<span id=s>x</span></p>";
    auto page = ParsedHtml::parse(text, {});
    const auto span = startTagSpan(*page, withTag(*page, GUMBO_TAG_SPAN).at(0));
    ASSERT_TRUE(span);
    EXPECT_EQ(text.substr(span->begin, span->end - span->begin), "<span id=s>");
}

}  // namespace
