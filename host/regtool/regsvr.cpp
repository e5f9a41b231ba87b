// Loading a module and calling its self-registration entry points.
#include "host/regtool/regsvr.h"

#include <dlfcn.h>

#include <cstdio>
#include <ostream>
#include <stdexcept>

#include "com/addin_extensibility.h"
#include "com/error.h"

namespace ostrel::regsvr {
namespace {

// Closes the library however the call ends.
class Library {
public:
    explicit Library(void* handle) : m_handle(handle) {}
    ~Library() {
        if (m_handle) dlclose(m_handle);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    void* symbol(const char* name) const { return dlsym(m_handle, name); }

private:
    void* m_handle;
};

std::string statusText(com::HRESULT hr) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(hr));
    return buffer;
}

}  // namespace

Options parseArguments(std::span<const std::string> args) {
    Options options;
    bool optionsDone = false;
    for (const auto& arg : args) {
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && (arg == "-u" || arg == "--unregister")) {
            options.unregister = true;
        } else if (!optionsDone && (arg == "-s" || arg == "--quiet")) {
            options.quiet = true;
        } else if (!optionsDone && (arg == "-h" || arg == "--help")) {
            options.help = true;
        } else if (!optionsDone && arg.size() > 1 && arg[0] == '-') {
            throw std::invalid_argument("unknown option " + arg);
        } else if (!options.module.empty()) {
            throw std::invalid_argument("only one module can be named, found a second: " + arg);
        } else if (arg.empty()) {
            throw std::invalid_argument("the module's name is empty");
        } else {
            options.module = arg;
        }
    }
    if (!options.help && options.module.empty()) {
        throw std::invalid_argument("no module named");
    }
    return options;
}

std::string usage(std::string_view program) {
    return "Usage: " + std::string(program) +
           " [-u] [-s] MODULE\n"
           "Registers an in-process module for the current user by calling its\n"
           "DllRegisterServer entry point.\n"
           "  -u, --unregister  call DllUnregisterServer instead\n"
           "  -s, --quiet       print nothing on success\n"
           "  -h, --help        show this text\n"
           "The per-user registry is $OSTREL_REGISTRY_FILE when set, otherwise\n"
           "$XDG_CONFIG_HOME/ostrel/registry.reg.\n"
           "Exit status: 0 done, 1 bad command line, 2 module not loadable,\n"
           "3 entry point missing, 4 entry point failed.\n";
}

int run(const Options& options, std::ostream& out, std::ostream& err) {
    const char* entryName = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    // An absolute path: a bare name would make the loader search the library path, and
    // the module records where it was loaded from.
    std::error_code error;
    const auto module = std::filesystem::absolute(options.module, error).lexically_normal();
    if (error || !std::filesystem::is_regular_file(module, error)) {
        err << "The module \"" << options.module.string()
            << "\" does not exist or is not a file.\n";
        return kLoadFailed;
    }

    dlerror();
    // The tool ends right after the call; keeping the module mapped until then spares
    // libraries that do not survive being unloaded (Qt among a module's dependencies).
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* reason = dlerror();
        err << "The module \"" << module.string()
            << "\" cannot be loaded: " << (reason ? reason : "unknown reason") << "\n";
        return kLoadFailed;
    }
    Library library(handle);
    const auto entry = reinterpret_cast<com::DllRegisterServerFn>(library.symbol(entryName));
    if (!entry) {
        err << "The module \"" << module.string() << "\" does not export " << entryName << ".\n";
        return kNoEntryPoint;
    }

    com::clearErrorInfo();
    const com::HRESULT hr = entry();
    if (com::failed(hr)) {
        const auto info = com::takeErrorInfo();
        err << entryName << " in \"" << module.string() << "\" failed (status " << statusText(hr)
            << ").\n"
            << "Error number: " << (info ? info->number : com::numberOf(hr)) << "\n"
            << "Error description: " << (info ? info->description : com::describeStatus(hr)) << "\n"
            << "Error source: " << (info ? info->source : module.filename().string()) << "\n";
        return kEntryFailed;
    }
    if (!options.quiet) {
        out << entryName << " in \"" << module.string() << "\" succeeded.\n";
    }
    return kSuccess;
}

}  // namespace ostrel::regsvr
