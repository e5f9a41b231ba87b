// Colours the HTML source of a page: tags, attribute names and values, comments, entities,
// doctype, and the contents of script and style elements.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace host {

// Each line is coloured from the state the line before it ended in (inside a comment, a
// tag, a quoted value, a script...), so a key press colours its own line again and the
// following lines only while their starting state changes.
class HtmlHighlighter final : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit HtmlHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    struct Formats {
        QTextCharFormat tag, attributeName, attributeValue, comment, entity, doctype, script;
    };
    class Line;

    Formats m_formats;
};

}  // namespace host
