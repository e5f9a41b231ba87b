// What a program last read from or wrote to a file, and whether the file has changed since:
// one stamp for every file the editor and the site update keep an eye on.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace platform::files {

struct DiskStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    QByteArray hash;  // of the bytes read or written

    friend bool operator==(const DiskStamp&, const DiskStamp&) = default;
};

enum class DiskChange { None, Changed, Removed };

// Reads the plain file at `path` whole into `bytes` and returns its stamp; the stamp does
// not exist when the file cannot be read, and `error` then says why.
DiskStamp readFileStamped(const QString& path, QByteArray& bytes, QString& error);
// The stamp of `bytes`, just written to `path`.
DiskStamp stampPath(const QString& path, const QByteArray& bytes);

// How the file at `path` differs from `stamp`. A change is a change of what the file holds:
// a file touched or rewritten with the same bytes has not changed, and `stamp` then takes
// its new time so that the next quick check stays quick. A file that is gone, or is no
// longer a plain file (a folder in its place), counts as removed. `quick` trusts
// an unchanged size, time and inode without reading the file.
DiskChange diskChange(const QString& path, DiskStamp& stamp, bool quick);

// The file's size, time and inode as they are now, without reading it (no hash); not
// existing when there is no such file.
DiskStamp stampOf(const QString& path);

// The file's stamp as it is now (not existing when it cannot be read).
DiskStamp currentStamp(const QString& path);

}  // namespace platform::files
