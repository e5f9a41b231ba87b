// Removing a class's registration records by reading the registry alone, never the module:
// for modules that crash or hang when asked to unregister, or that are gone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry_tree.h"

namespace com::registration {

// `target` is a class id ({XXXXXXXX-...}) or the absolute path of a module, which stands for
// every class it serves. Deletes each class's key, its program ids, the host add-in entries
// under those program ids, and the type library records that name the module as their
// file, with the interfaces of a library that is then gone. Returns the keys deleted.
std::vector<std::string> removeRecords(platform::registry::RegistryTree& tree, std::string_view target);

// The add-in entry progId under hostKey and, when it resolves, its class's records as above.
std::vector<std::string> removeAddInRecords(platform::registry::RegistryTree& tree, std::string_view hostKey,
                                            std::string_view progId);

}  // namespace com::registration
