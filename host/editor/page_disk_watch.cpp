// Watching page files for changes made by someone else, and the questions about them.
#include "host/editor/page_disk_watch.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "host/editor/page.h"

namespace host {

namespace {

const QString kTitle = QStringLiteral("pagehost");

}  // namespace

PageDiskWatch::PageDiskWatch(QWidget* window, MessageBoxService& messages)
    : QObject(window), m_window(window), m_messages(messages) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &PageDiskWatch::check);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
        m_fired.insert(path);
        // A file replaced by renaming another over it drops out of the watch.
        if (QFileInfo::exists(path)) m_watcher.addPath(path);
        // A short delay gathers the several notices one save by another program gives.
        m_timer.start(100);
    });
    window->installEventFilter(this);
}

void PageDiskWatch::watch(Page* page) {
    if (std::find(m_pages.begin(), m_pages.end(), page) == m_pages.end())
        m_pages.emplace_back(page);
    m_told.erase(page);
    watchFiles();
}

void PageDiskWatch::unwatch(Page* page) {
    std::erase_if(m_pages, [page](const QPointer<Page>& p) { return !p || p == page; });
    m_told.erase(page);
    watchFiles();
}

void PageDiskWatch::watchFiles() {
    QStringList wanted;
    for (const QPointer<Page>& page : m_pages) {
        if (page && !page->path().isEmpty() && QFileInfo::exists(page->path()))
            wanted.append(page->path());
    }
    const QStringList watched = m_watcher.files();
    for (const QString& path : watched) {
        if (!wanted.contains(path)) m_watcher.removePath(path);
    }
    for (const QString& path : wanted) {
        if (!watched.contains(path)) m_watcher.addPath(path);
    }
}

bool PageDiskWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::WindowActivate) m_timer.start(0);
    return false;
}

void PageDiskWatch::check() {
    // No question on top of another modal window (an add-in's wizard, say); the window is
    // activated again when that closes, and the check runs then.
    if (m_checking || QApplication::activeModalWidget()) return;
    m_checking = true;
    const QSet<QString> fired = std::exchange(m_fired, {});
    // Files removed and written again since are watched again.
    watchFiles();
    const std::vector<QPointer<Page>> pages = m_pages;
    for (const QPointer<Page>& page : pages) {
        if (!page || page->path().isEmpty()) continue;
        // Reading a file too large for memory must not end the editor.
        try {
            checkPage(page, !fired.contains(page->path()));
        } catch (const std::bad_alloc&) {
        }
    }
    m_checking = false;
}

void PageDiskWatch::checkPage(Page* page, bool quick) {
    const DiskChange change = page->diskChange(quick);
    if (change == DiskChange::None) {
        m_told.erase(page);
        return;
    }
    const DiskStamp now = currentStamp(page->path(), Page::fileRules());
    const auto told = m_told.find(page);
    if (told != m_told.end() && told->second.exists == now.exists && told->second.hash == now.hash)
        return;
    m_told[page] = now;
    const QString name = page->displayName();
    if (change == DiskChange::Removed) {
        ask(tr("%1 has been deleted, moved or made unreadable on disk. The editor keeps "
               "the page open; saving it writes the file again.")
                .arg(name),
            {MessageButton::Ok}, MessageButton::Ok);
    } else if (page->isModified()) {
        ask(tr("%1 has been changed on disk by another program, and the editor holds "
               "unsaved changes to it. When you save, the editor will ask whether to "
               "overwrite the file, reload it or save under another name.")
                .arg(name),
            {MessageButton::Ok}, MessageButton::Ok);
    } else if (ask(tr("%1 has been changed on disk by another program. Reload it?").arg(name),
                   {MessageButton::Reload, MessageButton::Cancel},
                   MessageButton::Reload) == MessageButton::Reload) {
        reload(page);
    }
}

PageDiskWatch::SaveChoice PageDiskWatch::confirmSave(Page* page) {
    const QString name = page->displayName();
    MessageButton answer = MessageButton::Overwrite;
    switch (page->diskChange()) {
        case DiskChange::None:
            return SaveChoice::Write;
        case DiskChange::Removed:
            answer = ask(tr("%1 has been deleted or moved since the editor opened or "
                            "last saved it. Save it there again?")
                             .arg(name),
                         {MessageButton::Save, MessageButton::SaveAs, MessageButton::Cancel},
                         MessageButton::Save);
            if (answer == MessageButton::Save) return SaveChoice::Write;
            break;
        case DiskChange::Changed:
            answer =
                ask(tr("%1 has been changed on disk by another program since the editor opened or "
                       "last saved it.\n\nOverwrite replaces the file with the page as the editor "
                       "holds it. Reload reads the file again and drops the editor's changes. Save "
                       "As writes the page to another file and keeps this one as it is.")
                        .arg(name),
                    {MessageButton::Overwrite, MessageButton::Reload, MessageButton::SaveAs,
                     MessageButton::Cancel},
                    MessageButton::Cancel);
            break;
    }
    switch (answer) {
        case MessageButton::Overwrite:
            return SaveChoice::Write;
        case MessageButton::SaveAs:
            return SaveChoice::SaveAs;
        case MessageButton::Reload:
            if (page->isModified() &&
                ask(tr("Reload %1 from disk? The changes you made in the editor will "
                       "be lost.")
                        .arg(name),
                    {MessageButton::Reload, MessageButton::Cancel},
                    MessageButton::Cancel) != MessageButton::Reload) {
                return SaveChoice::Cancel;
            }
            return reload(page) ? SaveChoice::Reloaded : SaveChoice::Cancel;
        default:
            return SaveChoice::Cancel;
    }
}

bool PageDiskWatch::reload(Page* page) {
    try {
        page->reload();
    } catch (const PageError& e) {
        m_messages.show(m_window, {tr("Reload Page"),
                                   e.message(),
                                   MessageIcon::Warning,
                                   {MessageButton::Ok},
                                   MessageButton::Ok});
        return false;
    }
    m_told.erase(page);
    return true;
}

MessageButton PageDiskWatch::ask(const QString& text, std::vector<MessageButton> buttons,
                                 MessageButton defaultButton) {
    return m_messages.show(
        m_window, {kTitle, text, buttons.size() > 1 ? MessageIcon::Question : MessageIcon::Warning,
                   std::move(buttons), defaultButton});
}

}  // namespace host
