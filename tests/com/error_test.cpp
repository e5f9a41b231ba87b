// Failures cross the boundary as a status plus details and come back whole.
#include <gtest/gtest.h>

#include "com/class_factory.h"
#include "com/error.h"

namespace {

com::HRESULT calleeThatFails(std::int32_t number) {
    return com::guarded([&] { throw com::Error(number, "went wrong", "Callee"); });
}

TEST(Error, DetailsSurviveTheBoundary) {
    for (std::int32_t number : {6, 91, 65535, -2147467259, -5}) {
        const com::HRESULT hr = calleeThatFails(number);
        EXPECT_TRUE(com::failed(hr)) << number;
        try {
            com::check(hr, "Caller");
            FAIL();
        } catch (const com::Error& e) {
            EXPECT_EQ(e.number(), number);
            EXPECT_EQ(e.description(), "went wrong");
            EXPECT_EQ(e.source(), "Callee");
        }
    }
}

TEST(Error, NumberZeroNeverReadsAsSuccess) {
    EXPECT_TRUE(com::failed(calleeThatFails(0)));
    com::clearErrorInfo();
}

TEST(Error, StatusWithoutDetailsGetsTheCallersSource) {
    try {
        com::check(com::E_NOINTERFACE, "Caller");
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::E_NOINTERFACE);
        EXPECT_EQ(e.source(), "Caller");
        EXPECT_FALSE(e.description().empty());
    }
}

TEST(Error, StaleDetailsAreNotPinnedOnAnotherFailure) {
    (void)calleeThatFails(6);  // leaves details that nobody collects
    try {
        com::check(com::E_POINTER, "Caller");
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::E_POINTER);
        EXPECT_NE(e.description(), "went wrong");
    }
}

TEST(Error, ForeignExceptionsBecomeFailures) {
    EXPECT_EQ(com::guarded([] { throw std::runtime_error("boom"); }), com::E_FAIL);
    EXPECT_EQ(com::takeErrorInfo()->description, "boom");
    EXPECT_EQ(com::guarded([] { throw 42; }), com::E_FAIL);
    com::clearErrorInfo();
}

TEST(ClassRegistry, UnknownProgramIdFailsWithItsName) {
    try {
        com::createObject("No.Such.Class");
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::cannotCreateObject);
        EXPECT_NE(e.description().find("No.Such.Class"), std::string::npos);
    }
}

}  // namespace
