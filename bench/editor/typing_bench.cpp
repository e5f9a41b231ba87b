// Typing into a 1 MB page in the source view: the time from each key press until the view
// has painted it, with the HTML colours on, beside the same typing with them off; and in the
// editor, keys pressed while the rendered view's refresh starts, beside the same with the
// rendered view hidden.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextDocumentLayout>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

#include "bench/editor/bench_editor_services.h"
#include "host/editor/editor_session.h"
#include "host/editor/editor_tab.h"
#include "host/editor/file_dialog_service.h"
#include "host/editor/page.h"
#include "host/messagebox/message_box_service.h"
#include "host/sourceview/source_view.h"

namespace {

// About 1 MB of paragraphs with attributes, entities and non-ASCII text, and a script.
QString onePageOfAMegabyte() {
    QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><title>t</title>\n<style>p { margin: 0 }</style>\n"
        "</head>\n<body>\n");
    const QString paragraph = QStringLiteral(
        "<p class=\"x\" id=p>Caf\u00E9 na\u00EFve r\u00E9sum\u00E9 &amp; text, some more "
        "words to fill the line.</p>\n");
    while (page.size() < (1 << 20)) page += paragraph;
    return page + QStringLiteral("<script>var a = 1 < 2;</script>\n</body>\n</html>\n");
}

void sendKey(QWidget& target, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&target, &release);
}

void BM_TypeIntoPage(benchmark::State& state, bool highlighting) {
    QTextDocument document;
    document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
    document.setPlainText(onePageOfAMegabyte());
    host::SourceView view(&document);
    view.setHighlighting(highlighting);
    view.resize(960, 680);
    view.show();
    while (!view.highlightingComplete()) QApplication::processEvents();
    // Inside a paragraph in the middle of the page.
    const QTextBlock middle = document.findBlockByNumber(document.blockCount() / 2);
    QTextCursor cursor(middle);
    cursor.setPosition(middle.position() + int(middle.text().indexOf(u'<', 1)));
    view.setTextCursor(cursor);
    QApplication::processEvents();

    const QString typed = QStringLiteral("Hello <b>world</b> &amp; caf\u00E9 ");
    std::vector<double> perKey;
    for (auto _ : state) {
        for (int round = 0; round < 8; ++round) {
            for (QChar c : typed) {
                const auto start = std::chrono::steady_clock::now();
                sendKey(view, c);
                QApplication::processEvents();  // the repaint the key asked for
                perKey.push_back(
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                        .count());
            }
        }
        std::sort(perKey.begin(), perKey.end());
        state.SetIterationTime(perKey[perKey.size() / 2]);
    }
    state.counters["keys"] = double(perKey.size());
    state.counters["slowest_ms"] = perKey.back() * 1e3;
}

BENCHMARK_CAPTURE(BM_TypeIntoPage, highlighted, true)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TypeIntoPage, plain, false)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

using Clock = std::chrono::steady_clock;

// The window's thread's own time: what it spends working, not waiting for a core, so that
// a busy machine does not pass for a slow key.
double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Sleeps until something happens (at most a millisecond) rather than spin.
void waitForEvents() {
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
}

// Notes when the editor's refresh timer goes off, before it is handled.
class RefreshWatch : public QObject {
public:
    RefreshWatch() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* timer = qobject_cast<QTimer*>(watched);
        if (event->type() == QEvent::Timer && timer &&
            timer->objectName() == QLatin1String("renderedRefresh") && !fired) {
            fired = true;
            at = Clock::now();
            cpuAt = threadCpuSeconds();
            // Handled here, so that its own time is known.
            watched->event(event);
            handling = threadCpuSeconds() - cpuAt;
            return true;
        }
        return false;
    }
    bool fired = false;
    Clock::time_point at;
    double cpuAt = 0;
    double handling = 0;
};

void placeCursorMidPage(QPlainTextEdit& view) {
    QTextDocument& document = *view.document();
    const QTextBlock middle = document.findBlockByNumber(document.blockCount() / 2);
    QTextCursor cursor(middle);
    cursor.setPosition(middle.position() + int(middle.text().indexOf(u'<', 1)));
    view.setTextCursor(cursor);
}

// The editor with the 1 MB page open, the rendered view shown or not, its source settled.
struct OpenEditor {
    explicit OpenEditor(bool rendered) {
        QFile file(dir.filePath("page.html"));
        file.open(QIODevice::WriteOnly);
        file.write(onePageOfAMegabyte().toUtf8());
        file.close();
        {
            QSettings settings(dir.filePath("pagehost.ini"), QSettings::IniFormat);
            settings.setValue("View/RenderedPage", rendered);
        }
        bench.services.settingsPath = dir.filePath("pagehost.ini");
        session = std::make_unique<host::EditorSession>(bench.services);
        session->window().show();
        page = session->window().openPage(file.fileName());
        tab = session->window().tabOf(page);
        source = static_cast<host::SourceView*>(tab->source());
        while (!source->highlightingComplete() || !tab->isSettled() ||
               (rendered && !tab->rendered()))
            waitForEvents();
        placeCursorMidPage(*source);
    }
    ~OpenEditor() {
        page->document()->setModified(false);
        session->shutdown();
    }
    QTemporaryDir dir;
    BenchEditorServices bench;
    std::unique_ptr<host::EditorSession> session;
    host::Page* page = nullptr;
    host::EditorTab* tab = nullptr;
    host::SourceView* source = nullptr;
};

