// What the add-in module exports with C linkage beside the four in-process entry points:
// its resource lookup. Hosts and tools find it with dlsym by this name.
#pragma once

#include <cstddef>

#include "com/status.h"

#define OSTREL_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {
// Finds the module's resource of the given type and numeric id. Types compare without
// regard to the case of A-Z: "TYPELIB" 1 (the type library), "_IID_CONNECT" 1 (the
// default interface's id, 20 bytes) and "VERSION" 1 (the version block). On success
// *data and *size describe read-only bytes that stay valid while the module is loaded.
// Fails with E_POINTER when an out-pointer is missing (the others are then cleared),
// E_INVALIDARG when type is missing, kResourceTypeNotFound or kResourceNotFound.
using OstrelGetResourceFn = com::HRESULT (*)(const char* type, int id, const void** data,
                                             std::size_t* size);
}

namespace ostrel {

inline constexpr const char* kGetResourceSymbol = "OstrelGetResource";
// The platform's statuses for "resource type not found" and "resource name not found".
inline constexpr com::HRESULT kResourceTypeNotFound = static_cast<com::HRESULT>(0x80070715u);
inline constexpr com::HRESULT kResourceNotFound = static_cast<com::HRESULT>(0x80070716u);

}  // namespace ostrel
