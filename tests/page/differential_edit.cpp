// Runs the add-in's insertion over every corpus page and snippet and writes the edited pages
// and a manifest for the browser comparison (differential.mjs).
//
// Usage: page_differential_edit <corpus-folder> <snippet-folder> <output-folder> [N]
// N: how many damaged copies of corpus pages to add (see below).
// Each page is run with "@MARKER@" written as "OstrelInsert" and as "OstrelOther", and each
// edit both with the checkpoint check and with whole-page checks.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>

#include "com/error.h"
#include "host/page/html_document_object.h"
#include "host/page/page_model.h"
#include "tests/page/addin_operation.h"
#include "tests/page/memory_page_text.h"
#include "tests/page/page_damage.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

std::string json(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::cerr << "usage: page_differential_edit <corpus> <snippets> <output> [damaged-pages]\n";
        return 2;
    }
    const int damagedPages = argc == 5 ? std::atoi(argv[4]) : 0;
    const fs::path corpus = argv[1];
    const fs::path snippets = argv[2];
    const fs::path output = argv[3];
    fs::create_directories(output);
    std::ofstream manifest(output / "manifest.json", std::ios::binary);
    manifest << "[\n";
    int failures = 0;
    bool first = true;
    std::vector<std::pair<std::string, std::string>> pages;  // name, text
    for (const fs::path& pagePath : filesIn(corpus)) {
        pages.emplace_back(pagePath.stem().string(), readFile(pagePath));
    }
    const std::size_t written = pages.size();
    // Damaged pages: corpus pages with stray tags, text and line breaks written in at random
    // places (a fixed seed). Refusing one is allowed; a wrong tree is not.
    std::mt19937 random(20261207);
    for (int n = 0; n < damagedPages; ++n) {
        const std::string page =
            host::testing::damagePage(pages[random() % written].second, random);
        pages.emplace_back("damaged-" + std::to_string(n), page);
    }

    for (std::size_t index = 0; index < pages.size(); ++index) {
        const auto& [pageName, page] = pages[index];
        const bool damaged = index >= written;
        for (const char* variant : {"marker", "plain"})
            for (const bool wholePage : {false, true}) {
                const std::string original =
                    replaceAll(page, "@MARKER@",
                               std::string(variant) == "marker" ? "OstrelInsert" : "OstrelOther");
                for (const fs::path& snippetPath : filesIn(snippets)) {
                    const std::string snippet = readFile(snippetPath);
                    const std::string name = pageName + "." + variant + "." +
                                             snippetPath.stem().string() +
                                             (wholePage ? ".whole" : ".checkpoint");
                    auto text = std::make_shared<host::testing::MemoryPageText>(original);
                    std::string error;
                    try {
                        auto document = host::createHtmlDocument(std::make_shared<host::PageModel>(
                            text, host::page::ParseLimits{}, wholePage));
                        host::testing::runAddinInsertion(document.get(), snippet);
                    } catch (const com::Error& e) {
                        error = e.description();
                    }
                    const std::string& edited = text->current();
                    // Every byte outside the one replaced range is the author's.
                    std::string byteCheck = "ok";
                    const auto& edits = text->replacements();
                    if (error.empty() && edits.size() != 1) byteCheck = "expected one replacement";
                    if (!error.empty() && (!edits.empty() || edited != original)) {
                        byteCheck = "text changed by a failed edit";
                    }
                    if (edits.size() == 1) {
                        const auto& r = edits[0];
                        const std::size_t tail = original.size() - r.offset - r.length;
                        if (edited.compare(0, r.offset, original, 0, r.offset) != 0 ||
                            edited.compare(edited.size() - tail, tail, original,
                                           original.size() - tail, tail) != 0) {
                            byteCheck = "bytes outside the edit changed";
                        }
                    }
                    if (byteCheck != "ok") ++failures;
                    // A page edited once takes the next run (the marker's content replaced).
                    std::string secondRun;
                    bool verbatim = false;
                    if (error.empty()) {
                        const std::string& written = edits.at(0).text;
                        verbatim = written == snippet ||
                                   written.find(host::testing::kWrapperStart + snippet +
                                                host::testing::kWrapperEnd) != std::string::npos;
                        auto again = std::make_shared<host::testing::MemoryPageText>(edited);
                        try {
                            host::testing::runAddinInsertion(
                                host::createHtmlDocument(std::make_shared<host::PageModel>(again))
                                    .get(),
                                snippet);
                        } catch (const com::Error& e) {
                            secondRun = e.description();
                        }
                    }
                    writeFile(output / (name + ".original.html"), original);
                    if (error.empty()) writeFile(output / (name + ".edited.html"), edited);
                    manifest << (first ? "" : ",\n") << "{\"name\":" << json(name)
                             << ",\"original\":"
                             << json((output / (name + ".original.html")).string())
                             << ",\"snippet\":" << json(snippetPath.string());
                    if (error.empty()) {
                        manifest << ",\"edited\":"
                                 << json((output / (name + ".edited.html")).string())
                                 << ",\"offset\":" << edits[0].offset
                                 << ",\"removed\":" << edits[0].length
                                 << ",\"inserted\":" << json(edits[0].text)
                                 << ",\"verbatim\":" << (verbatim ? "true" : "false");
                        if (!secondRun.empty()) manifest << ",\"secondRun\":" << json(secondRun);
                    } else {
                        manifest << ",\"error\":" << json(error);
                    }
                    manifest << ",\"bytes\":" << json(byteCheck)
                             << ",\"damaged\":" << (damaged ? "true" : "false") << "}";
                    first = false;
                }
            }
    }
    manifest << "\n]\n";
    if (com::liveObjectCount() != 0) {
        std::cerr << "counted objects left alive: " << com::liveObjectCount() << "\n";
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
