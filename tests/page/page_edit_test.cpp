// Edits of the page text: placement, verbatim or normalized text, and the gumbo pitfalls.
#include <gtest/gtest.h>

#include "com/error.h"
#include "host/page/html_document_object.h"
#include "host/page/page_model.h"
#include "testing/addin_operation.h"
#include "tests/page/recording_page_text.h"

namespace {

using host::AdjacentPosition;
using host::PageModel;
using host::testing::RecordingPageText;

struct Page {
    explicit Page(std::string source)
        : text(std::make_shared<RecordingPageText>(std::move(source))), model(text) {}

    host::ElementRef byId(const std::string& id) {
        auto s = model.snapshot();
        auto found = PageModel::elementsNamed(*s, id);
        EXPECT_EQ(found.size(), 1u) << id;
        return model.refOf(*s, found.at(0));
    }
    host::ElementRef body() {
        auto s = model.snapshot();
        return model.refOf(*s, PageModel::elementsWithTag(*s, "body").at(0));
    }
    const std::string& now() const { return text->current(); }

    std::shared_ptr<RecordingPageText> text;
    PageModel model;
};

const std::string kWrapped = "<div id='OstrelInsert'>\r\n<p>Join</p></div>\r\n";

// The division goes inside the body's text on a line of its own: before </body> (or the
// </html> that ends the body) at that line's indentation, else after the body's content.
TEST(PageEdit, AppendedDivisionSitsOnItsOwnLineBeforeTheBodyEnd) {
    const struct {
        std::string page;
        std::string edited;  // "#" stands for the wrapped snippet
    } cases[] = {
        {"<html><body><p>Hello</p>\n</body>\n</html>\n",
         "<html><body><p>Hello</p>\n#</body>\n</html>\n"},
        {"<body>\r\n  <p>Hi</p>\r\n  </body>\r\n</html>\r\n<!-- made by a tool -->\r\n",
         "<body>\r\n  <p>Hi</p>\r\n  #  </body>\r\n</html>\r\n<!-- made by a tool -->\r\n"},
        {"<html><body><p>Hello</p></body></html>",
         "<html><body><p>Hello</p>\r\n#</body></html>"},
        {"<body>\n<p>Sign up\n</body>\n</html>\n", "<body>\n<p>Sign up\n</p>\n#</body>\n</html>\n"},
        {"<body>\n<p>No body end</p>\n</html>\n", "<body>\n<p>No body end</p>\n#</html>\n"},
        {"<body><p>one<p>two", "<body><p>one<p>two</p>\r\n#"},
        {"<body>\n<b>bold\n", "<body>\n<b>bold\n</b>\n#"},
        {"<body>\n<p>x</p>\n<!-- never closed\n", "<body>\n<p>x</p>\n<!-- never closed\n-->\n#"},
        {"<body>\n<p>x</p>\n<a href=\"y", "<body>\n<p>x</p>\n#<a href=\"y"},
        {"<head><title>t</title></head></html>", "<head><title>t</title></head>#</html>"},
    };
    for (const auto& c : cases) {
        Page page(c.page);
        page.model.insertAdjacentHtml(page.body(), AdjacentPosition::beforeEnd, kWrapped);
        std::string wanted = c.edited;
        wanted.replace(wanted.find('#'), 1, kWrapped);
        EXPECT_EQ(page.now(), wanted) << c.page;
        EXPECT_EQ(page.text->replacements().size(), 1u);
    }
}

// A pre left open keeps every line break, those a browser moves into it from after the body's
// end tags included: in a pre they are the page's text, not layout.
TEST(PageEdit, APreLeftOpenKeepsItsLineBreaks) {
    Page page("<body>\n<pre>x = 1\n\n\n</body>\n</html>\n");
    page.model.insertAdjacentHtml(page.body(), AdjacentPosition::beforeEnd, kWrapped);
    EXPECT_NE(page.now().find("<pre>x = 1\n\n\n\n\n</pre>"), std::string::npos) << page.now();
}

TEST(PageEdit, ReplacesTheContentOfTheMarkerOnly) {
    Page page("<body><div id=OstrelInsert class=x>old <b>form</b></div><p>after</p></body>");
    page.model.setInnerHtml(page.byId("OstrelInsert"), "<a href='mailto:x@list.example'>Join</a>");
    EXPECT_EQ(page.now(),
              "<body><div id=OstrelInsert class=x><a href='mailto:x@list.example'>Join</a></div>"
              "<p>after</p></body>");
}

TEST(PageEdit, FormEndReportedAtZeroIsNotTrusted) {
    // Gumbo reports no end for a form closed by </form>; the content end is found otherwise.
    Page page("<body><form id=OstrelInsert action=a><input name=q></form><p>x</p></body>");
    page.model.setInnerHtml(page.byId("OstrelInsert"), "<input name=r>");
    EXPECT_EQ(page.now(),
              "<body><form id=OstrelInsert action=a><input name=r></form><p>x</p></body>");
}

TEST(PageEdit, UnbalancedSnippetIsWrittenNormalized) {
    Page page("<body><div id=OstrelInsert></div><p>after</p></body>");
    page.model.setInnerHtml(page.byId("OstrelInsert"), "<b>bold<i>both</b> tail</div></body>");
    EXPECT_EQ(page.now(),
              "<body><div id=OstrelInsert><b>bold<i>both</i></b><i> tail</i></div><p>after</p>"
              "</body>");
}

TEST(PageEdit, RefusesWhatNoPageTextCanHold) {
    // A browser keeps a form inside <p> when set through innerHTML; no page text parses so.
    Page page("<body><p id=OstrelInsert>text</p></body>");
    const std::string before = page.now();
    try {
        page.model.setInnerHtml(page.byId("OstrelInsert"), "<form><input></form>");
        FAIL() << "edited: " << page.now();
    } catch (const com::Error& e) {
        EXPECT_NE(e.description().find("cannot be placed"), std::string::npos) << e.description();
        EXPECT_EQ(e.source(), "IHTMLElement.innerHTML");
    }
    EXPECT_EQ(page.now(), before);
    EXPECT_TRUE(page.text->replacements().empty());
}

TEST(PageEdit, FollowsItsOwnEditsAndRefusesAfterOthers) {
    Page page("<body><div id=a>1</div><div id=b>2</div></body>");
    auto b = page.byId("b");
    page.model.insertAdjacentHtml(page.byId("a"), AdjacentPosition::beforeBegin, "<hr><hr>");
    page.model.setInnerHtml(b, "3");
    EXPECT_EQ(page.now(), "<body><hr><hr><div id=a>1</div><div id=b>3</div></body>");

    page.text->type(6, "<i>typed</i>");
    EXPECT_THROW(page.model.setInnerHtml(b, "4"), com::Error);
}

}  // namespace

