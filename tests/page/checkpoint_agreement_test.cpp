// The checkpoint check must decide every edit exactly as parsing the whole page does.
#include <gtest/gtest.h>

#include <random>

#include "com/error.h"
#include "host/page/html_document_object.h"
#include "host/page/page_model.h"
#include "testing/addin_operation.h"
#include "tests/page/recording_page_text.h"
#include "tests/page/page_damage.h"

namespace {

// The page text after the add-in's insertion, or the failure's description.
std::string outcome(const std::string& page, const std::string& snippet, bool wholePage) {
    auto text = std::make_shared<host::testing::RecordingPageText>(page);
    try {
        host::testing::runAddinInsertion(
            host::createHtmlDocument(
                std::make_shared<host::PageModel>(text, host::page::ParseLimits{}, wholePage))
                .get(),
            snippet);
    } catch (const com::Error& e) {
        return "failed: " + e.description();
    }
    return text->current();
}

TEST(CheckpointAgreement, RandomlyDamagedPages) {
    const std::vector<std::string> bases = {
        "<!DOCTYPE html>\n<html><head><title>t</title></head>\n<body>\n<h1>News</h1>\n"
        "<p>Text <a href=x>link</a></p>\n<div id=OstrelInsert><p>old</p></div>\n<p>end</p>\n"
        "</body>\n</html>\n",
        "<body>\n<table><tr><td>a</td><td "
        "id=OstrelInsert>b</td></tr></table>\n<ul><li>x<li>y</ul>\n",
        "<html><body><div><section><p>one<p>two</section></div>\n</body></html>\n",
        "<body><form action=a><div id=OstrelInsert>x</div>\n</form>\n<p>z</p></body>",
        "<p><b>bold<div><i>it</div></b><ul><li>a<li id=OstrelInsert>b</ul><table><td>c</table>",
        "<!DOCTYPE html><body>\n<form id=f method=post action=p><font face=Arial><div><p>a<b>b"
        "</b></p><div id=OstrelInsert>x</div>\n<p>c</p></div></font>\n</form>\n</body>\n",
        "<!DOCTYPE html><body><div><div><div "
        "id=OstrelInsert><span>q</span></div></div></div>\n<!-- c -->\n",
    };
    const std::vector<std::string> snippets = {
        "<form action=s><input name=from>\r\n</form>\r\n",
        "<a href='mailto:a@x.example'>Join</a>",
        "<div><p>open <b>bold</div>",
        "",
        "tail text",
        "<td>cell</td></tr><tr><td>row",
    };
    std::mt19937 random(2024);
    int decided = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::string page = host::testing::damagePage(bases[random() % bases.size()], random);
        const std::string& snippet = snippets[random() % snippets.size()];
        const std::string quick = outcome(page, snippet, false);
        const std::string whole = outcome(page, snippet, true);
        EXPECT_EQ(quick, whole) << "page:\n" << page << "\nsnippet: " << snippet;
        if (!quick.starts_with("failed")) ++decided;
    }
    EXPECT_GT(decided, 1000) << "most damaged pages still take an edit";
}

}  // namespace
