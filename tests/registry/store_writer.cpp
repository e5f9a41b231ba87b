// A separate process that writes one of the per-user files, for the fault-injection tests:
//   store_writer <settings|registry> <file> keys <prefix> <count>  writes <prefix>_<i> = v<i>
//   store_writer <settings|registry> <file> loop <key> <size>      rewrites key until killed,
//                                                                  saying "wrote" after each
//   store_writer <settings|registry> <file> hold                   holds the file's lock
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/files/file_lock.h"
#include "tests/registry/store_kinds.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: store_writer <settings|registry> <file> keys|loop|hold ...\n");
        return 2;
    }
    const std::string kind = argv[1];
    const std::filesystem::path file = argv[2];
    const std::string mode = argv[3];
    try {
        if (mode == "keys" && argc == 6) {
            const int count = std::atoi(argv[5]);
            for (int i = 0; i < count; ++i) {
                ostrel::testing::writeKey(kind, file,
                                          std::string(argv[4]) + "_" + std::to_string(i),
                                          "v" + std::to_string(i));
            }
        } else if (mode == "loop" && argc == 6) {
            const std::size_t size = std::strtoul(argv[5], nullptr, 10);
            // Every value is one letter repeated, so a torn value is easy to see.
            for (unsigned round = 0;; ++round) {
                ostrel::testing::writeKey(kind, file, argv[4],
                                          std::string(size, static_cast<char>('a' + round % 26)));
                std::printf("wrote\n");
                std::fflush(stdout);
            }
        } else if (mode == "hold") {
            const platform::files::FileLock lock(file, std::chrono::seconds(10), "store_writer");
            std::printf("locked\n");
            std::fflush(stdout);
            for (;;) ::pause();
        } else {
            std::fprintf(stderr, "store_writer: unknown mode or arguments\n");
            return 2;
        }
    } catch (const com::Error& e) {
        std::fprintf(stderr, "store_writer: %d %s\n", e.number(), e.description().c_str());
        return 3;
    }
    return 0;
}
