// The one table of the wizard's persisted keys: their names, defaults and who writes them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "com/error.h"
#include "wizard/settings/service_addresses.h"
#include "wizard/settings/settings_store.h"

namespace ostrel {

// Where every key lives in the SettingsStore.
inline constexpr std::string_view kSettingsApplication = "Ostrel_Plugin";
inline constexpr std::string_view kSettingsSection = "Persist_Data";

enum class KeyUse {
    remembered,  // the author's entries, saved on Finish
    deployment,  // put in by whoever installs the add-in; never written by it
};

struct PersistedKey {
    std::string_view name;
    std::string_view defaultValue;  // what a read yields while the key is absent
    KeyUse use;
};

namespace persisted {
inline constexpr PersistedKey UserID{"UserID", "", KeyUse::remembered};
inline constexpr PersistedKey FormHeader{"FormHeader", "For More Information", KeyUse::remembered};
// Read with no default.
inline constexpr PersistedKey AdTracking{"AdTracking", "", KeyUse::remembered};
inline constexpr PersistedKey ThankURL{"ThankURL", kPublisherHomePage, KeyUse::remembered};
inline constexpr PersistedKey MsgNo{"MsgNo", "1", KeyUse::remembered};
inline constexpr PersistedKey EmailLinkText{"EmailLinkText", "Join our mailing list",
                                            KeyUse::remembered};
inline constexpr PersistedKey MailtoLink{"MailtoLink", "", KeyUse::deployment};
inline constexpr PersistedKey TemplateFileName{"TemplateFileName", "template.wtf",
                                               KeyUse::deployment};
inline constexpr PersistedKey BrowseURL{"BrowseURL", kPublisherInfoPage, KeyUse::deployment};
inline constexpr PersistedKey OrderURL{"OrderURL", kServiceOrderPage, KeyUse::deployment};

inline constexpr std::array<PersistedKey, 10> all{
    UserID,        FormHeader, AdTracking,       ThankURL,  MsgNo,
    EmailLinkText, MailtoLink, TemplateFileName, BrowseURL, OrderURL,
};
}  // namespace persisted

// The key's stored value, or its default while it is absent.
inline std::string readPersisted(const SettingsStore& store, const PersistedKey& key) {
    return store.read(kSettingsApplication, kSettingsSection, key.name, key.defaultValue);
}

// Saves one of the author's entries. Deployment keys are refused: writing one would hide
// the installer's value, or the default, from every later use.
inline void writePersisted(SettingsStore& store, const PersistedKey& key, std::string_view value) {
    if (key.use == KeyUse::deployment) {
        throw com::Error(
            com::errc::invalidProcedureCall,
            "The deployment setting " + std::string(key.name) + " is never written by the add-in",
            "SettingsStore");
    }
    store.setValue(kSettingsApplication, kSettingsSection, key.name, value);
}

}  // namespace ostrel
