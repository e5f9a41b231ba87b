// The HTML highlighter: one pass over each line, resuming in the state the line before
// ended in.
#include "host/sourceview/html_highlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

namespace host {
namespace {

// Where a line ends, kept as the block state: the construct still open, which raw-text
// element a start tag opens, and whether a tag awaits an attribute value after '='.
enum Construct : int { Text, Comment, Tag, DoubleQuoted, SingleQuoted, Doctype, RawText, Bogus };
enum RawKind : int { NoRaw, Script, Style, Title, Textarea };

constexpr int kConstructBits = 0x7;
constexpr int kRawShift = 3;
constexpr int kAfterEquals = 1 << 6;

const char16_t* const kRawNames[] = {u"", u"script", u"style", u"title", u"textarea"};

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\f' || c == u'\r' || c == u'\n';
}

// Colour alone: a bold or italic run would be shaped and drawn apart from its neighbours.
QTextCharFormat colour(const QColor& color) {
    QTextCharFormat f;
    f.setForeground(color);
    return f;
}

}  // namespace

// One line being coloured: the text, the read position and the state.
class HtmlHighlighter::Line {
public:
    Line(const Formats& formats, const QString& text, int state,
         QList<QTextLayout::FormatRange>& ranges)
        : m_ranges(ranges),
          m_f(formats),
          m_text(text),
          m_n(int(text.size())),
          m_construct(state & kConstructBits),
          m_raw((state >> kRawShift) & 0x7),
          m_afterEquals(state & kAfterEquals) {}

    int run() {
        while (m_i < m_n) {
            switch (m_construct) {
                case Text:
                    text();
                    break;
                case Comment:
                    until(u"-->", m_f.comment);
                    break;
                case Doctype:
                    until(u">", m_f.doctype);
                    break;
                case Bogus:
                    until(u">", m_f.comment);
                    break;
                case Tag:
                    insideTag();
                    break;
                case DoubleQuoted:
                    quoted(u'"');
                    break;
                case SingleQuoted:
                    quoted(u'\'');
                    break;
                case RawText:
                    rawText();
                    break;
                default:
                    m_construct = Text;
                    break;
            }
        }
        return m_construct | (m_raw << kRawShift) | (m_afterEquals ? kAfterEquals : 0);
    }

private:
    QChar at(int i) const { return i < m_n ? m_text[i] : QChar(); }
    bool startsWith(const char16_t* s, int from, Qt::CaseSensitivity cs = Qt::CaseSensitive) const {
        const QStringView needle(s);
        return QStringView(m_text).mid(from).startsWith(needle, cs);
    }
    void paint(int from, int to, const QTextCharFormat& f) {
        if (to > from) m_ranges.append({from, to - from, f});
    }

    void text() {
        int j = m_i;
        while (j < m_n && m_text[j] != u'<' && m_text[j] != u'&') ++j;
        m_i = j;
        if (m_i >= m_n) return;
        if (m_text[m_i] == u'&') {
            entity();
            return;
        }
        if (startsWith(u"<!--", m_i)) {
            paint(m_i, m_i + 4, m_f.comment);
            m_i += 4;
            m_construct = Comment;
        } else if (startsWith(u"<!doctype", m_i, Qt::CaseInsensitive)) {
            m_construct = Doctype;
        } else if (startsWith(u"<!", m_i) || startsWith(u"<?", m_i)) {
            m_construct = Bogus;
        } else if (at(m_i + 1) == u'/' && isAsciiLetter(at(m_i + 2))) {
            tagName(m_i + 2, false);
        } else if (isAsciiLetter(at(m_i + 1))) {
            tagName(m_i + 1, true);
        } else {
            ++m_i;  // a '<' that opens nothing is text
        }
    }

    // `&name;`, `&#123;` or `&#x1F;`; the ';' may be missing, as browsers allow.
    void entity() {
        int j = m_i + 1;
        if (at(j) == u'#') {
            ++j;
            const bool hex = at(j) == u'x' || at(j) == u'X';
            if (hex) ++j;
            const int digits = j;
            while (j < m_n && (hex ? isHexDigit(m_text[j]) : isDigit(m_text[j]))) ++j;
            if (j == digits) j = m_i + 1;
        } else {
            while (j < m_n && (isAsciiLetter(m_text[j]) || isDigit(m_text[j]))) ++j;
        }
        if (j > m_i + 1) {
            if (at(j) == u';') ++j;
            paint(m_i, j, m_f.entity);
        }
        m_i = std::max(j, m_i + 1);
    }

