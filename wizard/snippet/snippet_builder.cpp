// The two generation paths, their save rules and their fallbacks.
#include "wizard/snippet/snippet_builder.h"

#include <string_view>

#include "wizard/service_addresses.h"
#include "wizard/snippet/placeholder_replace.h"
#include "wizard/snippet/snippet_settings.h"
#include "wizard/snippet/template_file.h"

namespace ostrel {
namespace {

namespace keys = snippet_settings;

void save(SettingsStore& store, std::string_view key, std::string_view value) {
    store.write(keys::kApplication, keys::kSection, key, value);
}

// An entry the author filled is saved, then inserted; an empty one keeps the stored value
// and puts the fallback in the form.
void fillEntry(PlaceholderText& text, SettingsStore& store, std::string_view key,
               std::string_view placeholder, const std::string& entry, std::string_view fallback) {
    if (entry.empty()) return text.replace(placeholder, fallback);
    save(store, key, entry);
    text.replace(placeholder, entry);
}

// "name" and "from" are the form's own field names for the subscriber's name and address.
std::string_view requiredFields(const WizardEntries& entries) {
    const bool name = entries.requireName == kChecked;
    const bool email = entries.requireEmail == kChecked;
    if (name && email) return "name,from";
    if (name) return "name";
    if (email) return "from";
    return "";
}

std::string buildEmailLink(const WizardEntries& entries, SettingsStore& store) {
    std::string address = entries.userName;
    address += '@';
    address += kServiceMailDomain;
    // Saved even when empty, so an emptied link text is what the next wizard shows.
    save(store, keys::kEmailLinkText, entries.linkText);
    PlaceholderText text(store.read(keys::kApplication, keys::kSection, keys::kMailtoLink,
                                    keys::kDefaultMailtoLink));
    text.replace("<<EMAIL>>", address);
    text.replace("<<MAILTOTEXT>>", entries.linkText);
    return std::move(text).take();
}

}  // namespace

std::string fillWebForm(std::string templateText, const WizardEntries& entries,
                        SettingsStore& store) {
    PlaceholderText text(std::move(templateText));
    fillEntry(text, store, keys::kUserID, "<<USERID>>", entries.userName, "None");
    fillEntry(text, store, keys::kFormHeader, "<<HEADERFIELD>>", entries.formHeader,
              "For More Information");
    // Ad tracking is saved even when emptied, so clearing the box sticks.
    save(store, keys::kAdTracking, entries.adTracking);
    text.replace("<<ADTRACKING>>", entries.adTracking.empty()
                                       ? std::string_view("adcategory")
                                       : std::string_view(entries.adTracking));
    fillEntry(text, store, keys::kThankURL, "<<REDIRECT>>", entries.thankUrl, kServiceHomePage);
    fillEntry(text, store, keys::kMsgNo, "<<MSGNO>>", entries.msgNo, "none");
    text.replace("<<REQUIREDFIELD>>", requiredFields(entries));
    return std::move(text).take();
}

std::string buildSnippet(const WizardEntries& entries, SettingsStore& store,
                         const std::filesystem::path& templateFolder) {
    if (entries.emailLink) return buildEmailLink(entries, store);
    const std::string name = store.read(keys::kApplication, keys::kSection, keys::kTemplateFileName,
                                        keys::kDefaultTemplateFileName);
    return fillWebForm(readTemplateFile(templatePath(templateFolder, name)), entries, store);
}

}  // namespace ostrel
