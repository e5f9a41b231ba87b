// Loading a module and calling its self-registration entry points.
#include "host/regtool/regsvr.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "com/addin_extensibility.h"
#include "com/error.h"
#include "com/registration/class_registration.h"
#include "com/registration/record_removal.h"
#include "platform/registry/machine_registry.h"
#include "platform/registry/registry_changes.h"
#include "platform/registry/registry_file.h"
#include "platform/text/text_format.h"

namespace host::regsvr {
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
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto valueOf = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw std::invalid_argument(arg + " needs a value");
            return args[++i];
        };
        if (!optionsDone && arg == "--remove-records") {
            options.removeRecords = valueOf();
            if (options.removeRecords.empty())
                throw std::invalid_argument("--remove-records needs a class id or a module");
        } else if (!optionsDone && arg == "--time-limit") {
            const std::string& value = valueOf();
            std::size_t used = 0;
            double seconds = 0;
            try {
                seconds = std::stod(value, &used);
            } catch (const std::exception&) {
            }
            if (used != value.size() || !(seconds > 0) || seconds > 86400)
                throw std::invalid_argument("--time-limit takes seconds (more than 0), not " +
                                            value);
            options.timeLimit = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
        } else if (!optionsDone && arg == "--result-fd") {
            const std::string& value = valueOf();
            if (value.empty() || value.size() > 4 ||
                value.find_first_not_of("0123456789") != std::string::npos)
                throw std::invalid_argument("--result-fd takes a descriptor number, not " + value);
            options.resultFd = std::stoi(value);
        } else if (!optionsDone && arg == "--machine") {
            options.machine = true;
        } else if (!optionsDone && arg == "--in-process") {
            options.inProcess = true;
        } else if (!optionsDone && arg == "--") {
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
    if (!options.removeRecords.empty() && (!options.module.empty() || options.unregister)) {
        throw std::invalid_argument("--remove-records takes no other module and no -u");
    }
    if (!options.help && options.module.empty() && options.removeRecords.empty()) {
        throw std::invalid_argument("no module named");
    }
    return options;
}

std::string usage(std::string_view program) {
    return "Usage: " + std::string(program) +
           " [--machine] [-u] [-s] [--time-limit SECONDS] MODULE\n"
           "       " +
           std::string(program) +
           " [--machine] --remove-records CLASS-ID|MODULE\n"
           "Registers an in-process module for the current user by calling its\n"
           "DllRegisterServer entry point in a child process: a module that crashes or\n"
           "hangs there changes nothing.\n"
           "  -u, --unregister       call DllUnregisterServer instead\n"
           "  -s, --quiet            print nothing on success\n"
           "  --machine              register for all users instead (root only), in\n"
           "                         /etc/ostrel/registry.d/MODULE-NAME.reg; the module and\n"
           "                         every folder above it must be root's and writable by\n"
           "                         no one else\n"
           "  --time-limit SECONDS   stop the entry point after this long (default 30)\n"
           "  --remove-records X     remove the records of class id X, or of every class\n"
           "                         of module X, without loading the module\n"
           "  --in-process           call the entry point in this process (no protection)\n"
           "  -h, --help             show this text\n"
           "  --version              print the program's version\n"
           "The per-user registry is $OSTREL_REGISTRY_FILE when set, otherwise\n"
           "$XDG_CONFIG_HOME/ostrel/registry.reg. Add-ins for all users are the record\n"
           "files in /usr/lib/ostrel/registry.d (the package's), /etc/ostrel/registry.d\n"
           "and the older /etc/ostrel/registry.reg, under $OSTREL_MACHINE_ROOT when set.\n"
           "Exit status: 0 done, 1 bad command line, 2 module not loadable,\n"
           "3 entry point missing, 4 entry point failed, 5 entry point crashed, ended\n"
           "the process instead of returning, or timed out, 6 no records to remove,\n"
           "7 --machine by anyone but root, 8 --machine refused: the module or the record\n"
           "file could be changed by someone other than root, or is a link (nothing\n"
           "is written).\n";
}

