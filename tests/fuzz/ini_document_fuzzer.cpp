// Fuzzes the settings file's parser and its one-line edits: any bytes either parse or fail
// with a line-numbered format error; what parses writes back byte for byte; a set value reads
// back, leaves every other value as it was, and survives a reparse of the new text.
//
// Input fields (separated by 0x1E): the file's text, then section, key, value triples.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "com/error.h"
#include "platform/text/ascii.h"
#include "platform/text/text_format.h"
#include "tests/fuzz/fuzz_support.h"
#include "wizard/settings/ini_document.h"

namespace {

using ostrel::IniDocument;

struct Address {
    std::string section, key;
};

// Every section and key name the text mentions, found by a plain scan of its lines, plus the
// ones the operations name: the values at these addresses are compared before and after.
std::vector<Address> addressesIn(std::string_view text) {
    std::vector<Address> out;
    std::string section;
    for (const auto& line : platform::text::splitLines(text)) {
        const std::string_view content = platform::text::trimBlanks(line.content);
        if (content.starts_with('[') && content.size() >= 2) {
            section =
                std::string(platform::text::trimBlanks(content.substr(1, content.size() - 2)));
        } else if (const std::size_t equals = content.find('='); equals != std::string_view::npos) {
            out.push_back(
                {section, std::string(platform::text::trimBlanks(content.substr(0, equals)))});
        }
    }
    return out;
}

std::vector<std::optional<std::string>> valuesAt(const IniDocument& document,
                                                 const std::vector<Address>& addresses) {
    std::vector<std::optional<std::string>> values;
    for (const Address& a : addresses) values.push_back(document.value(a.section, a.key));
    return values;
}

std::optional<IniDocument> parse(std::string_view text) {
    try {
        return IniDocument::parse(text);
    } catch (const platform::text::TextFormatError& e) {
        FUZZ_CHECK(e.line() >= 1, "a format error without a line number");
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::splitFields(data, size);
    const std::string_view original = fields[0];
    std::optional<IniDocument> document = parse(original);
    if (!document) return 0;
    FUZZ_CHECK(document->text() == original, "parsing alone changed the text");

    std::vector<Address> addresses = addressesIn(original);
    for (std::size_t i = 1; i < fields.size(); i += 3) {
        addresses.push_back(
            {std::string(fuzz::fieldAt(fields, i)), std::string(fuzz::fieldAt(fields, i + 1))});
    }

    for (std::size_t i = 1; i < fields.size(); i += 3) {
        const std::string_view section = fuzz::fieldAt(fields, i);
        const std::string_view key = fuzz::fieldAt(fields, i + 1);
        const std::string_view value = fuzz::fieldAt(fields, i + 2);
        const std::string before = document->text();
        const auto valuesBefore = valuesAt(*document, addresses);
        try {
            document->setValue(section, key, value);
        } catch (const com::Error&) {
            // Names the format cannot hold are refused, and the document stays as it was.
            FUZZ_CHECK(document->text() == before, "a refused change altered the text");
            continue;
        }
        const std::string after = document->text();
        FUZZ_CHECK(document->value(section, key) == std::optional<std::string>(value),
                   "the value set reads back as something else");

        std::optional<IniDocument> reread = parse(after);
        FUZZ_CHECK(reread.has_value(),
                   "the edited text no longer parses:\n" + fuzz::visible(after));
        FUZZ_CHECK(reread->text() == after, "the edited text does not parse back to itself");
        const auto valuesAfter = valuesAt(*document, addresses);
        const auto valuesReread = valuesAt(*reread, addresses);
        for (std::size_t a = 0; a < addresses.size(); ++a) {
            FUZZ_CHECK(valuesReread[a] == valuesAfter[a],
                       "[" + addresses[a].section + "] " + addresses[a].key +
                           " reads differently once the edited text is parsed again:\n" +
                           fuzz::visible(after));
            const bool edited =
                platform::text::equalsIgnoringAsciiCase(addresses[a].section, section) &&
                platform::text::equalsIgnoringAsciiCase(addresses[a].key, key);
            if (!edited) {
                FUZZ_CHECK(valuesAfter[a] == valuesBefore[a],
                           "setting [" + std::string(section) + "] " + std::string(key) +
                               " changed [" + addresses[a].section + "] " + addresses[a].key +
                               "\nbefore: " + fuzz::visible(before) +
                               "\nafter:  " + fuzz::visible(after));
            }
        }
    }
    return 0;
}
