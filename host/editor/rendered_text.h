// The page's text as the rendered view is given it, or why the view does not show the page.
#pragma once

#include <QByteArray>
#include <QString>
#include <variant>

#include "host/editor/document_page_text.h"

namespace host {

class Page;

struct RenderedText {
    QByteArray html;   // the page in UTF-8, when it is rendered
    QString declined;  // why it is not: too large, or memory ran out making the copy
};

// The part made on the window's thread: either the answer already (a page unchanged since
// it was read is its bytes; a page too large for the rendered view is declined before any
// copy is made; a copy that runs out of memory is given back and declined), or a copy of
// the document's text to convert.
std::variant<RenderedText, DocumentPageText::Snapshot> renderedTextStart(const Page& page);
// The rest, on any thread; never throws for lack of memory.
RenderedText renderedText(const DocumentPageText::Snapshot& snapshot);
// Both, here.
RenderedText renderedText(const Page& page);

}  // namespace host
