// The module's class object and unload entry points, called as a host calls them.
#include <gtest/gtest.h>

#include "com/addin_extensibility.h"
#include "com/class_factory.h"
#include "module_library.h"
#include "resources/identity/identity_table.h"

namespace {

using ostrel::identity::CLSID_Connect;

class EntryPoints : public testing::Test {
protected:
    ModuleLibrary module{OSTREL_PLUGIN_PATH};
    com::DllGetClassObjectFn getClassObject =
        module.entry<com::DllGetClassObjectFn>("DllGetClassObject");
    com::DllCanUnloadNowFn canUnloadNow = module.entry<com::DllCanUnloadNowFn>("DllCanUnloadNow");

    com::ComPtr<com::IClassFactory> factory() {
        com::ComPtr<com::IClassFactory> f;
        EXPECT_EQ(getClassObject(&CLSID_Connect, &com::IClassFactory::iid, f.putVoid()), com::S_OK);
        return f;
    }
};

TEST_F(EntryPoints, ClassObjectIsOnlyForConnectAndClearsTheOutPointerFirst) {
    int junk = 0;
    void* out = &junk;
    const com::Guid other = com::Guid::literal("{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(getClassObject(&other, &com::IClassFactory::iid, &out),
              com::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);

    out = &junk;
    EXPECT_EQ(getClassObject(&CLSID_Connect, &com::IDTExtensibility2::iid, &out),
              com::E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    EXPECT_EQ(getClassObject(&CLSID_Connect, &com::IClassFactory::iid, nullptr), com::E_POINTER);
    out = &junk;
    EXPECT_EQ(getClassObject(nullptr, &com::IClassFactory::iid, &out), com::E_INVALIDARG);
    EXPECT_EQ(out, nullptr);
}

TEST_F(EntryPoints, FactoryMakesAConnectThatOffersBothItsInterfaces) {
    auto f = factory();
    com::ComPtr<com::IDTExtensibility2> addIn;
    ASSERT_EQ(f->CreateInstance(nullptr, com::IDTExtensibility2::iid, addIn.putVoid()), com::S_OK);
    com::ComPtr<com::IUnknown> defaultItf;
    EXPECT_EQ(addIn->QueryInterface(ostrel::identity::IID__Connect, defaultItf.putVoid()),
              com::S_OK);

    com::ComPtr<com::IUnknown> aggregated;
    EXPECT_EQ(f->CreateInstance(addIn.get(), com::IUnknown::iid, aggregated.putVoid()),
              com::CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(aggregated);
}

TEST_F(EntryPoints, ModuleStaysWhileAnObjectLivesOrTheFactoryIsLocked) {
    EXPECT_EQ(canUnloadNow(), com::S_OK);

    auto f = factory();
    EXPECT_EQ(canUnloadNow(), com::S_FALSE) << "the factory is an object of the module";
    com::ComPtr<com::IDTExtensibility2> addIn;
    ASSERT_EQ(f->CreateInstance(nullptr, com::IDTExtensibility2::iid, addIn.putVoid()), com::S_OK);
    EXPECT_EQ(f->LockServer(true), com::S_OK);
    f = nullptr;
    EXPECT_EQ(canUnloadNow(), com::S_FALSE) << "a Connect is alive and the server is locked";

    addIn = nullptr;
    EXPECT_EQ(canUnloadNow(), com::S_FALSE) << "still locked";

    // The lock is the module's, not the factory's: a new factory unlocks it.
    f = factory();
    EXPECT_EQ(f->LockServer(false), com::S_OK);
    f = nullptr;
    EXPECT_EQ(canUnloadNow(), com::S_OK);
}

}  // namespace
