// Finding the add-in module's own folder from an address inside it.
#include "wizard/snippet/module_folder.h"

#include <dlfcn.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "com/error.h"

namespace ostrel {
namespace {

// Its address lies inside whichever module this library was linked into.
const char kAnchor = 0;

// The file the kernel mapped at address, as an absolute path.
std::optional<std::filesystem::path> mappedFile(const void* address) {
    const auto target = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::uintptr_t start = 0, end = 0;
        char dash = 0;
        std::string perms, offset, device, inode;
        fields >> std::hex >> start >> dash >> end >> perms >> offset >> device >> inode;
        if (!fields || target < start || target >= end) continue;
        std::string path;
        std::getline(fields >> std::ws, path);
        if (path.starts_with('/')) return std::filesystem::path(path);
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::filesystem::path moduleFolder() {
    Dl_info info{};
    if (::dladdr(&kAnchor, &info) != 0 && info.dli_fname != nullptr && info.dli_fname[0] == '/') {
        return std::filesystem::path(info.dli_fname).lexically_normal().parent_path();
    }
    // The loader names the main program by argv[0], and a module opened by a relative name by
    // that name; both mean something only in the working directory of the time. The kernel's
    // record of the mapping is absolute.
    if (auto file = mappedFile(&kAnchor)) return file->lexically_normal().parent_path();
    throw com::Error(com::errc::pathNotFound, "The folder of the add-in's module cannot be found.",
                     "OstrelPlugin");
}

}  // namespace ostrel
