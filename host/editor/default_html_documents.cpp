// The editor's HTML document objects: the gumbo-backed page document when the build has it.
#include "host/editor/default_html_documents.h"

#include "com/error.h"
#ifdef OSTREL_HAS_PAGE_DOCUMENT
#include "host/page/html_document_object.h"
#endif

namespace host {

HtmlDocumentFactory defaultHtmlDocuments() {
#ifdef OSTREL_HAS_PAGE_DOCUMENT
    return [](std::shared_ptr<PageText> text) { return createHtmlDocument(std::move(text)); };
#else
    return [](std::shared_ptr<PageText>) -> com::ComPtr<com::IHTMLDocument2> {
        throw com::Error(com::errc::objectNotSet,
                         "This build of the editor has no HTML document object for its pages",
                         "Document");
    };
#endif
}

}  // namespace host
