// A page parsed in two halves must give exactly the tree that parsing it whole gives: the
// same nodes, text, attributes, flags and positions.
#include <gtest/gtest.h>

#include <random>

#include "com/error.h"
#include "host/page/parsed_html.h"
#include "tests/page/page_damage.h"
#include "tests/page/parse_identity.h"
#include "tests/page/sample_pages.h"

namespace {

using host::page::ParsedHtml;

// Parses `page` whole and split near several points; returns how many splits were made.
int compareSplits(const std::string& page) {
    host::page::ParseLimits whole;
    whole.halvesFrom = 0;
    std::unique_ptr<ParsedHtml> reference;
    try {
        reference = ParsedHtml::parse(page, whole);
    } catch (const com::Error&) {
        return 0;
    }
    int made = 0;
    for (double at = 0.05; at < 1; at += 0.1) {
        host::page::ParseLimits limits;
        limits.halvesFrom = 1;
        limits.halvesAt = at;
        const auto halves = ParsedHtml::parse(page, limits);
        if (!halves->parsedInHalves()) continue;
        ++made;
        const std::string difference = host::testing::firstDifference(*reference, *halves);
        if (!difference.empty()) {
            ADD_FAILURE() << difference << ", split near " << at << " of:\n" << page;
            return made;
        }
    }
    return made;
}

TEST(HalvesParse, GivesTheTreeOfTheWholePage) {
    const std::vector<std::string> pages = {
        "<!DOCTYPE html>\n<html><head><title>t</title></head>\n<body>\n<div id=w>\n<h1>News</h1>\n"
        "<p>Text <a href=x>link</a></p>\n<table><tr><td>a<td>b</table>\n<ul><li>x<li>y</ul>\n"
        "<section><p>one<p>two</section>\n<div>tab\there</div>\n<p>end</p>\n</div>\n"
        "<!-- after -->\n</body>\n</html>\n<!-- last -->\n",
        "<p>quirks <table><tr><td>x</table></p>\n<div><div>a</div>\n<div>b</div>\n</div>\n"
        "<p><b>bold</b> and <i>it</i></p>\n<form action=a><input></form>\n<p>z</p>\n",
        "\xEF\xBB\xBF<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<body>\r\n"
        "<div>\r\n<p>caf\xC3\xA9 \xE2\x82\xAC</p>\r\n<table><tr><td>1</td></tr></table>\r\n"
        "<p>x<table>y</table></p>\r\n</div>\r\n<ul><li>a</ul>\r\n<div>&amp; &lt;</div>\r\n",
        "<!DOCTYPE html><body><main><article><h2>a</h2>\n<p>b</p>\n</article>\n<article>\n"
        "<h2>c</h2>\n<pre>\nd</pre>\n</article>\n<script>if (a</b) {}</script>\n</main>\n"
        "<footer><p>f</p></footer>\n",
        "<!DOCTYPE html><body><div class=page><section><table><tr><td>\n<p>cell one</p>\n"
        "<ul><li>a</li>\n<li>b</li></ul>\n<div>c</div>\n<p>d <a href=e>e</a></p>\n</td>\n"
        "<td><h3>x</h3>\n<dl><dt>t<dd>d</dl>\n<blockquote>q</blockquote>\n</td></tr></table>\n"
        "</section>\n<p>tail</p>\n</div>\n",
    };
    int made = 0;
    for (const std::string& page : pages) made += compareSplits(page);
    std::mt19937 random(11);
    for (int round = 0; round < 400 && !::testing::Test::HasFailure(); ++round) {
        made += compareSplits(host::testing::damagePage(pages[round % pages.size()], random));
    }
    // Pages put together from pieces, most of them well formed, a few not.
    static constexpr const char* kPieces[] = {
        "<p>text</p>\n",
        "<p>open paragraph\n",
        "<ul><li>a<li>b</ul>\n",
        "<table><tr><td>c<td>d</table>\n",
        "<div>",
        "</div>\n",
        "<section>\n",
        "</section>\n",
        "<h2>head</h2>\n",
        "<b>bold</b> ",
        "<!-- c -->\n",
        "<pre>\nx</pre>\n",
        "<dl><dt>a<dd>b</dl>\n",
        "<blockquote><p>q</blockquote>\n",
        "<table><tr><td>\n",
        "</td></tr></table>\n",
        "<img src=x>\n",
        "<p>a <a href=b>link</a> &amp; c\n",
        "<script>var a = '</p>';</script>\n",
        "\t<div>\ttab</div>\r\n",
        "<ol><li><p>x</li></ol>\n",
        "<table><caption>t</caption><tr><th>h</th></tr></table>\n",
        "<br>\n",
        "<p>caf\xC3\xA9\r\n",
        "<textarea>\n</div></textarea>\n",
        "<center>c</center>\n"};
    static constexpr const char* kFlaws[] = {"<form><input></form>\n",
                                             "<b>unclosed ",
                                             "</p>\n",
                                             "<i>a<div>b</i>c</div>\n",
                                             "<table>fostered<tr><td>x</table>\n",
                                             "</table>\n",
                                             "<a href=x>a<p>b</a>\n",
                                             "<p><table><tr><td>in p</table>\n",
                                             "</section>\n</div>\n"};
    for (int round = 0; round < 300 && !::testing::Test::HasFailure(); ++round) {
        std::string page = round % 3 ? "<!DOCTYPE html>\n<body>\n" : "<html><body>\n";
        const int pieces = 20 + static_cast<int>(random() % 60);
        for (int i = 0; i < pieces; ++i) {
            page += random() % 40 ? kPieces[random() % std::size(kPieces)]
                                  : kFlaws[random() % std::size(kFlaws)];
        }
        made += compareSplits(page);
    }
    for (const std::string& page : host::testing::samplePages()) {
        if (::testing::Test::HasFailure()) break;
        made += compareSplits(page);
    }
    EXPECT_GT(made, 500) << made;
}

}  // namespace
