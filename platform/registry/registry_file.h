// The per-user registry file shared by the editor, its add-in modules and the registration
// tool: reads a snapshot, and changes it under a lock, all or nothing.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string_view>

#include "platform/files/file_lock.h"
#include "platform/registry/registry_tree.h"

namespace platform::registry {

// Names the registry file for every program of this user that does not get one passed in.
inline constexpr const char* kRegistryFileVariable = "OSTREL_REGISTRY_FILE";
// The single machine-wide file of earlier versions, still read (machine_registry.h).
inline constexpr const char* kMachineRegistryFile = "/etc/ostrel/registry.reg";
// The hive of each file's keys, as on the original platform.
inline constexpr std::string_view kUserHive = "HKEY_CURRENT_USER";
inline constexpr std::string_view kMachineHive = "HKEY_LOCAL_MACHINE";

class RegistryFile {
public:
    // The user's registry: $OSTREL_REGISTRY_FILE when set, otherwise
    // <XDG config folder>/ostrel/registry.reg.
    RegistryFile();
    explicit RegistryFile(std::filesystem::path file);

    static std::filesystem::path defaultPath();
    // A machine-wide record file (machine_registry.h): a new file and its folders are
    // readable by every user.
    static RegistryFile machine(std::filesystem::path file);
    const std::filesystem::path& path() const { return m_file; }
    void setLockTimeout(std::chrono::milliseconds timeout) { m_lockTimeout = timeout; }

    // The registry as it is now; empty when the file does not exist yet. Throws platform::Error
    // naming the file (and the line, for a file that cannot be read).
    RegistryTree read() const;

    // Takes the lock, reads the file afresh, applies change and writes the result in one step.
    // When change throws, or leaves the registry as it was, the file is not touched. A file
    // that cannot be read is never overwritten: the failure names its line.
    void modify(const std::function<void(RegistryTree&)>& change);

    // One-step changes built on modify.
    void setValue(std::string_view path, std::string_view name, RegistryData data);
    bool deleteValue(std::string_view path, std::string_view name);
    bool deleteTree(std::string_view path);

private:
    RegistryTree parse(const std::string& text, std::string_view action) const;

    std::filesystem::path m_file;
    std::chrono::milliseconds m_lockTimeout = platform::files::kDefaultLockTimeout;
    bool m_readableByAll = false;
};

}  // namespace platform::registry
