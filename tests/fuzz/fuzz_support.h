// What every fuzz target shares: splitting an input into fields, a check that stops the run
// with the input saved, and a scratch folder for targets that work on real files.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/text/utf8.h"

namespace fuzz {

// Separates the fields of an input (a file's text, then the operations on it). The record
// separator is rare in real files, and seed files stay readable in an editor.
inline constexpr char kFieldSeparator = '\x1E';

inline std::vector<std::string_view> splitFields(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t at = rest.find(kFieldSeparator);
        fields.push_back(rest.substr(0, at));
        if (at == std::string_view::npos) return fields;
        rest.remove_prefix(at + 1);
    }
}

// The field at index, or "" past the end, so every input decodes to some operation.
inline std::string_view fieldAt(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

using platform::text::appendUtf8;

// A count of the inputs that got somewhere (of all inputs), printed at exit as
// "<what>: N of M", the line scripts/fuzz.sh shows beside the executions.
class Tally {
public:
    explicit Tally(const char* what) : m_what(what) {}
    ~Tally() {
        if (m_all > 0) std::printf("%s: %ld of %ld\n", m_what, m_counted, m_all);
    }
    void add(bool counted) {
        ++m_all;
        if (counted) ++m_counted;
    }

private:
    const char* m_what;
    long m_all = 0;
    long m_counted = 0;
};

// A broken property: prints what broke and aborts, which makes libFuzzer keep the input.
[[noreturn]] inline void fail(const char* file, int line, const char* condition,
                              const std::string& detail) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n%s\n", file, line, condition, detail.c_str());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                             \
    do {                                                                          \
        if (!(condition)) ::fuzz::fail(__FILE__, __LINE__, #condition, (detail)); \
    } while (false)

// Bytes shown with escapes, so a failure message says exactly what differed.
inline std::string visible(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\' && c != '"') {
            out += c;
        } else {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        }
    }
    return out + "\"";
}

// A folder made once per process and removed at its normal exit. RAM-backed where the
// system has /dev/shm, since the settings target writes and flushes a file every run.
inline const std::filesystem::path& scratchFolder() {
    struct Folder {
        Folder() {
            std::error_code ec;
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                                   ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
            std::string pattern = (base / "ostrel-fuzz-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr) {
                std::perror("mkdtemp");
                std::abort();
            }
            path = pattern;
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
        std::filesystem::path path;
    };
    static const Folder folder;
    return folder.path;
}

}  // namespace fuzz
