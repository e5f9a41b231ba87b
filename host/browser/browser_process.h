// One running browser process on a temporary profile of its own.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "host/browser/browser_program.h"

class QSocketNotifier;
class QTimer;

namespace host {

// Lives as a child of the application, independent of the object that started it, so
// the browser may stay open after its caller has gone. When the process exits it removes
// the profile, tells its exit handler (if one is still set) and deletes itself. The browser
// is not a child of the editor: one still open when the editor ends stays open, with what
// the author typed there, and its profile is removed by the editor's next start
// (removeLeftoverProfiles) once it has ended.
class BrowserProcess : public QObject {
    Q_OBJECT

public:
    // Starts the browser at `address`; throws com::Error when it cannot be started.
    static BrowserProcess* start(const BrowserProgram& browser, const QStringList& extra,
                                 const QString& address);
    // Stops watching; the browser itself is left running.
    ~BrowserProcess() override;

    // Called once, from the event loop, after the process has exited and the profile has
    // been removed. Setting an empty handler cancels the call.
    void setExitHandler(std::function<void()> handler) { m_onExit = std::move(handler); }

    qint64 processId() const { return m_pid; }
    // The profile folder, empty for a program that gets none.
    QString profileDir() const { return m_profileDir; }

private:
    BrowserProcess();
    void watchExit();
    void onFinished();

    qint64 m_pid = 0;
    std::string m_startTicks;
    int m_exitFd = -1;  // a pidfd, readable once the process has ended
    QSocketNotifier* m_exitNotifier = nullptr;
    QTimer* m_exitPoll = nullptr;  // where the kernel has no pidfd
    QString m_profileDir;
    std::function<void()> m_onExit;
};

}  // namespace host
