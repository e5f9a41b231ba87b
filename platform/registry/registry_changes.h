// Carrying the changes between two snapshots of a registry over to a third.
#pragma once

#include "platform/registry/registry_tree.h"

namespace platform::registry {

// Makes in `target` the changes that lead from `before` to `after`: keys and values that
// went are deleted, keys and values that came or changed are set. Everything else in
// target, such as what another program wrote meanwhile, stays. Returns whether anything
// changed between before and after.
bool applyChanges(RegistryTree& target, const RegistryTree& before, const RegistryTree& after);

}  // namespace platform::registry
