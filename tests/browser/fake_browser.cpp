// The fake browser script and the helpers that read what it recorded.
#include "browser/fake_browser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "host/browser/browser_process.h"

namespace testing_browser {
namespace {

// Arguments go to <pid>.args, NUL-separated, written whole before the file appears. The
// script gives up after a minute, so a test that dies leaves nothing running for long.
QByteArray scriptFor(const QString& dir) {
    const QByteArray d = QFile::encodeName(dir);
    return "#!/bin/sh\n"
           "printf '%s\\0' \"$@\" > '" +
           d +
           "/'$$.tmp\n"
           "mv '" +
           d + "/'$$.tmp '" + d +
           "/'$$.args\n"
           "n=0\n"
           "while [ ! -e '" +
           d + "/quit-'$$ ] && [ ! -e '" + d +
           "/quit-all' ] && [ $n -lt 1200 ]; do\n"
           "  sleep 0.05; n=$((n+1))\n"
           "done\n";
}

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    if (value.isNull()) {
        qunsetenv(name);
    } else {
        qputenv(name, value);
    }
}

ScopedEnv::~ScopedEnv() {
    if (m_wasSet) {
        qputenv(m_name, m_old);
    } else {
        qunsetenv(m_name);
    }
}

FakeBrowser::FakeBrowser(const QString& name)
    : m_name(name), m_browserVariable("BROWSER", QFile::encodeName(m_dir.filePath(name))) {
    QFile script(program());
    script.open(QIODevice::WriteOnly);
    script.write(scriptFor(m_dir.path()));
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

FakeBrowser::~FakeBrowser() {
    quitAll();
    waitForNoBrowserProcess();
}

QString FakeBrowser::program() const {
    return m_dir.filePath(m_name);
}

std::vector<FakeRun> FakeBrowser::runs() const {
    std::vector<FakeRun> result;
    const QDir dir(m_dir.path());
    for (const QString& file : dir.entryList({"*.args"}, QDir::Files)) {
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly)) continue;
        FakeRun run;
        run.pid = file.chopped(5).toLongLong();
        QList<QByteArray> parts = f.readAll().split('\0');
        parts.removeLast();  // after the last terminator
        for (const QByteArray& p : parts) run.arguments << QString::fromUtf8(p);
        result.push_back(run);
    }
    return result;
}

bool FakeBrowser::waitForRuns(std::size_t n, int timeoutMs) const {
    return QTest::qWaitFor([&] { return runs().size() >= n; }, timeoutMs);
}

void FakeBrowser::quit(qint64 pid) const {
    QFile(m_dir.filePath(QString("quit-%1").arg(pid))).open(QIODevice::WriteOnly);
}

void FakeBrowser::quitAll() const {
    QFile(m_dir.filePath("quit-all")).open(QIODevice::WriteOnly);
}

bool waitForNoBrowserProcess(int timeoutMs) {
    return QTest::qWaitFor(
        [] {
            return QCoreApplication::instance()->findChildren<host::BrowserProcess*>().isEmpty();
        },
        timeoutMs);
}

}  // namespace testing_browser
