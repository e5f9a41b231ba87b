// An INI file held line by line.
#include "wizard/settings/ini_document.h"

#include <algorithm>

#include "platform/text/utf8.h"
#include "platform/text/ascii.h"
#include "com/error.h"
#include "platform/text/text_format.h"

namespace ostrel {
namespace {

using platform::text::equalsIgnoringAsciiCase;
using platform::text::TextFormatError;
using platform::text::trimBlanks;

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// Values read back literally unless they start with a quote, have blanks at either end, or
// hold a byte that must be escaped.
bool needsQuotes(std::string_view value) {
    if (value.empty()) return false;
    if (value.front() == '"' || trimBlanks(value).size() != value.size()) return true;
    return hasControlCharacter(value) || !platform::text::isValidUtf8(value);
}

void requireName(std::string_view name, std::string_view what, bool isSection) {
    std::string problem;
    if (name.empty()) {
        problem = "it is empty";
    } else if (trimBlanks(name).size() != name.size()) {
        problem = "it starts or ends with a blank";
    } else if (hasControlCharacter(name) || !platform::text::isValidUtf8(name)) {
        problem = "it holds a control character or is not UTF-8 text";
    } else if (isSection ? name.find_first_of("[]") != std::string_view::npos
                         : (name.find('=') != std::string_view::npos ||
                            std::string_view("[;#").find(name.front()) != std::string_view::npos)) {
        problem = isSection ? "it holds [ or ]" : "it holds = or starts with [, ; or #";
    }
    if (!problem.empty()) {
        throw com::Error(com::errc::invalidProcedureCall,
                         "The settings file cannot hold the " + std::string(what) + " name \"" +
                             std::string(name) + "\": " + problem,
                         "SettingsStore");
    }
}

}  // namespace

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument document;
    bool inSection = false;
    std::size_t number = 0;
    for (const platform::text::TextLine& source : platform::text::splitLines(text)) {
        ++number;
        Line line;
        std::string_view raw = source.content;
        line.terminator = std::string(source.terminator);
        // A CR that ends the text is a line break that lost its LF. Read as part of the value,
        // it would become half of a CR LF once a line is added after it, and leave the value.
        if (line.terminator.empty() && raw.ends_with('\r')) {
            raw.remove_suffix(1);
            line.terminator = "\r";
        }
        line.raw = std::string(raw);
        if (number == 1 && source.terminator == "\r\n") document.m_newline = "\r\n";
        std::string_view content = number == 1 ? platform::text::withoutByteOrderMark(raw) : raw;
        if (!platform::text::isValidUtf8(content)) throw TextFormatError(number, "the line is not UTF-8 text");
        content = trimBlanks(content);
        if (content.empty() || content.starts_with(';') || content.starts_with('#')) {
            // blank or comment
        } else if (content.starts_with('[')) {
            if (!content.ends_with(']') || content.size() < 2) {
                throw TextFormatError(number, "a section header must be [name]");
            }
            line.kind = Kind::section;
            line.name = std::string(trimBlanks(content.substr(1, content.size() - 2)));
            if (line.name.empty())
                throw TextFormatError(number, "the section header names no section");
            inSection = true;
        } else if (const std::size_t equals = content.find('='); equals != std::string_view::npos) {
            const std::string_view key = trimBlanks(content.substr(0, equals));
            if (key.empty()) throw TextFormatError(number, "the line has no key before =");
            if (!inSection)
                throw TextFormatError(number, "a key=value line comes before any [section]");
            const std::string_view value = trimBlanks(content.substr(equals + 1));
            line.kind = Kind::entry;
            line.name = std::string(key);
            line.value =
                value.starts_with('"') ? platform::text::unquoteText(value, number) : std::string(value);
            // A NUL would cut the value short for some readers and reach the page for others.
            if (line.name.find('\0') != std::string::npos) {
                throw TextFormatError(number, "the key name holds a NUL character");
            }
            if (line.value.find('\0') != std::string::npos) {
                throw TextFormatError(number,
                                      "the value of " + line.name +
                                          " holds a NUL character, which no setting may hold");
            }
        } else {
            throw TextFormatError(number,
                                  "the line is neither [section], key=value nor a ; comment");
        }
        document.m_lines.push_back(std::move(line));
    }
    return document;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    bool inside = false;
    for (const Line& line : m_lines) {
        if (line.kind == Kind::section) inside = equalsIgnoringAsciiCase(line.name, section);
        if (inside && line.kind == Kind::entry && equalsIgnoringAsciiCase(line.name, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

std::string IniDocument::encodeValue(std::string_view value) {
    return needsQuotes(value) ? platform::text::quoteText(value) : std::string(value);
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    requireName(section, "section", true);
    requireName(key, "key", false);
    // Written, it would make the whole file unreadable from then on.
    if (value.find('\0') != std::string_view::npos) {
        throw com::Error(com::errc::invalidProcedureCall,
                         "The value for " + std::string(key) +
                             " holds a NUL character, which a setting cannot hold; nothing "
                             "was saved",
                         "SettingsStore");
    }

    // The first section of that name gets a new key after its last key; a repeated section
    // of the same name is read, but never added to.
    enum { before, inFirst, after } state = before;
    bool inside = false;
    std::size_t insertAt = m_lines.size();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (line.kind == Kind::section) {
            inside = equalsIgnoringAsciiCase(line.name, section);
            if (state == inFirst) {
                state = after;
            } else if (state == before && inside) {
                state = inFirst;
                insertAt = i + 1;
            }
        }
        if (!inside || line.kind != Kind::entry) continue;
        if (equalsIgnoringAsciiCase(line.name, key)) {
            // Keeps the spelling the file already uses for the key.
            line.raw = line.name + "=" + encodeValue(value);
            line.value = std::string(value);
            return;
        }
        if (state == inFirst) insertAt = i + 1;
    }

    const auto addLine = [&](std::size_t at, Line line) {
        if (at > 0) {
            // A lone CR at the end becomes a CR LF: an LF alone after it would make one too.
            std::string& before = m_lines[at - 1].terminator;
            if (before.empty()) before = m_newline;
            if (before == "\r") before = "\r\n";
        }
        line.terminator = m_newline;
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    };
    Line entry{std::string(key) + "=" + encodeValue(value),
               {},
               Kind::entry,
               std::string(key),
               std::string(value)};
    if (state != before) {
        addLine(insertAt, std::move(entry));
        return;
    }
    if (!m_lines.empty() && !trimBlanks(m_lines.back().raw).empty()) {
        addLine(m_lines.size(), Line{});
    }
    addLine(m_lines.size(),
            Line{"[" + std::string(section) + "]", {}, Kind::section, std::string(section), {}});
    addLine(m_lines.size(), std::move(entry));
}

std::string IniDocument::text() const {
    std::string out;
    for (const Line& line : m_lines) {
        out += line.raw;
        out += line.terminator;
    }
    return out;
}

}  // namespace ostrel
