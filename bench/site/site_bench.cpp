// Scanning and updating sites of 1,000 and 10,000 generated pages of about 20 KB, each
// holding the region. Baselines: `grep -l` for the scan, and writing every page back
// atomically unchanged for the update.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>

#include "host/site/page_on_disk.h"
#include "host/site/region_update.h"
#include "host/site/site_commit.h"
#include "host/site/site_folder.h"

namespace {

const QString kId = QStringLiteral("OstrelInsert");

QByteArray generatedPage(int n) {
    QByteArray page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<title>Article " + QByteArray::number(n) + "</title>\n</head>\n<body>\n"
                      "<h1>Article " + QByteArray::number(n) + "</h1>\n";
    for (int p = 0; page.size() < 19 * 1024; ++p) {
        page += "<p>Paragraph " + QByteArray::number(p) +
                " of a generated article, with <a href=\"/a/" + QByteArray::number(p) +
                ".html\">a link</a> and <em>some</em> emphasis to give the parser work.</p>\n";
        if (p % 20 == 19) page += "<table><tr><td>cell</td><td>cell</td></tr></table>\n";
    }
    page += "<div id=\"OstrelInsert\"><p>Write to us</p></div>\n</body>\n</html>\n";
    return page;
}

// One generated site per size, kept for the whole run.
struct Site {
    QTemporaryDir dir;
    QStringList pages;
};
Site& site(int count) {
    static std::map<int, std::unique_ptr<Site>> sites;
    auto& s = sites[count];
    if (!s) {
        s = std::make_unique<Site>();
        for (int i = 0; i < count; ++i) {
            const QString folder = s->dir.filePath(QStringLiteral("d%1").arg(i / 500));
            QDir().mkpath(folder);
            QFile f(QDir(folder).filePath(QStringLiteral("page%1.html").arg(i)));
            f.open(QIODevice::WriteOnly);
            f.write(generatedPage(i));
        }
        s->pages = host::site::listSitePages(s->dir.path());
    }
    return *s;
}

void BM_ScanSite(benchmark::State& state) {
    Site& s = site(int(state.range(0)));
    for (auto _ : state) {
        const auto found = host::site::scanForRegion(s.pages, kId);
        if (found.size() != std::size_t(s.pages.size())) state.SkipWithError("pages missed");
    }
}

void BM_GrepSite(benchmark::State& state) {
    Site& s = site(int(state.range(0)));
    const QByteArray command = "grep -rl --include='*.html' " + kId.toUtf8() + " '" +
                               s.dir.path().toUtf8() + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.constData()) != 0) state.SkipWithError("grep failed");
    }
}

void BM_UpdateSite(benchmark::State& state) {
    Site& s = site(int(state.range(0)));
    // Counted across calls too: each round must change every page.
    static int round = 0;
    double planning = 0;
    for (auto _ : state) {
        const std::string content = "<p>Round " + std::to_string(++round) + "</p>";
        const auto start = std::chrono::steady_clock::now();
        auto plan = host::site::planSiteUpdate(s.pages, kId, content);
        planning += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        host::site::commitSiteUpdate(plan);
        if (plan.size() != std::size_t(s.pages.size()) ||
            plan.back().outcome != host::site::PageOutcome::Updated)
            state.SkipWithError("pages missed");
    }
    // The rest of the time is the writing.
    state.counters["planning_s"] = benchmark::Counter(planning, benchmark::Counter::kAvgIterations);
}

void BM_RewriteSite(benchmark::State& state) {
    Site& s = site(int(state.range(0)));
    for (auto _ : state) {
        for (const QString& path : s.pages) {
            const auto page = host::site::readPageOnDisk(path);
            host::site::writePageAtomically(path, page.bytes);
        }
    }
}

BENCHMARK(BM_ScanSite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepSite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UpdateSite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RewriteSite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
