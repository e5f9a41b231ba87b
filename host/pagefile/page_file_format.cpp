// Reading and writing page bytes in the file's own encoding and line endings.
#include "host/pagefile/page_file_format.h"

#include <QCoreApplication>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "host/pagefile/declared_charset.h"
#include "platform/text/utf8.h"
#include "platform/text/windows1252.h"

namespace host {

using platform::text::isValidUtf8;
using platform::text::wellFormedSequenceAt;
using platform::text::windows1252Char;
using platform::text::windows1252Byte;
namespace {

// One character a byte, so any file reads and writes back byte for byte.
QString decodeWindows1252(const QByteArray& bytes) {
    QString out;
    out.resize(bytes.size());
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        dst[i] = QChar(windows1252Char(static_cast<unsigned char>(bytes[i])));
    }
    return out;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::string describeCodePoint(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// Counts each kind of line break and picks the one the file uses most (LF when none).
void detectLineEndings(const QString& text, PageFileFormat& format) {
    qsizetype lf = 0, crlf = 0, cr = 0;
    const QChar* p = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == u'\n') {
            ++lf;
        } else if (p[i] == u'\r') {
            if (i + 1 < n && p[i + 1] == u'\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        }
    }
    format.lineEnding = LineEnding::Lf;
    if (crlf > lf && crlf >= cr) format.lineEnding = LineEnding::CrLf;
    if (cr > lf && cr > crlf) format.lineEnding = LineEnding::Cr;
    format.mixedLineEndings = (lf > 0) + (crlf > 0) + (cr > 0) > 1;
}

QString normalizeLineBreaks(QString text) {
    if (!text.contains(u'\r')) return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// "line L, column C" of a position in text whose breaks are still as in the file.
QString describePosition(const QString& text, qsizetype at) {
    int line = 1, column = 1;
    for (qsizetype i = 0; i < at && i < text.size(); ++i) {
        if (text[i] == u'\n' ||
            (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
            ++line;
            column = 1;
        } else if (text[i] != u'\r') {
            ++column;
        }
    }
    return QCoreApplication::translate("host::PageFile", "line %1, column %2")
        .arg(line)
        .arg(column);
}

// UTF-16 units keep unpaired surrogates as they are, so any even number of bytes reads
// and writes back unchanged.
QString decodeUtf16(std::string_view bytes, bool littleEndian) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    QString text(qsizetype(bytes.size() / 2), Qt::Uninitialized);
    QChar* out = text.data();
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        *out++ = QChar(char16_t(littleEndian ? p[i] | p[i + 1] << 8 : p[i] << 8 | p[i + 1]));
    }
    return text;
}

QString decodeLegacy(const QByteArray& bytes, const QByteArray& name, QString& readOnlyReason) {
    QStringDecoder decoder(name.constData());
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        readOnlyReason =
            QCoreApplication::translate("host::PageFile",
                                        "holds bytes that are no text in %1, the encoding it "
                                        "declares (first at %2)")
                .arg(QString::fromLatin1(name),
                     describePosition(text, text.indexOf(QChar::ReplacementCharacter)));
        return text;
    }
    QStringEncoder encoder(name.constData());
    if (QByteArray(encoder.encode(text)) != bytes || encoder.hasError()) {
        readOnlyReason = QCoreApplication::translate(
                             "host::PageFile",
                             "holds text that %1, the encoding it declares, does not write back "
                             "as the same bytes")
                             .arg(QString::fromLatin1(name));
    }
    return text;
}

// Throws for the first character of `text` that `encodable` refuses, found line by line
// so that a slow check runs once per line and then only within the line that fails.
[[noreturn]] void throwFirstUnencodable(const QString& text, const QString& encoding,
                                        const std::function<bool(QStringView)>& encodable) {
    int line = 1;
    for (QStringView rest(text); !rest.isEmpty(); ++line) {
        const qsizetype end = rest.indexOf(u'\n');
        const QStringView lineText = rest.left(end < 0 ? rest.size() : end);
        rest = end < 0 ? QStringView() : rest.mid(end + 1);
        if (encodable(lineText)) continue;
        int column = 1;
        for (qsizetype i = 0; i < lineText.size(); ++column) {
            const qsizetype width =
                lineText[i].isHighSurrogate() && i + 1 < lineText.size() ? 2 : 1;
            const QStringView character = lineText.mid(i, width);
            if (!encodable(character)) {
                throw UnencodableCharacter(character.toUcs4().value(0), line, column, encoding);
            }
            i += width;
        }
    }
    throw UnencodableCharacter(0xFFFD, line, 1, encoding);
}

bool encodableIn1252(QStringView text) {
    for (char32_t cp : text.toUcs4()) {
        if (!windows1252Byte(cp)) return false;
    }
    return true;
}

QByteArray encodeWindows1252(const QString& text, std::string_view eol) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\n') {
            out.append(eol.data(), qsizetype(eol.size()));
            continue;
        }
        const auto byte = windows1252Byte(c);
        if (!byte) throwFirstUnencodable(text, QStringLiteral("Windows-1252"), encodableIn1252);
        out.append(*byte);
    }
    return out;
}