namespace {

// A form inside a table row is empty in a browser's tree: the text written inside it is
// moved before the table. Replacing the form's text would delete that text from the page.
TEST(PageEdit, MarkerTextThatBrowsersPlaceElsewhereIsNotReplaced) {
    for (const std::string original :
         {"<table><tr><form id=OstrelInsert>Join</form></tr></table><p>end</p>",
          "<table><tr><form name=\"OstrelInsert\">Join our list</table><p>end</p>"}) {
        Page page(original);
        EXPECT_THROW(page.model.setInnerHtml(page.byId("OstrelInsert"), "<b>x</b>"), com::Error)
            << original;
        EXPECT_EQ(page.now(), original);
    }
}

}  // namespace

namespace {

// A page that ends inside something left open takes the division after what a browser
// closes there; a page that no text can edit is refused with a message naming the
// construct, where it is and what to do, and the page is left as it was.
TEST(PageEdit, OpenEndsAreClosedAndRefusalsSayWhereAndWhat) {
    const struct {
        std::string page;
        std::vector<std::string> refusal;  // empty: the edit goes through
    } cases[] = {
        {"<!DOCTYPE html><html><head><script>var a = 1;\n", {}},
        {"<!DOCTYPE html><html><head><title>Club news\n", {}},
        {"<!DOCTYPE html><head><!-- note\n", {}},
        {"<!DOCTYPE html><body><textarea>Your note\n", {}},
        {"<!DOCTYPE html><body><p>x</p><script><!--\n", {}},
        {"<!DOCTYPE html><body><b><p><i>x\n", {}},
        {"<!DOCTYPE html><body><table><tr><td>x\n", {}},
        {"<!DOCTYPE html><body><select><option>x\n", {}},
        {"<!DOCTYPE html><body><svg><text><![CDATA[a <b & c\n", {}},
        {"<body>\n<p>a</p>\n</body>\n</html>\n<script src=x.js></script>\n",
         {"<script> at line 5, column 1", "end tag (line 3, column 1)", "Move it before"}},
        {"<body>\n<p>a</p>\n<plaintext>x\n", {"<plaintext> at line 3, column 1", "Remove that"}},
        {"<body>\n<p>one <dialog>two</dialog></p>\n",
         {"<dialog> element inside a <p> (line 2, column 8)", "Rewrite or remove"}},
        {"<body>\n  <p id=OstrelInsert>old</p>\n",
         {"<p id=\"OstrelInsert\"> at line 2, column 3", "<form> would end the <p",
          "Use a <div>"}},
        {"<body>\n<table id=t>\n<tbody id=OstrelInsert>\n", {"out of the <tbody", "line 3, column 1"}},
        {"<body>\n<p>x</", {"\"</\" at line 2, column 5", "Write it as \"&lt;/\""}},
        {"<body>\n<script>x<!--<script>\n",
         {"<script> at line 2, column 1 is in its escaped state", "\"<!--\" at line 2, column 10",
          "close the script"}},
        {"<body>\n<table><tr><td><plaintext>x\n",
         {"<plaintext> at line 2, column 16", "Remove that"}},
        {"<body>\n<p>x<?php echo 1;\n",
         {"<?php left unfinished at the end of the page (line 2, column 5)", "Rewrite or remove"}},
        {"<!DOCTYPE html>\n<body>\n<dialog open><p>Hello</dialog>\n</body>\n",
         {"</dialog> ending the <p> still open inside a <dialog> (line 3, column 22)"}},
        {"<body>\n<search><div>x</search>\n", {"</search> ending the <div>", "line 2, column 15"}},
        {"<body>\n<dialog><p>x</p></dialog><dialog><b>y</dialog>\n", {}},
        {"<body>\n<form><isindex>x\n", {"an <isindex> element (line 2, column 7)"}},
        {"<body>\n<p>x<?", {"\"<?\" left unfinished at the end of the page (line 2, column 5)"}},
        {"<body>\n<p>x<?\n", {}},
        {"<body>\n<select><option>a<hr><div>b</div><button>c</button><svg></svg></select>\n", {}},
        {"<body>\n<select><option>a<b>x</b></select>\n<p>y\n",
         {"<b> inside a <select> element (line 2, column 1)"}},
        {"<body>\n<select><div id=d>x</div></select>\n", {"<div> inside a <select>"}},
        {"<body>\n<p>x<!-- c -", {}},
        {"<body>\n<p>x<!-- c --", {}},
        {"<body>\n<p>x<!-- c --!", {}},
        {"<body>\n<p>a</p>\n</body></html>X</html>X\n",
         {"the text \"X\" at line 3, column 15", "Move it before"}},
        {"<html>\n<frameset cols=\"50%,50%\"><frame src=a.html>\n</frameset></html>\n",
         {"no <body>", "<frameset> at line 2, column 1", "frames shows"}},
    };
    for (const auto& c : cases) {
        Page page(c.page);
        try {
            host::testing::runAddinInsertion(
                host::createHtmlDocument(std::make_shared<PageModel>(page.text)).get(),
                "<form action=x><input name=from></form>\r\n");
            EXPECT_TRUE(c.refusal.empty()) << "edited: " << page.now();
            EXPECT_NE(page.now().find("<div id='OstrelInsert'>"), std::string::npos) << c.page;
        } catch (const com::Error& e) {
            EXPECT_FALSE(c.refusal.empty()) << c.page << "\n" << e.description();
            for (const std::string& part : c.refusal) {
                EXPECT_NE(e.description().find(part), std::string::npos) << e.description();
            }
            EXPECT_NE(e.description().find("The page was not changed."), std::string::npos);
            EXPECT_EQ(page.now(), c.page);
        }
    }
}

}  // namespace

