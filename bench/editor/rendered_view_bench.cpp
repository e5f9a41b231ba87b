// The rendered view's cost: opening a page until both its source and its rendered view are
// painted, the memory the rendered view adds, and the editor's start with the view shown,
// each beside the editor with the view hidden, measured in the same run; opening a page
// until its rendered view has loaded it, beside a bare QWebEngineView loading the same file;
// and the Form Check on the same page, beside its opening.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QBuffer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "bench/editor/bench_editor_services.h"
#include "host/editor/editor_session.h"
#include "host/editor/file_dialog_service.h"
#include "host/editor/page.h"
#include "host/editor/editor_tab.h"
#include "host/editor/form_rehearsal_runner.h"
#include "host/formcheck/form_check.h"
#include "host/messagebox/message_box_service.h"
#include "host/preview/form_audit.h"
#include "host/preview/rendered_view_module.h"

namespace {

// Lets the window's thread sleep until something happens (at most a millisecond), rather than
// spin: processEvents drops the wait flag when given a time limit.
void waitForEvents() {
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
}

constexpr int kWaitMs = 120000;

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// The sign-up region after Finish with the shipped template and ordinary entries.
const QByteArray kSignUpRegion =
    "<div id=\"OstrelInsert\">\n<form class=\"ostrel-signup\" method=\"post\" "
    "action=\"https://www.ostrel.example/cgi/subscribe\" accept-charset=\"UTF-8\" "
    "aria-labelledby=\"ostrel-signup-heading\">\n"
    "  <h2 id=\"ostrel-signup-heading\">Stay in touch</h2>\n"
    "  <input type=\"hidden\" name=\"list\" value=\"gardenclub\" />\n"
    "  <input type=\"hidden\" name=\"tracking\" value=\"website\" />\n"
    "  <input type=\"hidden\" name=\"redirect\" value=\"https://club.example/thanks.html\" />\n"
    "  <input type=\"hidden\" name=\"start_message\" value=\"1\" />\n"
    "  <input type=\"hidden\" name=\"required\" value=\"name,from\" />\n"
    "  <p><label for=\"ostrel-signup-name\">Your name (required)</label>\n"
    "  <input type=\"text\" id=\"ostrel-signup-name\" name=\"name\" autocomplete=\"name\" /></p>\n"
    "  <p><label for=\"ostrel-signup-from\">Your e-mail address (required)</label>\n"
    "  <input type=\"email\" id=\"ostrel-signup-from\" name=\"from\" autocomplete=\"email\" /></p>\n"
    "  <p><button type=\"submit\">Subscribe</button></p>\n</form>\n</div>\n";

// A page of about `bytes` bytes that uses a style sheet and an image from its folder, with the
// sign-up form at its end.
QString writePage(std::int64_t bytes) {
    const QString path = folder().filePath(QStringLiteral("page-%1.html").arg(bytes));
    if (QFile::exists(path)) return path;
    QFile css(folder().filePath("style.css"));
    css.open(QIODevice::WriteOnly);
    css.write("body { font-family: sans-serif; } .x { color: #246; }\n");
    QByteArray page =
        "<!DOCTYPE html>\n<html><head><title>t</title><link rel=\"stylesheet\" "
        "href=\"style.css\"></head>\n<body>\n<h1>Caf\xC3\xA9</h1>\n";
    const QByteArray paragraph =
        "<p class=\"x\">Caf\xC3\xA9 na\xC3\xAFve r\xC3\xA9sum\xC3\xA9 text, with <a href=\"#top\">a "
        "link</a> and <b>some</b> more words to fill the line.</p>\n";
    while (page.size() + kSignUpRegion.size() < bytes) page += paragraph;
    page += kSignUpRegion + "</body>\n</html>\n";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(page);
    return path;
}

QString settingsFile(bool rendered) {
    const QString path = folder().filePath(rendered ? "shown.ini" : "hidden.ini");
    QSettings s(path, QSettings::IniFormat);
    s.setValue("View/RenderedPage", rendered);
    return path;
}

// Proportional set size of this process and every process under it (Chromium's helpers).
double treePssMiB(pid_t root = getpid()) {
    double kib = 0;
    std::ifstream rollup("/proc/" + std::to_string(root) + "/smaps_rollup");
    for (std::string key; rollup >> key;) {
        if (key == "Pss:") {
            double v;
            rollup >> v;
            kib += v;
            break;
        }
    }
    if (DIR* tasks = opendir(("/proc/" + std::to_string(root) + "/task").c_str())) {
        while (dirent* t = readdir(tasks)) {
            if (t->d_name[0] == '.') continue;
            std::ifstream children("/proc/" + std::to_string(root) + "/task/" + t->d_name + "/children");
            for (pid_t child; children >> child;) kib += treePssMiB(child) * 1024;
        }
        closedir(tasks);
    }
    return kib / 1024;
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Notes the first paint of a page's source, and when it came.
class SourcePainted : public QObject {
public:
    SourcePainted() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted && event->type() == QEvent::Paint && watched->parent() &&
            watched->parent()->objectName() == u"pageEditor") {
            painted = true;
            at = nowNs();
        }
        return false;
    }
    bool painted = false;
    long long at = 0;
};

