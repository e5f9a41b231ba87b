// The editor's main window.
#include "host/editor/editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <new>

#include "host/commandbars/menu_lookup.h"
#include "host/commandbars/menu_mirror.h"
#include "host/editor/editor_tab.h"
#include "host/editor/file_dialog_service.h"
#include "host/editor/form_check_panel.h"
#include "host/editor/form_trial_dialog.h"
#include "host/editor/host_application_object.h"
#include "host/editor/last_session.h"
#include "host/editor/outside_resources_label.h"
#include "host/editor/page.h"
#include "host/editor/page_disk_watch.h"
#include "host/editor/part_focus.h"
#include "host/editor/site_controller.h"
#include "host/editor/view_options.h"
#include "host/messagebox/message_box_service.h"
#include "host/sourceview/go_to_message.h"
#include "host/sourceview/source_view.h"

namespace host {
namespace {

const QString kAppName = QStringLiteral("pagehost");
const QString kGeometryKey = QStringLiteral("Window/Geometry");

}  // namespace

EditorWindow::EditorWindow(EditorServices services, QWidget* parent)
    : QMainWindow(parent),
      m_services(std::move(services)),
      m_tabs(new QTabWidget(this)),
      m_diskWatch(new PageDiskWatch(this, *m_services.messages)),
      m_sessionOffer(new SessionOfferBar) {
    setObjectName("pagehostWindow");
    m_settings = m_services.settingsPath.isEmpty()
                     ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                   QStringLiteral("OstrelPlugin"), kAppName)
                     : std::make_unique<QSettings>(m_services.settingsPath, QSettings::IniFormat);
    m_tabs->setObjectName("pageTabs");
    m_tabs->setTabsClosable(true);
    m_tabs->setDocumentMode(true);
    // The offer of the last session's pages goes above the pages.
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_sessionOffer);
    layout->addWidget(m_tabs, 1);
    setCentralWidget(area);
    connect(m_sessionOffer, &SessionOfferBar::reopenRequested, this,
            [this](const QStringList& paths) {
                for (const QString& path : paths) openPage(path);
            });
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (index >= 0 && index < int(m_pages.size())) closePage(pages()[std::size_t(index)]);
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { updateTitles(); });

    m_commandBars = com::make<CommandBarsObject>(
        [this](const com::ErrorInfo& failure) { reportClickFailure(failure); });
    createActions();
    QMenu& view = menuOf(*menuBar(), QStringLiteral("menuView"), tr("&View"));
    m_viewOptions = new ViewOptions(*m_settings, view, *m_tabs, this);
    // A permanent widget: a menu item's status tip would hide a plain status message.
    auto* format = new QLabel(statusBar());
    format->setObjectName("pageFormat");
    statusBar()->addPermanentWidget(format);
    statusBar()->addPermanentWidget(new OutsideResourcesLabel(*m_tabs));
    statusBar()->addPermanentWidget(new PageScriptsLabel(*m_tabs));
    m_commandBars->restoreLastingControls(*m_settings);
    m_application =
        com::make<HostApplicationObject>(m_commandBars, [this] { return activePage(); });
    m_site = new site::SiteController(*this, m_services.siteDialogs, *m_settings);
    // The sign-up form is checked after a site update, as after an add-in's insertion.
    m_formCheck = new FormCheckPanel(*this);
    // A new published-at address changes what the shown check says.
    connect(m_site, &site::SiteController::publishedAtChanged, m_formCheck, [this] {
        if (m_formCheck->isVisible())
            m_formCheck->check(activePage(), FormCheckPanel::Start::byItself);
    });
    connect(m_site, &site::SiteController::siteUpdated, m_formCheck,
            [this] { m_formCheck->check(activePage(), FormCheckPanel::Start::byItself); });
    m_partFocus = new PartFocus(*this, *m_viewOptions, view);
    addHelpMenu(*this, m_services.openUrl ? m_services.openUrl : desktopUrlOpener(),
                *m_services.messages);
    // Where the author left it; a place off every screen now is put back on one by Qt.
    if (!restoreGeometry(m_settings->value(kGeometryKey).toByteArray())) resize(960, 680);
    updateTitles();
}