QByteArray encodeLegacy(const QString& text, std::string_view eol, const QByteArray& name) {
    QString withBreaks = text;
    if (eol != "\n")
        withBreaks.replace(u'\n', QString::fromLatin1(eol.data(), qsizetype(eol.size())));
    QStringEncoder encoder(name.constData());
    QByteArray out = encoder.encode(withBreaks);
    if (encoder.hasError()) {
        throwFirstUnencodable(text, QString::fromLatin1(name), [&name](QStringView part) {
            QStringEncoder one(name.constData());
            (void)QByteArray(one.encode(part));
            return !one.hasError();
        });
    }
    return out;
}

QByteArray encodeUtf16(const QString& text, std::string_view eol, bool littleEndian,
                       bool byteOrderMark) {
    QByteArray out;
    out.reserve(2 * text.size() + 2);
    const auto put = [&out, littleEndian](char16_t unit) {
        const char lo = char(unit & 0xFF), hi = char(unit >> 8);
        out.append(littleEndian ? lo : hi);
        out.append(littleEndian ? hi : lo);
    };
    // A page read as UTF-16 always had its mark; a piece of one (a splice) has none.
    if (byteOrderMark) put(0xFEFF);
    for (QChar c : text) {
        if (c == u'\n') {
            for (char e : eol) put(char16_t(e));
        } else {
            put(c.unicode());
        }
    }
    return out;
}

QByteArray encodeUtf8(const QString& text, std::string_view eol, bool byteOrderMark) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 3);
    if (byteOrderMark) out.append(kUtf8Bom.data(), qsizetype(kUtf8Bom.size()));
    for (char c : utf8) {
        if (c == '\n') {
            out.append(eol.data(), qsizetype(eol.size()));
        } else {
            out.append(c);
        }
    }
    return out;
}

QByteArray nameOf(const DeclaredCharset& declared) {
    return QByteArray(declared.name.data(), qsizetype(declared.name.size()));
}

DeclaredCharset declaredIn(std::string_view bytes) {
    return declaredCharset(bytes).value_or(DeclaredCharset{});
}

// Takes a declared encoding into `format`, unless it is none or UTF-8, which the bytes must
// still prove. Returns whether it did. Throws UnreadableEncoding for an encoding browsers
// know and Qt does not.
bool takeDeclaredEncoding(const DeclaredCharset& declared, PageFileFormat& format) {
    if (declared.name.empty() || declared.name == "UTF-8") return false;
    if (!declared.convertible) {
        throw UnreadableEncoding("it declares the character encoding \"" + declared.label +
                                 "\", which this editor cannot read or write");
    }
    if (declared.name == "windows-1252") {
        format.encoding = TextEncoding::Windows1252;
        format.legacyName.clear();
    } else {
        format.encoding = TextEncoding::Legacy;
        format.legacyName = nameOf(declared);
    }
    return true;
}

