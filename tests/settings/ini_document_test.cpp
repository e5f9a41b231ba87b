// The INI text form: every value reads back exactly, hand-written files read as a person
// would expect, lines that cannot be read are named, and a change leaves other lines alone.
#include "wizard/settings/ini_document.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "com/error.h"
#include "platform/text/text_format.h"
#include "tests/registry/store_test_support.h"

namespace {

using ostrel::IniDocument;
using ostrel::testing::randomUnicode;

std::optional<std::string> roundTrip(const std::string& value) {
    IniDocument document = IniDocument::parse("");
    document.setValue("Persist_Data", "Key", value);
    return IniDocument::parse(document.text()).value("Persist_Data", "Key");
}

TEST(IniDocument, AwkwardValuesRoundTrip) {
    const std::vector<std::string> values = {
        "",
        " ",
        "  leading",
        "trailing  ",
        "\t",
        "\r\n",
        "one\r\ntwo",
        "lf\nonly",
        "cr\ronly",
        "\"quoted\"",
        "say \"hi\"",
        "\"",
        "a=b",
        "=",
        "==x",
        ";semicolon",
        "#hash",
        "a;b#c",
        "a,b",
        ", ",
        "@Variant(\\0\\0)",
        "@",
        "@@",
        "\\",
        "back\\slash\\",
        "\\x41",
        "\\n",
        "[Persist_Data]",
        "key=value",
        "ünïcødé ✓ 𝄞 中文",
        "\x01\x1f\x7f",
        "\xFF\xFE not UTF-8 \xC0\xAF",
        "<a href=\"mailto:<<EMAIL>>\"><<MAILTOTEXT>></a>",
    };
    for (const std::string& value : values) EXPECT_EQ(roundTrip(value), value) << value;

    // All together in one file, each under its own key.
    IniDocument document = IniDocument::parse("");
    for (std::size_t i = 0; i < values.size(); ++i) {
        document.setValue("Persist_Data", "K" + std::to_string(i), values[i]);
    }
    const IniDocument reread = IniDocument::parse(document.text());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(reread.value("Persist_Data", "K" + std::to_string(i)), values[i]);
    }
}

TEST(IniDocument, RandomTextRoundTrips) {
    std::mt19937 random(20417);
    for (int i = 0; i < 2000; ++i) {
        std::string value = randomUnicode(random);
        std::replace(value.begin(), value.end(), '\0', '\1');  // no setting may hold a NUL
        ASSERT_EQ(roundTrip(value), value);
    }
    std::uniform_int_distribution<int> byte(0, 255), length(0, 16);
    for (int i = 0; i < 2000; ++i) {
        std::string value;
        for (int n = length(random); n > 0; --n)
            value += static_cast<char>(std::max(byte(random), 1));
        ASSERT_EQ(roundTrip(value), value);
    }
}

TEST(IniDocument, PlainValuesAreWrittenAsTheyAre) {
    // What a person reading the file sees: quotes only where a value needs them.
    EXPECT_EQ(IniDocument::encodeValue("For More Information"), "For More Information");
    EXPECT_EQ(IniDocument::encodeValue("say \"hi\"; a=b, #1"), "say \"hi\"; a=b, #1");
    EXPECT_EQ(IniDocument::encodeValue(""), "");
    EXPECT_EQ(IniDocument::encodeValue(" x"), "\" x\"");
    EXPECT_EQ(IniDocument::encodeValue("a\r\nb"), "\"a\\r\\nb\"");
    EXPECT_EQ(IniDocument::encodeValue("\"x\""), "\"\\\"x\\\"\"");
}

TEST(IniDocument, PresentEmptyIsNotAbsent) {
    const IniDocument document = IniDocument::parse("[Persist_Data]\nEmailLinkText=\n");
    EXPECT_EQ(document.value("Persist_Data", "EmailLinkText"), "");
    EXPECT_EQ(document.value("Persist_Data", "UserID"), std::nullopt);
    EXPECT_EQ(document.value("Other", "EmailLinkText"), std::nullopt);
}

