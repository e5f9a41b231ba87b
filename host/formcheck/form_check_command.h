// pagehost --check-form [--published-at URL] PAGE...|SITE_FOLDER: the Form Check without a
// window.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>

#include "host/formcheck/rehearsal_findings.h"

namespace host::formcheck {

bool asksForFormCheck(int argc, char** argv);
// What --help adds for this form: its usage line, and its options' lines, which --help
// prints after every usage line.
QString formCheckUsageLine();
QString formCheckOptions();
// Rehearses the sign-up of one page in the rendered view's engine (host/editor gives it).
using Rehearse = std::function<Rehearsal(const QByteArray& utf8Page, const PageContext& context)>;
// `arguments` starts with the program name. Prints one line per finding and a summary to
// `out`, problems with the command to `err`. Returns 0 when no error was found, 1 when one
// was (or a page could not be checked), 2 when the command itself is wrong. Each page that
// holds the sign-up region is also rehearsed with `rehearse`, unless it is empty or the
// command says --no-rehearsal; a rehearsal that cannot run is named, and does not change
// the exit status.
int runFormCheckCommand(const QStringList& arguments, std::FILE* out, std::FILE* err,
                        const Rehearse& rehearse = {});

}  // namespace host::formcheck
