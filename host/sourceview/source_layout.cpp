// The source view's document layout.
#include "host/sourceview/source_layout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <utility>

namespace host {

SourceLayout::SourceLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {
    // The document reports the text's own change first, then lays out the widened one.
    connect(document, &QTextDocument::contentsChange, this,
            [this](int from, int removed, int added) {
                m_textChange = {from, removed, added};
            });
}

void SourceLayout::documentChanged(int from, int removed, int added) {
    const Change text = std::exchange(m_textChange, {});
    if (text.from >= 0) {
        const QTextDocument& doc = *document();
        const QTextBlock first = doc.findBlock(text.from);
        const QTextBlock last = doc.findBlock(text.from + text.added);
        const int linesEnd =
            last.isValid() ? last.position() + last.length() : doc.characterCount();
        if (first.isValid() && from >= first.position() && from + added <= linesEnd) {
            QPlainTextDocumentLayout::documentChanged(text.from, text.removed, text.added);
            return;
        }
    }
    QPlainTextDocumentLayout::documentChanged(from, removed, added);
}

}  // namespace host
