// Where the per-user registry records classes, program ids, type libraries, interfaces and
// a host's add-ins, following the original platform's layout; and reading them back to
// find the module that serves an add-in.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "com/guid.h"
#include "platform/registry/registry_tree.h"

namespace com::registration {

// Per-user class records live here.
inline constexpr std::string_view kClassesRoot = "HKEY_CURRENT_USER\\Software\\Classes";
inline constexpr std::string_view kInprocServerKey = "InprocServer32";
inline constexpr std::string_view kThreadingModelValue = "ThreadingModel";
inline constexpr std::string_view kClsidKey = "Clsid";
// A host's list of add-ins is this subkey of its registry root.
inline constexpr std::string_view kAddInsKey = "Addins";
inline constexpr std::string_view kFriendlyNameValue = "FriendlyName";
inline constexpr std::string_view kDescriptionValue = "Description";
inline constexpr std::string_view kLoadBehaviorValue = "LoadBehavior";
// Load behaviour: bit 0 connected, bit 1 loaded when the host starts.
inline constexpr std::uint32_t kLoadAtStartup = 3;
// Registered but not loaded: what an author's "off" switch, or disabling it after a crash,
// records, so that the registration stays and the add-in can be turned on again.
inline constexpr std::uint32_t kNotLoaded = 0;

std::string classKey(const com::Guid& clsid);
std::string inprocServerKey(const com::Guid& clsid);
std::string progIdKey(std::string_view progId);
std::string interfaceKey(const com::Guid& iid);
std::string typeLibKey(const com::Guid& libid);
// Type library versions and locales are written in hexadecimal, as the platform does.
std::string typeLibVersionName(std::uint16_t major, std::uint16_t minor);
std::string typeLibVersionKey(const com::Guid& libid, std::uint16_t major, std::uint16_t minor);
// The key below the version that names the library's file for this platform.
std::string typeLibFileKey(const com::Guid& libid, std::uint16_t major, std::uint16_t minor,
                           std::uint32_t locale);
std::string addInsKey(std::string_view hostKey);
std::string addInKey(std::string_view hostKey, std::string_view progId);

// The registry the editor reads: the machine-wide file's records (HKEY_LOCAL_MACHINE) beneath
// the user's (HKEY_CURRENT_USER), as one tree in the user's hive, as the original platform
// merges its two classes roots. A key or value the user has wins over the machine's: a
// program id the user registered, and the user's own LoadBehavior for a machine-wide add-in.
platform::registry::RegistryTree combinedView(platform::registry::RegistryTree user,
                                              const platform::registry::RegistryTree& machine);
// The same key in the machine-wide file's hive.
std::string inMachineHive(std::string_view userKey);

// Who an add-in was registered for: the user's own class records, or only the machine's.
enum class RegisteredFor { ThisUser, AllUsers };
RegisteredFor registeredFor(const platform::registry::RegistryTree& user,
                            const platform::registry::RegistryTree& machine,
                            std::string_view hostKey, std::string_view progId);

// One entry of a host's add-ins list, as recorded; missing or mistyped values are empty.
struct AddInEntry {
    std::string progId;
    std::optional<std::uint32_t> loadBehavior;
    std::string friendlyName;
    std::string description;
};
std::vector<AddInEntry> listAddIns(const platform::registry::RegistryTree& tree, std::string_view hostKey);

struct ServerLocation {
    com::Guid clsid;
    std::filesystem::path module;
};
// Program id -> class id -> in-process server. Throws com::Error (number REGDB_E_CLASSNOTREG)
// naming the program id and the missing or malformed record.
ServerLocation resolveProgId(const platform::registry::RegistryTree& tree, std::string_view progId);

// The entry of the host's list whose program id is progId or, failing that, whose program
// id resolves to clsid; nothing when neither is listed.
std::optional<AddInEntry> findAddIn(const platform::registry::RegistryTree& tree, std::string_view hostKey,
                                    std::string_view progId, std::string_view clsid);

}  // namespace com::registration
