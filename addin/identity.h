// The component's class identity as the module hands it out. The values are generated from
// resources/identity/OstrelPlugin.idl; the checks below keep the hand-written interface
// declarations in step with it, so a changed id fails the build instead of drifting.
#pragma once

#include "addin/connect_interface.h"
#include "com/addin_extensibility.h"
#include "resources/identity/identity_table.h"

namespace ostrel {

inline constexpr com::Guid CLSID_Connect = identity::CLSID_Connect;
inline constexpr std::string_view kConnectProgId = identity::kProgId;

static_assert(_Connect::iid == identity::IID__Connect,
              "_Connect's interface id differs from the IDL");
static_assert(com::IDTExtensibility2::iid == identity::IID_IDTExtensibility2,
              "IDTExtensibility2's interface id differs from the IDL");
static_assert(com::IDispatch::iid == identity::IID_IDispatch,
              "IDispatch's interface id differs from the IDL");

}  // namespace ostrel