TEST(IniDocument, ReadsFilesWrittenByHand) {
    const IniDocument document = IniDocument::parse(
        "\xEF\xBB\xBF; written by the deployer\r\n"
        "[ persist_data ]\r\n"
        "  mailtolink = <a href=\"mailto:<<EMAIL>>\"><<MAILTOTEXT>></a>  \r\n"
        "# order page of the partner\r\n"
        "OrderURL=https://secure.ostrel.example/order.htm?id=1;x=2\r\n"
        "TemplateFileName=\"  spaced.wtf\"\r\n"
        "BrowseURL=first\r\n"
        "BrowseURL=second\r\n"
        "[Other]\r\n"
        "UserID=not ours");
    EXPECT_EQ(document.value("Persist_Data", "MailtoLink"),
              "<a href=\"mailto:<<EMAIL>>\"><<MAILTOTEXT>></a>");
    EXPECT_EQ(document.value("Persist_Data", "OrderURL"),
              "https://secure.ostrel.example/order.htm?id=1;x=2");
    EXPECT_EQ(document.value("Persist_Data", "TemplateFileName"), "  spaced.wtf");
    EXPECT_EQ(document.value("Persist_Data", "BrowseURL"), "first");
    EXPECT_EQ(document.value("Persist_Data", "UserID"), std::nullopt);
    EXPECT_EQ(document.value("other", "userid"), "not ours");
}

TEST(IniDocument, ChangeRewritesOneLineAndKeepsTheRest) {
    const std::string original =
        "; settings\r\n"
        "[Persist_Data]\r\n"
        "userid = old\r\n"
        "FormHeader=Header   ; not a comment\r\n"
        "\r\n"
        "; trailing comment of the section\r\n"
        "[Other]\r\n"
        "UserID=other";
    IniDocument document = IniDocument::parse(original);
    document.setValue("Persist_Data", "UserID", "new");
    document.setValue("Persist_Data", "MsgNo", "none");
    EXPECT_EQ(document.text(),
              "; settings\r\n"
              "[Persist_Data]\r\n"
              "userid=new\r\n"
              "FormHeader=Header   ; not a comment\r\n"
              "MsgNo=none\r\n"
              "\r\n"
              "; trailing comment of the section\r\n"
              "[Other]\r\n"
              "UserID=other");

    document.setValue("Third", "Key", "v");
    EXPECT_TRUE(document.text().ends_with("UserID=other\r\n\r\n[Third]\r\nKey=v\r\n"));
}

TEST(IniDocument, LinesThatCannotBeReadAreNamed) {
    struct Case {
        std::string text;
        std::size_t line;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"[Persist_Data]\nUserID=a\njust words\n", 3, "neither"},
        {"UserID=a\n", 1, "before any [section]"},
        {"[Persist_Data\n", 1, "[name]"},
        {"[]\n", 1, "names no section"},
        {"[S]\n=value\n", 2, "no key"},
        {"[S]\nK=\"unterminated\n", 2, "closing quote"},
        {"[S]\nK=\"a\" trailing\n", 2, "closing quote"},
        {"[S]\nK=\"bad \\q escape\"\n", 2, "unknown escape"},
        {"[S]\nK=\"\\x4\"\n", 2, "two hexadecimal digits"},
        {"[S]\n\nK=caf\xE9\n", 3, "UTF-8"},
        {std::string("[S]\nA=1\nUserID=a\0b\n", 19), 3, "value of UserID holds a NUL"},
        {"[S]\nMsgNo=\"1\\x002\"\n", 2, "value of MsgNo holds a NUL"},
    };
    for (const Case& c : cases) {
        try {
            (void)IniDocument::parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const platform::text::TextFormatError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text;
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

TEST(IniDocument, NamesTheFormatCannotHoldAreRefused) {
    IniDocument document = IniDocument::parse("");
    for (const char* key : {"", " K", "K ", "a=b", "[K", ";K", "#K", "K\n"}) {
        EXPECT_THROW(document.setValue("S", key, "v"), com::Error) << key;
    }
    for (const char* section : {"", "a]b", "[a", " S"}) {
        EXPECT_THROW(document.setValue(section, "K", "v"), com::Error) << section;
    }
    EXPECT_THROW(document.setValue("S", "K", std::string("a\0b", 3)), com::Error);
    EXPECT_EQ(document.text(), "");
}

}  // namespace
