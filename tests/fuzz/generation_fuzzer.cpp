// Fuzzes snippet generation: random templates and entries through buildSnippet, checked
// against a slow, plain reference of the replacement steps, fallbacks, decoding (the system's
// own conversions) and writes.
//
// Input fields (separated by 0x1E): kind and check boxes, template bytes (or the MailtoLink
// setting for an e-mail link; absent when the input has no second field), user id, link text,
// heading, ad tracking, thank-you page, message number; then optionally a placeholder and a
// value for one replacement of the template on its own.
#include <iconv.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "com/error.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/snippet/recording_settings_store.h"
#include "wizard/snippet/placeholder_replace.h"
#include "wizard/snippet/snippet_builder.h"

namespace {

using KeysAndValues = std::vector<std::pair<std::string, std::string>>;

// Every occurrence, found by comparing at each position in turn; the inserted value is
// stepped over, never compared again.
std::string referenceReplace(std::string_view text, std::string_view placeholder,
                             std::string_view value) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!placeholder.empty() && text.substr(i, placeholder.size()) == placeholder) {
            out += value;
            i += placeholder.size();
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

// Strict UTF-8 by code points: the shortest form only, no surrogates, nothing past U+10FFFF.
bool referenceIsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length;
        char32_t c;
        char32_t smallest;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, smallest = 0x10000;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// The system's own Windows-1252 conversion for each byte; the bytes it leaves undefined
// stand for the C1 control characters of the same value.
const std::array<std::string, 256>& windows1252Table() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        iconv_t cd = ::iconv_open("UTF-8", "CP1252");
        if (cd == reinterpret_cast<iconv_t>(-1)) {
            std::perror("iconv_open CP1252");
            std::abort();
        }
        for (int b = 0; b < 256; ++b) {
            char in = static_cast<char>(b);
            char out[8];
            char* inPtr = &in;
            char* outPtr = out;
            std::size_t inLeft = 1, outLeft = sizeof out;
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
                fuzz::appendUtf8(t[b], static_cast<char32_t>(b));
            } else {
                t[b].assign(out, static_cast<std::size_t>(outPtr - out));
            }
        }
        ::iconv_close(cd);
        return t;
    }();
    return table;
}