bool bothPainted(const host::EditorTab& view) {
    return view.isSettled() && (view.rendered() || view.viewMode() == host::kSourceOnly);
}

struct Editor {
    explicit Editor(bool rendered) {
        bench.services.settingsPath = settingsFile(rendered);
        session = std::make_unique<host::EditorSession>(bench.services);
        session->window().show();
    }
    ~Editor() { session->shutdown(); }
    // Opens the page and waits until both its views are painted; `loaded` is when the
    // rendered view had loaded the page, `started` when that load started (0 with none).
    host::Page* openPainted(const QString& path, long long* loaded = nullptr,
                            long long* started = nullptr) {
        SourcePainted source;
        host::Page* page = session->window().openPage(path);
        host::EditorTab* view = session->window().tabOf(page);
        const auto done = [&] { return source.painted && bothPainted(*view); };
        QPointer<QWebEngineView> rendered;
        QMetaObject::Connection finished, begun;
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < kWaitMs) {
            if (loaded && !rendered && (rendered = view->findChild<QWebEngineView*>())) {
                *loaded = 0;
                finished = QObject::connect(rendered->page(), &QWebEnginePage::loadFinished,
                                            rendered->page(), [loaded] { *loaded = nowNs(); });
                if (started)
                    begun = QObject::connect(rendered->page(), &QWebEnginePage::loadStarted,
                                             rendered->page(), [started] {
                                                 if (!*started) *started = nowNs();
                                             });
            }
            waitForEvents();
        }
        QObject::disconnect(finished);
        QObject::disconnect(begun);
        return page;
    }

    BenchEditorServices bench;
    std::unique_ptr<host::EditorSession> session;
};

// Args: page size, rendered view shown (0 or 1).
void BM_OpenUntilPainted(benchmark::State& state) {
    const QString path = writePage(state.range(0));
    const bool rendered = state.range(1) != 0;
    Editor editor(rendered);
    // Chromium starts once per process; that start belongs to the editor's, measured below.
    editor.session->window().closePage(editor.openPainted(writePage(1024)));
    double pss = 0;
    std::vector<double> loaded, started;
    for (auto _ : state) {
        const long long start = nowNs();
        long long loadedAt = 0, startedAt = 0;
        host::Page* page = editor.openPainted(path, &loadedAt, &startedAt);
        state.SetIterationTime((nowNs() - start) / 1e9);
        if (loadedAt) loaded.push_back((loadedAt - start) / 1e6);
        if (startedAt) started.push_back((startedAt - start) / 1e6);
        pss = treePssMiB();
        editor.session->window().closePage(page);
    }
    state.counters["pss_MiB"] = pss;
    if (!loaded.empty()) {
        std::sort(loaded.begin(), loaded.end());
        state.counters["loaded_ms"] = loaded[loaded.size() / 2];  // the median
    }
    if (!started.empty()) {
        std::sort(started.begin(), started.end());
        state.counters["load_started_ms"] = started[started.size() / 2];
    }
}

