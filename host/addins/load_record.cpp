// Writing, finding and reading the records of add-in calls in progress.
#include "host/addins/load_record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>

#include "platform/process/process_identity.h"
#include "platform/text/text_format.h"
#include "platform/files/user_file.h"

namespace fs = std::filesystem;

namespace host {

using platform::process::processStartTicks;
using platform::process::processRuns;
namespace {

constexpr std::string_view kPrefix = "addin-call-";

std::int64_t nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Records are a few hundred bytes; anything much larger is not one of ours.
constexpr std::size_t kMaxRecordSize = 64 * 1024;

// A regular file with this one name: not a FIFO or a device, not a hard link to some
// other file.
bool isOwnFile(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 1;
}

// Opens another run's record without following a link and without waiting on a FIFO, and
// only when it is a file of its own; -1 otherwise. The descriptor blocks again once it is
// known to be a regular file.
int openRecord(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (!isOwnFile(fd)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::map<std::string, std::string> readFields(const fs::path& file) {
    std::map<std::string, std::string> fields;
    const int fd = openRecord(file);
    if (fd < 0) return fields;
    std::string text(kMaxRecordSize + 1, '\0');
    std::size_t size = 0;
    for (ssize_t n;
         size < text.size() && (n = ::read(fd, text.data() + size, text.size() - size)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (size > kMaxRecordSize) return fields;
    text.resize(size);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        try {
            fields[line.substr(0, eq)] = platform::text::unquoteText(line.substr(eq + 1), 0);
        } catch (const platform::text::TextFormatError&) {
            return {};
        }
    }
    return fields;
}

}  // namespace

std::string describeOperation(const std::string& operation) {
    if (operation == "load") return "loading it (opening the module and OnConnection)";
    if (operation == "unload") return "unloading it";
    return "running its " + operation;
}

LoadRecords::LoadRecords(fs::path folder) : m_folder(std::move(folder)) {}

fs::path LoadRecords::defaultFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && fs::path(state).is_absolute()) return fs::path(state) / "ostrel";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/") / ".local" / "state" / "ostrel";
}

fs::path LoadRecords::ownFile() const {
    return m_folder / (std::string(kPrefix) + std::to_string(::getpid()));
}

LoadRecords::Scope LoadRecords::record(const AddInCall& call) const {
    using platform::text::quoteText;
    std::string text = "process=" + quoteText(std::to_string(::getpid())) + "\n";
    text += "started=" + quoteText(processStartTicks(::getpid()).value_or("")) + "\n";
    text += "since=" + quoteText(std::to_string(nowSeconds())) + "\n";
    text += "operation=" + quoteText(call.operation) + "\n";
    text += "progid=" + quoteText(call.progId) + "\n";
    text += "clsid=" + quoteText(call.classId) + "\n";
    text += "module=" + quoteText(call.module) + "\n";
    // Replaced in one step by the platform's writer, flushed before the rename: a reader never
    // sees a record half written, a crash right after still finds it, and whatever sits at the
    // record's path (a hard link to another file, a pipe, a symbolic link) is replaced, never
    // opened, so it is not written through and cannot hold the editor.
    platform::files::ReplaceOptions options;
    options.removeLeftovers = false;
    options.followLinks = false;
    // It has to outlive a crashed editor, not a crashed machine: the folder is not flushed.
    options.syncFolder = false;
    try {
        platform::files::replaceFile(ownFile(), text, "Add-in records", options);
    } catch (const std::exception& e) {
        std::fprintf(stderr,
                     "pagehost: %s; a crash in this add-in will not be recognised at the next "
                     "start\n",
                     e.what());
    }
    return Scope(this);
}

LoadRecords::Scope::~Scope() {
    if (m_records) m_records->clear();
}

void LoadRecords::clear() const {
    ::unlink(ownFile().c_str());
}

std::vector<UnfinishedCall> LoadRecords::unfinished(std::chrono::seconds hangAfter) const {
    std::vector<UnfinishedCall> found;
    std::error_code error;
    const std::string ownStart = processStartTicks(::getpid()).value_or("");
    // Stepping with an error code: a folder that changes underneath must not throw.
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        const fs::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        std::error_code ignored;
        if (!name.starts_with(kPrefix) || !entry.is_regular_file(ignored) ||
            entry.is_symlink(ignored)) {
            continue;
        }
        auto fields = readFields(entry.path());
        UnfinishedCall record;
        record.file = entry.path();
        record.processId = std::atol(fields["process"].c_str());
        record.call = {fields["progid"], fields["clsid"], fields["module"], fields["operation"]};
        if (record.processId <= 0 || record.call.operation.empty()) continue;
        record.seconds = nowSeconds() - std::atoll(fields["since"].c_str());
        record.stillRunning = processRuns(record.processId, fields["started"]);
        if (record.processId == ::getpid() && record.stillRunning &&
            fields["started"] == ownStart) {
            continue;
        }
        if (record.stillRunning && record.seconds < hangAfter.count()) continue;
        found.push_back(std::move(record));
    }
    return found;
}

void LoadRecords::forget(const UnfinishedCall& record) const {
    ::unlink(record.file.c_str());
}

}  // namespace host
