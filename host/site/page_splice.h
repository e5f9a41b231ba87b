// Writing one change into a page's bytes without touching the bytes around it.
#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

#include "host/pagefile/page_file_format.h"

namespace host::site {

// The bytes do not hold the text the way the format writes it, so no splice can keep them.
class SpliceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bytes from..to of a file replaced by `bytes`.
struct ByteSplice {
    qsizetype from = 0;
    qsizetype to = 0;
    QByteArray bytes;

    QByteArray appliedTo(const QByteArray& file) const;
};

// The splice of a file's `bytes` that replaces the part of `text` (their decoding, line
// breaks as '\n') between `from` and `to` by `replacement`. Every byte before and after the
// replaced part stays as it was, so a file that mixes line endings keeps them; the
// replacement is encoded in the file's encoding with its main line ending. Throws
// UnencodableCharacter or SpliceError.
ByteSplice spliceBytes(const QByteArray& bytes, const PageFileFormat& format, const QString& text,
                       qsizetype from, qsizetype to, const QString& replacement);

}  // namespace host::site
