// Spawning the registration child, watching it, and carrying its changes over.
#include "host/regtool/child_registration.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <vector>

#include "com/error.h"
#include "platform/registry/registry_changes.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/registry_format.h"
#include "host/regtool/regsvr.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace host::regsvr {
namespace {

// A private folder for the child's copy of the registry, removed with everything the child
// left in it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "ostrel-regsvr-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!m_path.empty()) fs::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// Owns both ends; not copyable, so that no temporary closes them behind the owner's back.
struct Pipe {
    explicit Pipe(const int (&fds)[2]) : read(fds[0]), write(fds[1]) {}
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        for (int fd : {read, write})
            if (fd >= 0) ::close(fd);
    }
    int read;
    int write;
};

struct ChildEnd {
    bool timedOut = false;
    int status = 0;
    std::string out;
    std::string err;
};

// Reads the child's output until it ends or the time is up; then it and anything it
// started in its process group are killed.
ChildEnd watch(pid_t pid, Pipe& out, Pipe& err, std::chrono::milliseconds limit) {
    ChildEnd end;
    const auto deadline = Clock::now() + limit;
    std::array<pollfd, 2> fds{{{out.read, POLLIN, 0}, {err.read, POLLIN, 0}}};
    std::array<std::string*, 2> sinks{&end.out, &end.err};
    bool exited = false;
    while (!exited) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            ::kill(-pid, SIGKILL);
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &end.status, 0) < 0 && errno == EINTR) {
            }
            end.timedOut = true;
            return end;
        }
        const int ready =
            ::poll(fds.data(), fds.size(), static_cast<int>(std::min<long>(left.count(), 50)));
        for (std::size_t i = 0; ready > 0 && i < fds.size(); ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;  // poll skips negative descriptors
            }
        }
        const pid_t done = ::waitpid(pid, &end.status, WNOHANG);
        // A child that ended may still have output in the pipes, unless a process it left
        // behind holds them open.
        if (done == pid) {
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (fds[i].fd < 0) continue;
                ::fcntl(fds[i].fd, F_SETFL, O_NONBLOCK);
                char buffer[4096];
                ssize_t n;
                while ((n = ::read(fds[i].fd, buffer, sizeof buffer)) > 0)
                    sinks[i]->append(buffer, static_cast<std::size_t>(n));
            }
            exited = true;
        }
    }
    // Whatever the module left running must not outlive the registration.
    ::kill(-pid, SIGKILL);
    return end;
}

std::string signalName(int signal) {
    const char* description = ::sigdescr_np(signal);
    return "signal " + std::to_string(signal) +
           (description ? std::string(", ") + description : "");
}

std::string secondsText(std::chrono::milliseconds limit) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(limit.count()) / 1000.0);
    return buffer;
}

ChildOutcome failure(int code, std::string text) {
    return {code, {}, std::move(text)};
}

}  // namespace

ChildOutcome runInChild(const ChildRequest& request) {
    const char* entryName = request.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const std::string module = "\"" + request.module.string() + "\"";
    const std::string unchanged = "The registry was left as it was.\n";
    const std::string removeHint =
        request.unregister ? "To remove its records without running its code: ostrel-regsvr "
                             "--remove-records " +
                                 module + "\n"
                           : "";

    platform::registry::RegistryTree before;
    try {
        before = platform::registry::RegistryFile(request.registry).read();
    } catch (const com::Error& e) {
        return failure(kEntryFailed, e.description() + "\n");
    }
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        return failure(kLoadFailed, std::string("Cannot make a folder for the registration: ") +
                                        ::strerror(errno) + "\n");
    }
    const fs::path copy = scratch.path() / "registry.reg";
    if (!before.empty()) {
        std::ofstream(copy, std::ios::binary) << platform::registry::formatRegistry(before);
    }

    // Everything the child gets is prepared here: after the spawn nothing may allocate.
    const std::string helper = request.helper.string();
    std::vector<std::string> args = {helper, "--in-process", "--quiet"};
    if (request.unregister) args.push_back("--unregister");
    args.push_back("--");
    args.push_back(request.module.string());
    std::vector<std::string> env;
    const std::string variable = std::string(platform::registry::kRegistryFileVariable) + "=";
    for (char** e = environ; e && *e; ++e) {
        if (std::string_view(*e).starts_with(variable)) continue;
        env.emplace_back(*e);
    }
    env.push_back(variable + copy.string());
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int outFds[2] = {-1, -1}, errFds[2] = {-1, -1};
    const bool piped = ::pipe2(outFds, O_CLOEXEC) == 0 && ::pipe2(errFds, O_CLOEXEC) == 0;
    const int pipeError = errno;
    Pipe out(outFds), err(errFds);
    if (!piped) {
        return failure(kLoadFailed, std::string("Cannot start the registration: ") +
                                        ::strerror(pipeError) + "\n");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so that a time-out ends whatever the module started, too.
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int spawned =
        ::posix_spawn(&pid, helper.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(std::exchange(out.write, -1));
    ::close(std::exchange(err.write, -1));
    if (spawned != 0) {
        return failure(kLoadFailed, "Cannot start " + helper +
                                        " to register the module: " + ::strerror(spawned) + "\n");
    }

    const ChildEnd end = watch(pid, out, err, request.timeLimit);
    if (end.timedOut) {
        return failure(kCrashed, end.err + "The module " + module + " did not finish " + entryName +
                                     " within the time limit of " + secondsText(request.timeLimit) +
                                     " s and was stopped. " + unchanged + removeHint);
    }
    if (WIFSIGNALED(end.status)) {
        return failure(kCrashed, end.err + "The module " + module + " crashed in " + entryName +
                                     " (" + signalName(WTERMSIG(end.status)) + "). " + unchanged +
                                     removeHint);
    }
    const int code = WEXITSTATUS(end.status);
    if (code == kLoadFailed || code == kNoEntryPoint || code == kEntryFailed) {
        return failure(code, end.err + (code == kEntryFailed ? unchanged : ""));
    }
    if (code != kSuccess) {
        return failure(kCrashed, end.err + "The module " + module +
                                     " ended the registration with exit status " +
                                     std::to_string(code) + ". " + unchanged + removeHint);
    }

    try {
        const platform::registry::RegistryTree after = platform::registry::RegistryFile(copy).read();
        platform::registry::RegistryFile(request.registry).modify([&](platform::registry::RegistryTree& tree) {
            platform::registry::applyChanges(tree, before, after);
        });
    } catch (const com::Error& e) {
        return failure(kEntryFailed, entryName + std::string(" in ") + module +
                                         " succeeded, but its records could not be saved: " +
                                         e.description() + "\n" + unchanged);
    }
    return {kSuccess, end.out, {}};
}

}  // namespace host::regsvr
