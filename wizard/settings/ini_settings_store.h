// The settings store kept in a per-user INI file that people can read and edit by hand.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/files/file_lock.h"
#include "wizard/settings/persisted_keys.h"
#include "wizard/settings/settings_store.h"

namespace ostrel {

// One application's settings in one file; its sections are the file's [sections]. Every read
// reads the file afresh, so values put in by hand count at once. Every write takes the file's
// lock, reads it again, changes one line and replaces the file in one step, so concurrent
// writers of different keys all keep theirs and a crash leaves the old file or the new one.
// A file that cannot be read is never rewritten: reads and writes both fail naming its line.
class IniSettingsStore : public SettingsStore {
public:
    // The current user's store: <XDG config folder>/Ostrel_Plugin.ini.
    IniSettingsStore();
    explicit IniSettingsStore(std::filesystem::path file,
                              std::string application = std::string(kSettingsApplication));

    static std::filesystem::path defaultPath();
    const std::filesystem::path& path() const { return m_file; }
    void setLockTimeout(std::chrono::milliseconds timeout) { m_lockTimeout = timeout; }

    // Nothing for another application than the file's own.
    std::optional<std::string> value(std::string_view application, std::string_view section,
                                     std::string_view key) const override;
    // Another application than the file's own is refused.
    void setValue(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view value) override;

private:
    std::filesystem::path m_file;
    std::string m_application;
    std::chrono::milliseconds m_lockTimeout = platform::files::kDefaultLockTimeout;
};

}  // namespace ostrel
