// Reading a template: UTF-8 with or without a byte-order mark, legacy Windows-1252 bytes.
#include "wizard/snippet/template_file.h"

#include <gtest/gtest.h>

#include "tests/snippet/temp_folder.h"
#include "wizard/snippet/template_text.h"

namespace {

using snippet_test::TempFolder;

std::string readBack(std::string_view bytes) {
    TempFolder folder;
    return ostrel::readTemplateFile(folder.write("t.wtf", bytes));
}

TEST(TemplateFile, Utf8IsKeptByteForByte) {
    const std::string text =
        "<h2>Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x80\x93 \xE6\x97\xA5 \xF0\x9F\x98\x80</h2>\r\n";
    EXPECT_EQ(readBack(text), text);
    EXPECT_EQ(readBack(""), "");
}

TEST(TemplateFile, OnlyALeadingByteOrderMarkIsDropped) {
    EXPECT_EQ(readBack("\xEF\xBB\xBF<<USERID>>"), "<<USERID>>");
    EXPECT_EQ(readBack("\xEF\xBB\xBF"), "");
    EXPECT_EQ(readBack("a\xEF\xBB\xBF"), "a\xEF\xBB\xBF");
}

TEST(TemplateFile, BytesThatAreNotUtf8AreReadAsWindows1252) {
    EXPECT_EQ(readBack("caf\xE9 \x80 \x93q\x94 \xA0\xFF"),
              "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D \xC2\xA0\xC3\xBF");
    // Bytes the code page leaves undefined keep their value as C1 control characters.
    EXPECT_EQ(readBack("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    // One stray byte makes the whole file legacy text, valid sequences included.
    EXPECT_EQ(readBack("\xC3\xA9\xE9"), "\xC3\x83\xC2\xA9\xC3\xA9");
}

TEST(TemplateFile, MalformedUtf8IsRecognised) {
    for (const std::string bytes :
         {"\x80", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF",
          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE2\x82", "a\xC3", "\xE2\x28\xA1"}) {
        EXPECT_FALSE(ostrel::isValidUtf8(bytes)) << testing::PrintToString(bytes);
    }
    for (const std::string bytes :
         {"\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF",
          "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(ostrel::isValidUtf8(bytes)) << testing::PrintToString(bytes);
    }
}

TEST(TemplateFile, NameIsJoinedToTheFolderAsText) {
    EXPECT_EQ(ostrel::templatePath("/opt/ostrel", "template.wtf"), "/opt/ostrel/template.wtf");
    EXPECT_EQ(ostrel::templatePath("/opt/ostrel", "forms/a.wtf"), "/opt/ostrel/forms/a.wtf");
    EXPECT_EQ(ostrel::templatePath("/opt/ostrel", "/etc/a.wtf"), "/opt/ostrel//etc/a.wtf");
}

}  // namespace
