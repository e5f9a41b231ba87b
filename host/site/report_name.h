// A file name as it can stand on a line of a command's report.
#pragma once

#include <QByteArray>
#include <QString>

namespace host::site {

// As it is, or quoted with escapes (`\n`, `\"`, `\xHH`) when it holds a line break, another
// control character, a quote or a backslash, bytes that are not text, or a character that
// changes how the line shows without showing itself (a bidirectional override such as
// U+202E, a C1 control, a line separator: each byte of it as `\xHH`), so that no name can
// forge a line or pass for another.
QString reportName(const QByteArray& bytes);

}  // namespace host::site
