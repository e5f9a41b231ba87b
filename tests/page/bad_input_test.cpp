// Pages that are not what an editor expects: each gives a correct result or a clear error,
// never a crash, a hang or a damaged page.
#include <gtest/gtest.h>

#include <random>

#include "com/error.h"
#include "host/page/html_document_object.h"
#include "host/page/page_model.h"
#include "testing/addin_operation.h"
#include "tests/page/recording_page_text.h"

namespace {

using host::testing::RecordingPageText;

const std::string kSnippet = "<a href='mailto:a@list.example'>Join</a>";
const std::string kWrapped = host::testing::kWrapperStart + kSnippet + host::testing::kWrapperEnd;

// Runs the add-in's insertion; returns the error text, or "" when it went through, in which
// case the page must hold the author's text followed by the division (the page ends inside
// the body in all these cases) and nothing else changed.
std::string insertInto(const std::string& page, host::page::ParseLimits limits = {}) {
    auto text = std::make_shared<RecordingPageText>(page);
    auto model = std::make_shared<host::PageModel>(text, limits);
    try {
        host::testing::runAddinInsertion(host::createHtmlDocument(model).get(), kSnippet);
    } catch (const com::Error& e) {
        EXPECT_EQ(text->current(), page) << "a failed edit changed the page";
        return e.description().empty() ? "(no description)" : e.description();
    }
    EXPECT_EQ(text->replacements().size(), 1u);
    const auto& r = text->replacements().at(0);
    EXPECT_EQ(r.length, 0u);
    EXPECT_EQ(text->current().substr(0, r.offset), page.substr(0, r.offset));
    EXPECT_EQ(text->current().substr(r.offset + r.text.size()), page.substr(r.offset));
    EXPECT_NE(r.text.find(kWrapped), std::string::npos);
    return "";
}

TEST(BadInput, BinaryFileIsEditedOrRefusedButNeverDamaged) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        std::string page(4096, '\0');
        for (char& c : page) c = static_cast<char>(byte(random));
        insertInto(page);  // either outcome; the checks inside hold for both
    }
}

TEST(BadInput, InvalidUtf8StaysByteForByte) {
    const std::string page = "<body><p>Caf\xE9 \xFF\xFE \xC3(</p>\n<div>\xE2\x82</div>";
    EXPECT_EQ(insertInto(page), "");
    EXPECT_NE(insertInto("<body>x</body>").size(), 1u);

    // A snippet that is not UTF-8 is refused rather than written into a UTF-8 text.
    auto text = std::make_shared<RecordingPageText>("<body></body>");
    EXPECT_THROW(host::testing::runAddinInsertion(host::createHtmlDocument(text).get(), "\xFF"),
                 com::Error);
}

TEST(BadInput, NulBytesDoNotCutThePage) {
    const std::string page("<body><p>a\0b</p><p id=x>after the NUL</p>", 42);
    auto text = std::make_shared<RecordingPageText>(page);
    host::PageModel model(text);
    auto s = model.snapshot();
    EXPECT_EQ(host::PageModel::elementsNamed(*s, "x").size(), 1u);
    EXPECT_EQ(insertInto(page), "");
}

TEST(BadInput, PagesWithoutABodyElement) {
    EXPECT_EQ(insertInto(""), "");
    EXPECT_EQ(insertInto("just text"), "");
    EXPECT_EQ(insertInto("<html><head><title>t</title></head></html>"), "");
    EXPECT_NE(insertInto("<frameset><frame src=a></frameset>").find("no <body>"),
              std::string::npos);
}

TEST(BadInput, FiftyMegabytePage) {
    std::string page = "<!DOCTYPE html><html><body>\n";
    const std::string row = "<p>Some text with <a href='x.html'>a link</a> &amp; more.</p>\n";
    while (page.size() < (std::size_t(50) << 20)) page += row;
    page += "</body></html>\n";
    EXPECT_EQ(insertInto(page), "");
}

TEST(BadInput, DeepNestingIsStoppedByTheParseLimit) {
    // Gumbo's time grows with the square of the depth; the limit turns that into an error.
    std::string page = "<body>";
    for (int i = 0; i < 200000; ++i) page += "<div>";
    host::page::ParseLimits limits;
    limits.baseTime = std::chrono::milliseconds(300);
    limits.timePerMegabyte = std::chrono::milliseconds(0);
    EXPECT_NE(insertInto(page, limits).find("too complex"), std::string::npos);

    // The verdict holds for the revision: asking again does not parse again.
    auto text = std::make_shared<RecordingPageText>(page);
    host::PageModel model(text, limits);
    EXPECT_THROW(model.snapshot(), com::Error);
    EXPECT_THROW(model.snapshot(), com::Error);
    EXPECT_EQ(text->reads(), 1);
}

TEST(BadInput, OneParsePerRevision) {
    auto text = std::make_shared<RecordingPageText>("<body><p id=a>x</p></body>");
    host::PageModel model(text);
    auto first = model.snapshot();
    EXPECT_EQ(model.snapshot(), first);
    EXPECT_EQ(host::PageModel::elementsNamed(*model.snapshot(), "a").size(), 1u);
    EXPECT_EQ(text->reads(), 1);
    text->type(0, " ");
    EXPECT_NE(model.snapshot(), first);
    EXPECT_EQ(text->reads(), 2);
}

}  // namespace
