// Finding the browser program and building its command line.
#include "host/browser/browser_program.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtGlobal>

namespace host {
namespace {

// Debian's x-www-browser comes first: it is the administrator's choice, and it is only
// taken when it leads to a browser we can start as a new instance.
const char* const kBrowsersOnPath[] = {
    "x-www-browser",        "chromium", "chromium-browser", "google-chrome",
    "google-chrome-stable", "firefox",  "firefox-esr",
};

BrowserFamily familyOfName(const QString& name) {
    static const QStringList chromium = {"chromium", "chromium-browser", "google-chrome",
                                         "google-chrome-stable", "chrome"};
    static const QStringList firefox = {"firefox", "firefox-esr", "firefox-bin"};
    if (chromium.contains(name)) return BrowserFamily::Chromium;
    if (firefox.contains(name)) return BrowserFamily::Firefox;
    return BrowserFamily::Other;
}

bool isExecutableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isAbsolute() && info.isFile() && info.isExecutable();
}

// A program name, or a path; found on PATH when it has no slash.
QString resolveProgram(const QString& program) {
    if (program.contains('/')) {
        const QString absolute = QFileInfo(program).absoluteFilePath();
        return isExecutableFile(absolute) ? absolute : QString();
    }
    return QStandardPaths::findExecutable(program);
}

// One $BROWSER entry: a program, or a program with arguments ("chromium --incognito %s").
// An entry that names an existing file is taken whole, so a path with spaces still works.
std::optional<BrowserProgram> resolveEntry(const QString& entry) {
    if (entry.trimmed().isEmpty()) return std::nullopt;
    if (const QString whole = resolveProgram(entry); !whole.isEmpty()) {
        return BrowserProgram{whole, {}, browserFamilyOf(whole)};
    }
    QStringList words = QProcess::splitCommand(entry);
    if (words.isEmpty()) return std::nullopt;
    const QString program = resolveProgram(words.takeFirst());
    if (program.isEmpty()) return std::nullopt;
    return BrowserProgram{program, words, browserFamilyOf(program)};
}

}  // namespace

BrowserFamily browserFamilyOf(const QString& programPath) {
    const QFileInfo info(programPath);
    if (const auto own = familyOfName(info.fileName()); own != BrowserFamily::Other) return own;
    // Links such as x-www-browser -> /etc/alternatives/... -> chromium.
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? BrowserFamily::Other : familyOfName(QFileInfo(target).fileName());
}

std::optional<BrowserProgram> findBrowserProgram() {
    const QString fromEnvironment = qEnvironmentVariable("BROWSER");
    for (const QString& entry : fromEnvironment.split(':', Qt::SkipEmptyParts)) {
        if (auto found = resolveEntry(entry)) return found;
    }
    for (const char* name : kBrowsersOnPath) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (program.isEmpty()) continue;
        const BrowserFamily family = browserFamilyOf(program);
        // A launcher we do not know may hand the page to a browser already running.
        if (family == BrowserFamily::Other) continue;
        return BrowserProgram{program, {}, family};
    }
    return std::nullopt;
}

QStringList browserArguments(const BrowserProgram& browser, const QString& profileDir,
                             const QStringList& extra, const QString& address, bool runningAsRoot) {
    QStringList args;
    switch (browser.family) {
        case BrowserFamily::Chromium:
            args << "--user-data-dir=" + profileDir << "--no-first-run"
                 << "--no-default-browser-check";
            // Chromium refuses to run as root inside its sandbox.
            if (runningAsRoot) args << "--no-sandbox";
            break;
        case BrowserFamily::Firefox:
            args << "--profile" << profileDir << "--no-remote"
                 << "--new-instance";
            break;
        case BrowserFamily::Other:
            break;
    }
    args << extra;
    bool placed = false;
    for (const QString& arg : browser.arguments) {
        if (arg == QLatin1String("%s")) {
            args << address;
            placed = true;
        } else {
            args << arg;
        }
    }
    if (!placed) args << address;
    return args;
}

}  // namespace host
