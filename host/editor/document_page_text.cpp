// The page text seam over QTextDocument.
#include "host/editor/document_page_text.h"

#include <QTextCursor>
#include <QTextDocument>

#include "com/error.h"
#include "platform/text/utf8.h"

namespace host {

using platform::text::isValidUtf8;
using platform::text::utf8SequenceLength;
namespace {

constexpr const char* kSource = "pagehost";

[[noreturn]] void fail(std::int32_t number, const std::string& description) {
    throw com::Error(number, description, kSource);
}

// Every block break becomes the file's line ending. One writer for both kinds of string, so
// that the text rendered and the text the page document reads are the same bytes.
template <class Bytes>
Bytes toPageText(const QString& raw, LineEnding lineEnding) {
    const QByteArray utf8 = raw.toUtf8();
    const std::string_view eol = lineEndingBytes(lineEnding);
    constexpr std::string_view kParagraph = "\xE2\x80\xA9";  // U+2029, the block break
    using Size = decltype(Bytes().size());
    Bytes out;
    out.reserve(static_cast<Size>(utf8.size()));
    const std::string_view text(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    std::size_t from = 0;
    for (std::size_t at = text.find(kParagraph); at != std::string_view::npos;
         at = text.find(kParagraph, from)) {
        out.append(text.data() + from, static_cast<Size>(at - from));
        out.append(eol.data(), static_cast<Size>(eol.size()));
        from = at + kParagraph.size();
    }
    out.append(text.data() + from, static_cast<Size>(text.size() - from));
    return out;
}

}  // namespace

DocumentPageText::DocumentPageText(QTextDocument* document, LineEnding lineEnding)
    : m_document(document), m_lineEnding(lineEnding) {
    // Typing, undo and edits through this seam all pass here.
    m_changed = QObject::connect(document, &QTextDocument::contentsChange,
                                 [this](int, int, int) { ++m_revision; });
}

DocumentPageText::~DocumentPageText() {
    QObject::disconnect(m_changed);
}

void DocumentPageText::detach() {
    QObject::disconnect(m_changed);
    m_document = nullptr;
    m_cachedText.clear();
    m_cachedRevision = 0;
}

QTextDocument& DocumentPageText::document() const {
    if (!m_document) fail(com::errc::objectNotSet, "The page has been closed");
    return *m_document;
}

std::string DocumentPageText::text() const {
    QTextDocument& doc = document();
    if (m_cachedRevision == m_revision) return m_cachedText;
    // toRawText keeps no-break spaces that toPlainText would turn into plain spaces.
    m_cachedText = toPageText<std::string>(doc.toRawText(), m_lineEnding);
    m_cachedRevision = m_revision;
    return m_cachedText;
}

DocumentPageText::Snapshot DocumentPageText::snapshot() const {
    return {document().toRawText(), m_lineEnding, m_revision};
}

QByteArray DocumentPageText::utf8(const Snapshot& snapshot) {
    return toPageText<QByteArray>(snapshot.raw, snapshot.lineEnding);
}

void DocumentPageText::replace(std::size_t offset, std::size_t length,
                               std::string_view replacement) {
    QTextDocument& doc = document();
    if (!m_readOnlyReason.isEmpty())
        fail(com::errc::permissionDenied, m_readOnlyReason.toStdString());
    const std::string current = text();
    if (offset > current.size() || length > current.size() - offset) {
        fail(com::errc::invalidProcedureCall,
             "The range " + std::to_string(offset) + "+" + std::to_string(length) +
                 " lies outside the page text of " + std::to_string(current.size()) + " bytes");
    }
    if (!isValidUtf8(replacement))
        fail(com::errc::invalidProcedureCall, "The new text is not valid UTF-8");

    // Walks the text once, turning byte offsets into positions of the document, where a
    // line break is one position and a character beyond the BMP two.
    const std::string_view eol = lineEndingBytes(m_lineEnding);
    const std::size_t end = offset + length;
    int position = 0, start = -1, stop = -1;
    std::size_t i = 0;
    while (true) {
        if (i == offset) start = position;
        if (i == end) {
            stop = position;
            break;
        }
        if (i > end || i >= current.size()) break;
        std::size_t step;
        if (std::string_view(current).substr(i, eol.size()) == eol) {
            step = eol.size();
            position += 1;
        } else {
            step = utf8SequenceLength(static_cast<unsigned char>(current[i]));
            position += step == 4 ? 2 : 1;
        }
        i += step;
    }
    if (start < 0 || stop < 0) {
        fail(com::errc::invalidProcedureCall,
             "The range " + std::to_string(offset) + "+" + std::to_string(length) +
                 " splits a character or a line break of the page text");
    }
    if (start == stop && replacement.empty()) return;

    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(stop, QTextCursor::KeepAnchor);
    if (replacement.empty()) {
        cursor.removeSelectedText();
    } else {
        cursor.insertText(QString::fromUtf8(replacement.data(), qsizetype(replacement.size())));
    }
    cursor.endEditBlock();
}

}  // namespace host
