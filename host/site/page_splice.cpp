// Finds where two text offsets lie in the page's bytes by encoding the text line by line
// and checking each piece against the bytes.
#include "host/site/page_splice.h"

#include <array>

namespace host::site {
namespace {

class ByteMap {
public:
    ByteMap(const QByteArray& bytes, const PageFileFormat& format)
        : m_bytes(bytes), m_piece(format) {
        m_piece.byteOrderMark = false;
        m_pos = encodePage(QString(), format).size();  // the byte order mark, if any
        const std::array endings{LineEnding::CrLf, LineEnding::Lf, LineEnding::Cr};
        for (std::size_t i = 0; i < endings.size(); ++i) {
            PageFileFormat f = m_piece;
            f.lineEnding = endings[i];
            m_breaks[i] = encodePage(QStringLiteral("\n"), f);
        }
    }

    // Byte offsets of text offsets `from` <= `to`.
    std::pair<qsizetype, qsizetype> offsets(const QString& text, qsizetype from, qsizetype to) {
        qsizetype lineStart = 0;
        qsizetype byteFrom = -1;
        for (;;) {
            qsizetype lineEnd = text.indexOf(u'\n', lineStart);
            if (lineEnd < 0) lineEnd = text.size();
            if (byteFrom < 0 && from <= lineEnd) byteFrom = offsetIn(text, lineStart, from);
            if (to <= lineEnd) return {byteFrom, offsetIn(text, lineStart, to)};
            m_pos = offsetIn(text, lineStart, lineEnd);
            skipBreak();
            lineStart = lineEnd + 1;
        }
    }

private:
    // The byte offset of text offset `at` on the line that starts at `lineStart` (at m_pos).
    qsizetype offsetIn(const QString& text, qsizetype lineStart, qsizetype at) const {
        const QByteArray piece = encodePage(text.mid(lineStart, at - lineStart), m_piece);
        if (m_bytes.mid(m_pos, piece.size()) != piece) mismatch();
        return m_pos + piece.size();
    }
    void skipBreak() {
        for (const QByteArray& b : m_breaks) {
            if (m_bytes.mid(m_pos, b.size()) == b) {
                m_pos += b.size();
                return;
            }
        }
        mismatch();
    }
    [[noreturn]] void mismatch() const {
        throw SpliceError(
            "its bytes do not read back as the same text, so it cannot be changed without "
            "changing other parts of it");
    }

    const QByteArray& m_bytes;
    PageFileFormat m_piece;
    std::array<QByteArray, 3> m_breaks;
    qsizetype m_pos = 0;
};

}  // namespace

QByteArray ByteSplice::appliedTo(const QByteArray& file) const {
    QByteArray out;
    out.reserve(file.size() - (to - from) + bytes.size());
    out.append(file.constData(), from);
    out.append(bytes);
    out.append(file.constData() + to, file.size() - to);
    return out;
}

ByteSplice spliceBytes(const QByteArray& bytes, const PageFileFormat& format, const QString& text,
                       qsizetype from, qsizetype to, const QString& replacement) {
    PageFileFormat piece = format;
    piece.byteOrderMark = false;
    QByteArray encoded = encodePage(replacement, piece);
    const auto [byteFrom, byteTo] = ByteMap(bytes, format).offsets(text, from, to);
    return {byteFrom, byteTo, std::move(encoded)};
}

}  // namespace host::site
