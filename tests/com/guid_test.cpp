// Identifiers: registry text form and binary layout.
#include <gtest/gtest.h>

#include "com/guid.h"

namespace {

TEST(Guid, ParsesAndPrintsRegistryForm) {
    const auto g = com::Guid::parse("{102c8f25-352E-4CAF-88FA-76A4FDB76ED5}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->data1, 0x102C8F25u);
    EXPECT_EQ(g->data2, 0x352E);
    EXPECT_EQ(g->data3, 0x4CAF);
    EXPECT_EQ(g->data4[0], 0x88);
    EXPECT_EQ(g->data4[7], 0xD5);
    EXPECT_EQ(g->toString(), "{102C8F25-352E-4CAF-88FA-76A4FDB76ED5}");
}

TEST(Guid, RejectsMalformedText) {
    for (const char* bad : {"", "102C8F25-352E-4CAF-88FA-76A4FDB76ED5",
                            "{102C8F25-352E-4CAF-88FA-76A4FDB76ED}",
                            "{102C8F25-352E-4CAF-88FA-76A4FDB76EDG}",
                            "{102C8F25+352E-4CAF-88FA-76A4FDB76ED5}",
                            "{102C8F25-352E-4CAF-88FA-76A4FDB76ED5}x"}) {
        EXPECT_FALSE(com::Guid::parse(bad)) << bad;
    }
}

TEST(Guid, BinaryLayoutHasLittleEndianFieldsThenBytesInOrder) {
    const auto g = com::Guid::literal("{01020304-0506-0708-090A-0B0C0D0E0F10}");
    const auto b = g.toBytes();
    const std::array<std::uint8_t, 16> expected{4, 3, 2, 1, 6, 5, 8, 7, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(b, expected);
    EXPECT_EQ(com::Guid::fromBytes(b), g);
}

}  // namespace
