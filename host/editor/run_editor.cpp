// The editor's start and end, and the unattended tour.
#include "host/editor/run_editor.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>
#include <cstdio>

#include "host/addinsui/addins_dialog.h"
#include "host/browser/browser_class.h"
#include "host/browser/browser_profiles.h"
#include "host/editor/default_html_documents.h"
#include "host/editor/file_dialog_service.h"
#include "host/editor/form_check_panel.h"
#include "host/editor/page.h"
#include "host/editor/registered_addins.h"
#include "host/editor/site_dialogs.h"
#include "host/editor/tour_folder.h"
#include "host/editor/tour_runner.h"
#include "host/messagebox/message_box_service.h"

namespace host {
namespace {

// Copies the page into the tour's folder, so the road never edits the original. The folder
// has been claimed: a file of the page's name there is an earlier tour's copy.
QString prepareTourPage(const QString& dir, const QString& page) {
    if (!QDir().mkpath(dir))
        throw CommandLineError(QStringLiteral("Cannot make the folder %1").arg(dir));
    const QString copy = QDir(dir).absoluteFilePath(QFileInfo(page).fileName());
    if (QFileInfo(copy) == QFileInfo(page)) return copy;
    QFile::remove(copy);
    try {
        replacePageFile(copy, readPageFile(page, Page::fileRules()).bytes, "Tour");
    } catch (const PageFileError& e) {
        throw CommandLineError(QStringLiteral("Cannot copy %1 into %2: %3").arg(page, dir, e.message()));
    }
    return copy;
}

std::vector<TourStep> tourSteps(const CommandLine& cl) {
    if (cl.tourScriptPath.isEmpty()) return parseTourScript(defaultTourScript());
    QFile file(cl.tourScriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        throw CommandLineError(QStringLiteral("Cannot read the tour script %1: %2")
                                   .arg(cl.tourScriptPath, file.errorString()));
    }
    return parseTourScript(QString::fromUtf8(file.readAll()));
}

}  // namespace

void startAddIns(EditorSession& session, const CommandLine& cl) {
    if (cl.safeMode) {
        // Records of a crash stay for the next ordinary start, which asks about them.
        session.window().setModeNote(
            QCoreApplication::translate("host::EditorWindow", "Safe Mode"),
            QCoreApplication::translate("host::EditorWindow", "Safe mode: no add-in is loaded"));
        return;
    }
    for (const AddInSpec& entry : cl.addIns) session.loadAddIn(entry, com::ext_cm_Startup);
    // A tour loads only the add-ins its command line names, so that it runs the same for
    // every user.
    if (!cl.tour()) loadRegisteredAddIns(session, platform::registry::RegistryFile());
    session.startupComplete();
}

void openStartPages(EditorWindow& window, const QStringList& pages) {
    for (const QString& page : pages) window.openPage(page);
    // A page named on the command line is what the author asked for; otherwise the last
    // session's pages are offered.
    if (pages.isEmpty()) window.offerLastSession();
}

int runEditor(const CommandLine& given) {
    // Add-ins open web pages through the platform's browser class.
    registerBrowserClass();
    struct BrowserClassRegistration {
        ~BrowserClassRegistration() { revokeBrowserClass(); }
    } browserClass;
    // Browsers outlive the editor; the profiles of those that have ended since go now.
    removeLeftoverProfiles();
    CommandLine cl = given;
    if (cl.tour()) cl.tourDir = QDir(cl.tourDir).absolutePath();
    QtMessageBoxService dialogs;
    UnattendedMessageBoxService unattended;
    QtFileDialogService files;
    site::QtSiteDialogs siteDialogs;
    EditorServices services;
    services.messages = cl.tour() ? static_cast<MessageBoxService*>(&unattended) : &dialogs;
    services.fileDialogs = &files;
    services.siteDialogs = &siteDialogs;
    services.documents = defaultHtmlDocuments();
    services.settingsPath = cl.settingsPath;
    // A tour opens nothing on the desktop; it lists what it would have opened.
    QStringList opened;
    if (cl.tour()) {
        services.openUrl = [&opened](const QUrl& url) {
            opened << url.toString();
            return true;
        };
    }

    QStringList pages = cl.pages;
    std::vector<TourStep> steps;
    if (cl.tour()) {
        try {
            steps = tourSteps(cl);
            claimTourFolder(cl.tourDir, tourOutputNames(QFileInfo(cl.pages.front()).fileName(),
                                                        steps, services.settingsPath.isEmpty()));
            pages = {prepareTourPage(cl.tourDir, cl.pages.front())};
        } catch (const std::exception& e) {
            std::fprintf(stderr, "pagehost: %s\n", e.what());
            return 2;
        }
        // The tour leaves the author's own settings alone: the editor's, and those of the
        // add-ins it loads, which find their configuration folder in XDG_CONFIG_HOME. Set
        // here, once, before any add-in is loaded or any thread started.
        const QString settings = QDir(cl.tourDir).absoluteFilePath(QString::fromLatin1(kTourSettingsFolder));
        if (!QDir().mkpath(settings)) {
            std::fprintf(stderr, "pagehost: Cannot make the folder %s\n", qUtf8Printable(settings));
            return 2;
        }
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings));
        if (services.settingsPath.isEmpty()) {
            services.settingsPath =
                QDir(cl.tourDir).absoluteFilePath(QStringLiteral("pagehost.ini"));
        }
    }

    // A tour leaves the author's records alone as it does their settings.
    EditorSession session(services,
                          cl.tour() ? std::filesystem::path() : LoadRecords::defaultFolder());
    EditorWindow& window = session.window();
    openStartPages(window, pages);
    addAddInsMenu(
        window, session,
        {&window.messages(),
         [](QWidget* parent) {
             return QFileDialog::getOpenFileName(
                 parent, QCoreApplication::translate("host::EditorWindow", "Add Add-in"), QString(),
                 QCoreApplication::translate("host::EditorWindow",
                                             "Add-in modules (*.so);;All files (*)"));
         },
         // The registration tool is installed beside the editor.
         QDir(QCoreApplication::applicationDirPath())
             .filePath(QStringLiteral("ostrel-regsvr"))
             .toStdString(),
         platform::registry::RegistryFile::defaultPath(), std::string(kHostRegistryRoot)});
    startAddIns(session, cl);
    window.show();

    std::unique_ptr<TourRunner> tour;
    if (cl.tour()) {
        tour = std::make_unique<TourRunner>(window, cl.tourDir, std::move(steps));
        QObject::connect(tour.get(), &TourRunner::finished, qApp, [t = tour.get()](bool ok) {
            const bool whole = t->renderedLeftOut().isEmpty();
            QCoreApplication::exit(!ok ? 1 : whole ? 0 : TourRunner::kRenderedLeftOutStatus);
        });
        tour->start();
    }
    int rc = QApplication::exec();

    if (tour) {
        const Page* page = window.activePage();
        if (!tour->succeeded())
            std::fprintf(stderr, "pagehost: %s\n", qUtf8Printable(tour->failure()));
        if (unattended.shownCount() > 0) {
            std::fprintf(stderr, "pagehost: the tour met %d message box(es), shown above\n",
                         unattended.shownCount());
            rc = 1;
        }
        std::printf("Tour %s.\nEdited page: %s\nPictures:\n",
                    tour->succeeded() ? "finished" : "stopped",
                    page ? qUtf8Printable(page->path()) : "(none)");
        for (const QString& picture : tour->pictures())
            std::printf("  %s\n", qUtf8Printable(picture));
        for (const QString& address : opened)
            std::printf("Opened in the browser: %s\n", qUtf8Printable(address));
        if (const FormCheckPanel& check = window.formCheck(); check.isVisible()) {
            std::printf("Form Check: %s\n  %s\n", qUtf8Printable(check.summary()),
                        qUtf8Printable(check.auditState()));
        }
        std::fflush(stdout);
    }
    session.shutdown();
    return rc;
}

}  // namespace host
