// Fuzzes the registry file's parser: any text either parses or fails with a line-numbered
// format error, and what parses is written out and read back to the same tree and text.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "platform/registry/registry_format.h"
#include "platform/text/text_format.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using platform::registry::RegistryKey;
using platform::registry::RegistryTree;

// Names compared exactly (spelling kept), values and subkeys in order.
bool sameKey(const RegistryKey& a, const RegistryKey& b, std::string& where) {
    if (a.name() != b.name()) {
        where = "key " + fuzz::visible(a.name()) + " became " + fuzz::visible(b.name());
        return false;
    }
    if (a.values().size() != b.values().size() || a.subkeys().size() != b.subkeys().size()) {
        where = "key " + fuzz::visible(a.name()) + " changed its number of values or subkeys";
        return false;
    }
    for (std::size_t i = 0; i < a.values().size(); ++i) {
        if (a.values()[i].name != b.values()[i].name || a.values()[i].data != b.values()[i].data) {
            where = "value " + fuzz::visible(a.values()[i].name) + " of key " +
                    fuzz::visible(a.name()) + " changed";
            return false;
        }
    }
    for (std::size_t i = 0; i < a.subkeys().size(); ++i) {
        if (!sameKey(a.subkeys()[i], b.subkeys()[i], where)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RegistryTree tree;
    try {
        tree = platform::registry::parseRegistry(text);
    } catch (const platform::text::TextFormatError& e) {
        FUZZ_CHECK(e.line() >= 1, "a format error without a line number");
        return 0;
    }

    const std::string written = platform::registry::formatRegistry(tree);
    RegistryTree reread;
    try {
        reread = platform::registry::parseRegistry(written);
    } catch (const platform::text::TextFormatError& e) {
        fuzz::fail(__FILE__, __LINE__, "written registry reads back",
                   "line " + std::to_string(e.line()) + ": " + e.what() + "\n" + written);
    }
    std::string where;
    FUZZ_CHECK(sameKey(tree.root(), reread.root(), where), where + "\n" + written);
    FUZZ_CHECK(platform::registry::formatRegistry(reread) == written, "a second write differs");
    return 0;
}
