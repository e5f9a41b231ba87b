// Typing into a 1 MB page in the source view: the time from each key press until the view
// has painted it, with the HTML colours on, beside the same typing with them off.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <chrono>
#include <vector>

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

}  // namespace
