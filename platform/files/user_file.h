// The per-user files' place and safe handling: whole-file reads, failures that name the
// file, and replacement in one step so that a reader or a crash never meets half a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/failure/failure.h"
#include "platform/text/text_format.h"

namespace platform::files {

// Failure numbers of our own, beside those in platform::errc.
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

// The whole file, or nothing when it does not exist. Throws platform::Error naming the file.
std::optional<std::string> readFile(const std::filesystem::path& file, std::string_view source);

// How a replacement treats what is around the file.
struct ReplaceOptions {
    // Creates the missing folders of the path as given, readable by the owner only.
    bool makeFolders = true;
    // Removes temporary files of killed writers; only a holder of the file's FileLock may.
    bool removeLeftovers = true;
    // Permissions of a new file; the process's umask applies to documents (an author's page
    // must stay readable by the web server), never to the per-user files.
    bool newFileFollowsUmask = false;
    // Flushes the folder after the rename, so the replacement itself survives a power loss.
    // A site update replaces thousands of pages, one flush of its folder each; there the
    // old or the new page, each whole, is what a power loss may leave.
    bool syncFolder = true;
    // Rewrites a linked file where it lives. Without it, whatever is at the path itself (a
    // link, a pipe) is replaced by the new file, never opened or written through.
    bool followLinks = true;
};

// An author's document beside others in a folder the author chose: no lock files, no
// folders made, new files as the umask says, no flush of the folder.
inline constexpr ReplaceOptions kDocumentReplace{false, false, true, false};

// Replaces the file's contents with text in one step (temporary file, flush to disk, rename).
// A link is followed, so that a linked file is rewritten where it lives. A new file is
// created readable by the owner only (see ReplaceOptions); an existing file keeps its
// permissions and its owner and group (for root, who may change them; anyone else can only
// replace files of their own group anyway). A read-only file is refused, also for root: a
// file without any write permission bit is never replaced. Throws platform::Error naming the
// file; the old contents are then untouched.
void replaceFile(const std::filesystem::path& file, std::string_view text, std::string_view source,
                 const ReplaceOptions& options = {});

// Creates the folder and its missing parents, readable by the owner only.
void createFolders(const std::filesystem::path& folder, const std::filesystem::path& forFile,
                   std::string_view source);

// The failure for a system error number met while acting on a file:
// "<action> "<file>": <reason>".
platform::Error fileError(int error, std::string_view action, const std::filesystem::path& file,
                     std::string_view source, std::string_view detail = {});

// The failure for a file with a line that cannot be read: it names the file and the line,
// and says that the file was left as it is.
platform::Error unreadableFileError(const text::TextFormatError& error, std::string_view action,
                               const std::filesystem::path& file, std::string_view source);

}  // namespace platform::files
