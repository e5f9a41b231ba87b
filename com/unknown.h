// The base of every interface: identity by interface id and counted references.
#pragma once

#include <cstdint>
#include <type_traits>

#include "com/guid.h"
#include "com/status.h"

namespace com {

// Every interface is an abstract struct with `static constexpr Guid iid` and, except the
// root, `using Base = <the interface it extends>`.
struct IUnknown {
    static constexpr Guid iid = Guid::literal("{00000000-0000-0000-C000-000000000046}");

    virtual HRESULT QueryInterface(const Guid& iid, void** out) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;  // objects go with their last Release, never by delete
};

// Whether interface I is, or extends, the interface named by id.
template <class I>
constexpr bool interfaceMatches(const Guid& id) {
    if (id == I::iid) return true;
    if constexpr (std::is_same_v<I, IUnknown>) {
        return false;
    } else {
        return interfaceMatches<typename I::Base>(id);
    }
}

}  // namespace com