// Serves one page's bytes from memory, as plainly as Qt allows, and nothing else.
class BareSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    explicit BareSchemeHandler(QByteArray html) : m_html(std::move(html)) {}
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        if (!job->requestUrl().path().endsWith(u".html")) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* body = new QBuffer(job);
        body->setData(m_html);
        body->open(QIODevice::ReadOnly);
        job->reply("text/html;charset=utf-8", body);
    }

private:
    QByteArray m_html;
};

// The floor for the rendered side: a bare QWebEngineView, made and shown at the editor's
// size, loading the same page, until it has loaded (as "loaded_ms" above). Args: page size,
// and how: 0 from its file, 1 from memory through a bare handler of the editor's scheme on
// an off-the-record profile of its own (what Qt's custom schemes cost, before any of ours).
void BM_BareWebView(benchmark::State& state) {
    const QString path = writePage(state.range(0));
    const bool throughScheme = state.range(1) != 0;
    {
        // Chromium starts as the editor starts it (its switches and its scheme), and before
        // the timing.
        QString failure;
        host::preview::createRenderedView({}, nullptr, &failure);
        QWebEngineView warm;
        warm.load(QUrl::fromLocalFile(writePage(1024)));
        bool done = false;
        QObject::connect(&warm, &QWebEngineView::loadFinished, [&] { done = true; });
        while (!done) waitForEvents();
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray html = file.readAll();
    for (auto _ : state) {
        const long long start = nowNs();
        // Made in this order so that they go view first, profile last.
        QWebEngineProfile profile;
        BareSchemeHandler handler(html);
        std::unique_ptr<QWebEnginePage> page;
        QWebEngineView view;
        if (throughScheme) {
            profile.installUrlSchemeHandler("ostrel-page", &handler);
            page = std::make_unique<QWebEnginePage>(&profile);
            view.setPage(page.get());
        }
        view.resize(480, 680);
        view.show();
        bool done = false;
        QObject::connect(&view, &QWebEngineView::loadFinished, [&] { done = true; });
        view.load(throughScheme ? QUrl(QStringLiteral("ostrel-page://") + path)
                                : QUrl::fromLocalFile(path));
        while (!done) waitForEvents();
        state.SetIterationTime((nowNs() - start) / 1e9);
    }
}

// The Form Check on the page the rendered view opens above: one parse and every check, as the
// editor runs it after Finish. Args: page size.
void BM_CheckForm(benchmark::State& state) {
    const QString path = writePage(state.range(0));
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray page = file.readAll();
    const host::formcheck::PageContext context{path, folder().path(), QString()};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto findings = host::formcheck::checkForm(page, context);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!findings.empty()) {
            state.SkipWithError("the benchmark page's form has findings");
            break;
        }
    }
}

// The rendered form's accessibility audit on the page the rendered view has loaded: from the
// request until the answer is back. Args: page size, and 1 as the check that runs by itself
// after Finish asks for it (with its element limit), 0 as the author's request.
void BM_AuditForm(benchmark::State& state) {
    const QString path = writePage(state.range(0));
    const int elementLimit =
        state.range(1) ? host::preview::kAutomaticAuditElementLimit : 0;
    Editor editor(true);
    host::Page* page = editor.openPainted(path);
    host::EditorTab* tab = editor.session->window().tabOf(page);
    for (auto _ : state) {
        const long long start = nowNs();
        bool done = false;
        QString failure;
        tab->auditForm(QStringLiteral("OstrelInsert"), elementLimit, [&](const QByteArray&, const QString& why) {
            failure = why;
            done = true;
        });
        while (!done) waitForEvents();
        state.SetIterationTime((nowNs() - start) / 1e9);
        if (!failure.isEmpty()) {
            state.SkipWithError(failure.toStdString().c_str());
            break;
        }
    }
    editor.session->window().closePage(page);
}

// The thank-you page of the benchmark's form, in the folder its pages are published from.
void writeThanks(const QString& dir) {
    QFile f(QDir(dir).filePath(QStringLiteral("thanks.html")));
    f.open(QIODevice::WriteOnly);
    f.write("<!DOCTYPE html>\n<title>Thanks</title>\n<p>Check your inbox.</p>\n");
}

