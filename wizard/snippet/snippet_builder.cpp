// The two generation paths, their save rules and their fallbacks.
#include "wizard/snippet/snippet_builder.h"

#include <string_view>

#include "wizard/settings/service_addresses.h"
#include "wizard/settings/persisted_keys.h"
#include "wizard/snippet/placeholder_replace.h"
#include "wizard/snippet/template_file.h"

namespace ostrel {
namespace {

// An entry the author filled is saved, then inserted; an empty one keeps the stored value
// and puts the fallback in the form.
void fillEntry(PlaceholderText& text, SettingsStore& store, const PersistedKey& key,
               std::string_view placeholder, const std::string& entry, std::string_view fallback) {
    if (entry.empty()) return text.replace(placeholder, fallback);
    writePersisted(store, key, entry);
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
    std::string address = entries.listId;
    address += '@';
    address += kServiceMailDomain;
    // Saved even when empty, so an emptied link text is what the next wizard shows.
    writePersisted(store, persisted::EmailLinkText, entries.linkText);
    PlaceholderText text(readPersisted(store, persisted::MailtoLink));
    text.replace("<<EMAIL>>", address);
    text.replace("<<MAILTOTEXT>>", entries.linkText);
    return std::move(text).take();
}

}  // namespace

std::string fillWebForm(std::string templateText, const WizardEntries& entries,
                        SettingsStore& store) {
    PlaceholderText text(std::move(templateText));
    fillEntry(text, store, persisted::UserID, "<<USERID>>", entries.listId, "None");
    fillEntry(text, store, persisted::FormHeader, "<<HEADERFIELD>>", entries.formHeader,
              "For More Information");
    // Ad tracking is saved even when emptied, so clearing the box sticks.
    writePersisted(store, persisted::AdTracking, entries.adTracking);
    text.replace("<<ADTRACKING>>", entries.adTracking.empty()
                                       ? std::string_view("adcategory")
                                       : std::string_view(entries.adTracking));
    fillEntry(text, store, persisted::ThankURL, "<<REDIRECT>>", entries.thankUrl, kServiceHomePage);
    fillEntry(text, store, persisted::MsgNo, "<<MSGNO>>", entries.msgNo, "none");
    text.replace("<<REQUIREDFIELD>>", requiredFields(entries));
    return std::move(text).take();
}

std::string buildSnippet(const WizardEntries& entries, SettingsStore& store,
                         const std::filesystem::path& templateFolder) {
    if (entries.emailLink) return buildEmailLink(entries, store);
    const std::string name = readPersisted(store, persisted::TemplateFileName);
    return fillWebForm(readTemplateFile(templateFolder, name), entries, store);
}

}  // namespace ostrel
