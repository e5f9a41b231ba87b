// Reading the editor's command line.
#include "host/editor/command_line.h"

#include <QCommandLineParser>
#include <cstring>

#include "host/formcheck/form_check_command.h"
#include "host/site/region_update_command.h"

namespace host {

QString usage() {
    // Every form's usage line first, then every option, as --help texts are read.
    const QString lines = QStringLiteral(
        "Usage: pagehost [--addin MODULE --clsid {CLASS-ID}]... [--settings FILE] [PAGE]...\n"
        "       pagehost --safe-mode [--settings FILE] [PAGE]...\n"
        "       pagehost --tour DIR [--tour-script FILE] [--addin ...] PAGE\n"
        "       pagehost --help | --version\n");
    const QString options = QStringLiteral(
        "  --addin MODULE      load the add-in module (a shared library)\n"
        "  --clsid {ID}        class id of the add-in in the module given before it\n"
        "  --settings FILE     keep the editor's own settings in FILE\n"
        "  --safe-mode         start without loading any add-in, for when one keeps the\n"
        "                      editor from starting; Tools > Add-ins... turns them off\n"
        "  --tour DIR          without a display: copy PAGE into DIR, play the scripted road\n"
        "                      there and save the page and pictures of it into DIR; exit\n"
        "                      status 3 if the rendered page could not be pictured\n"
        "  --tour-script FILE  the road to play instead of the built-in one\n"
        "  -h, --help          show this text\n"
        "  --version           print the program's version\n");
    return lines + site::regionUpdateUsageLine() + formcheck::formCheckUsageLine() +
           QStringLiteral("\nOptions:\n") + options + site::regionUpdateOptions() +
           formcheck::formCheckOptions();
}

QString programVersion() {
    return QStringLiteral(OSTREL_VERSION);
}

QString versionText() {
    return QStringLiteral("pagehost %1\n").arg(programVersion());
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption addin(QStringLiteral("addin"), {}, QStringLiteral("MODULE"));
    const QCommandLineOption clsid(QStringLiteral("clsid"), {}, QStringLiteral("ID"));
    const QCommandLineOption settings(QStringLiteral("settings"), {}, QStringLiteral("FILE"));
    const QCommandLineOption tour(QStringLiteral("tour"), {}, QStringLiteral("DIR"));
    const QCommandLineOption script(QStringLiteral("tour-script"), {}, QStringLiteral("FILE"));
    const QCommandLineOption safeMode(QStringLiteral("safe-mode"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({addin, clsid, settings, tour, script, safeMode, help});
    if (!parser.parse(arguments)) throw CommandLineError(parser.errorText());

    CommandLine cl;
    cl.helpRequested = parser.isSet(help);
    cl.safeMode = parser.isSet(safeMode);
    cl.pages = parser.positionalArguments();
    cl.settingsPath = parser.value(settings);
    cl.tourDir = parser.value(tour);
    cl.tourScriptPath = parser.value(script);
    const QStringList modules = parser.values(addin);
    const QStringList ids = parser.values(clsid);
    if (modules.size() != ids.size()) {
        throw CommandLineError(
            QStringLiteral("Each --addin needs its --clsid (%1 modules, %2 class ids)")
                .arg(modules.size())
                .arg(ids.size()));
    }
    for (qsizetype i = 0; i < modules.size(); ++i) {
        const auto id = com::Guid::parse(ids[i].toStdString());
        if (!id) {
            throw CommandLineError(
                QStringLiteral(
                    "'%1' is not a class id; write it as {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}")
                    .arg(ids[i]));
        }
        cl.addIns.push_back({modules[i], *id});
    }
    if (cl.tour() && cl.pages.size() != 1) {
        throw CommandLineError(
            QStringLiteral("--tour plays the road on one page; give exactly one"));
    }
    if (cl.safeMode && !cl.addIns.empty()) {
        throw CommandLineError(QStringLiteral("--safe-mode loads no add-in; leave out --addin"));
    }
    if (!cl.tourScriptPath.isEmpty() && !cl.tour()) {
        throw CommandLineError(QStringLiteral("--tour-script needs --tour"));
    }
    return cl;
}

bool asksForTour(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tour") == 0 || std::strncmp(argv[i], "--tour=", 7) == 0)
            return true;
    }
    return false;
}

}  // namespace host
