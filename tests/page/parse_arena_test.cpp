// The parse arena's limits stop a parse, and never what is done to the tree after it.
#include "host/page/parse_arena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

namespace {

using host::page::ParseArena;

TEST(ParseArena, LimitsStopTheParseButNotChangesAfterIt) {
    ParseArena arena(std::size_t(64) << 20, std::chrono::nanoseconds(0));
    std::string page;
    for (int i = 0; i < 5000; ++i) page += "<p>x";
    EXPECT_EQ(arena.run(kGumboDefaultOptions, page.data(), page.size()), nullptr);
    EXPECT_EQ(arena.overrun(), ParseArena::Overrun::time);

    // Past the deadline and beyond the memory limit: still memory, zeroed.
    const std::size_t size = std::size_t(80) << 20;
    auto* p = static_cast<unsigned char*>(arena.allocateAfterParse(size));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[size - 1], 0);
    std::memset(p, 1, size);
}

// A busy machine keeps a parse waiting; only the work done counts against the limit.
TEST(ParseArena, WaitingDoesNotCountAgainstTheTimeLimit) {
    ParseArena arena(std::size_t(64) << 20, std::chrono::milliseconds(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::string page;
    for (int i = 0; i < 5000; ++i) page += "<p>x";
    EXPECT_NE(arena.run(kGumboDefaultOptions, page.data(), page.size()), nullptr);
    EXPECT_EQ(arena.overrun(), ParseArena::Overrun::none);
}

TEST(ParseArena, AParseWithinItsLimitsIsKept) {
    ParseArena arena(std::size_t(64) << 20, std::chrono::hours(1));
    const std::string page = "<p>one<p>two";
    GumboOutput* out = arena.run(kGumboDefaultOptions, page.data(), page.size());
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(arena.overrun(), ParseArena::Overrun::none);
}

// Small pages take little memory; large ones grow to as much as the limit allows.
TEST(ParseArena, MemoryFollowsThePageUpToTheLimit) {
    const auto later = std::chrono::hours(1);
    const std::string text = "<p>" + std::string(100, 'x') + "</p>\n";
    const struct {
        std::string unit;
        int times;
        std::size_t limit;
        bool parses;
        std::size_t atMost;
    } cases[] = {
        {text, 200, std::size_t(64) << 20, true, std::size_t(1) << 20},  // 21 KB of text
        {"<p>x", 100000, std::size_t(256) << 20, true, std::size_t(256) << 20},
        {"<p>x", 100000, std::size_t(8) << 20, false, std::size_t(8) << 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        std::string page;
        for (int i = 0; i < c.times; ++i) page += c.unit;
        ParseArena arena(c.limit, later);
        EXPECT_EQ(arena.run(kGumboDefaultOptions, page.data(), page.size()) != nullptr, c.parses);
        EXPECT_EQ(arena.overrun(), c.parses ? ParseArena::Overrun::none : ParseArena::Overrun::memory);
        EXPECT_LE(arena.reserved(), c.atMost);
    }
}

// A finished parse's memory serves the next one, written over with zeros again.
TEST(ParseArena, KeptMemoryComesBackZeroed) {
    ParseArena::setKeptBytesLimit(0);  // none kept from other tests
    ParseArena::setKeptBytesLimit(ParseArena::kKeptBytes);
    const std::size_t size = std::size_t(1) << 20;
    unsigned char* first = nullptr;
    {
        ParseArena arena(std::size_t(64) << 20, std::chrono::hours(1));
        first = static_cast<unsigned char*>(arena.allocateAfterParse(size));
        std::memset(first, 0xFF, size);
    }
    ParseArena arena(std::size_t(64) << 20, std::chrono::hours(1));
    auto* again = static_cast<unsigned char*>(arena.allocateAfterParse(size));
    EXPECT_EQ(again, first) << "the kept block is used again";
    EXPECT_EQ(std::count(again, again + size, 0), static_cast<std::ptrdiff_t>(size));
}

}  // namespace
