// The COM face of the page document: the add-in's lookups and edits, by early and late binding.
#include "host/page/html_document_object.h"

#include <gtest/gtest.h>

#include "com/dispatch.h"
#include "com/error.h"
#include "testing/addin_operation.h"
#include "tests/page/recording_page_text.h"

namespace {

using com::ComPtr;
using com::Variant;
using host::testing::RecordingPageText;

struct Document {
    explicit Document(std::string page)
        : text(std::make_shared<RecordingPageText>(std::move(page))),
          document(host::createHtmlDocument(text)) {
        com::check(document->get_all(all.put()));
    }
    ComPtr<com::IDispatch> item(const Variant& name, const Variant& index = Variant::missing()) {
        ComPtr<com::IDispatch> out;
        com::check(all->item(name, index, out.put()));
        return out;
    }

    std::shared_ptr<RecordingPageText> text;
    ComPtr<com::IHTMLDocument2> document;
    ComPtr<com::IHTMLElementCollection> all;
};

std::string textOf(com::IHTMLElement* e, com::HRESULT (com::IHTMLElement::*get)(std::string*)) {
    std::string out;
    com::check((e->*get)(&out));
    return out;
}

TEST(HtmlDocumentObject, ItemByIdIsNothingOneElementOrACollection) {
    Document none("<body><p id=other>x</p></body>");
    EXPECT_FALSE(none.item("OstrelInsert"));

    Document one("<body><td>no</td><span id=OstrelInsert>old</span></body>");
    auto element = com::query<com::IHTMLElement>(one.item("OstrelInsert"));
    EXPECT_EQ(textOf(element.get(), &com::IHTMLElement::get_tagName), "SPAN");
    EXPECT_EQ(textOf(element.get(), &com::IHTMLElement::get_id), "OstrelInsert");
    EXPECT_EQ(textOf(element.get(), &com::IHTMLElement::get_innerHTML), "old");

    Document two("<body>\n<div id=OstrelInsert>1</div>\n\n<p id=OstrelInsert>2</p></body>");
    auto several = two.item("OstrelInsert");
    ASSERT_TRUE(several);
    void* asElement = nullptr;
    EXPECT_EQ(several->QueryInterface(com::IHTMLElement::iid, &asElement), com::E_NOINTERFACE);
    // Taken as one element, the failure stays a type mismatch and says which elements clash.
    try {
        com::query<com::IHTMLElement>(several);
        ADD_FAILURE() << "several elements taken as one";
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::typeMismatch);
        EXPECT_NE(e.description().find("Type mismatch: the page holds 2 elements with the id or "
                                       "name \"OstrelInsert\" (the <div id=\"OstrelInsert\"> at line 2, "
                                       "column 1 and the <p id=\"OstrelInsert\"> at line 4, column 1)"),
                  std::string::npos)
            << e.description();
    }
    auto collection = com::query<com::IHTMLElementCollection>(several);
    std::int32_t length = 0;
    com::check(collection->get_length(&length));
    EXPECT_EQ(length, 2);
    // The index argument picks one of several.
    auto second = com::query<com::IHTMLElement>(two.item("OstrelInsert", Variant(std::int32_t{1})));
    EXPECT_EQ(textOf(second.get(), &com::IHTMLElement::get_tagName), "P");
}

TEST(HtmlDocumentObject, BodyItemByNameWithA16BitZero) {
    Document page("<html><body class=main><p>x</p></body></html>");
    ComPtr<com::IDispatch> bodies;
    com::check(page.all->tags(Variant("BODY"), bodies.put()));
    EXPECT_EQ(com::invokeByName(bodies.get(), "length", com::InvokeKind::PropertyGet).toInt32(), 1);
    const Variant body = com::invokeByName(bodies.get(), "Item", com::InvokeKind::Method,
                                           {Variant(std::int16_t{0})});
    auto element = com::query<com::IHTMLElement>(body.toObject());
    EXPECT_EQ(textOf(element.get(), &com::IHTMLElement::get_tagName), "BODY");
}

TEST(HtmlDocumentObject, FramesetPageHasNoBodyAndSaysSo) {
    Document page("<html><frameset><frame src=a.html></frameset></html>");
    ComPtr<com::IDispatch> bodies;
    com::check(page.all->tags(Variant("body"), bodies.put()));
    try {
        com::invokeByName(bodies.get(), "item", com::InvokeKind::Method,
                          {Variant(std::int16_t{0})});
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::subscriptOutOfRange);
        EXPECT_NE(e.description().find("no <body> to add HTML to"), std::string::npos) << e.description();
        EXPECT_EQ(e.source(), "IHTMLElementCollection.item");
    }
}

TEST(HtmlDocumentObject, AddinInsertionAppendsThenReplacesInPlace) {
    Document page("<html><body>\r\n<p>Welcome</p>\r\n</body></html>");
    host::testing::runAddinInsertion(page.document.get(),
                                     "<a href='mailto:a@list.example'>Join</a>");
    EXPECT_EQ(page.text->current(),
              "<html><body>\r\n<p>Welcome</p>\r\n<div id='OstrelInsert'>\r\n"
              "<a href='mailto:a@list.example'>Join</a></div>\r\n</body></html>");
    host::testing::runAddinInsertion(page.document.get(), "<b>second</b>");
    EXPECT_EQ(page.text->current(),
              "<html><body>\r\n<p>Welcome</p>\r\n<div id='OstrelInsert'><b>second</b></div>\r\n"
              "</body></html>");
    EXPECT_EQ(page.text->replacements().size(), 2u) << "one replace, one undo step, per edit";
}

TEST(HtmlDocumentObject, FailuresComeBackAsStatusWithDetails) {
    Document page("<body><p id=OstrelInsert>x</p></body>");
    auto element = com::query<com::IHTMLElement>(page.item("OstrelInsert"));
    com::clearErrorInfo();
    EXPECT_TRUE(com::failed(element->insertAdjacentHTML("Sideways", "x")));
    auto info = com::takeErrorInfo();
    ASSERT_TRUE(info);
    EXPECT_NE(info->description.find("Sideways"), std::string::npos);

    // Any letter case of a position is accepted.
    com::check(element->insertAdjacentHTML("aFtErBeGiN", "<i>a</i>"));
    EXPECT_EQ(page.text->current(), "<body><p id=OstrelInsert><i>a</i>x</p></body>");

    // Late binding reaches the same members.
    com::setPropertyByName(element.get(), "innerhtml", Variant("y"));
    EXPECT_EQ(page.text->current(), "<body><p id=OstrelInsert>y</p></body>");
}

TEST(HtmlDocumentObject, ElementGoesStaleWhenTheAuthorTypes) {
    Document page("<body><p id=OstrelInsert>x</p></body>");
    auto element = com::query<com::IHTMLElement>(page.item("OstrelInsert"));
    page.text->type(0, "<!-- typed -->");
    com::clearErrorInfo();
    EXPECT_TRUE(com::failed(element->put_innerHTML("y")));
    EXPECT_NE(com::takeErrorInfo()->description.find("Look the element up again"),
              std::string::npos);
    EXPECT_EQ(page.text->current(), "<!-- typed --><body><p id=OstrelInsert>x</p></body>");
}

}  // namespace
