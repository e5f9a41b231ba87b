// The site features of the editor window. Scans, plans and the writing of files run on a
// worker thread; open pages are edited on the window's thread once the planning is complete.
#include "host/editor/site_controller.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <new>

#include "host/commandbars/menu_lookup.h"
#include "host/editor/editor_window.h"
#include "host/editor/page.h"
#include "host/editor/region_update_bar.h"
#include "host/editor/site_dialogs.h"
#include "host/editor/site_panel.h"
#include "host/editor/site_published_at.h"
#include "host/messagebox/message_box_service.h"
#include "host/page/gumbo_tree.h"
#include "host/site/line_diff.h"
#include "host/site/region_lookup.h"
#include "host/site/site_folder.h"

namespace host::site {
namespace {

const QString kRecentKey = QStringLiteral("recent/entries");
constexpr int kRecentCount = 10;
// How long the author pauses typing before the page is looked at for changed regions.
constexpr int kPauseMs = 800;

// "1 page", "3 pages".
QString countOfPages(qsizetype n) {
    return n == 1 ? SiteController::tr("1 page") : SiteController::tr("%1 pages").arg(n);
}

QString quotedId(const std::string& id) {
    return QStringLiteral("\"%1\"").arg(QString::fromStdString(id));
}

}  // namespace

struct SiteController::Task {
    TaskProgress progress;
    std::atomic<bool> finished{false};
    // Why the work stopped, when it failed; written before `finished`.
    bool outOfMemory = false;
    QString failure;
    QString what;
    std::function<void(bool cancelled)> done;
    std::jthread thread;
};

SiteController::SiteController(EditorWindow& window, SiteDialogs* dialogs, QSettings& settings)
    : QObject(&window),
      m_window(window),
      m_dialogs(dialogs),
      m_settings(settings),
      m_panel(new SitePanel(&window)),
      m_bar(new RegionUpdateBar),
      m_progress(new QProgressBar),
      m_cancel(new QPushButton(tr("Cancel"))),
      m_pause(new QTimer(this)),
      m_poll(new QTimer(this)) {
    // The bar goes above whatever the window shows as its page area.
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(window.takeCentralWidget(), 1);
    window.setCentralWidget(area);

    window.addDockWidget(Qt::LeftDockWidgetArea, m_panel);
    m_panel->hide();
    connect(m_panel, &SitePanel::pageChosen, this, [this](const QString& path) {
        m_window.openPage(path);
    });
    connect(m_panel, &SitePanel::publishedAtEdited, this, [this](const QString& address) {
        const QString problem = publishedAtProblem(address);
        // A wrong entry stays in the field for the author to mend; the kept one is unchanged.
        m_panel->setPublishedAtProblem(problem);
        if (!problem.isEmpty() || m_folder.isEmpty() || address == publishedAt()) return;
        setPublishedAt(m_settings, m_folder, address);
        emit publishedAtChanged();
    });
    connect(m_bar, &RegionUpdateBar::reviewRequested, this, [this] { reviewOffer(); });
    connect(m_bar, &RegionUpdateBar::updateRequested, this, [this] { applyOffer(); });

    m_progress->setObjectName("siteProgress");
    m_cancel->setObjectName("siteCancel");
    m_progress->hide();
    m_cancel->hide();
    window.statusBar()->addPermanentWidget(m_progress);
    window.statusBar()->addPermanentWidget(m_cancel);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_task) m_task->progress.cancelled = true;
    });
    m_poll->setInterval(50);
    connect(m_poll, &QTimer::timeout, this, &SiteController::pollTask);
    m_pause->setSingleShot(true);
    m_pause->setInterval(kPauseMs);
    connect(m_pause, &QTimer::timeout, this, &SiteController::checkActivePage);

    if (auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("pageTabs"))) {
        connect(tabs, &QTabWidget::currentChanged, this, [this] {
            Page* page = m_window.activePage();
            if (page) {
                watch(page);
                if (!page->path().isEmpty()) rememberRecent(page->path());
            }
            // The offer belongs to the page whose region changed.
            m_bar->setVisible(m_offer && page && m_offer->source == page);
        });
    }
    createActions();
}

