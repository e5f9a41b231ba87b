// The difference of two registry snapshots, applied to a third.
#include "platform/registry/registry_changes.h"

#include <string>

#include "platform/text/ascii.h"

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

void overlayKey(RegistryTree& target, const RegistryKey& key, const std::string& path) {
    if (key.values().empty() && key.subkeys().empty()) target.createKey(path);
    for (const RegistryValue& v : key.values()) target.setValue(path, v.name, v.data);
    for (const RegistryKey& sub : key.subkeys())
        overlayKey(target, sub, childPath(path, sub.name()));
}

}  // namespace

void overlay(RegistryTree& target, const RegistryTree& top, std::string_view from,
             std::string_view to) {
    for (const RegistryKey& hive : top.root().subkeys()) {
        const bool renamed =
            !from.empty() && platform::text::equalsIgnoringAsciiCase(hive.name(), from);
        overlayKey(target, hive, renamed ? std::string(to) : hive.name());
    }
}

RegistryTree withHiveRenamed(const RegistryTree& tree, std::string_view from, std::string_view to) {
    RegistryTree renamed;
    overlay(renamed, tree, from, to);
    return renamed;
}

bool applyChanges(RegistryTree& target, const RegistryTree& before, const RegistryTree& after) {
    return applyKey(target, &before.root(), after.root(), "");
}

}  // namespace platform::registry
