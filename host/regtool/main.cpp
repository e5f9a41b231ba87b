// ostrel-regsvr: registers or unregisters an in-process module for the current user.
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/regtool/regsvr.h"

int main(int argc, char** argv) {
    const std::string program = "ostrel-regsvr";
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // --version answers whatever else is given, as --help does; after "--" it is a module.
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--version") {
            std::cout << program << " " << OSTREL_VERSION << "\n";
            return host::regsvr::kSuccess;
        }
    }
    host::regsvr::Options options;
    try {
        options = host::regsvr::parseArguments(args);
    } catch (const std::invalid_argument& e) {
        std::cerr << program << ": " << e.what() << "\n" << host::regsvr::usage(program);
        return host::regsvr::kUsage;
    }
    if (options.help) {
        std::cout << host::regsvr::usage(program);
        return host::regsvr::kSuccess;
    }
    // The child that calls the entry point runs this same program.
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return host::regsvr::runTool(options, error ? std::filesystem::path(argv[0]) : self,
                                   std::cout, std::cerr);
}
