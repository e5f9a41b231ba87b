// pagehost: a small HTML page editor that loads add-ins through COM-style entry points.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "host/editor/command_line.h"
#include "host/editor/form_rehearsal_runner.h"
#include "host/editor/run_editor.h"
#include "host/editor/translations.h"
#include "host/formcheck/form_check_command.h"
#include "host/site/region_update_command.h"

int main(int argc, char** argv) {
    const bool tour = host::asksForTour(argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            const QString text = arg == "--version" ? host::versionText() : host::usage();
            std::printf("%s", qUtf8Printable(text));
            return 0;
        }
    }
    if (host::site::asksForRegionUpdate(argc, argv)) {
        QStringList arguments;
        for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
        return host::site::runRegionUpdateCommand(arguments, stdout, stderr);
    }
    if (host::formcheck::asksForFormCheck(argc, argv)) return host::runFormCheckCommandLine(argc, argv);
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    if (tour && !set("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!tour && !set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY")) {
        std::fprintf(
            stderr,
            "pagehost: there is no display to show the editor on.\n"
            "Run 'pagehost --tour <folder> <page>' to play the editor's tour offscreen.\n");
        return 2;
    }
    // Qt WebEngine, which the rendered view loads on first use, needs this set up front.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pagehost"));
    // Wayland matches the window to its desktop entry, and so its icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.ostrel.PageHost"));
    // The window, its dialogs and Qt's own buttons in the desktop's language.
    host::installTranslations(QLocale::system());
    host::CommandLine commandLine;
    try {
        commandLine = host::parseCommandLine(QApplication::arguments());
    } catch (const host::CommandLineError& e) {
        std::fprintf(stderr, "pagehost: %s\n\n%s", e.what(), qUtf8Printable(host::usage()));
        return 2;
    }
    if (commandLine.helpRequested) {
        std::printf("%s", qUtf8Printable(host::usage()));
        return 0;
    }
    return host::runEditor(commandLine);
}
