// Fuzzes reading page files: any bytes either are refused by the name of their encoding (or
// their byte order mark) or read as text, and a page read without a reason to keep it
// read-only, and with one kind of line ending, writes back byte for byte and keeps its
// encoding when saved unchanged.
#include <cstdint>
#include <string>

#include "host/pagefile/page_file_format.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    host::DecodedPage page;
    try {
        page = host::decodePage(bytes);
    } catch (const host::UnreadableEncoding& e) {
        const std::string why = e.what();
        FUZZ_CHECK(why.find("declares") != std::string::npos ||
                       why.find("byte order mark") != std::string::npos,
                   "a refusal that does not name the declared encoding");
        return 0;
    }
    if (!page.readOnlyReason.isEmpty() || page.format.mixedLineEndings) return 0;
    FUZZ_CHECK(host::formatToWrite(page.text, page.format) == page.format,
               "saving the page as it was read would change its encoding");
    QByteArray written;
    try {
        written = host::encodePage(page.text, page.format);
    } catch (const host::UnencodableCharacter& e) {
        FUZZ_CHECK(false,
                   std::string("text read from the file cannot be written back: ") + e.what());
    }
    FUZZ_CHECK(written == bytes, "the page does not write back byte for byte");
    return 0;
}
