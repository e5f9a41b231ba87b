// The pages that tests of the page document share: the differential corpus and the page
// fuzzer's seeds (paths given by the build).
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace host::testing {

inline std::vector<std::string> samplePages() {
    std::vector<std::string> pages;
    for (const char* folder : {OSTREL_PAGE_CORPUS, OSTREL_FUZZ_PAGE_SEEDS}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            pages.push_back(text.str());
        }
    }
    return pages;
}

}  // namespace host::testing