namespace {

// An absolute path: a bare name would make the loader search the library path, and the
// module records where it was loaded from.
std::filesystem::path absoluteModule(const std::filesystem::path& module) {
    std::error_code error;
    auto path = std::filesystem::absolute(module, error).lexically_normal();
    return error ? module : path;
}

// Whether a key or one below it holds a value: a record file without any is empty.
bool holdsValues(const platform::registry::RegistryKey& key) {
    if (!key.values().empty()) return true;
    for (const auto& sub : key.subkeys())
        if (holdsValues(sub)) return true;
    return false;
}

// Removes the records from one file: a machine-wide one sees them in the user's hive, where
// a module writes them, and a record file left empty goes.
std::vector<std::string> removeFrom(const std::filesystem::path& file, bool machine,
                                    const std::string& what, bool removeIfEmpty) {
    namespace pr = platform::registry;
    std::vector<std::string> deleted;
    if (!machine) {
        pr::RegistryFile(file).modify([&](pr::RegistryTree& tree) {
            deleted = com::registration::removeRecords(tree, what);
        });
        return deleted;
    }
    bool empty = false;
    pr::RegistryFile::machine(file).modify([&](pr::RegistryTree& tree) {
        const auto before = pr::withHiveRenamed(tree, pr::kMachineHive, pr::kUserHive);
        auto after = before;
        deleted = com::registration::removeRecords(after, what);
        for (auto& key : deleted) key = com::registration::inMachineHive(key);
        pr::applyChanges(tree, pr::withHiveRenamed(before, pr::kUserHive, pr::kMachineHive),
                         pr::withHiveRenamed(after, pr::kUserHive, pr::kMachineHive));
        empty = !holdsValues(tree.root());
    });
    if (empty && removeIfEmpty && !deleted.empty()) std::filesystem::remove(file);
    return deleted;
}

// Why --machine may not write this record file, with the fix; "" when it may.
std::string refusedTarget(const std::filesystem::path& file) {
    const auto check = platform::registry::checkMachineTarget(
        file, platform::registry::OwnerTrust::forThisProcess());
    if (check.trusted()) return {};
    return "The records for all users are not written to \"" + file.string() +
           "\": " + check.problem + ". Fix: " + check.fix +
           ", then run this again. Nothing was written.\n";
}

int removeRecords(const std::string& target, bool machine, std::ostream& out, std::ostream& err,
                  bool quiet) {
    namespace pr = platform::registry;
    const std::string what = com::Guid::parse(target) ? target : absoluteModule(target).string();
    std::vector<std::string> deleted;
    try {
        if (!machine) {
            deleted = removeFrom(pr::RegistryFile::defaultPath(), false, what, false);
        } else {
            // The administrator's record files and the older single file; the package's own
            // records go with the package.
            const auto places = pr::MachinePlaces::system();
            auto files = pr::recordFiles(places.adminRecords);
            std::error_code missing;
            if (std::filesystem::exists(places.legacyFile, missing))
                files.push_back(places.legacyFile);
            for (const auto& file : files) {
                if (const std::string refused = refusedTarget(file); !refused.empty()) {
                    err << refused;
                    return kNotTrusted;
                }
            }
            for (const auto& file : files) {
                for (auto& key : removeFrom(file, true, what, file != places.legacyFile))
                    deleted.push_back(std::move(key));
            }
            if (deleted.empty()) {
                for (const auto& file : pr::recordFiles(places.packageRecords)) {
                    const auto tree = pr::withHiveRenamed(pr::RegistryFile(file).read(),
                                                          pr::kMachineHive, pr::kUserHive);
                    auto copy = tree;
                    if (com::registration::removeRecords(copy, what).empty()) continue;
                    err << "The records of \"" << what << "\" are the package's, in \""
                        << file.string() << "\": they go when the package is removed. To keep "
                        << "the add-in from loading for one user, clear its check box under "
                        << "Tools > Add-ins.\n";
                    return kNothingFound;
                }
            }
        }
    } catch (const com::Error& e) {
        err << e.description() << "\n";
        return kEntryFailed;
    }
    if (deleted.empty()) {
        err << "No registration records name \"" << what << "\"; nothing was removed.\n";
        return kNothingFound;
    }
    if (!quiet) {
        out << "Removed the records of \"" << what << "\":\n";
        for (const auto& key : deleted) out << "  " << key << "\n";
    }
    return kSuccess;
}

}  // namespace

