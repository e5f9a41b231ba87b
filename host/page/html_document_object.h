// The page's HTML document as the COM objects an add-in reaches from the page window.
#pragma once

#include <memory>

#include "com/com_ptr.h"
#include "com/html_document.h"
#include "host/page/page_text.h"

namespace host {

class PageModel;

// The document over one page's text. Its objects keep the text alive.
//
// - `all` and every collection taken from it are live: each call reads the current text
//   (parsed once per revision of the text).
// - An element object stays valid through edits made through this document (it follows its
//   element when content is inserted around it); after any other change of the text its
//   calls fail with an error asking to look the element up again.
// - Edits change the text with one PageText::replace each (one undo step). They fail, and
//   leave the text as it was, when no text can give the tree a browser would build.
com::ComPtr<com::IHTMLDocument2> createHtmlDocument(std::shared_ptr<PageText> text);
// The same over a model made by the caller (for its parse limits, or to share it).
com::ComPtr<com::IHTMLDocument2> createHtmlDocument(std::shared_ptr<PageModel> model);

}  // namespace host
