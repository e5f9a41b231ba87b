// Starting a browser process, watching it exit, and removing its profile afterwards.
#include "host/browser/browser_process.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "com/error.h"
#include "com/web_browser.h"

namespace host {
namespace {

// How long a browser still open at application end gets to close before it is killed.
constexpr int kCloseAtExitMs = 3000;

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
        self->m_profile =
            std::make_unique<QTemporaryDir>(QDir::tempPath() + "/ostrel-browser-XXXXXX");
        if (!self->m_profile->isValid()) {
            throw startFailure("Cannot create a profile folder for the web browser: " +
                               self->m_profile->errorString());
        }
    }

    QProcess& process = self->m_process;
    process.setProgram(browser.program);
    process.setArguments(
        browserArguments(browser, self->profileDir(), extra, address, ::geteuid() == 0));
    // The browser must not read the editor's input; its chatter on stdout is of no use.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Queued, so that the exit is handled as an event of its own between other events.
    connect(&process, &QProcess::finished, self.get(), &BrowserProcess::onFinished,
            Qt::QueuedConnection);

    // No shell: the program is executed directly, every argument passed as it is.
    process.start();
    if (!process.waitForStarted()) {
        throw startFailure("Cannot start the web browser " + browser.program + ": " +
                           process.errorString());
    }
    return self.release();
}

BrowserProcess::~BrowserProcess() {
    m_onExit = nullptr;
    if (m_process.state() != QProcess::NotRunning) {
        disconnect(&m_process, nullptr, this, nullptr);
        m_process.terminate();
        if (!m_process.waitForFinished(kCloseAtExitMs)) {
            m_process.kill();
            m_process.waitForFinished(kCloseAtExitMs);
        }
    }
}

QString BrowserProcess::profileDir() const {
    return m_profile ? m_profile->path() : QString();
}

void BrowserProcess::onFinished() {
    // Helpers that the browser left behind may still be writing into the profile; what
    // they leave there goes with the temporary folder all the same.
    m_profile.reset();
    if (auto handler = std::exchange(m_onExit, nullptr)) handler();
    deleteLater();
}

}  // namespace host
