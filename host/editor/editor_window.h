// The editor's main window: pages in tabs, menus, the command bars, and the objects that
// add-ins reach the editor through.
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "com/com_ptr.h"
#include "com/error.h"
#include "com/host_application.h"
#include "host/commandbars/command_bars_object.h"
#include "host/editor/help_menu.h"
#include "host/editor/html_document_factory.h"

class QPlainTextEdit;
class QSettings;
class QTabWidget;

namespace host {

class FileDialogService;
class FormCheckPanel;
class FormTrialService;
class HostApplicationObject;
class MessageBoxService;
class Page;
class PageDiskWatch;
class PartFocus;
class SessionOfferBar;
namespace site {
class SiteController;
class SiteDialogs;
}  // namespace site
class SourceView;
class EditorTab;
class ViewOptions;

struct EditorServices {
    MessageBoxService* messages = nullptr;
    FileDialogService* fileDialogs = nullptr;
    HtmlDocumentFactory documents;
    site::SiteDialogs* siteDialogs = nullptr;
    // Where the editor keeps its own settings; empty for the user's usual place.
    QString settingsPath;
    // The memory one page may take; 0 for what the system has free when it is opened.
    std::int64_t memoryForPage = 0;
    // Shows what a form in a rendered page would send; null for the editor's own dialog.
    FormTrialService* formTrials = nullptr;
    // Opens the handbook and the About box's links; empty for the desktop's browser.
    UrlOpener openUrl;
};

class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit EditorWindow(EditorServices services, QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Opens a page, or shows it when it is open already. Reports a failure to the author
    // and returns nullptr.
    Page* openPage(const QString& path);
    Page* newPage();
    Page* activePage() const;
    std::vector<Page*> pages() const;
    QPlainTextEdit* editorOf(const Page* page) const;
    // The active page's source view; nullptr without a page.
    SourceView* activeSourceView() const;
    EditorTab* tabOf(const Page* page) const;
    void activatePage(const Page* page);

    // Each reports a failure to the author and returns whether the page was saved. When its
    // file changed on disk, savePage asks first, and it also returns true when the author
    // chose to reload the page, which then holds what the file holds.
    bool savePage(Page* page);
    bool savePageAs(Page* page);
    // Asks first when the page has unsaved changes; false when the author keeps it open.
    bool closePage(Page* page);
    // Asks about every changed page; false when the author cancels. Pages stay open.
    bool confirmQuit();

    CommandBarsObject& commandBars() const { return *m_commandBars; }
    com::ComPtr<com::IHostApplication> application() const;
    MessageBoxService& messages() const { return *m_services.messages; }
    site::SiteController& site() const { return *m_site; }
    FormCheckPanel& formCheck() const { return *m_formCheck; }
    PartFocus& partFocus() const { return *m_partFocus; }

    // Offers the pages open when the author last quit, in a bar above the pages; nothing
    // when none of them is there any more.
    void offerLastSession();

    // A mode the editor runs in ("Safe Mode"): shown in the window title and, as `status`,
    // for good in the status bar.
    void setModeNote(const QString& note, const QString& status);

    // Shows a failure that came back out of a Click handler; the editor carries on.
    void reportClickFailure(const com::ErrorInfo& failure);
    // Keeps the lasting controls and lets go of every object add-ins may still hold;
    // their calls fail from now on. Called once, before the add-in modules are unloaded.
    void detachObjects();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    Page* addPage(std::unique_ptr<Page> page);
    void removePage(Page* page);
    int indexOf(const Page* page) const;
    void updateTitles();
    bool askToSave(Page* page, const QString& question);
    // A line the text names is offered as a place to go to in `about`'s source.
    void showError(const QString& title, const QString& text, const Page* about = nullptr);

    EditorServices m_services;
    std::unique_ptr<QSettings> m_settings;
    QTabWidget* m_tabs;
    ViewOptions* m_viewOptions = nullptr;
    std::vector<std::unique_ptr<Page>> m_pages;
    com::ComPtr<CommandBarsObject> m_commandBars;
    com::ComPtr<HostApplicationObject> m_application;
    PageDiskWatch* m_diskWatch;
    site::SiteController* m_site;  // a child object
    FormCheckPanel* m_formCheck;   // a child widget
    PartFocus* m_partFocus = nullptr;
    SessionOfferBar* m_sessionOffer;
    int m_untitledCount = 0;
    bool m_detached = false;
    QString m_modeNote;
};

}  // namespace host
