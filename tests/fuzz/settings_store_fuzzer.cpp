// Fuzzes the settings round trip through the real file store: random Unicode values (and raw
// bytes) written under the wizard's ten keys read back equal, at once and from a fresh store,
// next to whatever the file held before; a file that cannot be read is never rewritten, nor
// is a value with a NUL. Between writes the file system changes under the store: its lock
// file becomes a link to another file, the file read-only, or a link into another folder.
// Nothing outside the settings file may change, and no file may appear in the other folder.
//
// Input fields (separated by 0x1E): the file's text beforehand (empty: no file), then writes,
// each a selector byte (key, and how the rest becomes the value) followed by the value's source.
// Selectors from 250 on toggle one of the three changes instead (250 + 0, 1 or 2 modulo 3).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "com/error.h"
#include "platform/files/file_lock.h"
#include "platform/text/text_format.h"
#include "tests/fuzz/fuzz_support.h"
#include "wizard/settings/ini_document.h"
#include "wizard/settings/ini_settings_store.h"
#include "wizard/settings/persisted_keys.h"

namespace {

namespace persisted = ostrel::persisted;
using ostrel::kSettingsApplication;
using ostrel::kSettingsSection;

// Mode 0: the bytes as they are, UTF-8 or not. Mode 1: every three bytes one code point
// anywhere in Unicode (surrogates moved aside). Mode 2: every byte one code point below
// U+0100, controls and all.
std::string valueFrom(std::string_view source, unsigned mode) {
    if (mode == 0) return std::string(source);
    std::string value;
    if (mode == 1) {
        for (std::size_t i = 0; i + 3 <= source.size(); i += 3) {
            char32_t c = (static_cast<unsigned char>(source[i]) << 16 |
                          static_cast<unsigned char>(source[i + 1]) << 8 |
                          static_cast<unsigned char>(source[i + 2])) %
                         0x110000;
            if (c >= 0xD800 && c <= 0xDFFF) c += 0x800;
            fuzz::appendUtf8(value, c);
        }
        return value;
    }
    for (const char b : source) fuzz::appendUtf8(value, static_cast<unsigned char>(b));
    return value;
}

std::string describe(std::string_view key, const std::optional<std::string>& v) {
    return std::string(key) + " = " + (v ? fuzz::visible(*v) : std::string("(absent)"));
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file-system changes made between writes, and undoing them.
struct Changes {
    std::filesystem::path file, lock, elsewhere;
    bool lockLinked = false, readOnly = false, fileLinked = false;

    std::filesystem::path victim() const { return elsewhere / "victim"; }
    std::filesystem::path linked() const { return elsewhere / "linked.ini"; }
    void reset() {
        std::filesystem::remove(file);
        std::filesystem::remove(lock);
        std::filesystem::remove_all(elsewhere);
        std::filesystem::create_directory(elsewhere);
        std::ofstream(victim()) << "precious";
    }
    void toggle(unsigned which) {
        namespace fs = std::filesystem;
        if (which == 0) {
            fs::remove(lock);
            if (!lockLinked) fs::create_symlink(victim(), lock);
            lockLinked = !lockLinked;
        } else if (which == 1) {
            if (!fs::exists(file)) return;
            readOnly = !readOnly;
            fs::permissions(file, fs::perms(readOnly ? 0444 : 0600));
        } else if (fileLinked) {
            fs::remove(file);
            if (fs::exists(linked())) fs::rename(linked(), file);
            fileLinked = false;
        } else {
            if (fs::exists(file)) fs::rename(file, linked());
            fs::create_symlink(linked(), file);
            fileLinked = true;
        }
    }
    // Only the victim, and the linked file where the settings went, in the other folder.
    bool otherFolderUntouched() const {
        std::ifstream in(victim());
        if (std::string(std::istreambuf_iterator<char>(in), {}) != "precious") return false;
        for (const auto& entry : std::filesystem::directory_iterator(elsewhere)) {
            if (entry.path() != victim() && entry.path() != linked()) return false;
        }
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::splitFields(data, size);
    const std::filesystem::path file = fuzz::scratchFolder() / "Ostrel_Plugin.ini";
    Changes changes{file, platform::files::FileLock::lockPathFor(file),
                    fuzz::scratchFolder() / "elsewhere"};
    changes.reset();

    const std::string_view initial = fields[0];
    std::map<std::string_view, std::optional<std::string>> expected;
    bool readable = true;
    if (!initial.empty()) {
        std::ofstream(file, std::ios::binary)
            .write(initial.data(), static_cast<std::streamsize>(initial.size()));
        try {
            const auto document = ostrel::IniDocument::parse(initial);
            for (const auto& key : persisted::all) {
                expected[key.name] = document.value(kSettingsSection, key.name);
            }
        } catch (const platform::text::TextFormatError&) {
            readable = false;
        }
    }

    ostrel::IniSettingsStore store(file);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (fields[i].empty()) continue;
        const auto selector = static_cast<unsigned char>(fields[i][0]);
        if (selector >= 250) {
            changes.toggle((selector - 250) % 3);
            continue;
        }
        const std::string_view key = persisted::all[selector % persisted::all.size()].name;
        const std::string value = valueFrom(fields[i].substr(1), (selector / 10) % 3);
        const bool refused = !readable || changes.lockLinked || changes.readOnly ||
                             value.find('\0') != std::string::npos;
        const std::string before = fileText(file);
        try {
            store.setValue(kSettingsApplication, kSettingsSection, key, value);
        } catch (const com::Error& e) {
            FUZZ_CHECK(refused, "writing " + describe(key, value) + " failed: " + e.description());
            FUZZ_CHECK(fileText(file) == before, "a refused write changed the file");
            FUZZ_CHECK(changes.otherFolderUntouched(), "a refused write reached another folder");
            continue;
        }
        FUZZ_CHECK(!refused, "a write took place that had to be refused");
        FUZZ_CHECK(changes.otherFolderUntouched(), "a write reached another folder");
        expected[key] = value;
        const auto got = store.value(kSettingsApplication, kSettingsSection, key);
        FUZZ_CHECK(got == expected[key],
                   "wrote " + describe(key, value) + ", read back " + describe(key, got));
    }
    if (!readable) return 0;

    // A store made afresh sees every key as the writes left it, and the untouched ones as
    // the file had them.
    const ostrel::IniSettingsStore fresh(file);
    for (const auto& key : persisted::all) {
        const auto got = fresh.value(kSettingsApplication, kSettingsSection, key.name);
        FUZZ_CHECK(got == expected[key.name], "expected " + describe(key.name, expected[key.name]) +
                                                  ", a fresh store read " +
                                                  describe(key.name, got));
    }
    return 0;
}
