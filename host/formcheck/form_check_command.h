// pagehost --check-form [--published-at URL] PAGE...|SITE_FOLDER: the Form Check without a
// window.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

namespace host::formcheck {

bool asksForFormCheck(int argc, char** argv);
// What --help adds for this form: its usage line, and its options' lines, which --help
// prints after every usage line.
QString formCheckUsageLine();
QString formCheckOptions();
// `arguments` starts with the program name. Prints one line per finding and a summary to
// `out`, problems with the command to `err`. Returns 0 when no error was found, 1 when one
// was (or a page could not be checked), 2 when the command itself is wrong.
int runFormCheckCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);

}  // namespace host::formcheck
