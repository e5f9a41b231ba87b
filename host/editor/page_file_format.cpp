// Reading and writing page bytes in the file's own encoding and line endings.
#include "host/editor/page_file_format.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "host/editor/utf8.h"
#include "host/editor/windows1252.h"

namespace host {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string describeCodePoint(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// Counts each kind of line break and picks the one the file uses most (LF when none).
void detectLineEndings(const QByteArray& bytes, PageFileFormat& format) {
    qsizetype lf = 0, crlf = 0, cr = 0;
    const char* p = bytes.constData();
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == '\n') {
            ++lf;
        } else if (p[i] == '\r') {
            if (i + 1 < n && p[i + 1] == '\n') {
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

}  // namespace

UnencodableCharacter::UnencodableCharacter(char32_t codePoint, int line, int column)
    : std::runtime_error("The character " + describeCodePoint(codePoint) + " on line " +
                         std::to_string(line) + ", column " + std::to_string(column) +
                         " cannot be written in Windows-1252"),
      m_codePoint(codePoint),
      m_line(line),
      m_column(column) {}

DecodedPage decodePage(const QByteArray& bytes) {
    DecodedPage page;
    detectLineEndings(bytes, page.format);
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (isValidUtf8(view)) {
        page.format.encoding = TextEncoding::Utf8;
        page.format.byteOrderMark = view.starts_with(kUtf8Bom);
        const qsizetype skip = page.format.byteOrderMark ? qsizetype(kUtf8Bom.size()) : 0;
        page.text = QString::fromUtf8(bytes.constData() + skip, bytes.size() - skip);
    } else {
        page.format.encoding = TextEncoding::Windows1252;
        page.text = decodeWindows1252(bytes);
    }
    page.text = normalizeLineBreaks(std::move(page.text));
    return page;
}

QByteArray encodePage(const QString& text, const PageFileFormat& format) {
    const std::string_view eol = lineEndingBytes(format.lineEnding);
    QByteArray out;
    if (format.encoding == TextEncoding::Utf8) {
        const QByteArray utf8 = text.toUtf8();
        out.reserve(utf8.size() + 3);
        if (format.byteOrderMark) out.append(kUtf8Bom.data(), qsizetype(kUtf8Bom.size()));
        for (char c : utf8) {
            if (c == '\n') {
                out.append(eol.data(), qsizetype(eol.size()));
            } else {
                out.append(c);
            }
        }
        return out;
    }
    out.reserve(text.size());
    int line = 1, column = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (cp == U'\n') {
            out.append(eol.data(), qsizetype(eol.size()));
            ++line;
            column = 1;
            continue;
        }
        const auto byte = windows1252Byte(cp);
        if (!byte) throw UnencodableCharacter(cp, line, column);
        out.append(*byte);
        ++column;
    }
    return out;
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

QString describeFormat(const PageFileFormat& format) {
    QString s = format.encoding == TextEncoding::Utf8 ? QStringLiteral("UTF-8")
                                                      : QStringLiteral("Windows-1252");
    if (format.byteOrderMark) s += QStringLiteral(" with BOM");
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
    if (format.mixedLineEndings) s += QStringLiteral(" (mixed)");
    return s;
}

}  // namespace host
