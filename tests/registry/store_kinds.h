// The two per-user files seen alike by the fault-injection tests and their writer program:
// a named text value written and read back, in the settings file or in the registry file.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/registry_file.h"
#include "wizard/settings/ini_settings_store.h"

namespace ostrel::testing {

inline constexpr std::string_view kTestRegistryKey = "HKEY_CURRENT_USER\\Software\\OstrelTest";

inline std::string fileNameFor(std::string_view kind) {
    return kind == "settings" ? "Ostrel_Plugin.ini" : "registry.reg";
}

inline void writeKey(std::string_view kind, const std::filesystem::path& file, std::string_view key,
                     std::string_view value,
                     std::chrono::milliseconds lockTimeout = std::chrono::seconds(10)) {
    if (kind == "settings") {
        IniSettingsStore store(file);
        store.setLockTimeout(lockTimeout);
        store.setValue(kSettingsApplication, kSettingsSection, key, value);
    } else {
        platform::registry::RegistryFile registryFile(file);
        registryFile.setLockTimeout(lockTimeout);
        registryFile.setValue(kTestRegistryKey, key, std::string(value));
    }
}

inline std::optional<std::string> readKey(std::string_view kind, const std::filesystem::path& file,
                                          std::string_view key) {
    if (kind == "settings") {
        return IniSettingsStore(file).value(kSettingsApplication, kSettingsSection, key);
    }
    return platform::registry::RegistryFile(file).read().text(kTestRegistryKey, key);
}

}  // namespace ostrel::testing
