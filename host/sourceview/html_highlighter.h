// Colours the HTML source of a page: tags, attribute names and values, comments, entities,
// doctype, and the contents of script and style elements.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextBlock;
class QTextDocument;

namespace host {

// Each line is coloured from the state the line before it ended in (inside a comment, a
// tag, a quoted value, a script...), so an edit colours its own lines again and the
// following lines only while their starting state changes. The colours are the layout's,
// not the text's: they change neither the text nor its undo steps. They go with this object.
//
// Not a QSyntaxHighlighter: that one marks every line it colours as changed, and the
// document then repaints the whole view on each key press.
class HtmlHighlighter final : public QObject {
    Q_OBJECT
public:
    // Colours the top of the document at once and the rest in later turns of the event
    // loop, and follows its changes.
    HtmlHighlighter(QTextDocument* document, QObject* parent);
    ~HtmlHighlighter() override;

    // Whether every line has its colours.
    bool isComplete() const { return m_complete; }

private:
    struct Formats {
        QTextCharFormat tag, attributeName, attributeValue, comment, entity, doctype, script;
    };
    struct Change {
        bool colours = false;
        bool endState = false;
    };
    class Line;

    void colourSome();
    Change colourBlock(QTextBlock& block) const;
    void contentsChanged(int from, int removed, int added);

    QPointer<QTextDocument> m_document;
    Formats m_formats;
    QTextCursor m_next;  // the start of the first line without colours; moves with edits
    bool m_complete = false;
};

}  // namespace host
