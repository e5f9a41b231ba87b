// Counted objects: interface lookup, reference counting and the smart pointer.
#include <gtest/gtest.h>

#include "com/object.h"

namespace {

struct IAnimal : com::IUnknown {
    static constexpr com::Guid iid = com::Guid::literal("{11111111-0000-0000-0000-000000000001}");
    using Base = com::IUnknown;
    virtual int legs() = 0;

protected:
    ~IAnimal() = default;
};
struct IBird : IAnimal {
    static constexpr com::Guid iid = com::Guid::literal("{11111111-0000-0000-0000-000000000002}");
    using Base = IAnimal;
    virtual bool flies() = 0;

protected:
    ~IBird() = default;
};
struct INamed : com::IUnknown {
    static constexpr com::Guid iid = com::Guid::literal("{11111111-0000-0000-0000-000000000003}");
    using Base = com::IUnknown;
    virtual const char* name() = 0;

protected:
    ~INamed() = default;
};
struct IUnrelated : com::IUnknown {
    static constexpr com::Guid iid = com::Guid::literal("{11111111-0000-0000-0000-000000000004}");
    using Base = com::IUnknown;

protected:
    ~IUnrelated() = default;
};

class Ostrich : public com::Object<IBird, INamed> {
public:
    int legs() override { return 2; }
    bool flies() override { return false; }
    const char* name() override { return "ostrich"; }
};

TEST(Object, AnswersItsInterfacesAndTheirBases) {
    auto bird = com::make<Ostrich>();
    EXPECT_EQ(com::query<IAnimal>(bird)->legs(), 2);
    EXPECT_STREQ(com::query<INamed>(bird)->name(), "ostrich");
    EXPECT_FALSE(com::query<IBird>(bird)->flies());

    // Identity: IUnknown from any interface is the same pointer.
    auto viaNamed = com::query<com::IUnknown>(com::query<INamed>(bird));
    auto viaBird = com::query<com::IUnknown>(bird);
    EXPECT_EQ(viaNamed.get(), viaBird.get());

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(bird->QueryInterface(IUnrelated::iid, &out), com::E_NOINTERFACE);
    EXPECT_EQ(out, nullptr) << "the out-pointer is cleared on failure";
    EXPECT_EQ(static_cast<IBird*>(bird.get())->QueryInterface(IUnrelated::iid, nullptr),
              com::E_POINTER);
}

TEST(Object, MissingInterfaceIsATypeMismatchAndEmptyIsNotSet) {
    auto bird = com::make<Ostrich>();
    try {
        com::query<IUnrelated>(bird, "test");
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::typeMismatch);
    }
    com::ComPtr<Ostrich> none;
    try {
        com::query<IAnimal>(none);
        FAIL();
    } catch (const com::Error& e) {
        EXPECT_EQ(e.number(), com::errc::objectNotSet);
    }
}

TEST(Object, GoesWithItsLastReference) {
    const long before = com::liveObjectCount();
    com::ComPtr<Ostrich> a = com::make<Ostrich>();
    EXPECT_EQ(com::liveObjectCount(), before + 1);
    com::ComPtr<Ostrich> b = a;
    a = nullptr;
    EXPECT_EQ(com::liveObjectCount(), before + 1);
    b = nullptr;
    EXPECT_EQ(com::liveObjectCount(), before);
}

TEST(ComPtr, AttachDetachAndSelfAssignmentKeepTheCountRight) {
    const long before = com::liveObjectCount();
    auto a = com::make<Ostrich>();
    Ostrich* raw = a.Detach();
    EXPECT_FALSE(a);
    EXPECT_EQ(com::liveObjectCount(), before + 1);

    com::ComPtr<Ostrich> b;
    b.Attach(raw);  // takes over the detached reference: no extra AddRef
    b = b;          // self-assignment must not release the only reference
    EXPECT_EQ(b->AddRef(), 2u);
    EXPECT_EQ(b->Release(), 1u);
    b = std::move(b);
    ASSERT_TRUE(b);
    b = nullptr;
    EXPECT_EQ(com::liveObjectCount(), before);
}

}  // namespace
