// Late binding by name, and event subscriptions that follow the held reference.
#include <gtest/gtest.h>

#include <vector>

#include "com/class_factory.h"
#include "com/dispatch.h"
#include "com/event_binding.h"
#include "com/object.h"

namespace {

struct ITickEvents : com::IUnknown {
    static constexpr com::Guid iid = com::Guid::literal("{22222222-0000-0000-0000-000000000001}");
    using Base = com::IUnknown;
    virtual com::HRESULT Tick(int n) = 0;

protected:
    ~ITickEvents() = default;
};

class Clock : public com::Object<com::IDispatch> {
public:
    com::HRESULT GetIDOfName(std::string_view name, com::DispId* id) override {
        return com::dispatchIdOfName(kMembers, name, id);
    }
    com::HRESULT Invoke(com::DispId id, com::InvokeKind kind, std::span<const com::Variant> args,
                        com::Variant* result) override {
        return com::dispatchInvoke(*this, kMembers, id, kind, args, result);
    }
    com::HRESULT Advise(ITickEvents* sink, std::uint32_t* cookie) {
        m_sinks.push_back(sink);
        *cookie = static_cast<std::uint32_t>(m_sinks.size());
        return com::S_OK;
    }
    com::HRESULT Unadvise(std::uint32_t cookie) {
        m_sinks.at(cookie - 1) = nullptr;
        return com::S_OK;
    }
    void tick(int n) {
        for (auto& s : m_sinks)
            if (s) s->Tick(n);
    }

    com::Bool16 visible = com::vbFalse;
    std::vector<com::ComPtr<ITickEvents>> m_sinks;

private:
    static void visibleMember(Clock& self, com::InvokeKind kind, std::span<const com::Variant> args,
                              com::Variant* result) {
        if (kind == com::InvokeKind::PropertyPut) {
            self.visible = com::argumentAt(args, 0).toBool();
        } else {
            *result = com::VariantBool{self.visible};
        }
    }
    static constexpr com::DispatchMember<Clock> kMembers[] = {{"Visible", 402, &visibleMember}};
};

TEST(Dispatch, PropertySetByNameInAnyLetterCase) {
    auto clock = com::make<Clock>();
    com::setPropertyByName(clock.get(), "visible", true);
    EXPECT_EQ(clock->visible, com::vbTrue);
    const auto v = com::invokeByName(clock.get(), "VISIBLE", com::InvokeKind::PropertyGet);
    EXPECT_EQ(v.toBool(), -1);
}

TEST(Dispatch, UnknownNameAndWrongTypeFail) {
    auto clock = com::make<Clock>();
    EXPECT_THROW(com::setPropertyByName(clock.get(), "Hidden", true), com::Error);
    try {
        com::setPropertyByName(clock.get(), "Visible", std::int16_t{1});
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::typeMismatch);
    }
}

class TickCounter : public com::Object<ITickEvents> {
public:
    com::HRESULT Tick(int n) override {
        total += n;
        return com::S_OK;
    }
    int total = 0;
};

TEST(EventBinding, FollowsTheHeldSourceAndEndsWithNothing) {
    auto first = com::make<Clock>();
    auto second = com::make<Clock>();
    auto counter = com::make<TickCounter>();
    {
        com::EventBinding<Clock, ITickEvents> binding(counter.get());
        binding.assign(first.get());
        first->tick(1);
        binding.assign(second.get());  // moving the subscription ends the first one
        first->tick(10);
        second->tick(100);
        binding.assign(nullptr);
        second->tick(1000);
        EXPECT_FALSE(binding);
    }
    EXPECT_EQ(counter->total, 101);
}

TEST(ClassRegistry, EachCreationMakesANewInstance) {
    com::registerClass("Test.Clock", [] { return com::ComPtr<com::IUnknown>(com::make<Clock>()); });
    auto a = com::createObject("Test.Clock");
    auto b = com::createObject("Test.Clock");
    EXPECT_NE(a.get(), b.get());
    com::revokeClass("Test.Clock");
    EXPECT_THROW(com::createObject("Test.Clock"), com::Error);
}

}  // namespace
