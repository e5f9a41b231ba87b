// Add-in registration records written by hand, as a module's own DllRegisterServer would.
#pragma once

#include <string>

#include "host/editor/registered_addins.h"
#include "com/registration/class_registration.h"

inline void registerAddIn(platform::registry::RegistryTree& tree, const std::string& progId,
                          const std::string& clsid, const std::string& module,
                          std::uint32_t loadBehavior = com::registration::kLoadAtStartup) {
    namespace reg = com::registration;
    const auto id = com::Guid::parse(clsid).value();
    tree.setValue(reg::progIdKey(progId) + "\\Clsid", "", clsid);
    tree.setValue(reg::inprocServerKey(id), "", module);
    const std::string key = reg::addInKey(host::kHostRegistryRoot, progId);
    tree.setValue(key, "FriendlyName", progId + " add-in");
    tree.setValue(key, "LoadBehavior", loadBehavior);
}