// The start of `text` as the file would hold it, as far as the prescan can tell, so that it
// sees no more of the page than a browser will: ASCII as it is, line breaks as the file
// writes them, and any other character as as many bytes outside ASCII as it takes in
// `format` (one in a single-byte encoding).
QByteArray prescanWindow(const QString& text, const PageFileFormat& format) {
    const std::string_view eol = lineEndingBytes(format.lineEnding);
    QByteArray out;
    for (qsizetype i = 0; i < text.size() && out.size() < 1024; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\n') {
            out.append(eol.data(), qsizetype(eol.size()));
        } else if (c < 0x80) {
            out.append(char(c));
        } else if (format.encoding != TextEncoding::Utf8) {
            out.append('\x80');
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size()) {
            out.append(4, '\x80');
            ++i;
        } else {
            out.append(c < 0x800 ? 2 : 3, '\x80');
        }
    }
    return out.left(1024);
}

}  // namespace

UnencodableCharacter::UnencodableCharacter(char32_t codePoint, int line, int column,
                                           const QString& encoding)
    : std::runtime_error("The character " + describeCodePoint(codePoint) + " on line " +
                         std::to_string(line) + ", column " + std::to_string(column) +
                         " cannot be written in " + encoding.toStdString()),
      m_codePoint(codePoint),
      m_line(line),
      m_column(column) {}

namespace {

// Why bytes that a byte order mark or a <meta> say are UTF-8 cannot be read: the first
// sequence that is not UTF-8, by line and column (in characters) and as bytes.
std::string brokenUtf8(std::string_view bytes, bool byteOrderMark) {
    std::size_t at = byteOrderMark ? kUtf8Bom.size() : 0;
    int line = 1, column = 1;
    while (at < bytes.size()) {
        const std::size_t length = wellFormedSequenceAt(bytes, at);
        if (length == 0) break;
        if (bytes[at] == '\n' || (bytes[at] == '\r' && (at + 1 >= bytes.size() || bytes[at + 1] != '\n'))) {
            ++line;
            column = 1;
        } else if (bytes[at] != '\r') {
            ++column;
        }
        at += length;
    }
    std::string shown;
    for (std::size_t i = at; i < bytes.size() && i < at + 4; ++i) {
        if (i > at && !platform::text::isUtf8Continuation(bytes[i])) break;  // the next character
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(bytes[i]));
        if (!shown.empty()) shown += ' ';
        shown += hex;
    }
    return std::string(byteOrderMark ? "it starts with a UTF-8 byte order mark"
                                     : "it declares the character encoding UTF-8") +
           ", but line " + std::to_string(line) + ", column " + std::to_string(column) +
           " holds bytes that are not UTF-8 (" + shown +
           "); it was not read as any other encoding. Correct those bytes, or declare the "
           "encoding the page is written in";
}

}  // namespace

