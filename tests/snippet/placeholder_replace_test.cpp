// Literal replacement: every occurrence, left to right, without overlap or rescanning.
#include "wizard/snippet/placeholder_replace.h"

#include <gtest/gtest.h>

namespace {

using ostrel::replacePlaceholder;

TEST(PlaceholderReplace, EveryOccurrenceAnywhere) {
    EXPECT_EQ(replacePlaceholder("<<X>>a<<X>><<X>>b<<X>>", "<<X>>", "1"), "1a11b1");
    EXPECT_EQ(replacePlaceholder("<<X>>", "<<X>>", ""), "");
    EXPECT_EQ(replacePlaceholder("", "<<X>>", "1"), "");
}

TEST(PlaceholderReplace, OtherLetterCaseAndNearMissesStay) {
    EXPECT_EQ(replacePlaceholder("<<x>> <<X> <X>> << X>> <<X>>", "<<X>>", "1"),
              "<<x>> <<X> <X>> << X>> 1");
}

TEST(PlaceholderReplace, LeftToRightWithoutOverlap) {
    EXPECT_EQ(replacePlaceholder("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replacePlaceholder("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(replacePlaceholder("<<<X>>>", "<<X>>", "1"), "<1>");
}

TEST(PlaceholderReplace, InsertedValueIsNotScannedAgain) {
    EXPECT_EQ(replacePlaceholder("<<X>>", "<<X>>", "<<X>><<X>>"), "<<X>><<X>>");
    // A value that completes a placeholder with the text after it is not matched either.
    EXPECT_EQ(replacePlaceholder("<<X>>X>>", "<<X>>", "<<"), "<<X>>");
}

TEST(PlaceholderReplace, TextAroundIsCopiedByteForByte) {
    const std::string text = "\xC3\xA9\r\n<<X>>tail\xF0\x9F\x98\x80";
    const std::string withNul = std::string("a\0<<X>>\0b", 9);
    EXPECT_EQ(replacePlaceholder(text, "<<X>>", "v"), "\xC3\xA9\r\nvtail\xF0\x9F\x98\x80");
    EXPECT_EQ(replacePlaceholder(withNul, "<<X>>", "v"), std::string("a\0v\0b", 5));
}

}  // namespace
