// An INI file held line by line, so that a change rewrites one line and keeps every other
// line (comments, other sections, hand-written spacing) exactly as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// Lines are "[Section]", "Key=value", blank, or comments starting with ; or #. A value is
// taken literally up to the end of its line, blanks around it aside, unless it starts with a
// double quote: then it is a quoted text with the escapes \\ \" \r \n \t \xHH. Section and
// key names compare without regard to the case of A-Z; the first of repeated keys counts.
class IniDocument {
public:
    // Throws platform::text::TextFormatError at the first line that cannot be read.
    static IniDocument parse(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Rewrites the key's line, or adds one at the end of the section (adding the section at
    // the end of the file when it is missing). Throws com::Error for names the format cannot
    // hold.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    std::string text() const;

    // How a value is written: as it is when it reads back unchanged, quoted otherwise.
    static std::string encodeValue(std::string_view value);

private:
    enum class Kind { other, section, entry };
    struct Line {
        std::string raw;         // the line as it stands in the file, without its line break
        std::string terminator;  // "\n", "\r\n"; for the last line also "\r" or ""
        Kind kind = Kind::other;
        std::string name;   // section name, or the entry's key
        std::string value;  // the entry's decoded value
    };

    std::vector<Line> m_lines;
    std::string m_newline = "\n";  // the file's own line break, for added lines
};

}  // namespace ostrel