int runTool(const Options& options, const std::filesystem::path& helper, std::ostream& out,
            std::ostream& err) {
    // Root only, for the real file; a file named by the variable (tests) keeps its own
    // permissions as the guard.
    if (options.machine && !options.inProcess && ::geteuid() != 0 &&
        !std::getenv(platform::registry::kMachineRootVariable)) {
        err << "--machine changes the add-ins of every user of this computer, in "
            << platform::registry::MachinePlaces::system().adminRecords.string()
            << ", which only root may do: run the same command as root (sudo).\n";
        return kNotPermitted;
    }
    if (!options.removeRecords.empty()) {
        return removeRecords(options.removeRecords, options.machine, out, err, options.quiet);
    }
    if (options.inProcess && options.resultFd < 0) return run(options, out, err);
    if (options.inProcess) {
        // The registration child: the call runs in a process of its own, which reports its
        // outcome here; the module's own output is all that goes to out and err.
        return keepCall(options.resultFd, [&] {
            std::ostringstream said;
            const int code = run(options, out, said);
            out.flush();
            std::string message = said.str();
            // A module's error description is its own text, of any length.
            if (message.size() > kMaxMessage) message.resize(kMaxMessage);
            writeRecord(options.resultFd,
                        "done " + std::to_string(code) + " " + platform::text::quoteText(message));
            return code;
        });
    }
    auto module = absoluteModule(options.module);
    host::regsvr::ChildRequest request{helper, module, options.unregister, options.timeLimit,
                                       platform::registry::RegistryFile::defaultPath()};
    if (options.machine) {
        // Every user's editor, root's included, would load the module: it must be a file
        // only root can change, checked before any of its code runs here as root.
        namespace pr = platform::registry;
        const auto check = pr::checkTrusted(module, pr::OwnerTrust::forThisProcess());
        if (!check.trusted()) {
            err << "The module \"" << module.string()
                << "\" is not registered for all users: " << check.problem
                << ". Every user's editor would load it, so it and every "
                << "folder above it must be root's and writable by no one else: install it "
                << "under /usr/local/lib (sudo install -D -m 0644 MODULE /usr/local/lib/NAME/"
                << module.filename().string() << "), or register it for yourself alone "
                << "(ostrel-regsvr MODULE). Nothing was written.\n";
            return kNotTrusted;
        }
        module = request.module = check.real;
        request.registry =
            pr::MachinePlaces::system().adminRecords / (module.stem().string() + ".reg");
        if (const std::string refused = refusedTarget(request.registry); !refused.empty()) {
            err << refused;
            return kNotTrusted;
        }
        request.machine = true;
    }
    const auto outcome = runInChild(request);
    if (options.machine && outcome.exitCode == kSuccess) {
        // Unregistering leaves the record file empty: it goes.
        std::error_code error;
        try {
            if (!holdsValues(platform::registry::RegistryFile(request.registry).read().root()))
                std::filesystem::remove(request.registry, error);
        } catch (const com::Error&) {
        }
    }
    out << outcome.out;
    err << outcome.err << outcome.message;
    if (outcome.exitCode == kSuccess && !options.quiet) {
        out << (options.unregister ? "DllUnregisterServer" : "DllRegisterServer") << " in \""
            << module.string() << "\" succeeded.\n";
    }
    return outcome.exitCode;
}

int run(const Options& options, std::ostream& out, std::ostream& err) {
    const char* entryName = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    std::error_code error;
    const auto module = absoluteModule(options.module);
    if (error || !std::filesystem::is_regular_file(module, error)) {
        err << "The module \"" << options.module.string()
            << "\" does not exist or is not a file.\n";
        return kLoadFailed;
    }

    const auto stage = [&](std::string_view name) {
        if (options.resultFd >= 0) writeRecord(options.resultFd, "stage " + std::string(name));
    };
    stage("loading");
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
    stage("calling");
    const com::HRESULT hr = entry();
    stage("returned");
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

}  // namespace host::regsvr
