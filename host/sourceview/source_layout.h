// The plain text layout of a source view's document, repainting only the lines an edit
// changed.
#pragma once

#include <QPlainTextDocumentLayout>

namespace host {

// Colouring a line widens the change the document reports to the whole line and on into
// the next one, and the plain text layout answers a change across lines by repainting the
// whole view. When the widening reaches no further than the lines the text itself changed
// in, this layout takes the change as the text made it, so a key press repaints its line.
class SourceLayout final : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    explicit SourceLayout(QTextDocument* document);

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    struct Change {
        int from = -1;
        int removed = 0;
        int added = 0;
    };
    Change m_textChange;
};

}  // namespace host
