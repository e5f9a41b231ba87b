// The per-user store of remembered entries and deployment values: string values addressed
// by application, section and key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored value, also when it is ""; nothing when the key, section or application
    // is absent.
    virtual std::optional<std::string> value(std::string_view application,
                                             std::string_view section,
                                             std::string_view key) const = 0;
    // Stores value under the key, replacing any earlier one. Throws com::Error, naming the
    // file, when the value could not be stored; it never fails silently.
    virtual void setValue(std::string_view application, std::string_view section,
                          std::string_view key, std::string_view value) = 0;

    // Read with a default: the stored value when the key is present, otherwise def.
    std::string read(std::string_view application, std::string_view section,
                     std::string_view key, std::string_view def = {}) const {
        if (auto v = value(application, section, key)) return *v;
        return std::string(def);
    }
};

}  // namespace ostrel
