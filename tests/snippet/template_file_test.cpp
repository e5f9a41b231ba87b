// Reading a template: UTF-8 with or without a byte-order mark, UTF-16 with one, legacy
// Windows-1252 bytes; and only from below the module's folder.
#include "wizard/snippet/template_file.h"

#include <gtest/gtest.h>

#include "com/error.h"
#include "tests/registry/store_test_support.h"
#include "tests/snippet/temp_folder.h"
#include "wizard/snippet/template_text.h"
#include "platform/text/utf8.h"

namespace {

using snippet_test::TempFolder;

std::string readBack(std::string_view bytes) {
    TempFolder folder;
    folder.write("t.wtf", bytes);
    return ostrel::readTemplateFile(folder.path(), "t.wtf");
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

TEST(TemplateFile, Utf16WithAByteOrderMarkIsDecoded) {
    const std::string text = "<p>\xC3\xA9 \xF0\x9F\x98\x80</p>";  // é and an astral character
    const std::string le("\xFF\xFE<\0p\0>\0\xE9\0 \0\x3D\xD8\x00\xDE<\0/\0p\0>\0", 24);
    const std::string be("\xFE\xFF\0<\0p\0>\0\xE9\0 \xD8\x3D\xDE\x00\0<\0/\0p\0>", 24);
    EXPECT_EQ(readBack(le), text);
    EXPECT_EQ(readBack(be), text);
    EXPECT_EQ(readBack("\xFF\xFE"), "");
    using namespace std::string_literals;
    for (const std::string& bad :
         {"\xFF\xFE\x61\0b"s, "\xFF\xFE\x3D\xD8\x61\0"s, "\xFE\xFF\xDC\x00"s}) {
        try {
            readBack(bad);
            ADD_FAILURE() << testing::PrintToString(bad);
        } catch (const com::Error& e) {
            EXPECT_NE(e.description().find("t.wtf\" starts with a UTF-16 byte-order mark, but it "
                                           "is not valid UTF-16"),
                      std::string::npos)
                << e.description();
        }
    }
}

// Names below the module's folder are found, through sub-folders and links that stay in it;
// a name that leads out of it is refused, for root and for an ordinary user alike.
TEST(TemplateFile, OnlyFilesBelowTheModulesFolderAreRead) {
    const ostrel::testing::TempFolder base;
    const auto module = base / "module";
    snippet_test::TempFolder::writeAt(module / "template.wtf", "T");
    snippet_test::TempFolder::writeAt(module / "forms" / "a.wtf", "A");
    snippet_test::TempFolder::writeAt(base / "secret.txt", "SECRET");
    std::filesystem::create_symlink("forms/a.wtf", module / "inside-link");
    std::filesystem::create_symlink("../secret.txt", module / "out-link");
    std::filesystem::create_symlink("..", module / "up-link");
    const std::pair<const char*, const char*> cases[] = {
        {"template.wtf", "T"},
        {"forms/a.wtf", "A"},
        {"forms/../template.wtf", "T"},
        {"inside-link", "A"},
        {"/template.wtf", "T"},
        {"../secret.txt", nullptr},
        {"forms/../../secret.txt", nullptr},
        {"out-link", nullptr},
        {"up-link/secret.txt", nullptr},
        {"../missing.wtf", nullptr},
        {"/../../../../../../../../etc/passwd", nullptr},
    };
    for (const bool ordinary : {false, true}) {
        for (const auto& [name, text] : cases) {
            SCOPED_TRACE(std::string(name) + (ordinary ? " as an ordinary user" : ""));
            if (ordinary && !ostrel::testing::whyNotOrdinaryUser(base.path()).empty()) continue;
            const auto read = [&] {
                const std::string got = ostrel::readTemplateFile(module, name);
                if (!text || got != text) throw com::Error(0, "read \"" + got + "\"", "");
            };
            const auto error = ordinary ? ostrel::testing::attemptAsOrdinaryUser(read)
                                        : ostrel::testing::attempt(read);
            if (text) {
                EXPECT_FALSE(error) << error->description;
                continue;
            }
            ASSERT_TRUE(error);
            EXPECT_EQ(error->number, com::errc::pathFileAccessError);
            EXPECT_NE(error->description.find("The setting TemplateFileName (\"" +
                                              std::string(name) + "\") leads to"),
                      std::string::npos)
                << error->description;
        }
    }
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
        EXPECT_FALSE(platform::text::isValidUtf8(bytes)) << testing::PrintToString(bytes);
    }
    for (const std::string bytes :
         {"\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF",
          "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(platform::text::isValidUtf8(bytes)) << testing::PrintToString(bytes);
    }
}

TEST(TemplateFile, NameIsJoinedToTheFolderAsText) {
    EXPECT_EQ(ostrel::templatePath("/opt/ostrel", "template.wtf"), "/opt/ostrel/template.wtf");
    EXPECT_EQ(ostrel::templatePath("/opt/ostrel", "forms/a.wtf"), "/opt/ostrel/forms/a.wtf");
    EXPECT_EQ(ostrel::templatePath("/opt/ostrel", "/etc/a.wtf"), "/opt/ostrel//etc/a.wtf");
}

}  // namespace
