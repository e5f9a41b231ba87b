// Text of the per-user file formats: lines, byte order marks, blanks and quoted strings
// with escapes.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform::text {

// A line of a file that cannot be read; the stores add the file's name.
class TextFormatError : public std::runtime_error {
public:
    TextFormatError(std::size_t line, const std::string& reason)
        : std::runtime_error(reason), m_line(line) {}
    // 1-based line number.
    std::size_t line() const { return m_line; }

private:
    std::size_t m_line;
};

struct TextLine {
    std::string_view content;     // without its line break
    std::string_view terminator;  // "\n", "\r\n" or "" for a last line without one
};

// Splits at LF; a CR just before the LF belongs to the line break, so files saved with
// CR LF read the same.
std::vector<TextLine> splitLines(std::string_view text);

// The line without a UTF-8 byte order mark at its start.
std::string_view withoutByteOrderMark(std::string_view line);

// Spaces and tabs off both ends.
std::string_view trimBlanks(std::string_view text);

// Double-quoted form of any byte string: \\ \" \r \n \t, and \xHH for other control
// bytes and for bytes that are not part of well-formed UTF-8. Everything else is kept as it
// is, so the file stays readable.
std::string quoteText(std::string_view text);

// The inverse of quoteText for a whole quoted token, including its two quotes. Throws
// TextFormatError (with line number `line`) naming what is wrong.
std::string unquoteText(std::string_view quoted, std::size_t line);

// Length of the quoted token at the start of text (which must start with a quote),
// or npos when it has no closing quote.
std::size_t quotedTokenLength(std::string_view text);

}  // namespace platform::text
