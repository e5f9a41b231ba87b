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

struct HostObject {
    com::HRESULT put_Value(int) {
        return com::guarded([] { throw std::runtime_error("boom"); });
    }
};

// A failure without a source of its own is named after the function it was raised in.
TEST(Error, ForeignExceptionsBecomeFailuresThatNameTheirSource) {
    try {
        com::check(HostObject().put_Value(1));
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::numberOf(com::E_FAIL));
        EXPECT_EQ(e.description(), "boom");
        EXPECT_EQ(e.source(), "HostObject.put_Value");
    }
    EXPECT_EQ(com::guarded([] { throw 42; }), com::E_FAIL);
    EXPECT_FALSE(com::takeErrorInfo()->source.empty());
    EXPECT_EQ(com::guarded([] { throw com::Error(5, "no source", ""); }), com::statusOf(5));
    EXPECT_FALSE(com::takeErrorInfo()->source.empty());

    const std::pair<const char*, const char*> spellings[] = {
        {"virtual com::HRESULT host::{anonymous}::HtmlElement::put_innerHTML(const std::string&)",
         "HtmlElement.put_innerHTML"},
        {"virtual HRESULT host::(anonymous namespace)::HtmlElement::put_innerHTML(const "
         "std::string &)",
         "HtmlElement.put_innerHTML"},
        {"std::vector<int> ns::Box<std::map<int, int> >::items() const", "Box.items"},
        {"int main()", "main"},
        {"auto Outer::operator()(int) const", "Outer.operator()"},
    };
    for (const auto& [function, source] : spellings)
        EXPECT_EQ(com::sourceOfFunction(function), source) << function;
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
