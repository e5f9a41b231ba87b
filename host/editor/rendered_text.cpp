// The rendered view's copy of a page, declined where it would not fit.
#include "host/editor/rendered_text.h"

#include <QCoreApplication>
#include <QTextDocument>
#include <new>

#include "host/editor/page.h"
#include "host/preview/rendered_view.h"

namespace host {
namespace {

QString megabytes(qint64 bytes) {
    return QString::number(double(bytes) / (1 << 20), 'f', 1) +
           QCoreApplication::translate("host::RenderedText", " MB");
}

// Said wherever the copy or its conversion runs out of memory.
RenderedText outOfMemory() {
    return {{},
            QCoreApplication::translate(
                "host::RenderedText",
                "This page is not rendered: there was not enough memory to copy "
                "it for the rendered view. The source is still editable, and "
                "the editor and its other pages are as they were; close other "
                "pages or programs, and the page is rendered again after the "
                "next edit.")};
}

}  // namespace

std::variant<RenderedText, DocumentPageText::Snapshot> renderedTextStart(const Page& page) {
    // Characters, not bytes: counting them costs nothing, and a page of markup has about one
    // byte per character.
    const qint64 size = page.document()->characterCount();
    if (size > preview::kLargestRenderedPage) {
        return RenderedText{{},
                            QCoreApplication::translate(
                                "host::RenderedText",
                                "This page is not rendered: it is about %1, and the rendered view "
                                "shows pages of up to %2 (a browser takes about 100 times a "
                                "page's size in memory to show it). The source is still "
                                "editable, and the page is rendered again once it is smaller.")
                                .arg(megabytes(size), megabytes(preview::kLargestRenderedPage))};
    }
    try {
        // A page as it was opened is its text in UTF-8 already: nothing to copy or convert.
        if (QByteArray asSaved = page.utf8AsSaved(); !asSaved.isEmpty())
            return RenderedText{std::move(asSaved), {}};
        return page.pageText()->snapshot();
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

RenderedText renderedText(const DocumentPageText::Snapshot& snapshot) {
    try {
        return {DocumentPageText::utf8(snapshot), {}};
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

RenderedText renderedText(const Page& page) {
    auto start = renderedTextStart(page);
    if (auto* done = std::get_if<RenderedText>(&start)) return *done;
    return renderedText(std::get<DocumentPageText::Snapshot>(start));
}

}  // namespace host
