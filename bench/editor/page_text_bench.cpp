// Cost of the editor's page handling as page size grows: opening a file, reading the page
// text after an edit, inserting a snippet through the page text seam, and saving.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPlainTextDocumentLayout>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include "host/editor/page.h"

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// A page of about `bytes` bytes: paragraphs with some non-ASCII text, CR LF line endings.
QString writePage(std::int64_t bytes) {
    const QString path = folder().filePath(QStringLiteral("page-%1.html").arg(bytes));
    if (QFile::exists(path)) return path;
    QByteArray page = "<!DOCTYPE html>\r\n<html><head><title>t</title></head>\r\n<body>\r\n";
    const QByteArray paragraph =
        "<p class=\"x\">Caf\xC3\xA9 na\xC3\xAFve r\xC3\xA9sum\xC3\xA9 text, "
        "some more words to fill the line.</p>\r\n";
    while (page.size() < bytes) page += paragraph;
    page += "</body>\r\n</html>\r\n";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(page);
    return path;
}

void BM_OpenPage(benchmark::State& state) {
    const QString path = writePage(state.range(0));
    for (auto _ : state) {
        auto page = host::Page::open(path, {});
        benchmark::DoNotOptimize(page->document());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The floor for opening: the file read whole and put into a text document, nothing checked,
// stamped or decoded by rule.
void BM_BareReadIntoDocument(benchmark::State& state) {
    const QString path = writePage(state.range(0));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QTextDocument document;
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        document.setPlainText(QString::fromUtf8(file.readAll()));
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_TextAfterEdit(benchmark::State& state) {
    auto page = host::Page::open(writePage(state.range(0)), {});
    auto text = page->pageText();
    for (auto _ : state) {
        text->replace(0, 0, "x");  // a change, so text() has to read the document afresh
        benchmark::DoNotOptimize(text->text().size());
        state.PauseTiming();
        page->document()->undo();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_InsertSnippetBeforeBodyEnd(benchmark::State& state) {
    auto page = host::Page::open(writePage(state.range(0)), {});
    auto text = page->pageText();
    const std::string snippet =
        "<div id='OstrelInsert'>\r\n<form action=\"http://www.ostrel.example/\">"
        "<input name=\"email\"></form></div>\r\n";
    for (auto _ : state) {
        const std::size_t at = text->text().rfind("</body>");
        text->replace(at, 0, snippet);
        state.PauseTiming();
        page->document()->undo();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_SaveEditedPage(benchmark::State& state) {
    auto page = host::Page::open(writePage(state.range(0)), {});
    const QString target = folder().filePath("saved.html");
    for (auto _ : state) {
        page->pageText()->replace(0, 0, "x");  // edited, so the text is encoded afresh
        page->save(target);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The floor for saving: the same bytes written with QSaveFile (temporary file, rename).
void BM_BareSaveFile(benchmark::State& state) {
    auto page = host::Page::open(writePage(state.range(0)), {});
    const QString target = folder().filePath("bare-saved.html");
    for (auto _ : state) {
        page->pageText()->replace(0, 0, "x");
        QSaveFile file(target);
        file.open(QIODevice::WriteOnly);
        file.write(page->document()->toPlainText().toUtf8());
        file.commit();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

constexpr std::int64_t kSizes[] = {100 << 10, 1 << 20, 10 << 20};

void sizes(benchmark::internal::Benchmark* b) {
    for (auto s : kSizes) b->Arg(s);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_OpenPage)->Apply(sizes);
BENCHMARK(BM_BareReadIntoDocument)->Apply(sizes);
BENCHMARK(BM_BareSaveFile)->Apply(sizes);
BENCHMARK(BM_TextAfterEdit)->Apply(sizes);
BENCHMARK(BM_InsertSnippetBeforeBodyEnd)->Apply(sizes);
BENCHMARK(BM_SaveEditedPage)->Apply(sizes);

}  // namespace