// Busy threads at the editor's own priority, as many as the machine has cores: the other
// work of a loaded machine, the same for every run.
class BackgroundLoad {
public:
    BackgroundLoad() {
        for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i) {
            m_threads.emplace_back([this] {
                while (!m_stop.load(std::memory_order_relaxed)) {
                }
            });
        }
    }
    ~BackgroundLoad() {
        m_stop = true;
        for (auto& t : m_threads) t.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

// Args: rendered view shown (0 or 1). A typist under a fixed background load: words of six
// keys 120 ms apart, with a pause of 400 ms after each, in which the rendered view's refresh
// may go off (its render then runs as the next word is typed); each key from when it was
// due until painted, on the clock (what the author waits), 90th percentile; keys_over_16ms
// counts the keys that missed a frame.
void BM_TypeUnderLoad(benchmark::State& state) {
    OpenEditor editor(state.range(0) != 0);
    const QString typed = QStringLiteral("Hello <b>world</b> &amp; caf\u00E9 ");
    int next = 0;
    std::vector<double> wall;
    {
        BackgroundLoad load;
        for (auto _ : state) {
            for (int word = 0; word < 20; ++word) {
                Clock::time_point due = Clock::now();
                for (int k = 0; k < 6; ++k) {
                    due += std::chrono::milliseconds(k == 0 ? 0 : 120);
                    while (Clock::now() < due) waitForEvents();
                    sendKey(*editor.source, typed[next++ % typed.size()]);
                    QApplication::processEvents();
                    wall.push_back(std::chrono::duration<double>(Clock::now() - due).count());
                }
                const Clock::time_point pauseEnd = Clock::now() + std::chrono::milliseconds(400);
                while (Clock::now() < pauseEnd) waitForEvents();
            }
            std::sort(wall.begin(), wall.end());
            state.SetIterationTime(wall[wall.size() * 9 / 10]);
        }
    }
    state.counters["keys"] = double(wall.size());
    state.counters["keys_over_16ms"] =
        double(std::count_if(wall.begin(), wall.end(), [](double s) { return s > 0.016; }));
    state.counters["slowest_ms"] = wall.back() * 1e3;
}

BENCHMARK(BM_TypeUnderLoad)->Arg(1)->Arg(0)->Iterations(1)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Args: rendered view shown (0 or 1). Each round types a key, waits for the refresh to go
// off, and from that moment presses ten keys 20 ms apart; a key's time runs from when it was
// due until it is painted, so a key held up by the refresh's work counts that wait. The
// figure is the window's thread's CPU time over that span ("wall_" counters: the clock's).
void BM_TypeDuringRefresh(benchmark::State& state) {
    OpenEditor editor(state.range(0) != 0);
    auto& source = *editor.source;
    const QString typed = QStringLiteral("Hello <b>world</b> &amp; caf\u00E9 ");
    int next = 0;
    const auto type = [&] { sendKey(source, typed[next++ % typed.size()]); };
    std::vector<double> perKey, wall;
    double refreshCpu = 0;
    for (auto _ : state) {
        for (int round = 0; round < 30; ++round) {
            RefreshWatch refresh;
            type();
            while (!refresh.fired) waitForEvents();
            refreshCpu = std::max(refreshCpu, refresh.handling);
            for (int k = 0; k < 10; ++k) {
                const Clock::time_point due = refresh.at + std::chrono::milliseconds(20 * k);
                // The first key is due as the refresh goes off, and so waits for all of it.
                double cpu = k == 0 ? refresh.cpuAt : threadCpuSeconds();
                while (Clock::now() < due) {
                    cpu = threadCpuSeconds();
                    waitForEvents();
                }
                type();
                QApplication::processEvents();
                perKey.push_back(threadCpuSeconds() - cpu);
                wall.push_back(std::chrono::duration<double>(Clock::now() - due).count());
            }
        }
        std::sort(perKey.begin(), perKey.end());
        std::sort(wall.begin(), wall.end());
        state.SetIterationTime(perKey.back());
    }
    const auto over = std::count_if(perKey.begin(), perKey.end(), [](double s) { return s > 0.016; });
    state.counters["keys"] = double(perKey.size());
    state.counters["keys_over_16ms"] = double(over);
    state.counters["median_ms"] = perKey[perKey.size() / 2] * 1e3;
    state.counters["p99_ms"] = perKey[perKey.size() * 99 / 100] * 1e3;
    state.counters["refresh_ms"] = refreshCpu * 1e3;  // the longest the refresh itself took
    state.counters["wall_median_ms"] = wall[wall.size() / 2] * 1e3;
    state.counters["wall_slowest_ms"] = wall.back() * 1e3;
}

BENCHMARK(BM_TypeDuringRefresh)->Arg(1)->Arg(0)->Iterations(1)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
