// The editor's HTML document objects.
#include "host/editor/default_html_documents.h"

#include "com/error.h"

namespace host {

HtmlDocumentFactory defaultHtmlDocuments() {
    return [](std::shared_ptr<PageText>) -> com::ComPtr<com::IHTMLDocument2> {
        throw com::Error(com::errc::objectNotSet,
                         "This build of the editor has no HTML document object for its pages",
                         "Document");
    };
}

}  // namespace host
