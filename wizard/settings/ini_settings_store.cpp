// The settings store kept in a per-user INI file.
#include "wizard/settings/ini_settings_store.h"

#include "platform/text/ascii.h"
#include "platform/text/text_format.h"
#include "platform/files/user_file.h"
#include "wizard/settings/ini_document.h"

namespace fs = std::filesystem;

namespace ostrel {
namespace {

constexpr std::string_view kSource = "SettingsStore";

IniDocument parseFile(const std::string& text, const fs::path& file, std::string_view action) {
    try {
        return IniDocument::parse(text);
    } catch (const platform::text::TextFormatError& e) {
        throw platform::files::unreadableFileError(e, action, file, kSource);
    }
}

}  // namespace

IniSettingsStore::IniSettingsStore() : IniSettingsStore(defaultPath()) {}

IniSettingsStore::IniSettingsStore(fs::path file, std::string application)
    : m_file(std::move(file)), m_application(std::move(application)) {}

fs::path IniSettingsStore::defaultPath() {
    return platform::files::configHome() / (std::string(kSettingsApplication) + ".ini");
}

std::optional<std::string> IniSettingsStore::value(std::string_view application,
                                                   std::string_view section,
                                                   std::string_view key) const {
    if (!platform::text::equalsIgnoringAsciiCase(application, m_application)) return std::nullopt;
    const auto text = platform::files::readFile(m_file, kSource);
    if (!text) return std::nullopt;
    return parseFile(*text, m_file, "Cannot read the settings in").value(section, key);
}

void IniSettingsStore::setValue(std::string_view application, std::string_view section,
                                std::string_view key, std::string_view value) {
    if (!platform::text::equalsIgnoringAsciiCase(application, m_application)) {
        throw com::Error(com::errc::invalidProcedureCall,
                         "\"" + m_file.string() + "\" holds the settings of " + m_application +
                             ", not of " + std::string(application),
                         std::string(kSource));
    }
    const platform::files::FileLock lock(m_file, m_lockTimeout, kSource);
    const auto text = platform::files::readFile(m_file, kSource);
    IniDocument document = parseFile(text.value_or(std::string()), m_file, "Cannot save");
    document.setValue(section, key, value);
    platform::files::replaceFile(m_file, document.text(), kSource);
}

}  // namespace ostrel
