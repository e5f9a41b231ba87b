// The add-ins as the editor sees them: the user's registry over the machine-wide records that
// pass the owner test, and the machine-wide add-ins that are not loaded, with the reason.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "com/registration/class_registration.h"
#include "platform/registry/machine_registry.h"
#include "platform/registry/registry_file.h"

namespace host {

// A machine-wide add-in that must not be loaded, and why (names the file or folder at fault
// and the fix).
struct RefusedAddIn {
    com::registration::AddInEntry entry;
    std::string reason;
};

struct AddInRegistryView {
    platform::registry::RegistryTree user;
    platform::registry::RegistryTree machine;   // trusted records only, machine's hive
    platform::registry::RegistryTree combined;  // what is listed and loaded
    // Add-ins of record files that are not trusted and that the combined view cannot load.
    std::vector<RefusedAddIn> refused;
    // Registries that cannot be read, each named; the user's registry failing comes first.
    std::vector<std::string> problems;
    bool userUnreadable = false;
};

// Never throws.
AddInRegistryView readAddInRegistry(const platform::registry::RegistryFile& user,
                                    const platform::registry::MachineRegistry& machine,
                                    std::string_view hostKey);

// The module the view resolves progId to, checked: when it comes from the machine-wide
// records (not the user's own), it must pass the owner test, and then `module` is its path
// with links resolved, which is what is loaded. Throws com::Error when the program id does
// not resolve; `refusal` is set (and module empty) when the module must not be loaded.
struct CheckedServer {
    com::registration::ServerLocation server;
    bool allUsers = false;  // the module path came from the machine-wide records
    std::string refusal;
};
CheckedServer checkedServer(const AddInRegistryView& view, std::string_view progId,
                            const platform::registry::OwnerTrust& trust);

}  // namespace host
