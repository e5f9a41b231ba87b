// Generation of the snippet the wizard puts into the page: an e-mail link or a sign-up form.
#pragma once

#include <filesystem>
#include <string>

#include "wizard/settings/settings_store.h"

namespace ostrel {

// A check box's value: 0 unchecked, 1 checked, 2 grayed. Only 1 counts as checked.
inline constexpr int kChecked = 1;

// The author's entries at Finish, as the wizard's controls hold them.
struct WizardEntries {
    bool emailLink = false;  // "Email Link" chosen; otherwise the web form
    std::string listId;  // the list user id the service knows the list by (txtUserName)
    std::string linkText;
    std::string formHeader;
    std::string adTracking;
    std::string thankUrl;
    std::string msgNo;
    int requireName = kChecked;
    int requireEmail = kChecked;
};

// The snippet for the chosen kind, saving the entries that belong to it. The web form's
// template is read from templateFolder (see templatePath) before anything is written.
// Failures throw com::Error: a template that is missing or cannot be read leaves the store
// untouched; a failing store write ends generation there, with the earlier writes kept.
std::string buildSnippet(const WizardEntries& entries, SettingsStore& store,
                         const std::filesystem::path& templateFolder);

// The web form's steps after the read: each entry saved by its rule, then put in place of
// its placeholder; the fixed fallback where the entry is "".
std::string fillWebForm(std::string templateText, const WizardEntries& entries,
                        SettingsStore& store);

}  // namespace ostrel
