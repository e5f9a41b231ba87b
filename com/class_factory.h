// Creation of objects: the class factory of a module, and creation by program id.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "com/com_ptr.h"
#include "com/unknown.h"

namespace com {

struct IClassFactory : IUnknown {
    static constexpr Guid iid = Guid::literal("{00000001-0000-0000-C000-000000000046}");
    using Base = IUnknown;

    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) = 0;
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// Out-of-module classes that the platform provides (the browser, for one) are registered
// by program id; creating one always makes a new instance.
using ClassCreator = std::function<ComPtr<IUnknown>()>;
void registerClass(std::string progId, ClassCreator creator);
void revokeClass(std::string_view progId);
// Throws Error when the program id is unknown or the creator fails.
ComPtr<IUnknown> createObject(std::string_view progId);

}  // namespace com
