// The module's in-process entry points. No exception leaves them.
#include "addin/identity.h"
#include "addin/module/class_factory.h"
#include "com/addin_extensibility.h"
#include "wizard/module_objects.h"

#define OSTREL_EXPORT extern "C" __attribute__((visibility("default")))

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

OSTREL_EXPORT com::HRESULT DllCanUnloadNow() {
    return ostrel::moduleObjectCount() == 0 && ostrel::serverLocks() == 0 ? com::S_OK
                                                                            : com::S_FALSE;
}
