// A file name as it can stand on a line of a command's report.
#pragma once

#include <QByteArray>
#include <QString>

namespace host::site {

// As it is, or quoted with escapes (`\n`, `\"`, `\xHH`) when it holds a line break, another
// control character, a quote or a backslash, or bytes that are not text, so that no name can
// forge a line or pass for another.
QString reportName(const QByteArray& bytes);

}  // namespace host::site
