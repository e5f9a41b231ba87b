// The page's text as the rendered view is given it, or why the view does not show the page.
#pragma once

#include <QByteArray>
#include <QString>

namespace host {

class Page;

struct RenderedText {
    QByteArray html;   // the page in UTF-8, when it is rendered
    QString declined;  // why it is not: too large, or memory ran out making the copy
};

// Never throws for lack of memory: a page too large for the rendered view is declined before
// any copy is made, and a copy that runs out of memory is given back and declined.
RenderedText renderedText(const Page& page);

}  // namespace host
