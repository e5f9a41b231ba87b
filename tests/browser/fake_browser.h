// A stand-in browser program for tests: a script that records its arguments and stays
// running until the test tells it to exit.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace testing_browser {

struct FakeRun {
    qint64 pid = 0;
    QStringList arguments;
};

// Sets an environment variable for the life of the object (unsets it for a null value).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

class FakeBrowser {
public:
    // `name` decides how the browser class treats the program: "chromium" and "firefox"
    // get a profile folder, anything else only the address. $BROWSER points at it until
    // the fake goes.
    explicit FakeBrowser(const QString& name = "fake-browser");
    ~FakeBrowser();
    FakeBrowser(const FakeBrowser&) = delete;
    FakeBrowser& operator=(const FakeBrowser&) = delete;

    QString program() const;
    QString folder() const { return m_dir.path(); }

    // The runs so far, in no particular order; waits (running events) until there are n.
    std::vector<FakeRun> runs() const;
    bool waitForRuns(std::size_t n, int timeoutMs = 10000) const;

    // Tells one run, or every run, to exit.
    void quit(qint64 pid) const;
    void quitAll() const;

private:
    QTemporaryDir m_dir;
    QString m_name;
    ScopedEnv m_browserVariable;
};

// Runs events until every browser process started by the browser class has exited and
// been cleaned up.
bool waitForNoBrowserProcess(int timeoutMs = 10000);

}  // namespace testing_browser