SiteController::~SiteController() {
    // The worker touches only files and its own data; let it stop before the window goes.
    if (m_task) m_task->progress.cancelled = true;
    m_task.reset();
}

void SiteController::createActions() {
    QMenu* file = &menuOf(*m_window.menuBar(), QStringLiteral("menuFile"), tr("&File"));
    auto* openSiteAction = new QAction(tr("Open &Site..."), this);
    openSiteAction->setObjectName("openSiteAction");
    connect(openSiteAction, &QAction::triggered, this, [this] {
        const QString folder = m_dialogs ? m_dialogs->askSiteFolder(&m_window) : QString();
        if (!folder.isEmpty()) openSite(folder);
    });
    m_recentMenu = new QMenu(tr("Open &Recent"), file);
    m_recentMenu->setObjectName("recentMenu");
    connect(m_recentMenu, &QMenu::aboutToShow, this, &SiteController::fillRecentMenu);
    QAction* before = file->actions().size() > 2 ? file->actions()[2] : nullptr;  // after Open
    file->insertAction(before, openSiteAction);
    file->insertMenu(before, m_recentMenu);

    m_undo = new QAction(tr("Undo Site &Update"), this);
    m_undo->setObjectName("undoSiteUpdateAction");
    m_undo->setEnabled(false);
    connect(m_undo, &QAction::triggered, this, &SiteController::undoLastUpdate);
    menuOf(*m_window.menuBar(), QStringLiteral("menuEdit"), tr("&Edit")).addAction(m_undo);
}

bool SiteController::openSite(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir()) {
        m_window.messages().show(&m_window, {tr("Open Site"),
                                             tr("%1 is not a folder.").arg(folder),
                                             MessageIcon::Warning,
                                             {MessageButton::Ok},
                                             MessageButton::Ok});
        return false;
    }
    m_folder = info.absoluteFilePath();
    SiteListing listing = listSite(m_folder);
    m_pages = std::move(listing.pages);
    m_skipped = std::move(listing.skipped);
    m_panel->showSite(m_folder, m_pages);
    m_panel->setPublishedAt(publishedAt());
    if (!m_panelSized) {
        // Narrow at first, so that the page's source keeps most of the window; the author's
        // own width is kept afterwards.
        m_panelSized = true;
        m_window.resizeDocks({m_panel}, {m_panel->fontMetrics().averageCharWidth() * 24},
                             Qt::Horizontal);
    }
    m_panel->show();
    m_bar->hide();
    m_offer.reset();
    rememberRecent(m_folder);
    // What the open pages hold now is the starting point for noticing changes.
    for (Page* page : m_window.pages()) watch(page);
    return true;
}

QString SiteController::publishedAt() const {
    return m_folder.isEmpty() ? QString() : site::publishedAt(m_settings, m_folder);
}

QStringList SiteController::recentEntries() const {
    return m_settings.value(kRecentKey).toStringList();
}

void SiteController::rememberRecent(const QString& path) {
    QStringList entries = recentEntries();
    entries.removeAll(path);
    entries.prepend(path);
    while (entries.size() > kRecentCount) entries.removeLast();
    m_settings.setValue(kRecentKey, entries);
}

