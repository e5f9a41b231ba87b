// The class factory of Connect, the module's only creatable class.
#pragma once

#include "com/class_factory.h"
#include "com/object.h"
#include "wizard/module_objects.h"

namespace ostrel {

class ConnectFactory : public com::Object<com::IClassFactory> {
public:
    com::HRESULT CreateInstance(com::IUnknown* outer, const com::Guid& riid, void** out) override;
    com::HRESULT LockServer(bool lock) override;

private:
    ModuleObject m_moduleObject;
};

// Whether some host holds the module loaded through LockServer.
long serverLocks();

}  // namespace ostrel
