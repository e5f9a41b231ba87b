// The checks of the sign-up form, one unit each, over the page as FormPage reads it. Each
// adds its findings to `out`; none changes the page.
#pragma once

#include <QStringList>
#include <vector>

#include "host/formcheck/form_finding.h"
#include "host/formcheck/form_page.h"

namespace host::formcheck {

// Ids inside the region that other elements of the page also use; required fields that are
// neither `required` nor marked in their label (accessibility_check.cpp).
void checkAccessibility(const FormPage& page, std::vector<Finding>& out);
// The form's action: an absolute http(s) address, not http: on a page published over https
// (transport_check.cpp).
void checkTransport(const FormPage& page, std::vector<Finding>& out);
// The page's <meta> content security policies against the action and the thank-you page
// (content_policy_check.cpp).
void checkContentPolicy(const FormPage& page, std::vector<Finding>& out);
// The thank-you page: given, an absolute address, and a file of the site where it lies in the
// site (thank_you_check.cpp).
void checkThankYouPage(const FormPage& page, std::vector<Finding>& out);
// Placeholders left, required names without a field, hidden fields missing, entries that
// changed the form's structure, two sign-up regions or forms, a box ticked for the visitor
// (template_check.cpp).
void checkTemplateAndEntries(const FormPage& page, std::vector<Finding>& out);
// Markers of other tools left in the form's values and the region's text (marker_check.cpp).
void checkToolMarkers(const FormPage& page, std::vector<Finding>& out);
// A form no visitor can send because of where it is: commented out, or in a frame whose
// sandbox blocks forms (placement_check.cpp). True when it explained why the page has no
// sign-up form.
bool checkPlacement(const FormPage& page, std::vector<Finding>& out);

// The form's action as a browser reads it (transport_check.cpp).
struct FormAction {
    const GumboAttribute* attribute = nullptr;
    QString text;        // trimmed, as browsers trim it
    std::size_t at = 0;  // where its value starts; the form's tag without one
    // An absolute address, or "//host/path" read with the page's scheme (https: where the page
    // does not tell); nothing for another relative address.
    std::optional<WebAddress> address;
    bool schemeRelative = false;  // written "//host/path"
    bool schemeKnown = true;      // false where schemeRelative and the page's scheme is not known
};
FormAction formAction(const FormPage& page);

// The texts that label a field: labels around it, labels whose for= reaches it, and the
// elements its aria-labelledby names (accessibility_check.cpp).
QStringList labelTexts(const FormPage& page, const GumboNode* field);

// The file of the site an address written in the page names (relative to the page, from the
// site's folder for "/...", or under the site's published address), a folder's index page
// for a folder; empty where it names no file of the site (thank_you_check.cpp).
QString siteFileOf(const FormPage& page, const QString& written);

// The value a hidden field of the form holds, trimmed of surrounding white space, with the
// field; nothing when the form has no field of that name.
struct FieldValue {
    const GumboNode* field = nullptr;
    const GumboAttribute* attribute = nullptr;  // its value attribute, or nullptr
    QString text;
};
std::optional<FieldValue> fieldValue(const FormPage& page, std::string_view name);

// The names in the form's required-field list (the hidden field "required"), each with the
// offset where it is written (the field's value where it cannot be found exactly).
struct RequiredName {
    QString name;
    std::size_t at = 0;
};
std::vector<RequiredName> requiredNames(const FormPage& page);

// A policy the page gives in a <meta http-equiv="Content-Security-Policy"> that browsers
// apply: a child of the head, with content.
struct MetaPolicy {
    const GumboNode* meta = nullptr;
    std::vector<csp::Directive> directives;
    std::size_t at = 0;  // where its content's value starts in the page
    bool written = false;  // the directives' offsets hold in the page (at + Directive::at)
};
std::vector<MetaPolicy> metaPolicies(const FormPage& page);

// The service's home page, where the wizard sends visitors when the thank-you entry is empty
// (wizard/settings/service_addresses.h holds the same; a test checks that they agree).
inline constexpr const char* kServiceHomePage = "http://www.ostrel.example/";
// The add-in publisher's home page, the thank-you address the wizard shows a new author first
// (the same file holds it).
inline constexpr const char* kPublisherHomePage = "http://www.publisher.example/";

}  // namespace host::formcheck
