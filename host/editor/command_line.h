// The editor's command line.
#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

#include "host/editor/editor_session.h"

namespace host {

struct CommandLine {
    QStringList pages;
    std::vector<AddInSpec> addIns;  // --addin PATH --clsid ID, paired in order
    QString settingsPath;           // --settings FILE
    QString tourDir;                // --tour DIR: play the tour unattended, offscreen
    QString tourScriptPath;         // --tour-script FILE: another road than the default
    bool helpRequested = false;
    bool safeMode = false;  // --safe-mode: load no add-in

    bool tour() const { return !tourDir.isEmpty(); }
};

class CommandLineError : public std::runtime_error {
public:
    explicit CommandLineError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// `arguments` starts with the program name. Throws CommandLineError.
CommandLine parseCommandLine(const QStringList& arguments);
QString usage();
QString programVersion();  // the project's version, as the package names it
QString versionText();  // "pagehost <project version>\n", the answer to --version

// Whether the arguments ask for a tour, read before the application object exists.
bool asksForTour(int argc, char** argv);

}  // namespace host
