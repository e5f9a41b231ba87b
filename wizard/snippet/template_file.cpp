// Reading the web-form template: one whole-file read that fails loudly and creates nothing.
#include "wizard/snippet/template_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "com/error.h"
#include "wizard/snippet/template_text.h"

namespace ostrel {
namespace {

constexpr std::string_view kSource = "frmOstWiz.BuildHTML";

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

std::string readTemplateFile(const std::filesystem::path& path) {
    if (path.native().find('\0') != std::string::npos) {
        fail(com::errc::badFileNameOrNumber, path,
             "is not a valid file name: it holds a NUL character.");
    }
    // Non-blocking, so that a named pipe is refused below instead of hanging Finish.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) failToOpen(path, errno);

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
    return decodeTemplateText(std::move(bytes));
}

}  // namespace ostrel
