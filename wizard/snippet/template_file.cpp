// Reading the web-form template: one whole-file read that fails loudly and creates nothing.
#include "wizard/snippet/template_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

#include "com/error.h"
#include "wizard/snippet/template_text.h"

namespace ostrel {
namespace {

constexpr std::string_view kSource = "frmOstWiz.BuildHTML";
constexpr std::int32_t kInvalidFileFormat = 321;

[[noreturn]] void fail(std::int32_t number, const std::filesystem::path& path,
                       std::string_view problem) {
    std::string description = "The web-form template \"";
    description += path.native();
    description += "\" ";
    description += problem;
    throw com::Error(number, std::move(description), std::string(kSource));
}

std::string systemText(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void failToOpen(const std::filesystem::path& path, int error) {
    switch (error) {
        case ENOENT: {
            std::error_code ec;
            if (std::filesystem::is_directory(path.parent_path(), ec)) {
                fail(com::errc::fileNotFound, path, "does not exist.");
            }
            fail(com::errc::pathNotFound, path, "cannot be found: its folder does not exist.");
        }
        case ENOTDIR:
            fail(com::errc::pathNotFound, path, "cannot be found: a part of its path is a file.");
        case EACCES:
        case EPERM:
            fail(com::errc::permissionDenied, path, "cannot be read: permission denied.");
        case ENAMETOOLONG:
            fail(com::errc::badFileNameOrNumber, path, "is not a valid file name: it is too long.");
        default:
            fail(com::errc::pathFileAccessError, path,
                 "cannot be opened: " + systemText(error) + ".");
    }
}

bool isWithin(const std::filesystem::path& file, const std::filesystem::path& folder) {
    const std::filesystem::path relative = file.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

// The file an open descriptor reads, links resolved, as the kernel names it; nothing where
// /proc is not there to ask.
std::optional<std::filesystem::path> openedFile(int fd) {
    std::error_code ec;
    auto target = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
    if (ec || !target.is_absolute()) return std::nullopt;
    return target;
}

[[noreturn]] void failOutside(std::string_view name, const std::filesystem::path& resolved,
                              const std::filesystem::path& folder) {
    throw com::Error(com::errc::pathFileAccessError,
                     "The setting TemplateFileName (\"" + std::string(name) + "\") leads to \"" +
                         resolved.native() + "\", outside the add-in's folder \"" +
                         folder.native() +
                         "\". The web-form template must lie in that folder or below it; "
                         "nothing was read.",
                     std::string(kSource));
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

std::filesystem::path templatePath(const std::filesystem::path& folder, std::string_view name) {
    std::string joined = folder.native();
    joined += '/';
    joined += name;
    return joined;
}

std::string readTemplateFile(const std::filesystem::path& folder, std::string_view name) {
    const std::filesystem::path path = templatePath(folder, name);
    if (path.native().find('\0') != std::string::npos) {
        fail(com::errc::badFileNameOrNumber, path,
             "is not a valid file name: it holds a NUL character.");
    }
    // Looked at before the open, so that a name leading out of the folder is refused as such
    // even where the file is missing; and after it, on what was really opened.
    std::error_code noBase, unresolved;
    const std::filesystem::path base = std::filesystem::canonical(folder, noBase);
    if (!noBase) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, unresolved);
        if (!unresolved && !isWithin(resolved, base)) failOutside(name, resolved, base);
    }
    // Non-blocking, so that a named pipe is refused below instead of hanging Finish.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) failToOpen(path, errno);
    if (!noBase) {
        const auto opened = openedFile(file.get());
        if (opened && !isWithin(*opened, base)) failOutside(name, *opened, base);
    }

    struct stat info {};
    if (::fstat(file.get(), &info) != 0) failToOpen(path, errno);
    if (S_ISDIR(info.st_mode))
        fail(com::errc::pathFileAccessError, path, "is a folder, not a file.");
    if (!S_ISREG(info.st_mode))
        fail(com::errc::pathFileAccessError, path, "is not a regular file.");

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            fail(com::errc::pathFileAccessError, path,
                 "cannot be read: " + systemText(errno) + ".");
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    try {
        return decodeTemplateText(std::move(bytes));
    } catch (const TemplateTextError& e) {
        fail(kInvalidFileFormat, path,
             "starts with a UTF-16 byte-order mark, but " + std::string(e.what()) + ".");
    }
}

}  // namespace ostrel
