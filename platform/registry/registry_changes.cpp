// The difference of two registry snapshots, applied to a third.
#include "platform/registry/registry_changes.h"

#include <string>

namespace platform::registry {
namespace {

std::string childPath(const std::string& parent, const std::string& name) {
    return parent.empty() ? name : parent + "\\" + name;
}

// Both keys exist at path; before may be null for a key that came.
bool applyKey(RegistryTree& target, const RegistryKey* before, const RegistryKey& after,
              const std::string& path) {
    bool changed = false;
    if (!path.empty()) {
        if (!before) {
            target.createKey(path);
            changed = true;
        }
        if (before) {
            for (const RegistryValue& v : before->values()) {
                if (after.findValue(v.name)) continue;
                target.deleteValue(path, v.name);
                changed = true;
            }
        }
        for (const RegistryValue& v : after.values()) {
            const RegistryValue* old = before ? before->findValue(v.name) : nullptr;
            if (old && old->data == v.data && old->name == v.name) continue;
            target.setValue(path, v.name, v.data);
            changed = true;
        }
    }
    if (before) {
        for (const RegistryKey& sub : before->subkeys()) {
            if (after.findSubkey(sub.name())) continue;
            target.deleteTree(childPath(path, sub.name()));
            changed = true;
        }
    }
    for (const RegistryKey& sub : after.subkeys()) {
        const RegistryKey* old = before ? before->findSubkey(sub.name()) : nullptr;
        changed |= applyKey(target, old, sub, childPath(path, sub.name()));
    }
    return changed;
}

}  // namespace

bool applyChanges(RegistryTree& target, const RegistryTree& before, const RegistryTree& after) {
    return applyKey(target, &before.root(), after.root(), "");
}

}  // namespace platform::registry
