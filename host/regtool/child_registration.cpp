// Spawning the registration child, watching it, and carrying its changes over; and the
// child's side: the call in a process of its own, and what it reports.
#include "host/regtool/child_registration.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "com/error.h"
#include "platform/registry/registry_changes.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/registry_format.h"
#include "platform/text/text_format.h"
#include "host/regtool/regsvr.h"
#include "platform/text/utf8.h"

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

// The last kOutputTail bytes of a stream, and how many came before them.
class OutputTail {
public:
    void append(const char* data, std::size_t size) {
        m_text.append(data, size);
        if (m_text.size() > 2 * kOutputTail) drop(m_text.size() - kOutputTail);
    }
    std::string text() && {
        if (m_text.size() > kOutputTail) drop(m_text.size() - kOutputTail);
        // Not from the middle of a character.
        std::size_t partial = 0;
        while (m_dropped && partial < m_text.size() &&
               platform::text::isUtf8Continuation(m_text[partial])) {
            ++partial;
        }
        drop(partial);
        if (!m_dropped) return std::move(m_text);
        return "[" + std::to_string(m_dropped) + " bytes of earlier output left out]\n" + m_text;
    }

private:
    void drop(std::size_t size) {
        m_text.erase(0, size);
        m_dropped += size;
    }
    std::string m_text;
    std::uint64_t m_dropped = 0;
};

enum class Ending { Exited, TimedOut, Cancelled };

struct ChildEnd {
    Ending how = Ending::Exited;
    int status = 0;
    OutputTail out;
    OutputTail err;
    std::string records;
};

// The records are a few short lines and one quoted message; more is not from the child's
// own code.
constexpr std::size_t kMaxRecords = 4 * kOutputTail + 4096;

class Watcher {
public:
    Watcher(pid_t pid, std::array<int, 3> fds, ChildEnd& end) : m_pid(pid), m_end(end) {
        for (std::size_t i = 0; i < fds.size(); ++i) m_fds[i] = {fds[i], POLLIN, 0};
    }

    // Reads whatever is ready, waiting at most `wait`.
    void read(std::chrono::milliseconds wait) {
        if (::poll(m_fds.data(), m_fds.size(), static_cast<int>(wait.count())) <= 0) return;
        for (std::size_t i = 0; i < m_fds.size(); ++i) {
            if (m_fds[i].fd >= 0 && (m_fds[i].revents & (POLLIN | POLLHUP | POLLERR))) readFrom(i);
        }
    }
    // After the child ended: what is still in the pipes. Nothing of the child's is left to
    // write more, but the amount is bounded all the same.
    void drain() {
        for (std::size_t i = 0; i < m_fds.size(); ++i) {
            if (m_fds[i].fd < 0) continue;
            ::fcntl(m_fds[i].fd, F_SETFL, O_NONBLOCK);
            for (int round = 0; round < 64 && m_fds[i].fd >= 0 && readFrom(i); ++round) {
            }
        }
    }
    // Whether the child has ended, leaving it unreaped: until it is reaped its process id
    // (its group's id too) cannot be given to another process, so killing its group is safe.
    bool ended() const {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == m_pid;
    }
    // Ends whatever is left of the child's process group, and the child.
    void reap() {
        ::kill(-m_pid, SIGKILL);
        ::kill(m_pid, SIGKILL);
        while (::waitpid(m_pid, &m_end.status, 0) < 0 && errno == EINTR) {
        }
    }

private:
    // False when nothing more is to be had now.
    bool readFrom(std::size_t i) {
        const ssize_t n = ::read(m_fds[i].fd, m_buffer.data(), m_buffer.size());
        if (n > 0) {
            const auto size = static_cast<std::size_t>(n);
            if (i == 0) m_end.out.append(m_buffer.data(), size);
            if (i == 1) m_end.err.append(m_buffer.data(), size);
            if (i == 2 && m_end.records.size() < kMaxRecords)
                m_end.records.append(m_buffer.data(), std::min(size, kMaxRecords));
            return true;
        }
        if (n == 0 || (errno != EINTR && errno != EAGAIN)) m_fds[i].fd = -1;
        return n < 0 && errno == EINTR;
    }

    pid_t m_pid;
    ChildEnd& m_end;
    std::array<pollfd, 3> m_fds{};
    std::array<char, 65536> m_buffer{};
};

