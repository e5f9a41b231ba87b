// The HTML document objects the editor gives its pages when nothing else is injected.
#pragma once

#include "host/editor/html_document_factory.h"

namespace host {

HtmlDocumentFactory defaultHtmlDocuments();

}  // namespace host
