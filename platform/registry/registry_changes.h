// Carrying the changes between two snapshots of a registry over to a third.
#pragma once

#include <string_view>

#include "platform/registry/registry_tree.h"

namespace platform::registry {

// Makes in `target` the changes that lead from `before` to `after`: keys and values that
// went are deleted, keys and values that came or changed are set. Everything else in
// target, such as what another program wrote meanwhile, stays. Returns whether anything
// changed between before and after.
bool applyChanges(RegistryTree& target, const RegistryTree& before, const RegistryTree& after);

// Sets every key and value of `top` in `target`, over what target holds; keys of top under
// the hive `from` go under the hive `to` instead (the same hive: no renaming).
void overlay(RegistryTree& target, const RegistryTree& top, std::string_view from = {},
             std::string_view to = {});
// A copy of tree whose keys under the hive `from` are under the hive `to`.
RegistryTree withHiveRenamed(const RegistryTree& tree, std::string_view from, std::string_view to);

}  // namespace platform::registry