// The sign-up rehearsal of the page the rendered view opens above, in the runner's own view
// (made before the timing, as the editor's panel keeps it): its load, the form filled in and
// sent, and the thank-you page loaded. Args: page size.
void BM_Rehearsal(benchmark::State& state) {
    const QString path = writePage(state.range(0));
    writeThanks(folder().path());
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray page = file.readAll();
    const host::formcheck::PageContext context{path, folder().path(),
                                               QStringLiteral("https://club.example/")};
    host::FormRehearsalRunner runner;
    runner.rehearseNow(page, context);  // Chromium starts, and the view is made, before the timing
    for (auto _ : state) {
        const long long start = nowNs();
        const host::formcheck::Rehearsal r = runner.rehearseNow(page, context);
        state.SetIterationTime((nowNs() - start) / 1e9);
        if (!r.ran || !r.findings.empty() || r.thankYouFile.isEmpty()) {
            state.SkipWithError(host::formcheck::rehearsalSummary(r).toStdString().c_str());
            break;
        }
    }
}

// pagehost --check-form on a site folder of 20 pages of 20 KB with the sign-up form, in a
// process of its own. Args: 1 with the rehearsal, 0 with --no-rehearsal.
void BM_CheckFormCommand(benchmark::State& state) {
    const QString site = folder().filePath(QStringLiteral("site20"));
    if (!QDir(site).exists()) {
        QDir().mkpath(site);
        writeThanks(site);
        QFile source(writePage(20 << 10));
        source.open(QIODevice::ReadOnly);
        const QByteArray page = source.readAll();
        for (int i = 0; i < 20; ++i) {
            QFile f(QDir(site).filePath(QStringLiteral("page-%1.html").arg(i)));
            f.open(QIODevice::WriteOnly);
            f.write(page);
        }
    }
    QStringList args{QStringLiteral("--check-form"), QStringLiteral("--published-at"),
                     QStringLiteral("https://club.example/"), site};
    if (state.range(0) == 0) args.insert(1, QStringLiteral("--no-rehearsal"));
    for (auto _ : state) {
        const long long start = nowNs();
        QProcess run;
        run.start(QStringLiteral(PAGEHOST), args);
        run.waitForFinished(kWaitMs);
        state.SetIterationTime((nowNs() - start) / 1e9);
        if (run.exitCode() != 0) {
            state.SkipWithError(run.readAllStandardOutput().toStdString().c_str());
            break;
        }
    }
}

// A fresh process per start: from its launch until the editor window has painted the sample
// page's source; "rendered_ms" is until its rendered view is painted too.
void BM_EditorStart(benchmark::State& state) {
    const bool rendered = state.range(0) != 0;
    double toRendered = 0;
    for (auto _ : state) {
        QProcess child;
        const long long start = nowNs();
        child.start(QCoreApplication::applicationFilePath(),
                    {"--child-start", settingsFile(rendered), SAMPLE_PAGE});
        child.waitForFinished(kWaitMs);
        std::istringstream out(child.readAllStandardOutput().toStdString());
        long long started = 0, painted = 0;
        out >> started >> painted;
        const auto since = [&](long long ns) { return (ns - start) / 1e9; };
        state.SetIterationTime(since(started));
        toRendered = since(painted) * 1e3;
    }
    state.counters["rendered_ms"] = toRendered;
}

// The child of BM_EditorStart: prints when the source was painted and when both were.
int childStart(const QString& settings, const QString& page) {
    BenchEditorServices bench;
    bench.services.settingsPath = settings;
    host::EditorSession session(bench.services);
    SourcePainted source;
    host::Page* opened = session.window().openPage(page);
    session.window().show();
    while (!source.painted) waitForEvents();
    host::EditorTab* view = session.window().tabOf(opened);
    while (!bothPainted(*view))
        waitForEvents();
    std::printf("%lld %lld\n", source.at, nowNs());
    session.shutdown();
    return 0;
}