namespace {

// A refusal's advice works: the page with it followed takes the edit.
TEST(PageEdit, FollowingARefusalsAdviceLetsTheEditThrough) {
    const struct {
        std::string page;
        std::vector<std::string> refusal;
        std::string followed;
    } cases[] = {
        {"<body>\n<nobr><table><marquee></table><nobr>\n",
         {"a <marquee> moved out of a <table> and left open there, with formatting elements "
          "after it (line 2, column 14)",
          "Rewrite or remove it"},
         "<body>\n<nobr><table><marquee></marquee></table><nobr>\n"},
        {"<body>\n<script><!--<script </",
         {"escaped state", "End the script's comment with \"-->\", close the script"},
         "<body>\n<script><!--<script </--></script>"},
        {"<body>\n<p>x</", {"Write it as \"&lt;/\""}, "<body>\n<p>x&lt;/"},
    };
    for (const auto& c : cases) {
        const auto insert = [](const std::string& text) {
            Page page(text);
            try {
                host::testing::runAddinInsertion(
                    host::createHtmlDocument(std::make_shared<PageModel>(page.text)).get(),
                    "<form action=x><input name=from></form>\r\n");
            } catch (const com::Error& e) {
                return e.description();
            }
            return std::string();
        };
        const std::string why = insert(c.page);
        for (const std::string& part : c.refusal) {
            EXPECT_NE(why.find(part), std::string::npos) << c.page << "\n" << why;
        }
        EXPECT_EQ(insert(c.followed), "") << c.followed;
    }
}

}  // namespace
