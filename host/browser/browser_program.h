// Which web browser to start, and the command line that makes it a separate instance.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace host {

// Browsers whose command lines we know how to make independent of a running instance.
enum class BrowserFamily { Chromium, Firefox, Other };

struct BrowserProgram {
    QString program;        // absolute path of the executable
    QStringList arguments;  // arguments that came with a $BROWSER entry
    BrowserFamily family = BrowserFamily::Other;
};

// The browser a Linux user expects: the first existing entry of $BROWSER (a colon-separated
// list), otherwise the first known browser on PATH. Nothing when none is found.
std::optional<BrowserProgram> findBrowserProgram();

// The family a program belongs to, from its own name or the name it links to.
BrowserFamily browserFamilyOf(const QString& programPath);

// The arguments that start `browser` as a new instance on its own profile folder and open
// `address`. `extra` (for example --headless) comes before the address. The address is one
// argument of its own; a $BROWSER entry's "%s" argument is replaced by it.
QStringList browserArguments(const BrowserProgram& browser, const QString& profileDir,
                             const QStringList& extra, const QString& address, bool runningAsRoot);

}  // namespace host