// The first open of a 1 MB page in a fresh process, Chromium's start included. Args: 1 the
// editor, from its launch until the page's source and rendered page are painted (counters:
// when the source was painted, the rendered view made, its load started and finished); 0 a
// bare QWebEngineView started as the editor starts Chromium, until it has loaded the page.
void BM_ColdOpen(benchmark::State& state) {
    const bool editor = state.range(0) != 0;
    const QString page = writePage(1 << 20);
    std::vector<double> steps[4];
    for (auto _ : state) {
        QProcess child;
        const long long start = nowNs();
        child.start(QCoreApplication::applicationFilePath(),
                    {"--child-cold", editor ? "editor" : "bare", settingsFile(true), page});
        child.waitForFinished(kWaitMs);
        std::istringstream out(child.readAllStandardOutput().toStdString());
        long long done = 0;
        out >> done;
        state.SetIterationTime((done - start) / 1e9);
        for (auto& step : steps) {
            long long at = 0;
            if (out >> at) step.push_back((at - start) / 1e6);
        }
    }
    const char* names[] = {"source_painted_ms", "view_made_ms", "load_started_ms", "loaded_ms"};
    for (int i = 0; i < 4; ++i) {
        if (steps[i].empty()) continue;
        std::sort(steps[i].begin(), steps[i].end());
        state.counters[names[i]] = steps[i][steps[i].size() / 2];
    }
}

// The child of BM_ColdOpen: prints when it was done, and for the editor its steps.
int childCold(bool editor, const QString& settings, const QString& path) {
    if (!editor) {
        QString failure;
        host::preview::createRenderedView({}, nullptr, &failure);
        QWebEngineView view;
        view.resize(480, 680);
        view.show();
        bool done = false;
        QObject::connect(&view, &QWebEngineView::loadFinished, [&] { done = true; });
        view.load(QUrl::fromLocalFile(path));
        while (!done) waitForEvents();
        std::printf("%lld\n", nowNs());
        return 0;
    }
    BenchEditorServices bench;
    bench.services.settingsPath = settings;
    host::EditorSession session(bench.services);
    SourcePainted source;
    host::Page* opened = session.window().openPage(path);
    session.window().show();
    host::EditorTab* view = session.window().tabOf(opened);
    long long made = 0, started = 0, loaded = 0;
    QPointer<QWebEngineView> rendered;
    while (!source.painted || !bothPainted(*view)) {
        if (!rendered && (rendered = view->findChild<QWebEngineView*>())) {
            made = nowNs();
            QObject::connect(rendered->page(), &QWebEnginePage::loadStarted, rendered->page(),
                             [&started] {
                                 if (!started) started = nowNs();
                             });
            QObject::connect(rendered->page(), &QWebEnginePage::loadFinished, rendered->page(),
                             [&loaded] { loaded = nowNs(); });
        }
        waitForEvents();
    }
    std::printf("%lld %lld %lld %lld %lld\n", nowNs(), source.at, made, started, loaded);
    session.shutdown();
    return 0;
}

}  // namespace

BENCHMARK(BM_ColdOpen)->Arg(1)->Arg(0)->Iterations(5)->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenUntilPainted)
    ->Args({100 << 10, 0})->Args({1 << 20, 0})->Args({100 << 10, 1})->Args({1 << 20, 1})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareWebView)->Args({100 << 10, 0})->Args({1 << 20, 0})->Args({100 << 10, 1})->Args({1 << 20, 1})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CheckForm)->Arg(1 << 20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rehearsal)->Arg(100 << 10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckFormCommand)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
BENCHMARK(BM_AuditForm)->Args({100 << 10, 1})->Args({1 << 20, 1})->Args({1 << 20, 0})
    ->Iterations(3)->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorStart)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Chromium will not start its sandbox as root, as when benchmarks run in a container.
    if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc == 4 && std::string_view(argv[1]) == "--child-start")
        return childStart(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 5 && std::string_view(argv[1]) == "--child-cold") {
        return childCold(std::string_view(argv[2]) == "editor", QString::fromLocal8Bit(argv[3]),
                         QString::fromLocal8Bit(argv[4]));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
