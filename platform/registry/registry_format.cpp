// The registry file's text form.
#include "platform/registry/registry_format.h"

#include <cstdio>

#include "platform/text/utf8.h"
#include "platform/text/ascii.h"
#include "platform/text/text_format.h"

namespace platform::registry {
namespace {

using platform::text::TextFormatError;
using platform::text::trimBlanks;

std::uint32_t parseNumber(std::string_view digits, std::size_t line) {
    if (digits.empty() || digits.size() > 8) {
        throw TextFormatError(line, "dword: must be followed by 1 to 8 hexadecimal digits");
    }
    std::uint32_t number = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) {
            throw TextFormatError(line, "dword: must be followed by 1 to 8 hexadecimal digits");
        }
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return number;
}

RegistryData parseData(std::string_view data, std::size_t line) {
    if (data.starts_with('"')) return platform::text::unquoteText(data, line);
    if (data.size() >= 6 && platform::text::equalsIgnoringAsciiCase(data.substr(0, 6), "dword:")) {
        return parseNumber(data.substr(6), line);
    }
    throw TextFormatError(line, "the data after = is neither \"text\" nor dword:<hex number>");
}

void checkSignature(std::string_view content, std::size_t line) {
    if (content == kRegistrySignature) return;
    constexpr std::string_view kName = "OstrelRegistry ";
    if (content.starts_with(kName)) {
        throw TextFormatError(line, "the file is in format \"" + std::string(content) +
                                        "\", which this version cannot read");
    }
    throw TextFormatError(line, "not a registry file: the first line must be \"" +
                                    std::string(kRegistrySignature) + "\"");
}

// path is the key's own, extended and cut back for each subkey in turn: a copy per level
// would cost the square of a deep key's path.
void formatKey(const RegistryKey& key, std::string& path, std::string& out) {
    if (!key.values().empty() || key.subkeys().empty()) {
        out += "\n[" + path + "]\n";
        for (const RegistryValue& v : key.values()) {
            out += v.name.empty() ? std::string("@") : platform::text::quoteText(v.name);
            out += '=';
            if (const auto* text = std::get_if<std::string>(&v.data)) {
                out += platform::text::quoteText(*text);
            } else {
                char buffer[16];
                std::snprintf(buffer, sizeof buffer, "dword:%08x",
                              static_cast<unsigned>(std::get<std::uint32_t>(v.data)));
                out += buffer;
            }
            out += '\n';
        }
    }
    const std::size_t length = path.size();
    for (const RegistryKey& sub : key.subkeys()) {
        path += '\\';
        path += sub.name();
        formatKey(sub, path, out);
        path.resize(length);
    }
}

}  // namespace

RegistryTree parseRegistry(std::string_view text) {
    RegistryTree tree;
    std::string currentKey;
    bool signed_ = false;
    std::size_t number = 0;
    for (const platform::text::TextLine& line : platform::text::splitLines(text)) {
        ++number;
        std::string_view content =
            number == 1 ? platform::text::withoutByteOrderMark(line.content) : line.content;
        if (!platform::text::isValidUtf8(content)) throw TextFormatError(number, "the line is not UTF-8 text");
        content = trimBlanks(content);
        if (content.empty() || content.starts_with(';')) continue;
        if (!signed_) {
            checkSignature(content, number);
            signed_ = true;
            continue;
        }
        if (content.starts_with('[')) {
            if (!content.ends_with(']') || content.size() < 2) {
                throw TextFormatError(number, "a key header must end with ]");
            }
            currentKey = std::string(content.substr(1, content.size() - 2));
            if (const std::string problem = keyPathProblem(currentKey); !problem.empty()) {
                throw TextFormatError(number, problem);
            }
            if (currentKey.empty()) throw TextFormatError(number, "the key header names no key");
            tree.createKey(currentKey);
            continue;
        }
        std::string name;
        std::string_view rest;
        if (content.starts_with('@')) {
            rest = content.substr(1);
        } else if (content.starts_with('"')) {
            const std::size_t length = platform::text::quotedTokenLength(content);
            if (length == std::string_view::npos) {
                throw TextFormatError(number, "the value name has no closing quote");
            }
            name = platform::text::unquoteText(content.substr(0, length), number);
            rest = content.substr(length);
        } else {
            throw TextFormatError(number,
                                  "expected [key path], \"name\"=data, @=data or a ; comment");
        }
        rest = trimBlanks(rest);
        if (!rest.starts_with('='))
            throw TextFormatError(number, "the value name must be followed by =");
        if (currentKey.empty())
            throw TextFormatError(number, "a value comes before any [key path]");
        tree.setValue(currentKey, name, parseData(trimBlanks(rest.substr(1)), number));
    }
    return tree;
}

std::string formatRegistry(const RegistryTree& tree) {
    std::string out(kRegistrySignature);
    out += '\n';
    for (const RegistryKey& hive : tree.root().subkeys()) {
        std::string path = hive.name();
        formatKey(hive, path, out);
    }
    return out;
}

}  // namespace platform::registry