    void tagName(int nameStart, bool start) {
        int j = nameStart;
        while (j < m_n && !isSpace(m_text[j]) && m_text[j] != u'/' && m_text[j] != u'>') ++j;
        paint(m_i, j, m_f.tag);
        m_raw = NoRaw;
        if (start) {
            const QStringView name = QStringView(m_text).mid(nameStart, j - nameStart);
            for (int k = Script; k <= Textarea; ++k) {
                if (name.compare(QStringView(kRawNames[k]), Qt::CaseInsensitive) == 0) m_raw = k;
            }
        }
        m_i = j;
        m_construct = Tag;
        m_afterEquals = false;
    }

    void insideTag() {
        while (m_i < m_n && isSpace(m_text[m_i])) ++m_i;
        if (m_i >= m_n) return;
        const QChar c = m_text[m_i];
        if (c == u'>') {
            paint(m_i, m_i + 1, m_f.tag);
            ++m_i;
            m_construct = m_raw == NoRaw ? Text : RawText;
            m_afterEquals = false;
        } else if (m_afterEquals) {
            m_afterEquals = false;
            if (c == u'"' || c == u'\'') {
                paint(m_i, m_i + 1, m_f.attributeValue);
                ++m_i;
                m_construct = c == u'"' ? DoubleQuoted : SingleQuoted;
                return;
            }
            int j = m_i;
            while (j < m_n && !isSpace(m_text[j]) && m_text[j] != u'>') ++j;
            paint(m_i, j, m_f.attributeValue);
            m_i = j;
        } else if (c == u'=') {
            paint(m_i, m_i + 1, m_f.tag);
            ++m_i;
            m_afterEquals = true;
        } else if (c == u'/') {
            paint(m_i, m_i + 1, m_f.tag);
            ++m_i;
        } else {
            int j = m_i + 1;
            while (j < m_n && !isSpace(m_text[j]) && m_text[j] != u'=' && m_text[j] != u'>' &&
                   m_text[j] != u'/')
                ++j;
            paint(m_i, j, m_f.attributeName);
            m_i = j;
        }
    }

    void quoted(QChar quote) {
        const qsizetype end = m_text.indexOf(quote, m_i);
        const int to = end < 0 ? m_n : int(end) + 1;
        paint(m_i, to, m_f.attributeValue);
        m_i = to;
        if (end >= 0) m_construct = Tag;
    }

    void until(const char16_t* close, const QTextCharFormat& f) {
        const qsizetype end = m_text.indexOf(QStringView(close), m_i);
        const int to = end < 0 ? m_n : int(end + QStringView(close).size());
        paint(m_i, to, f);
        m_i = to;
        if (end >= 0) m_construct = Text;
    }

    // Script and style hold no tags and no entities; title and textarea hold entities.
    void rawText() {
        const QStringView name(kRawNames[m_raw]);
        int end = m_n;
        for (qsizetype j = m_text.indexOf(u"</", m_i); j >= 0; j = m_text.indexOf(u"</", j + 2)) {
            const int after = int(j) + 2 + int(name.size());
            if (QStringView(m_text).mid(j + 2).startsWith(name, Qt::CaseInsensitive) &&
                (after >= m_n || isSpace(m_text[after]) || m_text[after] == u'/' ||
                 m_text[after] == u'>')) {
                end = int(j);
                break;
            }
        }
        if (m_raw == Script || m_raw == Style) {
            paint(m_i, end, m_f.script);
        } else {
            for (qsizetype j = m_text.indexOf(u'&', m_i); j >= 0 && j < end;
                 j = m_text.indexOf(u'&', m_i)) {
                m_i = int(j);
                entity();
            }
        }
        m_i = end;
        if (end < m_n) tagName(end + 2, false);
    }

