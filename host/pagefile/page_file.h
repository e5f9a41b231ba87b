// A page file on disk: the one road every part of the editor takes to read a page (by rule,
// within a limit), to stamp it, to tell whether it changed since, and to replace it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string_view>

struct stat;

namespace host {

// What a reader last read from or wrote to a page file: size, time and inode for the quick
// check, and a hash of the bytes for the sure one.
struct DiskStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t hash = 0;  // of the bytes read or written (contentHash)

    friend bool operator==(const DiskStamp&, const DiskStamp&) = default;
};

enum class DiskChange { None, Changed, Removed };

// The largest page read without a window to edit it (the site update, the Form Check):
// planning a page takes about 15 bytes of memory per byte of it (the bytes, the text, the page
// document and its edited copy; a 200 MB page took 2.9 GB and a minute), and pages are
// planned on every core at once; a hand-made page is far smaller.
inline constexpr qint64 kLargestParsedPage = qint64(32) << 20;

// How a page file is read and written.
struct PageFileRules {
    // A larger file is refused before a byte of it is read.
    qint64 largest = kLargestParsedPage;
    // A link the author named is followed (the editor's File > Open); a page found in a
    // folder never is, since it could lead out of the folder.
    bool followLinks = false;
    // Called with the file's size once it is open, before the limit is checked and before
    // reading; it may throw to refuse it (the editor's check that the page fits in memory).
    std::function<void(qint64 size)> beforeReading;
};

// A page file that was not read or written; the message names the file and why.
class PageFileError : public std::runtime_error {
public:
    enum class Kind { Missing, NotAFile, TooLarge, OutOfMemory, Unreadable, NotWritten };
    PageFileError(Kind kind, const QString& message)
        : std::runtime_error(message.toStdString()), m_kind(kind) {}
    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    Kind m_kind;
};

struct PageFile {
    QString path;  // absolute
    QByteArray bytes;
    DiskStamp stamp;  // taken from the open file before reading, with the bytes' hash
};

// Why an entry whose `lstat` is `st` is not a page file to read: a link (when links are not
// followed), a folder, a named pipe, a device or a socket; empty for a regular file. Says it
// without the file's name ("it is a named pipe (FIFO), not a file").
QString notAPageFile(const struct stat& st, bool followLinks = false);
// Why a page of `size` bytes, `onDisk` of them stored, is not read under the limit
// `largest`, or empty when it is read ("it is 40.0 MB, larger than ..."). A sparse file says
// so, since its size is not its bytes on disk.
QString tooLargeToRead(qint64 size, qint64 onDisk, qint64 largest);

// Reads the page file: it is opened (never waiting on a pipe, never through a link unless
// `rules` follow them), checked to be a regular file no larger than the limit, and only then
// read, at most to the limit. Memory that runs out is a PageFileError too.
PageFile readPageFile(const QString& path, const PageFileRules& rules = {});
// The same for a path as the bytes on disk, which need not be UTF-8 text.
PageFile readPageFile(const QByteArray& nativePath, const PageFileRules& rules = {});

// How the file at `path` differs from `stamp`. A change is a change of what the file holds:
// a file touched or rewritten with the same bytes has not changed, and `stamp` then takes its
// new time so that the next quick check stays quick. A file that is gone, can no longer be
// read by `rules`, or is no longer a plain file counts as removed. `quick` trusts an
// unchanged size, time and inode without reading the file.
DiskChange diskChange(const QString& path, DiskStamp& stamp, bool quick,
                      const PageFileRules& rules = {});

// The file's stamp as it is now, read whole under `rules` (not existing when it cannot be).
DiskStamp currentStamp(const QString& path, const PageFileRules& rules = {});

// The hash stamps hold, of `bytes`: it tells a change from the same bytes written again, so it
// need not resist a forger, only be fast (a site update hashes every page it reads).
std::uint64_t contentHash(const QByteArray& bytes);

// Replaces the file's bytes in one step through the platform's replaceFile (temporary file,
// flush, rename), keeping its owner, group and mode; a file without a write permission bit
// is refused, and so is a link unless `rules` follow them (then the link's target is
// written). Returns the new stamp. `source` names the action in failures ("Save").
DiskStamp replacePageFile(const QString& path, const QByteArray& bytes, std::string_view source,
                          const PageFileRules& rules = {});

}  // namespace host
