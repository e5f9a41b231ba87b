// Late binding: a member id looked up by name, then invoked with variants.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "com/call_site.h"
#include "com/com_ptr.h"
#include "com/unknown.h"
#include "com/variant.h"
#include "platform/text/ascii.h"

namespace com {

using DispId = std::int32_t;

enum class InvokeKind : std::uint16_t {
    Method = 1,
    PropertyGet = 2,
    PropertyPut = 4,
    PropertyPutRef = 8,
};

struct IDispatch : IUnknown {
    static constexpr Guid iid = Guid::literal("{00020400-0000-0000-C000-000000000046}");
    using Base = IUnknown;

    // Member names compare without regard to letter case, as automation names do.
    virtual HRESULT GetIDOfName(std::string_view name, DispId* id) = 0;
    virtual HRESULT Invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                           Variant* result) = 0;

protected:
    ~IDispatch() = default;
};

// Caller side: look the member up by name and invoke it; failures throw Error.
Variant invokeByName(IDispatch* target, std::string_view name, InvokeKind kind,
                     std::vector<Variant> args = {});
void setPropertyByName(IDispatch* target, std::string_view name, Variant value);

// Implementer side: a class lists its late-bound members in a table and forwards its two
// IDispatch methods to these helpers.
template <class Self>
struct DispatchMember {
    std::string_view name;
    DispId id;
    // Throws Error on failure; writes the member's value to *result for gets and methods.
    void (*invoke)(Self& self, InvokeKind kind, std::span<const Variant> args, Variant* result);
};

template <class Self, std::size_t N>
HRESULT dispatchIdOfName(const DispatchMember<Self> (&table)[N], std::string_view name,
                         DispId* id) {
    if (!id) return E_POINTER;
    for (const auto& m : table) {
        if (platform::text::equalsIgnoringAsciiCase(m.name, name)) {
            *id = m.id;
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

// A failure that names no source is given the class's Invoke, where the call came in.
template <class Self, std::size_t N>
HRESULT dispatchInvoke(Self& self, const DispatchMember<Self> (&table)[N], DispId id,
                       InvokeKind kind, std::span<const Variant> args, Variant* result,
                       CallSite where = CallSite::current()) {
    for (const auto& m : table) {
        if (m.id == id) {
            return guarded(
                [&] {
                    Variant value;
                    m.invoke(self, kind, args, &value);
                    if (result) *result = std::move(value);
                },
                where);
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}

// Argument i, or a missing value when the caller passed fewer.
inline const Variant& argumentAt(std::span<const Variant> args, std::size_t i) {
    static const Variant kMissing = Variant::missing();
    return i < args.size() ? args[i] : kMissing;
}

}  // namespace com