    QList<QTextLayout::FormatRange>& m_ranges;
    const Formats& m_f;
    const QString& m_text;
    const int m_n;
    int m_i = 0;
    int m_construct;
    int m_raw;
    bool m_afterEquals;
};

HtmlHighlighter::HtmlHighlighter(QTextDocument* document, QObject* parent)
    : QObject(parent), m_document(document) {
    // Colours that read on the palette's own background, light or dark.
    const bool dark = QGuiApplication::palette().color(QPalette::Base).lightness() < 128;
    m_formats.tag = colour(dark ? QColor(0x7f, 0xb4, 0xff) : QColor(0x00, 0x33, 0x99));
    m_formats.attributeName = colour(dark ? QColor(0xff, 0xb0, 0x70) : QColor(0x99, 0x33, 0x00));
    m_formats.attributeValue = colour(dark ? QColor(0x9c, 0xdc, 0x8c) : QColor(0x00, 0x73, 0x00));
    m_formats.comment = colour(dark ? QColor(0x99, 0x99, 0x99) : QColor(0x70, 0x70, 0x70));
    m_formats.entity = colour(dark ? QColor(0xe0, 0x90, 0xe0) : QColor(0x88, 0x00, 0x88));
    m_formats.doctype = colour(dark ? QColor(0x80, 0xd0, 0xd0) : QColor(0x00, 0x66, 0x66));
    m_formats.script = colour(dark ? QColor(0xd8, 0xc8, 0x80) : QColor(0x6b, 0x4e, 0x00));

    m_next = QTextCursor(document);
    connect(document, &QTextDocument::contentsChange, this, &HtmlHighlighter::contentsChanged);
    colourSome();
}

void HtmlHighlighter::colourSome() {
    // A large page opens at once and takes its colours from the top down, a part per turn
    // of the event loop; the first part, which a page opened at its top shows, comes now.
    constexpr int kPartCharacters = 64 * 1024;
    QTextDocument& document = *m_document;
    QTextBlock block = document.findBlock(m_next.position());
    const int from = block.position();
    for (int left = kPartCharacters; block.isValid() && left > 0; block = block.next()) {
        colourBlock(block);
        left -= block.length();
    }
    const int to = block.isValid() ? block.position() : document.characterCount();
    document.markContentsDirty(from, to - from);
    if (block.isValid()) {
        m_next.setPosition(block.position());
        QTimer::singleShot(0, this, &HtmlHighlighter::colourSome);
    } else {
        m_complete = true;
    }
}

HtmlHighlighter::~HtmlHighlighter() {
    if (!m_document) return;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        block.layout()->clearFormats();
        block.setUserState(-1);
    }
    m_document->markContentsDirty(0, m_document->characterCount());
}

HtmlHighlighter::Change HtmlHighlighter::colourBlock(QTextBlock& block) const {
    const QTextBlock before = block.previous();
    const int start = before.isValid() && before.userState() >= 0 ? before.userState() : Text;
    QList<QTextLayout::FormatRange> ranges;
    const int end = Line(m_formats, block.text(), start, ranges).run();
    Change change;
    if (ranges != block.layout()->formats()) {
        block.layout()->setFormats(ranges);
        change.colours = true;
    }
    if (block.userState() != end) {
        block.setUserState(end);
        change.endState = true;
    }
    return change;
}

void HtmlHighlighter::contentsChanged(int from, int, int added) {
    QTextDocument& document = *m_document;
    // The document lays the changed lines out again right after this signal; a line after
    // them whose colours change has to be marked for that.
    const int lastChanged =
        document.findBlock(std::min(from + added, document.characterCount() - 1)).blockNumber();
    bool carry = false;
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        // Lines not coloured yet get their colours in their turn.
        if (!m_complete && block.position() >= m_next.position()) break;
        const bool changed = block.blockNumber() <= lastChanged;
        if (!changed && !carry) break;
        const Change change = colourBlock(block);
        if (change.colours && changed) {
            // New colours drop the line's layout, and a line without one makes the document
            // repaint the whole view; laying it out again here keeps the repaint to the line.
            document.documentLayout()->blockBoundingRect(block);
        } else if (change.colours) {
            document.markContentsDirty(block.position(), block.length());
        }
        carry = change.endState;
    }
}

}  // namespace host
