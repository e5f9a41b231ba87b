// Whole-file reads and writes for the page test programs.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace test_files {

inline std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

}  // namespace test_files