// Reads the child's output and records until it ends, the time is up or the registration
// is cancelled. A child that is stopped is asked first (it ends what the module started,
// wherever that went); then its process group is killed.
void watch(pid_t pid, std::array<int, 3> fds, std::chrono::milliseconds limit,
           const std::atomic<bool>* cancel, ChildEnd& end) {
    Watcher watcher(pid, fds, end);
    const auto deadline = Clock::now() + limit;
    for (;;) {
        if (cancel && cancel->load()) {
            end.how = Ending::Cancelled;
        } else if (Clock::now() >= deadline) {
            end.how = Ending::TimedOut;
        }
        if (end.how != Ending::Exited) break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        watcher.read(std::clamp(left, std::chrono::milliseconds(0), std::chrono::milliseconds(50)));
        if (watcher.ended()) break;
    }
    if (end.how != Ending::Exited) {
        ::kill(pid, SIGTERM);
        const auto grace = Clock::now() + std::chrono::seconds(2);
        while (!watcher.ended() && Clock::now() < grace)
            watcher.read(std::chrono::milliseconds(20));
    }
    watcher.reap();
    watcher.drain();
}

// What the child reported.
struct Records {
    std::string stage;
    std::optional<int> done;
    std::string message;
    std::optional<int> ended;
};

Records parseRecords(const std::string& text) {
    Records records;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t eol = text.find('\n', at);
        if (eol == std::string::npos) break;  // cut off: not a record
        const std::string_view line(text.data() + at, eol - at);
        at = eol + 1;
        const std::size_t space = line.find(' ');
        const std::string_view kind = line.substr(0, space);
        const std::string_view rest =
            space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        const int number = std::atoi(std::string(rest.substr(0, rest.find(' '))).c_str());
        if (kind == "stage") {
            records.stage = std::string(rest);
        } else if (kind == "done") {
            records.done = number;
            const std::size_t quote = rest.find(' ');
            try {
                if (quote != std::string_view::npos)
                    records.message = platform::text::unquoteText(rest.substr(quote + 1), 0);
            } catch (const platform::text::TextFormatError&) {
                records.message.clear();
            }
        } else if (kind == "ended") {
            records.ended = number;
        }
    }
    return records;
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

// Where in the module's code the child was when it ended.
std::string where(const std::string& stage, const char* entryName) {
    if (stage == "calling") return std::string("inside ") + entryName;
    if (stage == "loading") return "while it was being loaded (in its initialisation code)";
    if (stage == "returned") return std::string("after ") + entryName + " returned";
    return "before the module was loaded";
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

    const auto early = [](int code, std::string text) {
        ChildOutcome outcome;
        outcome.exitCode = code;
        outcome.message = std::move(text);
        return outcome;
    };
    namespace pr = platform::registry;
    platform::registry::RegistryTree before;
    try {
        before = platform::registry::RegistryFile(request.registry).read();
        if (request.machine) before = pr::withHiveRenamed(before, pr::kMachineHive, pr::kUserHive);
    } catch (const com::Error& e) {
        return early(kEntryFailed, e.description() + "\n");
    }
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        return early(kLoadFailed, std::string("Cannot make a folder for the registration: ") +
                                      ::strerror(errno) + "\n");
    }
    const fs::path copy = scratch.path() / "registry.reg";
    if (!before.empty()) {
        std::ofstream(copy, std::ios::binary) << platform::registry::formatRegistry(before);
    }

    // Everything the child gets is prepared here: after the spawn nothing may allocate.
    const std::string helper = request.helper.string();
    std::vector<std::string> args = {helper, "--in-process", "--quiet", "--result-fd",
                                     std::to_string(kResultDescriptor)};
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

    int outFds[2] = {-1, -1}, errFds[2] = {-1, -1}, resultFds[2] = {-1, -1};
    const bool piped = ::pipe2(outFds, O_CLOEXEC) == 0 && ::pipe2(errFds, O_CLOEXEC) == 0 &&
                       ::pipe2(resultFds, O_CLOEXEC) == 0;
    const int pipeError = errno;
    Pipe out(outFds), err(errFds), result(resultFds);
    if (!piped) {
        return early(kLoadFailed,
                     std::string("Cannot start the registration: ") + ::strerror(pipeError) + "\n");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    posix_spawn_file_actions_adddup2(&actions, result.write, kResultDescriptor);
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
    ::close(std::exchange(result.write, -1));
    if (spawned != 0) {
        return early(kLoadFailed, "Cannot start " + helper +
                                      " to register the module: " + ::strerror(spawned) + "\n");
    }

    ChildEnd end;
    watch(pid, {out.read, err.read, result.read}, request.timeLimit, request.cancel, end);
    ChildOutcome outcome;
    outcome.out = std::move(end.out).text();
    outcome.err = std::move(end.err).text();
    const auto fail = [&](int code, std::string text) {
        outcome.exitCode = code;
        outcome.message = std::move(text);
        return outcome;
    };
    const Records records = parseRecords(end.records);
    if (end.how == Ending::Cancelled) {
        outcome.cancelled = true;
        return fail(kCrashed, "The registration of the module " + module +
                                  " was cancelled; it and every process it started were "
                                  "ended. " +
                                  unchanged);
    }
    if (end.how == Ending::TimedOut) {
        return fail(kCrashed, "The module " + module + " did not finish " + entryName +
                                  " within the time limit of " + secondsText(request.timeLimit) +
                                  " s and was stopped. " + unchanged + removeHint);
    }
    if (!records.ended) {
        const std::string how =
            WIFSIGNALED(end.status)
                ? "was ended by " + signalName(WTERMSIG(end.status))
                : "ended with status " + std::to_string(WEXITSTATUS(end.status));
        return fail(kCrashed, "The registration child for the module " + module + " " + how +
                                  " without saying how the call went. " + unchanged);
    }
    const int status = *records.ended;
    if (WIFSIGNALED(status)) {
        const std::string place = records.stage == "calling" ? std::string("in ") + entryName
                                                             : where(records.stage, entryName);
        return fail(kCrashed, "The module " + module + " crashed " + place + " (" +
                                  signalName(WTERMSIG(status)) + "). " + unchanged + removeHint);
    }
    const int code = WEXITSTATUS(status);
    // Only the entry point's own answer counts: a module that ends the process inside it,
    // even with status 0, has not said that it succeeded.
    if (!records.done || *records.done != code) {
        return fail(kCrashed, "The module " + module + " ended the process with exit status " +
                                  std::to_string(code) + " " + where(records.stage, entryName) +
                                  " instead of returning. " + unchanged + removeHint);
    }
    if (code != kSuccess) {
        return fail(code, records.message + (code == kEntryFailed ? unchanged : ""));
    }

    try {
        const platform::registry::RegistryTree after = platform::registry::RegistryFile(copy).read();
        pr::RegistryFile target = request.machine ? pr::RegistryFile::machine(request.registry)
                                                  : pr::RegistryFile(request.registry);
        target.modify([&](platform::registry::RegistryTree& tree) {
            if (!request.machine) {
                pr::applyChanges(tree, before, after);
                return;
            }
            pr::applyChanges(tree, pr::withHiveRenamed(before, pr::kUserHive, pr::kMachineHive),
                             pr::withHiveRenamed(after, pr::kUserHive, pr::kMachineHive));
        });
    } catch (const com::Error& e) {
        return fail(kEntryFailed, entryName + std::string(" in ") + module +
                                      " succeeded, but its records could not be saved: " +
                                      e.description() + "\n" + unchanged);
    }
    return outcome;
}

