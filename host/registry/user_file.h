// The per-user files' place and safe handling: whole-file reads, failures that name the
// file, and replacement in one step so that a reader or a crash never meets half a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "com/error.h"
#include "host/registry/text_format.h"

namespace ostrel::userfile {

// Failure numbers of our own, beside those in com::errc.
namespace errc {
constexpr std::int32_t deviceIoError = 57;
constexpr std::int32_t diskFull = 61;
constexpr std::int32_t invalidFileFormat = 321;
}  // namespace errc

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path,
// otherwise ~/.config.
std::filesystem::path configHome();

// The file a path finally names, following symbolic links, so that a linked settings file is
// rewritten where it lives instead of having its link replaced.
std::filesystem::path followLinks(const std::filesystem::path& file);

// The whole file, or nothing when it does not exist. Throws com::Error naming the file.
std::optional<std::string> readFile(const std::filesystem::path& file, std::string_view source);

// Replaces the file's contents with text in one step (temporary file, flush to disk, rename).
// A new file and any missing folders of the path as given are created readable by the owner
// only; an existing file keeps its permissions and, where we may, its owner. A read-only file
// is refused, also for root: a file without any write permission bit is never replaced.
// The caller must hold the file's FileLock: leftover temporary files of killed writers are
// removed here. Throws com::Error naming the file; the old contents are then untouched.
void replaceFile(const std::filesystem::path& file, std::string_view text, std::string_view source);

// Creates the folder and its missing parents, readable by the owner only.
void createFolders(const std::filesystem::path& folder, const std::filesystem::path& forFile,
                   std::string_view source);

// The failure for a system error number met while acting on a file:
// "<action> "<file>": <reason>".
com::Error fileError(int error, std::string_view action, const std::filesystem::path& file,
                     std::string_view source, std::string_view detail = {});

// The failure for a file with a line that cannot be read: it names the file and the line,
// and says that the file was left as it is.
com::Error unreadableFileError(const TextFormatError& error, std::string_view action,
                               const std::filesystem::path& file, std::string_view source);

}  // namespace ostrel::userfile
