// Fuzzes parsing a page in two halves: wherever the split is made, the tree must be exactly
// the one that parsing the page whole gives (nodes, text, flags, positions, source spans).
//
// Input fields (separated by 0x1E): the page, then one byte choosing where the split is
// looked for (its value modulo 20, in twentieths of the page).
#include <cstdint>
#include <string>

#include "com/error.h"
#include "host/page/parsed_html.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/page/parse_identity.h"

namespace {

// How many pages were split, so a run shows how much it really compared.
fuzz::Tally tally("pages split");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::splitFields(data, size);
    const std::string page(fields[0]);
    const std::string_view choice = fuzz::fieldAt(fields, 1);
    host::page::ParseLimits whole;
    whole.halvesFrom = 0;
    host::page::ParseLimits halves;
    halves.halvesFrom = 1;
    halves.halvesAt = choice.empty() ? 0.5 : (static_cast<unsigned char>(choice[0]) % 20) / 20.0;
    std::unique_ptr<host::page::ParsedHtml> reference;
    try {
        reference = host::page::ParsedHtml::parse(page, whole);
    } catch (const com::Error&) {
        return 0;  // beyond the parser's limits
    }
    const auto split = host::page::ParsedHtml::parse(page, halves);
    tally.add(split->parsedInHalves());
    if (split->parsedInHalves()) {
        const std::string difference = host::testing::firstDifference(*reference, *split);
        FUZZ_CHECK(difference.empty(), difference + " in " + fuzz::visible(page));
    }
    return 0;
}
