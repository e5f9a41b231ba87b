// The records that the module's self-registration writes to the per-user registry, and
// their removal.
#pragma once

#include <filesystem>

#include "platform/registry/registry_tree.h"

namespace ostrel {

// Records Connect's class with module as its in-process server, its program id, the type
// library, the _Connect interface and the host's add-in entry. Values already there are
// replaced, so registering again leaves the same records.
void writeRegistration(platform::registry::RegistryTree& tree, const std::filesystem::path& module);

// Removes exactly the keys writeRegistration made for this component; the type library's
// own key goes only when no other version of it is left. Nothing else is touched, and
// removing what is not there is no failure.
void removeRegistration(platform::registry::RegistryTree& tree);

// The absolute path of the loaded module file.
std::filesystem::path thisModulePath();

}  // namespace ostrel