EditorWindow::~EditorWindow() {
    detachObjects();
    // The views go before the pages whose documents they show.
    while (m_tabs->count() > 0) delete m_tabs->widget(0);
    m_pages.clear();
}

void EditorWindow::createActions() {
    auto* newAction = new QAction(tr("&New"), this);
    newAction->setShortcut(QKeySequence::New);
    auto* openAction = new QAction(tr("&Open..."), this);
    openAction->setShortcut(QKeySequence::Open);
    auto* saveAction = new QAction(tr("&Save"), this);
    saveAction->setShortcut(QKeySequence::Save);
    auto* undoAction = new QAction(tr("&Undo"), this);
    undoAction->setShortcut(QKeySequence::Undo);
    for (QAction* a : {newAction, openAction, saveAction, undoAction})
        a->setIconText(a->text().remove(u'&').remove(QStringLiteral("...")));

    auto* saveAsAction = new QAction(tr("Save &As..."), this);
    saveAsAction->setShortcut(QKeySequence::SaveAs);
    connect(saveAsAction, &QAction::triggered, this, [this] {
        if (Page* p = activePage()) savePageAs(p);
    });
    auto* closeAction = new QAction(tr("&Close"), this);
    closeAction->setShortcut(QKeySequence::Close);
    connect(closeAction, &QAction::triggered, this, [this] {
        if (Page* p = activePage()) closePage(p);
    });
    auto* quitAction = new QAction(tr("&Quit"), this);
    quitAction->setShortcut(QKeySequence::Quit);
    connect(quitAction, &QAction::triggered, this, &QWidget::close);
    auto* redoAction = new QAction(tr("&Redo"), this);
    redoAction->setShortcut(QKeySequence::Redo);
    connect(redoAction, &QAction::triggered, this, [this] {
        if (Page* p = activePage()) editorOf(p)->redo();
    });

    QMenu* file = &menuOf(*menuBar(), QStringLiteral("menuFile"), tr("&File"));
    file->addActions({newAction, openAction, saveAction, saveAsAction});
    file->addSeparator();
    file->addActions({closeAction, quitAction});
    QMenu* edit = &menuOf(*menuBar(), QStringLiteral("menuEdit"), tr("&Edit"));
    edit->addActions({undoAction, redoAction});
    edit->addSeparator();
    addSourceCommands(*edit, [this] { return activeSourceView(); });

    // The bar's built-in controls run their action through the control, so an add-in that
    // subscribes to their Click sees every use, from the bar or from the menu.
    CommandBarObject* standard =
        m_commandBars->addBar(QStringLiteral("Standard"), addToolBar(tr("Standard")));
    standard->addBuiltIn(newAction, [this] { newPage(); });
    standard->addBuiltIn(openAction, [this] {
        for (const QString& path : m_services.fileDialogs->askFilesToOpen(this)) openPage(path);
    });
    standard->addBuiltIn(saveAction, [this] {
        if (Page* p = activePage()) savePage(p);
    });
    standard->addBuiltIn(undoAction, [this] {
        if (Page* p = activePage()) editorOf(p)->undo();
    });
    // Add-ins know the bars by their English names; the author sees them in their language.
    QToolBar* insert = addToolBar(tr("Insert"));
    m_commandBars->addBar(QStringLiteral("Insert"), insert);
    // Toolbar buttons take no keyboard focus; the menu reaches them.
    mirrorInMenu(*insert, menuOf(*menuBar(), QStringLiteral("menuInsert"), tr("&Insert")));
}

