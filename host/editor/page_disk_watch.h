// Notices when someone else changes the file of an open page, and asks the author what to
// do before the editor's copy and the file part ways.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <map>
#include <vector>

#include "host/pagefile/page_file.h"
#include "host/messagebox/message_box_service.h"

class QWidget;

namespace host {

class Page;

class PageDiskWatch : public QObject {
    Q_OBJECT
public:
    enum class SaveChoice { Write, SaveAs, Reloaded, Cancel };

    // Checks the pages whenever `window` is activated and whenever a watched file changes.
    PageDiskWatch(QWidget* window, MessageBoxService& messages);

    // Starts watching the page's file; again after it was saved under another name.
    void watch(Page* page);
    void unwatch(Page* page);

    // Before the page is written to its own file: when someone else changed or removed the
    // file since the editor last read or wrote it, asks whether to overwrite it, reload the
    // page (after a second question when that drops changes) or save under another name.
    SaveChoice confirmSave(Page* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchFiles();
    void check();
    void checkPage(Page* page, bool quick);
    bool reload(Page* page);
    MessageButton ask(const QString& text, std::vector<MessageButton> buttons,
                      MessageButton defaultButton);

    QWidget* m_window;
    MessageBoxService& m_messages;
    QFileSystemWatcher m_watcher;
    QTimer m_timer;
    std::vector<QPointer<Page>> m_pages;
    QSet<QString> m_fired;  // files the watcher reported since the last check
    // Per page, the file contents the author was last told about, so that one change is
    // told once.
    std::map<const Page*, DiskStamp> m_told;
    bool m_checking = false;
};

}  // namespace host