// The system's own conversion of the whole text, or nothing where it finds it invalid.
std::optional<std::string> iconvToUtf8(const char* from, std::string_view bytes) {
    iconv_t cd = ::iconv_open("UTF-8", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::perror("iconv_open");
        std::abort();
    }
    std::string in(bytes), out(bytes.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(cd);
    if (!ok || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

// The template's text, or nothing for a UTF-16 template that is not valid UTF-16.
std::optional<std::string> referenceDecode(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return iconvToUtf8("UTF-16LE", bytes.substr(2));
    if (bytes.starts_with("\xFE\xFF")) return iconvToUtf8("UTF-16BE", bytes.substr(2));
    if (referenceIsUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    std::string out;
    for (const char c : bytes) out += windows1252Table()[static_cast<unsigned char>(c)];
    return out;
}

struct Expected {
    std::string snippet;
    KeysAndValues writes;
};

// The web form: each entry in turn, saved when filled (ad tracking always), then put in
// place of its placeholder, or its fallback when it is "".
Expected referenceWebForm(std::string text, const ostrel::WizardEntries& e) {
    Expected result;
    const auto step = [&](const char* key, const char* placeholder, const std::string& entry,
                          const char* fallback) {
        if (!entry.empty()) result.writes.emplace_back(key, entry);
        text = referenceReplace(text, placeholder, entry.empty() ? fallback : entry);
    };
    step("UserID", "<<USERID>>", e.listId, "None");
    step("FormHeader", "<<HEADERFIELD>>", e.formHeader, "For More Information");
    if (e.adTracking.empty()) result.writes.emplace_back("AdTracking", "");
    step("AdTracking", "<<ADTRACKING>>", e.adTracking, "adcategory");
    step("ThankURL", "<<REDIRECT>>", e.thankUrl, "http://www.ostrel.example/");
    step("MsgNo", "<<MSGNO>>", e.msgNo, "none");
    std::string required;
    if (e.requireName == 1) required = "name";
    if (e.requireEmail == 1) required += required.empty() ? "from" : ",from";
    result.snippet = referenceReplace(text, "<<REQUIREDFIELD>>", required);
    return result;
}

Expected referenceEmailLink(const std::optional<std::string>& mailtoLink,
                            const ostrel::WizardEntries& e) {
    Expected result;
    result.writes.emplace_back("EmailLinkText", e.linkText);
    const std::string text =
        referenceReplace(mailtoLink.value_or(""), "<<EMAIL>>", e.listId + "@ostrel.example");
    result.snippet = referenceReplace(text, "<<MAILTOTEXT>>", e.linkText);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::splitFields(data, size);
    const std::string_view control = fuzz::fieldAt(fields, 0);
    const auto flags = control.empty() ? 0u : static_cast<unsigned char>(control[0]);

    ostrel::WizardEntries entries;
    entries.emailLink = (flags & 1) != 0;
    entries.requireName = static_cast<int>((flags >> 1) % 3);
    entries.requireEmail = static_cast<int>((flags >> 3) % 3);
    entries.listId = fuzz::fieldAt(fields, 2);
    entries.linkText = fuzz::fieldAt(fields, 3);
    entries.formHeader = fuzz::fieldAt(fields, 4);
    entries.adTracking = fuzz::fieldAt(fields, 5);
    entries.thankUrl = fuzz::fieldAt(fields, 6);
    entries.msgNo = fuzz::fieldAt(fields, 7);
    const std::string_view templateField = fuzz::fieldAt(fields, 1);

    snippet_test::RecordingSettingsStore store;
    Expected expected;
    if (entries.emailLink) {
        std::optional<std::string> mailtoLink;
        if (fields.size() > 1) {
            mailtoLink = std::string(templateField);
            store.preset("MailtoLink", *mailtoLink);
        }
        expected = referenceEmailLink(mailtoLink, entries);
    } else {
        std::ofstream(fuzz::scratchFolder() / "template.wtf", std::ios::binary | std::ios::trunc)
            .write(templateField.data(), static_cast<std::streamsize>(templateField.size()));
        const auto text = referenceDecode(templateField);
        if (!text) {
            // Refused before anything is written.
            try {
                (void)ostrel::buildSnippet(entries, store, fuzz::scratchFolder());
                fuzz::fail(__FILE__, __LINE__, "buildSnippet", "took text that is not UTF-16");
            } catch (const com::Error&) {
            }
            FUZZ_CHECK(store.writes().empty(), "a refused template was followed by writes");
            return 0;
        }
        expected = referenceWebForm(*text, entries);
    }

    std::string snippet;
    try {
        snippet = ostrel::buildSnippet(entries, store, fuzz::scratchFolder());
    } catch (const com::Error& e) {
        fuzz::fail(__FILE__, __LINE__, "buildSnippet", e.description());
    }
    FUZZ_CHECK(snippet == expected.snippet, "got      " + fuzz::visible(snippet) + "\nexpected " +
                                                fuzz::visible(expected.snippet));
    FUZZ_CHECK(store.writtenKeysAndValues() == expected.writes, "the settings written differ");
    for (const auto& write : store.writes()) {
        FUZZ_CHECK(write.application == "Ostrel_Plugin" && write.section == "Persist_Data",
                   "a write went to " + write.application + "/" + write.section);
    }

    // One replacement on its own, with a placeholder of any shape (self-overlapping ones too).
    if (fields.size() > 9 && !fields[8].empty()) {
        const std::string got =
            ostrel::replacePlaceholder(std::string(templateField), fields[8], fields[9]);
        FUZZ_CHECK(got == referenceReplace(templateField, fields[8], fields[9]),
                   "replacing " + fuzz::visible(fields[8]) + " gave " + fuzz::visible(got));
    }
    return 0;
}