Page* EditorWindow::openPage(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (Page* p : pages()) {
        if (p->path() == absolute) {
            activatePage(p);
            return p;
        }
    }
    std::unique_ptr<Page> page;
    try {
        page = Page::open(path, m_services.documents, m_services.memoryForPage);
    } catch (const PageError& e) {
        showError(tr("Open Page"), e.message());
        return nullptr;
    }
    Page* added = nullptr;
    Page* raw = page.get();
    try {
        added = addPage(std::move(page));
    } catch (const std::bad_alloc&) {
        // Its tab and views are given back; the pages open before stay as they are.
        if (indexOf(raw) >= 0) removePage(raw);
        showError(tr("Open Page"),
                  tr("%1 was not opened: there was not enough memory to show it. The file was "
                     "not changed, and the other pages stay as they are. Close other pages or "
                     "programs and try again.")
                      .arg(QDir::toNativeSeparators(absolute)));
        return nullptr;
    }
    if (!added->readOnlyReason().isEmpty()) {
        m_services.messages->show(this, {kAppName,
                                         added->readOnlyReason(),
                                         MessageIcon::Warning,
                                         {MessageButton::Ok},
                                         MessageButton::Ok});
    }
    return added;
}

Page* EditorWindow::newPage() {
    return addPage(
        Page::createUntitled(tr("Untitled %1").arg(++m_untitledCount), m_services.documents));
}

Page* EditorWindow::addPage(std::unique_ptr<Page> page) {
    // Listed first, so that removePage can take back whatever of it was made.
    Page* raw = page.get();
    m_pages.push_back(std::move(page));
    auto* view = new SourceView(raw->document());
    view->setReadOnly(!raw->readOnlyReason().isEmpty());
    connect(raw, &Page::modificationChanged, this, [this] { updateTitles(); });
    connect(raw, &Page::reloaded, view, [this, raw, view] {
        view->setReadOnly(!raw->readOnlyReason().isEmpty());
        updateTitles();
    });
    m_diskWatch->watch(raw);
    auto* pane = new EditorTab(view, *raw, *m_viewOptions,
                              m_services.formTrials ? *m_services.formTrials : qtFormTrials());
    connect(pane, &EditorTab::addInChangedPage, m_formCheck,
            [this, raw] { m_formCheck->check(raw, FormCheckPanel::Start::byItself); });
    m_tabs->addTab(pane, raw->displayName());
    m_tabs->setCurrentWidget(pane);
    view->setFocus();
    updateTitles();
    return raw;
}

void EditorWindow::removePage(Page* page) {
    const int index = indexOf(page);
    if (index < 0) return;
    delete m_tabs->widget(index);
    m_diskWatch->unwatch(page);
    page->detach();
    m_pages.erase(m_pages.begin() + index);
    updateTitles();
}

int EditorWindow::indexOf(const Page* page) const {
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i].get() == page) return int(i);
    }
    return -1;
}

Page* EditorWindow::activePage() const {
    const int index = m_tabs->currentIndex();
    return index >= 0 && index < int(m_pages.size()) ? m_pages[std::size_t(index)].get() : nullptr;
}

std::vector<Page*> EditorWindow::pages() const {
    std::vector<Page*> out;
    for (const auto& p : m_pages) out.push_back(p.get());
    return out;
}

QPlainTextEdit* EditorWindow::editorOf(const Page* page) const {
    const EditorTab* view = tabOf(page);
    return view ? view->source() : nullptr;
}

EditorTab* EditorWindow::tabOf(const Page* page) const {
    const int index = indexOf(page);
    return index < 0 ? nullptr : static_cast<EditorTab*>(m_tabs->widget(index));
}

SourceView* EditorWindow::activeSourceView() const {
    return qobject_cast<SourceView*>(editorOf(activePage()));
}

void EditorWindow::activatePage(const Page* page) {
    const int index = indexOf(page);
    if (index >= 0) m_tabs->setCurrentIndex(index);
}

bool EditorWindow::savePage(Page* page) {
    if (page->path().isEmpty()) return savePageAs(page);
    switch (m_diskWatch->confirmSave(page)) {
        case PageDiskWatch::SaveChoice::Write:
            break;
        case PageDiskWatch::SaveChoice::SaveAs:
            return savePageAs(page);
        case PageDiskWatch::SaveChoice::Reloaded:
            return true;
        case PageDiskWatch::SaveChoice::Cancel:
            return false;
    }
    try {
        page->save();
    } catch (const PageError& e) {
        showError(tr("Save Page"), e.message(), page);
        return false;
    }
    updateTitles();
    return true;
}

