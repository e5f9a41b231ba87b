// Literal replacement: every occurrence, left to right, without overlap or rescanning.
#include "wizard/snippet/placeholder_replace.h"

#include <gtest/gtest.h>

namespace {

using ostrel::replacePlaceholder;

TEST(PlaceholderReplace, LeftToRightWithoutOverlap) {
    EXPECT_EQ(replacePlaceholder("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replacePlaceholder("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(replacePlaceholder("<<<X>>>", "<<X>>", "1"), "<1>");
    EXPECT_EQ(replacePlaceholder(std::string("a\0<<X>>\0b", 9), "<<X>>", "v"),
              std::string("a\0v\0b", 5));
}

TEST(PlaceholderReplace, InsertedValueIsNotScannedAgain) {
    EXPECT_EQ(replacePlaceholder("<<X>>", "<<X>>", "<<X>><<X>>"), "<<X>><<X>>");
    // Nor is a placeholder that a value completes with the text after it.
    EXPECT_EQ(replacePlaceholder("<<X>>X>>", "<<X>>", "<<"), "<<X>>");
}

}  // namespace
