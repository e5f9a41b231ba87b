// pagehost --update-region ID --from PAGE SITE_FOLDER: the site update without a window.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

namespace host::site {

bool asksForRegionUpdate(int argc, char** argv);
// What --help adds for this form: its usage line, and its options' lines, which --help
// prints after every usage line.
QString regionUpdateUsageLine();
QString regionUpdateOptions();
// `arguments` starts with the program name. Prints one line per page that holds the region
// and a summary to `out`, problems to `err`. Returns 0 when no page was refused, 1 when one
// was, 2 when the command itself is wrong or the source page has no single region.
int runRegionUpdateCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);

}  // namespace host::site