void SiteController::fillRecentMenu() {
    m_recentMenu->clear();
    for (const QString& entry : recentEntries()) {
        const bool site = QFileInfo(entry).isDir();
        QAction* a =
            m_recentMenu->addAction(site ? tr("%1 (site)").arg(QDir::toNativeSeparators(entry))
                                         : QDir::toNativeSeparators(entry));
        connect(a, &QAction::triggered, this, [this, entry, site] {
            if (site) {
                openSite(entry);
            } else {
                m_window.openPage(entry);
            }
        });
    }
    m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

void SiteController::watch(Page* page) {
    if (m_folder.isEmpty() || m_known.contains(page)) return;
    m_known[page] = regionHashes(*page);
    connect(page, &QObject::destroyed, this, [this, page] { m_known.erase(page); });
    connect(page->document(), &QTextDocument::contentsChanged, this, [this, page] {
        if (m_window.activePage() == page) m_pause->start();
    });
}

SiteController::RegionHashes SiteController::regionHashes(Page& page) const {
    RegionHashes hashes;
    try {
        PageModel model(page.pageText());
        const auto snapshot = model.snapshot();
        std::map<std::string, int> seen;
        page::forEachElement(snapshot->parse().document(), [&](const GumboNode* e) {
            if (const char* id = page::attributeValue(e, "id"); id && *id) {
                if (++seen[id] == 1)
                    hashes[id] = std::hash<std::string>{}(contentSource(model, *snapshot, e));
            }
        });
        for (const auto& [id, count] : seen)
            if (count > 1) hashes.erase(id);
    } catch (const std::exception&) {
        // A page that cannot be parsed now offers nothing until it can.
    }
    return hashes;
}

void SiteController::checkActivePage() {
    Page* page = m_window.activePage();
    if (!page || m_folder.isEmpty() || !m_known.contains(page)) return;
    if (busy()) {
        m_pause->start();  // look again once the work in hand is done
        return;
    }
    RegionHashes now = regionHashes(*page);
    const RegionHashes& before = m_known[page];
    std::vector<std::string> changed;
    for (const auto& [id, hash] : now) {
        const auto it = before.find(id);
        if (it == before.end() || it->second != hash) changed.push_back(id);
    }
    m_known[page] = std::move(now);
    if (!changed.empty()) scanFor(page, std::move(changed));
}

void SiteController::scanFor(Page* page, std::vector<std::string> ids) {
    QStringList others = m_pages;
    others.removeAll(page->path());
    auto found = std::make_shared<Offer>(Offer{{}, page, {}});
    runInBackground(
        tr("Looking for the changed region on the site's pages"),
        [others, ids, found, skipped = m_skipped](TaskProgress& progress) {
            for (const std::string& id : ids) {
                found->pages = scanForRegion(others, QString::fromStdString(id), &progress);
                // Pages the listing left out (too large, say) are shown with why, unchecked.
                for (const SkippedEntry& entry : skipped) {
                    if (!entry.folder && mayHoldId(entry, QByteArray::fromStdString(id)))
                        found->pages.push_back(
                            {QFile::decodeName(entry.path), 0, std::nullopt, entry.reason});
                }
                found->id = id;
                if (!found->pages.empty() || progress.cancelled) return;
            }
        },
        [this, found](bool cancelled) {
            // A cancelled scan saw only some pages: offering those would update part of the site.
            if (cancelled) {
                m_window.statusBar()->showMessage(tr("Looking for the changed region cancelled."));
                return;
            }
            if (found->pages.empty() || !found->source || m_window.activePage() != found->source)
                return;
            m_offer = std::move(*found);
            const QString holders = m_offer->pages.size() == 1
                                        ? tr("1 other page of the site holds it: update it too?")
                                        : tr("%1 other pages of the site hold it: update them too?")
                                              .arg(m_offer->pages.size());
            m_bar->offer(
                tr("The element %1 changed on this page. %2").arg(quotedId(m_offer->id), holders));
        });
}

Page* SiteController::openPageAt(const QString& path) const {
    for (Page* p : m_window.pages())
        if (p->path() == path) return p;
    return nullptr;
}

std::optional<std::string> SiteController::sourceContent() {
    if (!m_offer || !m_offer->source) return std::nullopt;
    try {
        PageModel model(m_offer->source->pageText());
        const RegionInPage region = findRegion(model, m_offer->id);
        if (region.count == 1) return region.content;
    } catch (const std::exception&) {
    }
    m_window.messages().show(&m_window, {tr("Update Site"),
                                         tr("The page no longer holds one element %1; nothing was "
                                            "updated.")
                                             .arg(quotedId(m_offer->id)),
                                         MessageIcon::Warning,
                                         {MessageButton::Ok},
                                         MessageButton::Ok});
    m_bar->hide();
    m_offer.reset();
    return std::nullopt;
}

void SiteController::reviewOffer() {
    const auto content = sourceContent();
    if (!content || !m_dialogs) return;
    std::vector<RegionReviewItem> items;
    for (const RegionInPage& region : m_offer->pages) {
        RegionReviewItem item{region.path, QDir(m_folder).relativeFilePath(region.path), {}, true};
        Page* open = openPageAt(region.path);
        if (open) item.label += tr(" (open: changed in the editor, not saved)");
        if (!region.problem.isEmpty() || region.count != 1) {
            item.checked = false;
            item.label +=
                region.problem.isEmpty()
                    ? tr(" - holds the id %1 times, will not be changed").arg(region.count)
                    : QStringLiteral(" - ") + region.problem;
            items.push_back(std::move(item));
            continue;
        }
        // Read when the author looks at the page: a large site's pages are not all parsed.
        item.diff = [open = QPointer<Page>(open), region, id = m_offer->id, content = *content] {
            std::optional<std::string> old = region.content;
            if (open) {
                PageModel model(open->pageText());
                old = findRegion(model, id).content;
            } else if (!old) {
                old = regionContent(region.path, id);
            }
            return old ? sourceDiff(*old, content)
                       : tr("The page could not be read or no longer holds one "
                            "element with the id.");
        };
        items.push_back(std::move(item));
    }
    const auto checked = m_dialogs->reviewRegionUpdate(&m_window, QString::fromStdString(m_offer->id), items);
    if (checked) applyOffer(*checked);
}

void SiteController::applyOffer(const std::vector<bool>& checked) {
    if (busy()) return;
    const auto content = sourceContent();
    if (!content) return;
    std::vector<QPointer<Page>> open;
    QStringList closed;
    for (std::size_t i = 0; i < m_offer->pages.size(); ++i) {
        if (i < checked.size() && !checked[i]) continue;
        const QString& path = m_offer->pages[i].path;
        if (Page* p = openPageAt(path)) {
            open.emplace_back(p);
        } else {
            closed << path;
        }
    }
    const std::string id = m_offer->id;
    m_bar->hide();
    m_offer.reset();
    auto plan = std::make_shared<std::vector<PlannedPage>>();
    runInBackground(
        tr("Updating %1 on the site's pages").arg(quotedId(id)),
        [plan, closed, id, content = *content](TaskProgress& progress) {
            *plan = planSiteUpdate(closed, QString::fromStdString(id), content, &progress);
        },
        [this, plan, open, id, content = *content](bool cancelled) {
            if (cancelled) {
                m_window.statusBar()->showMessage(
                    tr("Site update cancelled; no page was changed."));
                return;
            }
            QStringList done, problems;
            const QDir root(m_folder);
            for (const QPointer<Page>& page : open) {
                if (!page) continue;
                PageModel model(page->pageText());
                const RegionEdit edit = replaceRegion(model, id, content);
                const QString name = root.relativeFilePath(page->path());
                if (edit.outcome == PageOutcome::Refused) {
                    problems << QStringLiteral("%1: %2").arg(name, edit.reason);
                } else if (edit.outcome == PageOutcome::Updated) {
                    done << name + tr(" (open, not saved)");
                }
                // The page now matches the site; that is no change of the author's to offer.
                if (m_known.contains(page)) m_known[page] = regionHashes(*page);
            }
            // Writing thousands of pages takes seconds, so it runs off the window's thread too.
            // It is past the point where Cancel could keep the site whole, so it offers none.
            auto written = std::make_shared<SiteUpdateUndo>();
            runInBackground(
                tr("Writing the updated pages"),
                [plan, written](TaskProgress&) { *written = commitSiteUpdate(*plan); },
                [this, plan, written, root, done, problems](bool) mutable {
                    for (const PlannedPage& page : *plan) {
                        const QString name = root.relativeFilePath(page.before.path);
                        if (page.outcome == PageOutcome::Refused) {
                            problems << QStringLiteral("%1: %2").arg(name, page.reason);
                        } else if (page.outcome == PageOutcome::Updated) {
                            done << name;
                        }
                    }
                    if (!written->pages.empty()) {
                        m_lastUpdate = std::move(*written);
                        m_undo->setEnabled(true);
                    }
                    report(tr("Update Site"), done, problems);
                    if (!done.isEmpty()) emit siteUpdated();
                },
                false);
        });
}

void SiteController::undoLastUpdate() {
    if (m_lastUpdate.pages.empty() || busy()) return;
    QStringList done, problems;
    const QDir root(m_folder);
    for (const RestoredPage& page : undoSiteUpdate(m_lastUpdate)) {
        const QString name = root.relativeFilePath(page.path);
        if (page.restored) {
            done << name;
        } else {
            problems << QStringLiteral("%1: %2").arg(name, page.reason);
        }
    }
    m_lastUpdate = {};
    m_undo->setEnabled(false);
    report(tr("Undo Site Update"), done, problems);
}

void SiteController::report(const QString& title, const QStringList& done,
                            const QStringList& problems) {
    m_window.statusBar()->showMessage(
        tr("%1: %2 changed, %3 left as %4.")
            .arg(title, countOfPages(done.size()), QString::number(problems.size()),
                 problems.size() == 1 ? tr("it was") : tr("they were")));
    if (problems.isEmpty()) return;
    m_window.messages().show(&m_window, {title,
                                         tr("%1 changed. These were left as they were:\n\n%2")
                                             .arg(countOfPages(done.size()), problems.join(u'\n')),
                                         MessageIcon::Warning,
                                         {MessageButton::Ok},
                                         MessageButton::Ok});
}

void SiteController::runInBackground(const QString& what,
                                     std::function<void(TaskProgress&)> work,
                                     std::function<void(bool cancelled)> done, bool cancellable) {
    m_task = std::make_unique<Task>();
    m_task->done = std::move(done);
    Task* task = m_task.get();
    task->what = what;
    task->thread = std::jthread([task, work = std::move(work)] {
        // An exception leaving a thread would end the editor with every page in it.
        try {
            work(task->progress);
        } catch (const std::bad_alloc&) {
            task->outOfMemory = true;
        } catch (const std::exception& e) {
            task->failure = QString::fromUtf8(e.what());
        } catch (...) {
            task->failure = tr("an unexpected failure");
        }
        task->finished = true;
    });
    m_progress->setRange(0, 0);
    m_progress->setToolTip(what);
    m_progress->show();
    m_cancel->setVisible(cancellable);
    m_window.statusBar()->showMessage(what);
    m_poll->start();
}

void SiteController::pollTask() {
    if (!m_task) return;
    const std::size_t total = m_task->progress.total;
    if (total > 0) {
        m_progress->setRange(0, int(total));
        m_progress->setValue(int(m_task->progress.done));
    }
    if (!m_task->finished) return;
    m_poll->stop();
    m_progress->hide();
    m_cancel->hide();
    m_window.statusBar()->clearMessage();
    std::unique_ptr<Task> task = std::move(m_task);
    task->thread.join();
    if (task->outOfMemory || !task->failure.isEmpty()) {
        const QString why = task->outOfMemory ? tr("there was not enough memory") : task->failure;
        m_window.messages().show(
            &m_window, {tr("Site"),
                        tr("%1 stopped: %2. The pages open in the editor are as they were.%3")
                            .arg(task->what, why,
                                 task->outOfMemory
                                     ? tr(" Close other pages or programs and try again.")
                                     : QString()),
                        MessageIcon::Warning,
                        {MessageButton::Ok},
                        MessageButton::Ok});
        return;
    }
    // A Cancel pressed after the work finished but before this still counts: nothing has
    // been written or edited yet.
    task->done(task->progress.cancelled);
}

}  // namespace host::site