void writeRecord(int fd, std::string_view line) {
    std::string text(line);
    text += '\n';
    for (std::size_t done = 0; fd >= 0 && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

namespace {

// The processes whose parent is `parent`, found through /proc (which every Linux has,
// unlike the per-task children lists).
std::vector<pid_t> childrenOf(pid_t parent) {
    std::vector<pid_t> children;
    std::error_code error;
    for (fs::directory_iterator it("/proc", error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream in(it->path() / "stat");
        std::string stat;
        std::getline(in, stat);
        // "pid (command) state ppid ...": the command may hold anything, even ") ".
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(stat.substr(close + 1));
        std::string state;
        long ppid = 0;
        if (fields >> state >> ppid && ppid == parent) children.push_back(std::stoi(name));
    }
    return children;
}

// Kills every descendant. As the child subreaper, this process inherits the children of
// each one that dies, so it repeats until it has none.
void endDescendants() {
    for (std::vector<pid_t> children; !(children = childrenOf(::getpid())).empty();) {
        for (pid_t child : children) ::kill(child, SIGKILL);
        for (pid_t child : children) {
            while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
    }
}

}  // namespace

int keepCall(int resultFd, const std::function<int()>& call) {
    // Orphans of the module's processes come to this process instead of the system's first
    // one, a daemon's too, so that none outlives the registration.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    sigset_t watched, previous;
    sigemptyset(&watched);
    sigaddset(&watched, SIGCHLD);
    sigaddset(&watched, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &watched, &previous);
    std::fflush(nullptr);
    const pid_t worker = ::fork();
    if (worker < 0) {
        std::fprintf(stderr, "ostrel-regsvr: cannot start the call: %s\n", ::strerror(errno));
        return kLoadFailed;
    }
    if (worker == 0) {
        ::sigprocmask(SIG_SETMASK, &previous, nullptr);
        const int code = call();
        std::fflush(nullptr);
        // Not exit(): the module's destructors and exit handlers are not part of the call.
        ::_exit(code);
    }
    int status = 0;
    bool stopped = false;
    for (bool ended = false; !ended;) {
        const int signal = ::sigwaitinfo(&watched, nullptr);
        if (signal == SIGTERM && !stopped) {
            stopped = true;
            ::kill(worker, SIGKILL);
        }
        int childStatus = 0;
        for (pid_t done; (done = ::waitpid(-1, &childStatus, WNOHANG)) > 0;) {
            if (done == worker) {
                status = childStatus;
                ended = true;
            }
        }
    }
    endDescendants();
    writeRecord(resultFd, "ended " + std::to_string(status));
    return kSuccess;
}

}  // namespace host::regsvr
