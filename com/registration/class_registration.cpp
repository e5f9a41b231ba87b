// The registry layout of class registrations, and resolving an add-in to its module.
#include "com/registration/class_registration.h"

#include <cstdio>

#include "com/error.h"
#include "com/status.h"
#include "platform/registry/registry_changes.h"
#include "platform/registry/registry_file.h"
#include "platform/text/ascii.h"
#include "platform/text/text_format.h"

namespace com::registration {
namespace {

std::string join(std::string_view parent, std::string_view child) {
    std::string out(parent);
    out += '\\';
    out += child;
    return out;
}

std::string hex(std::uint32_t n) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%x", n);
    return buffer;
}

// The platform name of a type library file's key ("win32" on the original platform).
constexpr std::string_view kTypeLibPlatform = sizeof(void*) == 8 ? "linux64" : "linux32";

[[noreturn]] void notRegistered(std::string_view progId, const std::string& problem) {
    throw com::Error(
        com::REGDB_E_CLASSNOTREG,
        "The add-in " + std::string(progId) + " is not registered properly: " + problem,
        "Add-in registration");
}

}  // namespace

std::string classKey(const com::Guid& clsid) {
    return join(join(kClassesRoot, "CLSID"), clsid.toString());
}
std::string inprocServerKey(const com::Guid& clsid) {
    return join(classKey(clsid), kInprocServerKey);
}
std::string progIdKey(std::string_view progId) {
    return join(kClassesRoot, progId);
}
std::string interfaceKey(const com::Guid& iid) {
    return join(join(kClassesRoot, "Interface"), iid.toString());
}
std::string typeLibKey(const com::Guid& libid) {
    return join(join(kClassesRoot, "TypeLib"), libid.toString());
}
std::string typeLibVersionName(std::uint16_t major, std::uint16_t minor) {
    return hex(major) + "." + hex(minor);
}
std::string typeLibVersionKey(const com::Guid& libid, std::uint16_t major, std::uint16_t minor) {
    return join(typeLibKey(libid), typeLibVersionName(major, minor));
}
std::string typeLibFileKey(const com::Guid& libid, std::uint16_t major, std::uint16_t minor,
                           std::uint32_t locale) {
    return join(join(typeLibVersionKey(libid, major, minor), hex(locale)), kTypeLibPlatform);
}
std::string addInsKey(std::string_view hostKey) {
    return join(hostKey, kAddInsKey);
}
std::string addInKey(std::string_view hostKey, std::string_view progId) {
    return join(addInsKey(hostKey), progId);
}

platform::registry::RegistryTree combinedView(platform::registry::RegistryTree user,
                                              const platform::registry::RegistryTree& machine) {
    namespace pr = platform::registry;
    // Most users have no machine-wide records; their own tree is read as it is.
    if (machine.empty()) return user;
    pr::RegistryTree combined;
    pr::overlay(combined, machine, pr::kMachineHive, pr::kUserHive);
    pr::overlay(combined, user);
    return combined;
}

std::string inMachineHive(std::string_view userKey) {
    namespace pr = platform::registry;
    const std::string_view hive = userKey.substr(0, userKey.find('\\'));
    if (!platform::text::equalsIgnoringAsciiCase(hive, pr::kUserHive)) return std::string(userKey);
    return std::string(pr::kMachineHive) + std::string(userKey.substr(hive.size()));
}

RegisteredFor registeredFor(const platform::registry::RegistryTree& user,
                            const platform::registry::RegistryTree& machine,
                            std::string_view hostKey, std::string_view progId) {
    const bool machineLists = machine.hasKey(inMachineHive(addInKey(hostKey, progId)));
    const bool userResolves = user.hasKey(join(progIdKey(progId), kClsidKey));
    return machineLists && !userResolves ? RegisteredFor::AllUsers : RegisteredFor::ThisUser;
}

std::vector<AddInEntry> listAddIns(const platform::registry::RegistryTree& tree, std::string_view hostKey) {
    std::vector<AddInEntry> entries;
    const std::string listKey = addInsKey(hostKey);
    for (const auto& progId : tree.subkeys(listKey)) {
        const std::string key = join(listKey, progId);
        AddInEntry entry;
        entry.progId = progId;
        entry.loadBehavior = tree.number(key, kLoadBehaviorValue);
        entry.friendlyName = tree.text(key, kFriendlyNameValue).value_or("");
        entry.description = tree.text(key, kDescriptionValue).value_or("");
        entries.push_back(std::move(entry));
    }
    return entries;
}

ServerLocation resolveProgId(const platform::registry::RegistryTree& tree, std::string_view progId) {
    const std::string clsidKey = join(progIdKey(progId), kClsidKey);
    const auto clsidText = tree.text(clsidKey, "");
    if (!clsidText) notRegistered(progId, "no class id under " + clsidKey);
    const auto clsid = com::Guid::parse(*clsidText);
    if (!clsid)
        notRegistered(progId, "\"" + *clsidText + "\" under " + clsidKey + " is not a class id");
    const std::string serverKey = inprocServerKey(*clsid);
    const auto module = tree.text(serverKey, "");
    if (!module || module->empty()) notRegistered(progId, "no module under " + serverKey);
    const std::filesystem::path path(*module);
    if (!path.is_absolute()) {
        notRegistered(progId, "the module \"" + *module + "\" under " + serverKey +
                                  " is not an absolute path");
    }
    return {*clsid, path};
}

std::optional<AddInEntry> findAddIn(const platform::registry::RegistryTree& tree, std::string_view hostKey,
                                    std::string_view progId, std::string_view clsid) {
    const auto entries = listAddIns(tree, hostKey);
    for (const AddInEntry& entry : entries) {
        if (!progId.empty() && platform::text::equalsIgnoringAsciiCase(entry.progId, progId)) return entry;
    }
    const auto wanted = com::Guid::parse(clsid);
    for (const AddInEntry& entry : entries) {
        try {
            if (wanted && resolveProgId(tree, entry.progId).clsid == *wanted) return entry;
        } catch (const com::Error&) {
            // An entry that does not resolve cannot be the one asked for.
        }
    }
    return std::nullopt;
}

}  // namespace com::registration
