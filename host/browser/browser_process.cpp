// Starting a browser process, watching it exit, and removing its profile afterwards.
#include "host/browser/browser_process.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "com/error.h"
#include "com/web_browser.h"
#include "host/browser/browser_profiles.h"
#include "platform/process/process_identity.h"

namespace host {

using platform::process::processStartTicks;
using platform::process::processRuns;
namespace {

// How often a browser is looked for where the kernel cannot report its end.
constexpr int kExitPollMs = 250;
// Helpers the browser left behind may go on writing into its profile for a moment after it
// ended; the folder is removed again until it is gone, this often and this many times.
constexpr int kProfileRetryMs = 200;
constexpr int kProfileTries = 25;

void removeProfile(const QString& folder, int triesLeft) {
    if (QDir(folder).removeRecursively() || triesLeft <= 1) return;
    QTimer::singleShot(kProfileRetryMs, QCoreApplication::instance(),
                       [folder, triesLeft] { removeProfile(folder, triesLeft - 1); });
}

com::Error startFailure(const QString& what) {
    return com::Error(com::errc::cannotCreateObject, what.toStdString(),
                      std::string(com::kBrowserProgId));
}

}  // namespace

BrowserProcess::BrowserProcess() : QObject(QCoreApplication::instance()) {}

BrowserProcess* BrowserProcess::start(const BrowserProgram& browser, const QStringList& extra,
                                      const QString& address) {
    if (!QCoreApplication::instance()) {
        throw startFailure("The web browser cannot be started before the application is running");
    }
    std::unique_ptr<BrowserProcess> self(new BrowserProcess);
    if (browser.family != BrowserFamily::Other) {
        QTemporaryDir profile(QDir::tempPath() + "/" + kProfilePattern);
        if (!profile.isValid()) {
            throw startFailure("Cannot create a profile folder for the web browser: " +
                               profile.errorString());
        }
        // The folder outlives this object when the editor ends before the browser.
        profile.setAutoRemove(false);
        self->m_profileDir = profile.path();
    }

    QProcess process;
    process.setProgram(browser.program);
    process.setArguments(
        browserArguments(browser, self->profileDir(), extra, address, ::geteuid() == 0));
    // The browser must not read the editor's input; its chatter on stdout is of no use.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    // Detached, so that the browser is no child of the editor and is not ended with it. No
    // shell: the program is executed directly, every argument passed as it is.
    if (!process.startDetached(&self->m_pid)) {
        if (!self->m_profileDir.isEmpty()) QDir(self->m_profileDir).removeRecursively();
        throw startFailure("Cannot start the web browser " + browser.program + ": " +
                           process.errorString());
    }
    self->m_startTicks = processStartTicks(static_cast<long>(self->m_pid)).value_or("");
    if (!self->m_profileDir.isEmpty()) markProfile(self->m_profileDir, self->m_pid);
    self->watchExit();
    return self.release();
}

void BrowserProcess::watchExit() {
    m_exitFd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(m_pid), 0));
    if (m_exitFd >= 0) {
        m_exitNotifier = new QSocketNotifier(m_exitFd, QSocketNotifier::Read, this);
        connect(m_exitNotifier, &QSocketNotifier::activated, this, &BrowserProcess::onFinished);
        return;
    }
    // Ended already, or a kernel without pidfd: look now and then.
    m_exitPoll = new QTimer(this);
    connect(m_exitPoll, &QTimer::timeout, this, [this] {
        if (!processRuns(static_cast<long>(m_pid), m_startTicks)) onFinished();
    });
    m_exitPoll->start(kExitPollMs);
}

BrowserProcess::~BrowserProcess() {
    m_onExit = nullptr;
    delete m_exitNotifier;
    if (m_exitFd >= 0) ::close(m_exitFd);
}

void BrowserProcess::onFinished() {
    if (m_exitNotifier) m_exitNotifier->setEnabled(false);
    if (m_exitPoll) m_exitPoll->stop();
    // What helpers left behind in the profile goes with the folder all the same.
    if (!m_profileDir.isEmpty()) removeProfile(std::exchange(m_profileDir, QString()), kProfileTries);
    if (auto handler = std::exchange(m_onExit, nullptr)) handler();
    deleteLater();
}

}  // namespace host
