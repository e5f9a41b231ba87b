// The editor's HTML document objects: the gumbo-backed page document.
#include "host/editor/default_html_documents.h"

#include "host/page/html_document_object.h"

namespace host {

HtmlDocumentFactory defaultHtmlDocuments() {
    return [](std::shared_ptr<PageText> text) { return createHtmlDocument(std::move(text)); };
}

}  // namespace host
