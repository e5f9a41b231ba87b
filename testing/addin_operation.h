// The add-in's insertion, made through the page document's COM interfaces as the add-in
// makes it: look up "OstrelInsert", then append a wrapped division to the body or replace
// the marker's content.
#pragma once

#include <string>

#include "com/dispatch.h"
#include "com/html_document.h"

namespace host::testing {

inline const std::string kWrapperStart = "<div id='OstrelInsert'>\r\n";
inline const std::string kWrapperEnd = "</div>\r\n";

// Throws com::Error where the add-in's click would fail.
inline void runAddinInsertion(com::IHTMLDocument2* document, const std::string& snippet) {
    com::ComPtr<com::IHTMLElementCollection> all;
    com::check(document->get_all(all.put()), "all");
    com::ComPtr<com::IDispatch> found;
    com::check(all->item(com::Variant("OstrelInsert"), com::Variant::missing(), found.put()),
               "item");
    if (!found) {
        com::ComPtr<com::IDispatch> bodies;
        com::check(all->tags(com::Variant("body"), bodies.put()), "tags");
        const com::Variant body = com::invokeByName(bodies.get(), "Item", com::InvokeKind::Method,
                                                    {com::Variant(std::int16_t{0})});
        auto element = com::query<com::IHTMLElement>(body.toObject(), "Item");
        com::check(element->insertAdjacentHTML("BeforeEnd", kWrapperStart + snippet + kWrapperEnd),
                   "insertAdjacentHTML");
        return;
    }
    auto element = com::query<com::IHTMLElement>(found, "item");
    com::check(element->put_innerHTML(snippet), "innerHTML");
}

}  // namespace host::testing
