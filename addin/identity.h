// The component's class identity as the module hands it out.
#pragma once

#include "com/guid.h"

namespace ostrel {

inline constexpr com::Guid CLSID_Connect = com::Guid::literal("{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}");
inline constexpr std::string_view kConnectProgId = "OstrelPlugin.Connect";

}  // namespace ostrel
