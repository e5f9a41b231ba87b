// How a page file is stored (encoding, byte order mark, line endings), and conversion
// between its bytes and the editor's text.
#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace host {

// Legacy is any other encoding a page declares in a <meta>, by its name.
enum class TextEncoding { Utf8, Utf16Le, Utf16Be, Windows1252, Legacy };
enum class LineEnding { Lf, CrLf, Cr };

struct PageFileFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    QByteArray legacyName;  // for Legacy: "ISO-8859-2", "KOI8-R", ...
    // The encoding the page's <meta> names ("windows-1250", "UTF-8"), empty when none.
    QByteArray declared;
    bool byteOrderMark = false;
    // The ending the file uses most; every line break is written with it.
    LineEnding lineEnding = LineEnding::Lf;
    // The file had more than one kind of line ending; after an edit they become one kind.
    bool mixedLineEndings = false;

    friend bool operator==(const PageFileFormat&, const PageFileFormat&) = default;
};

struct DecodedPage {
    QString text;  // line breaks as '\n'
    PageFileFormat format;
    // Why the text could not be written back as the bytes it came from (bytes that are no
    // text in the page's encoding), or empty.
    QString readOnlyReason;
};

// A page in an encoding the editor cannot convert; the message names the encoding.
class UnreadableEncoding : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bytes that a byte order mark or a <meta> say are UTF-8 and are not; the message names the
// line and column of the first.
class BrokenUtf8 : public UnreadableEncoding {
public:
    using UnreadableEncoding::UnreadableEncoding;
};

// The encoding is, in this order: the one a byte order mark gives (UTF-8, UTF-16 little or
// big endian); the one a <meta> declares; UTF-8 when the bytes are well-formed UTF-8;
// Windows-1252 otherwise. A byte order mark is remembered and left out of the text. Bytes
// that a mark or a <meta> say are UTF-8 and are not are refused, never read as another
// encoding. Throws UnreadableEncoding (naming the line and column of such bytes).
DecodedPage decodePage(const QByteArray& bytes);

// A character that the page's encoding cannot hold.
class UnencodableCharacter : public std::runtime_error {
public:
    UnencodableCharacter(char32_t codePoint, int line, int column, const QString& encoding);
    char32_t codePoint() const { return m_codePoint; }
    int line() const { return m_line; }      // 1-based
    int column() const { return m_column; }  // 1-based, in characters

private:
    char32_t m_codePoint;
    int m_line;
    int m_column;
};

// The format to save `text` in, read in `read`: a <meta> the author changed to name
// another encoding changes the encoding (not where a byte order mark decides it). Throws
// UnreadableEncoding.
PageFileFormat formatToWrite(const QString& text, const PageFileFormat& read);

// The bytes of `text` (line breaks as '\n') in `format`. Throws UnencodableCharacter.
QByteArray encodePage(const QString& text, const PageFileFormat& format);

const char* lineEndingBytes(LineEnding ending);
QString encodingName(const PageFileFormat& format);
QString describeFormat(const PageFileFormat& format);

}  // namespace host
