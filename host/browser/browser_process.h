// One running browser process on a temporary profile of its own.
#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "host/browser/browser_program.h"

class QTemporaryDir;

namespace host {

// Lives as a child of the application, independent of the object that started it, so
// the browser may stay open after its caller has gone. When the process exits it removes
// the profile, tells its exit handler (if one is still set) and deletes itself. A browser
// still open when the application ends is closed with it, so no profile is left behind.
class BrowserProcess : public QObject {
    Q_OBJECT

public:
    // Starts the browser at `address`; throws com::Error when it cannot be started.
    static BrowserProcess* start(const BrowserProgram& browser, const QStringList& extra,
                                 const QString& address);
    ~BrowserProcess() override;

    // Called once, from the event loop, after the process has exited and the profile has
    // been removed. Setting an empty handler cancels the call.
    void setExitHandler(std::function<void()> handler) { m_onExit = std::move(handler); }

    qint64 processId() const { return m_process.processId(); }
    // The profile folder, empty for a program that gets none.
    QString profileDir() const;

private:
    BrowserProcess();
    void onFinished();

    QProcess m_process;
    std::unique_ptr<QTemporaryDir> m_profile;
    std::function<void()> m_onExit;
};

}  // namespace host
