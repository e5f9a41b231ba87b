// The source view of a page: the HTML text with line numbers, colours, find and replace,
// and going to a line.
#pragma once

#include <QPlainTextEdit>

#include "host/sourceview/source_commands.h"
#include "host/sourceview/text_place.h"

namespace host {

class FindBar;
class HtmlHighlighter;

class SourceView final : public QPlainTextEdit {
    Q_OBJECT
public:
    // Shows `document`, which stays the caller's.
    explicit SourceView(QTextDocument* document, QWidget* parent = nullptr);
    ~SourceView() override;

    void setHighlighting(bool on);
    bool highlighting() const { return m_highlighter != nullptr; }
    // False while a large page is still taking its colours.
    bool highlightingComplete() const;

    void run(SourceCommand command);
    // Asks for a line, or line:column, and goes there.
    void askForPlace();
    // Puts the cursor at `place` (a place past the end at the end) and shows it.
    void goTo(TextPlace place);
    TextPlace cursorPlace() const;
    FindBar& findBar() const { return *m_findBar; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class LineNumbers;

    int lineNumbersWidth() const;
    void layOutMargins();
    void paintLineNumbers(QPaintEvent* event);

    LineNumbers* m_lineNumbers;
    FindBar* m_findBar;
    HtmlHighlighter* m_highlighter = nullptr;
};

}  // namespace host