bool EditorWindow::savePageAs(Page* page) {
    const QString suggestion =
        page->path().isEmpty() ? page->displayName() + ".html" : page->path();
    const QString target = m_services.fileDialogs->askSaveLocation(this, suggestion);
    if (target.isEmpty()) return false;
    try {
        page->save(target);
    } catch (const PageError& e) {
        showError(tr("Save Page"), e.message(), page);
        return false;
    }
    m_diskWatch->watch(page);
    updateTitles();
    return true;
}

bool EditorWindow::askToSave(Page* page, const QString& question) {
    if (!page->isModified()) return true;
    activatePage(page);
    const MessageButton answer = m_services.messages->show(
        this, {kAppName,
               question.arg(page->displayName()),
               MessageIcon::Question,
               {MessageButton::Save, MessageButton::Discard, MessageButton::Cancel},
               MessageButton::Save});
    switch (answer) {
        case MessageButton::Save:
            return savePage(page);
        case MessageButton::Discard:
            return true;
        default:
            return false;
    }
}

bool EditorWindow::closePage(Page* page) {
    if (!askToSave(page, tr("Save the changes to %1 before closing it?"))) return false;
    removePage(page);
    return true;
}

bool EditorWindow::confirmQuit() {
    for (Page* page : pages()) {
        if (!askToSave(page, tr("Save the changes to %1 before quitting?"))) return false;
    }
    return true;
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (confirmQuit()) {
        // What the author quits with is offered again at the next start.
        QStringList paths;
        for (const Page* p : pages())
            if (!p->path().isEmpty()) paths << p->path();
        saveLastSession(*m_settings, paths);
        m_settings->setValue(kGeometryKey, saveGeometry());
        event->accept();
    } else {
        event->ignore();
    }
}

void EditorWindow::offerLastSession() {
    m_sessionOffer->offer(lastSessionPages(*m_settings));
}

com::ComPtr<com::IHostApplication> EditorWindow::application() const {
    return m_application;
}

void EditorWindow::reportClickFailure(const com::ErrorInfo& failure) {
    const QString text = tr("An add-in failed while handling a click.\n\n"
                            "Error number: %1\nError description: %2\nError source: %3")
                             .arg(failure.number)
                             .arg(QString::fromStdString(failure.description),
                                  QString::fromStdString(failure.source));
    showOfferingGoTo(
        *m_services.messages, this,
        {kAppName, text, MessageIcon::Critical, {MessageButton::Ok}, MessageButton::Ok},
        activeSourceView());
}

void EditorWindow::setModeNote(const QString& note, const QString& status) {
    m_modeNote = note;
    auto* label = new QLabel(status, statusBar());
    label->setObjectName("modeNote");
    statusBar()->addPermanentWidget(label);
    updateTitles();
}

void EditorWindow::detachObjects() {
    if (m_detached) return;
    m_detached = true;
    m_commandBars->saveLastingControls(*m_settings);
    m_settings->sync();
    m_commandBars->detach();
    m_application->detach();
    for (Page* p : pages()) p->detach();
}

void EditorWindow::updateTitles() {
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        const Page& p = *m_pages[i];
        m_tabs->setTabText(int(i),
                           p.displayName() + (p.isModified() ? QStringLiteral("*") : QString()));
        m_tabs->setTabToolTip(int(i), p.path());
    }
    const Page* active = activePage();
    setWindowTitle(active
                       ? QStringLiteral("%1%2 - %3")
                             .arg(active->displayName(), active->isModified() ? "*" : "", kAppName)
                       : kAppName);
    if (!m_modeNote.isEmpty())
        setWindowTitle(windowTitle() + QStringLiteral(" (%1)").arg(m_modeNote));
    statusBar()->findChild<QLabel*>("pageFormat")->setText(active ? describeFormat(active->format())
                                                                  : QString());
}

void EditorWindow::showError(const QString& title, const QString& text, const Page* about) {
    showOfferingGoTo(*m_services.messages, this,
                     {title, text, MessageIcon::Warning, {MessageButton::Ok}, MessageButton::Ok},
                     qobject_cast<SourceView*>(editorOf(about)));
}

}  // namespace host
