// How the editor gets the HTML document object of a page.
#pragma once

#include <functional>
#include <memory>

#include "com/com_ptr.h"
#include "com/html_document.h"
#include "host/page/page_text.h"

namespace host {

// Makes the document object model over a page's text; throws com::Error when it cannot.
using HtmlDocumentFactory =
    std::function<com::ComPtr<com::IHTMLDocument2>(std::shared_ptr<PageText> text)>;

}  // namespace host
