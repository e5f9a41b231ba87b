// The module's in-process entry points. No exception leaves them.
#include "addin/identity.h"
#include "addin/module/connect_factory.h"
#include "addin/module/module_exports.h"
#include "addin/module/registration.h"
#include "com/addin_extensibility.h"
#include "platform/registry/registry_file.h"
#include "wizard/module_objects.h"

OSTREL_EXPORT com::HRESULT DllGetClassObject(const com::Guid* clsid, const com::Guid* iid,
                                             void** out) {
    if (!out) return com::E_POINTER;
    *out = nullptr;
    if (!clsid || !iid) return com::E_INVALIDARG;
    if (*clsid != ostrel::CLSID_Connect) return com::CLASS_E_CLASSNOTAVAILABLE;
    return com::guarded([&] {
        auto factory = com::make<ostrel::ConnectFactory>();
        com::check(factory->QueryInterface(*iid, out));
    });
}

// The factory counts as an object of the module, so a host still holding one keeps it loaded.
OSTREL_EXPORT com::HRESULT DllCanUnloadNow() {
    return ostrel::moduleObjectCount() == 0 && ostrel::serverLocks() == 0 ? com::S_OK
                                                                          : com::S_FALSE;
}

// All records are written in one change of the registry file: all or nothing.
OSTREL_EXPORT com::HRESULT DllRegisterServer() {
    return com::guarded([] {
        const auto module = ostrel::thisModulePath();
        platform::registry::RegistryFile().modify(
            [&](platform::registry::RegistryTree& tree) { ostrel::writeRegistration(tree, module); });
    });
}

OSTREL_EXPORT com::HRESULT DllUnregisterServer() {
    return com::guarded([] {
        platform::registry::RegistryFile().modify(
            [](platform::registry::RegistryTree& tree) { ostrel::removeRegistration(tree); });
    });
}
