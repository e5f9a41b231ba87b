// The editor's site features: File > Open Site, the recent list, the site panel, the offer
// to update a changed region on the site's other pages, and Undo Site Update.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/site/parallel_pages.h"
#include "host/site/region_update.h"
#include "host/site/site_commit.h"
#include "host/site/site_folder.h"

class QAction;
class QMenu;
class QProgressBar;
class QPushButton;
class QSettings;
class QTimer;

namespace host {
class EditorWindow;
class Page;
}  // namespace host

namespace host::site {

class RegionUpdateBar;
class SiteDialogs;
class SitePanel;

class SiteController : public QObject {
    Q_OBJECT
public:
    SiteController(EditorWindow& window, SiteDialogs* dialogs, QSettings& settings);
    ~SiteController() override;

    // Shows the folder's pages in the site panel and remembers it; false when it is no folder.
    bool openSite(const QString& folder);
    const QString& siteFolder() const { return m_folder; }
    // The address the open site is published at, as the author gave it; empty if not given.
    QString publishedAt() const;
    QStringList recentEntries() const;

    // Looks for changed regions on the active page now rather than after the author pauses.
    void checkActivePage();
    // Whether a scan or an update runs in the background.
    bool busy() const { return m_task != nullptr; }
    // Reviews or applies the offer the bar shows.
    void reviewOffer();
    void applyOffer(const std::vector<bool>& checked = {});
    // Restores every file the last update wrote; reports pages it had to leave.
    void undoLastUpdate();

    RegionUpdateBar* bar() const { return m_bar; }
    QAction* undoAction() const { return m_undo; }

signals:
    // A site update changed the region on pages of the site (open ones, and files).
    void siteUpdated();
    // The author gave the open site another published-at address.
    void publishedAtChanged();

private:
    struct Task;
    // id -> a hash of its element's content, for ids held by one element.
    using RegionHashes = std::map<std::string, std::size_t>;
    struct Offer {
        std::string id;
        QPointer<Page> source;
        std::vector<RegionInPage> pages;
    };

    void createActions();
    void rememberRecent(const QString& path);
    void fillRecentMenu();
    void watch(Page* page);
    RegionHashes regionHashes(Page& page) const;
    void scanFor(Page* page, std::vector<std::string> ids);
    std::optional<std::string> sourceContent();
    Page* openPageAt(const QString& path) const;
    // Runs `work` on a worker thread, then `done` on the window's thread, told whether the
    // author pressed Cancel at any time before it (offered only where `cancellable`).
    void runInBackground(const QString& what, std::function<void(TaskProgress&)> work,
                         std::function<void(bool cancelled)> done, bool cancellable = true);
    void pollTask();
    void report(const QString& title, const QStringList& done, const QStringList& problems);

    EditorWindow& m_window;
    SiteDialogs* m_dialogs;
    QSettings& m_settings;
    QString m_folder;
    QStringList m_pages;
    std::vector<SkippedEntry> m_skipped;
    SitePanel* m_panel;
    bool m_panelSized = false;
    RegionUpdateBar* m_bar;
    QMenu* m_recentMenu = nullptr;
    QAction* m_undo = nullptr;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
    QTimer* m_pause;
    QTimer* m_poll;
    std::map<const Page*, RegionHashes> m_known;
    std::optional<Offer> m_offer;
    SiteUpdateUndo m_lastUpdate;
    std::unique_ptr<Task> m_task;
};

}  // namespace host::site