DecodedPage decodePage(const QByteArray& bytes) {
    DecodedPage page;
    PageFileFormat& format = page.format;
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const bool utf8Bom = view.starts_with(kUtf8Bom);
    const bool utf16 = view.starts_with(kUtf16LeBom) || view.starts_with(kUtf16BeBom);
    // Remembered where a byte order mark decides too, so that saving can tell whether the
    // author changed it.
    const DeclaredCharset declared = utf16 ? DeclaredCharset{} : declaredIn(view);
    format.declared = nameOf(declared);
    if (utf16) {
        format.encoding = view[0] == kUtf16LeBom[0] ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
        format.byteOrderMark = true;
        page.text = decodeUtf16(view.substr(2), format.encoding == TextEncoding::Utf16Le);
        if (view.size() % 2 != 0)
            page.readOnlyReason =
                QCoreApplication::translate("host::PageFile", "ends in half a UTF-16 character");
    } else if (!utf8Bom && takeDeclaredEncoding(declared, format)) {
        if (format.encoding == TextEncoding::Windows1252) {
            page.text = decodeWindows1252(bytes);
        } else {
            page.text = decodeLegacy(bytes, format.legacyName, page.readOnlyReason);
        }
    } else if (const bool valid = isValidUtf8(view); valid || utf8Bom || declared.name == "UTF-8") {
        // Bytes that promise UTF-8 and break it are refused: read as another encoding, they
        // would be written back changed wherever the text is edited.
        if (!valid) throw BrokenUtf8(brokenUtf8(view, utf8Bom));
        format.encoding = TextEncoding::Utf8;
        format.byteOrderMark = utf8Bom;
        // QString::fromUtf8 would drop a second mark after the first.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        page.text = utf8.decode(bytes);
        if (utf8Bom) page.text.remove(0, 1);
    } else {
        format.encoding = TextEncoding::Windows1252;
        page.text = decodeWindows1252(bytes);
    }
    detectLineEndings(page.text, format);
    page.text = normalizeLineBreaks(std::move(page.text));
    return page;
}

PageFileFormat formatToWrite(const QString& text, const PageFileFormat& read) {
    if (read.byteOrderMark) return read;
    const QByteArray head = prescanWindow(text, read);
    const DeclaredCharset declared =
        declaredIn(std::string_view(head.constData(), std::size_t(head.size())));
    // Only a declaration the author changed changes the file's encoding; one that named
    // UTF-8 over bytes that were not is left as it was read.
    if (declared.name.empty() || nameOf(declared) == read.declared) return read;
    PageFileFormat format = read;
    format.declared = nameOf(declared);
    if (!takeDeclaredEncoding(declared, format)) {
        format.encoding = TextEncoding::Utf8;
        format.legacyName.clear();
    }
    return format;
}

QByteArray encodePage(const QString& text, const PageFileFormat& format) {
    const std::string_view eol = lineEndingBytes(format.lineEnding);
    switch (format.encoding) {
        case TextEncoding::Utf8:
            return encodeUtf8(text, eol, format.byteOrderMark);
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            return encodeUtf16(text, eol, format.encoding == TextEncoding::Utf16Le,
                               format.byteOrderMark);
        case TextEncoding::Windows1252:
            return encodeWindows1252(text, eol);
        case TextEncoding::Legacy:
            return encodeLegacy(text, eol, format.legacyName);
    }
    return {};
}

const char* lineEndingBytes(LineEnding ending) {
    switch (ending) {
        case LineEnding::Lf:
            return "\n";
        case LineEnding::CrLf:
            return "\r\n";
        case LineEnding::Cr:
            return "\r";
    }
    return "\n";
}

QString encodingName(const PageFileFormat& format) {
    switch (format.encoding) {
        case TextEncoding::Utf8:
            return QStringLiteral("UTF-8");
        case TextEncoding::Utf16Le:
            return QStringLiteral("UTF-16 LE");
        case TextEncoding::Utf16Be:
            return QStringLiteral("UTF-16 BE");
        case TextEncoding::Windows1252:
            return QStringLiteral("Windows-1252");
        case TextEncoding::Legacy:
            return QString::fromLatin1(format.legacyName);
    }
    return {};
}

QString describeFormat(const PageFileFormat& format) {
    QString s = encodingName(format);
    if (format.byteOrderMark) s += QCoreApplication::translate("host::PageFile", " with BOM");
    switch (format.lineEnding) {
        case LineEnding::Lf:
            s += QStringLiteral(", LF");
            break;
        case LineEnding::CrLf:
            s += QStringLiteral(", CR LF");
            break;
        case LineEnding::Cr:
            s += QStringLiteral(", CR");
            break;
    }
    if (format.mixedLineEndings) s += QCoreApplication::translate("host::PageFile", " (mixed)");
    return s;
}

}  // namespace host
