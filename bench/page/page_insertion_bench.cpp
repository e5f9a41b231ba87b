// The add-in's insertion into pages of 100 KB, 1 MB and 10 MB, with and without a marker,
// measured for this page document and for headless Chromium on the same pages in one run;
// and the insertion's memory peak at 10 MB and 50 MB beside a bare gumbo parse of the page.
//
// Chromium's figures come from tests/page/browser (playwright-core, installed on first use);
// set OSTREL_SKIP_BROWSER=1 to measure this page document alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gumbo.h>

#include "bench/page/peak_memory.h"
#include "com/error.h"
#include "host/page/html_document_object.h"
#include "host/page/page_model.h"
#include "host/page/parse_arena.h"
#include "testing/addin_operation.h"
#include "host/page/memory_page_text.h"

namespace fs = std::filesystem;

namespace {

const std::string kSnippet =
    "<form class=\"ostrel-signup\" method=\"post\" "
    "action=\"http://www.ostrel.example/cgi/subscribe\">\r\n"
    "  <h2>For More Information</h2>\r\n"
    "  <input type=\"hidden\" name=\"list\" value=\"gardener42\" />\r\n"
    "  <p><label for=\"n\">Your name</label> <input type=\"text\" id=\"n\" name=\"name\" /></p>\r\n"
    "  <p><label for=\"f\">Your e-mail address</label> <input type=\"email\" id=\"f\" "
    "name=\"from\" /></p>\r\n"
    "  <p><button type=\"submit\">Subscribe</button></p>\r\n"
    "</form>\r\n";

// A page of ordinary content: headings, paragraphs with links and inline markup, tables,
// lists with implied ends, comments. The marker, when wanted, sits before the last sections,
// where the add-in's first run put it.
std::string makePage(std::size_t size, bool marker) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Garden news</title>\n</head>\n<body>\n";
    const std::size_t markerAt = size - size / 50;
    bool placed = !marker;
    for (int i = 1; page.size() < size; ++i) {
        const std::string n = std::to_string(i);
        page += "<h2 class=\"section\">Section " + n + "</h2>\n<p>Planting notes for bed " + n +
                ", <a href=\"bed" + n +
                ".html\">details</a> &amp; <b>tips</b> for <i>spring</i>.</p>\n"
                "<table border=\"1\"><tr><td>Row " +
                n + "a</td><td>Row " + n +
                "b</td></tr></table>\n<ul><li>Seeds<li>Water<li>Sun</ul>\n<!-- section " + n +
                " -->\n";
        if (!placed && page.size() >= markerAt) {
            page += "<div id=\"OstrelInsert\">\n<p>Old sign-up form</p>\n</div>\n";
            placed = true;
        }
    }
    return page + "</body>\n</html>\n";
}

// A page of running text in one layout division, as many sites are built: fewer nodes per
// byte than the page above, so that copies of the text weigh more beside the parse. The
// marker, when wanted, sits after the division, just before </body>. In a web form, as some
// site builders write every page, the division sits in a form that holds the whole page.
std::string makeArticlePage(std::size_t size, bool marker, bool inForm) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Garden diary</title>\n</head>\n<body>\n";
    if (inForm) page += "<form id=\"page\" method=\"post\" action=\"diary.html\">\n";
    page += "<div id=\"content\">\n";
    for (int i = 1; page.size() < size; ++i) {
        page += "<p>Day " + std::to_string(i) +
                ": the beans are up along the east fence, the lettuce wants thinning and the "
                "compost is warm again after the rain. <a href=\"day" +
                std::to_string(i) + ".html\">Photos</a></p>\n";
    }
    page += "</div>\n";
    if (marker) page += "<div id=\"OstrelInsert\">\n<p>Old sign-up form</p>\n</div>\n";
    if (inForm) page += "</form>\n";
    return page + "</body>\n</html>\n";
}

struct Case {
    std::string name;
    std::size_t size;
    bool marker;
    enum class Layout { sections, article, webForm } layout = Layout::sections;
};

std::vector<Case> cases() {
    std::vector<Case> out;
    for (auto [label, size] :
         {std::pair{"100KB", std::size_t(100) << 10}, std::pair{"1MB", std::size_t(1) << 20},
          std::pair{"10MB", std::size_t(10) << 20}}) {
        out.push_back({std::string(label) + "/no_marker", size, false});
        out.push_back({std::string(label) + "/marker", size, true});
    }
    return out;
}

std::vector<Case> memoryCases() {
    std::vector<Case> out;
    for (auto [label, size] :
         {std::pair{"10MB", std::size_t(10) << 20}, std::pair{"50MB", std::size_t(50) << 20}}) {
        for (auto [layout, suffix] : {std::pair{Case::Layout::sections, ""},
                                      std::pair{Case::Layout::article, "/article"},
                                      std::pair{Case::Layout::webForm, "/article_in_form"}}) {
            const std::string name = std::string(label) + suffix;
            out.push_back({name + "/no_marker", size, false, layout});
            out.push_back({name + "/marker", size, true, layout});
        }
    }
    return out;
}

// One gumbo parse with the options the page document uses, and its own allocator.
void bareGumboParse(const std::string& page) {
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* out = gumbo_parse_with_options(&options, page.data(), page.size());
    gumbo_destroy_output(&options, out);
}

// In a child process: the peak of "Ours/<case>" (the insertion, the page text already held
// as the editor holds it) or of "Gumbo/<case>" (one bare gumbo parse of the same text, with
// the parse options the page document uses).
int printPeakOfCase(std::string_view name) {
    const auto [kind, caseName] = [&] {
        const std::size_t slash = name.find('/');
        return std::pair{name.substr(0, slash), name.substr(slash + 1)};
    }();
    const auto list = memoryCases();
    const auto c = std::find_if(list.begin(), list.end(),
                                [&](const Case& x) { return x.name == caseName; });
    if (c == list.end() || (kind != "Ours" && kind != "Gumbo")) return 2;
    std::string page;
    std::shared_ptr<host::MemoryPageText> text;
    auto setup = [&] {
        page = c->layout == Case::Layout::sections
                   ? makePage(c->size, c->marker)
                   : makeArticlePage(c->size, c->marker, c->layout == Case::Layout::webForm);
        if (kind == "Ours") text = std::make_shared<host::MemoryPageText>(std::move(page));
    };
    auto work = [&] {
        if (kind == "Ours") {
            auto document = host::createHtmlDocument(std::make_shared<host::PageModel>(text));
            host::testing::runAddinInsertion(document.get(), kSnippet);
            return;
        }
        bareGumboParse(page);
    };
    return bench::printPeakOf(setup, work);
}

void insertion(benchmark::State& state, const std::string& page) {
    for (auto _ : state) {
        state.PauseTiming();
        auto text = std::make_shared<host::MemoryPageText>(page);
        state.ResumeTiming();
        auto document = host::createHtmlDocument(std::make_shared<host::PageModel>(text));
        host::testing::runAddinInsertion(document.get(), kSnippet);
        state.PauseTiming();
        document = nullptr;
        text.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs Chromium over the pages; returns each case's times in milliseconds.
std::map<std::string, std::vector<double>> browserTimes(const fs::path& folder,
                                                        const std::vector<Case>& list) {
    std::ofstream manifest(folder / "cases.json");
    manifest << "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        manifest << (i ? "," : "") << "{\"name\":\"" << list[i].name << "\",\"page\":\""
                 << (folder / (std::to_string(i) + ".html")).string() << "\",\"snippet\":\""
                 << (folder / "snippet.html").string() << "\"}";
    }
    manifest << "]";
    manifest.close();
    const std::string modules = OSTREL_BROWSER_MODULES;
    const std::string command = "bash '" OSTREL_BROWSER_SCRIPTS "/ensure-modules.sh' '" + modules +
                                "' >&2 && cp '" OSTREL_BENCH_SCRIPT "' '" + modules +
                                "/' && node '" + modules + "/browser_timing.mjs' '" +
                                (folder / "cases.json").string() + "' > '" +
                                (folder / "times.json").string() + "'";
    if (std::system(command.c_str()) != 0) {
        std::cerr << "Chromium timing failed; only this page document is measured.\n";
        return {};
    }
    // The output is {"name":[t,...],...}; names hold no quotes or brackets.
    std::map<std::string, std::vector<double>> out;
    const std::string json = readFile(folder / "times.json");
    for (std::size_t at = json.find('"'); at != std::string::npos; at = json.find('"', at)) {
        const std::size_t nameEnd = json.find('"', at + 1);
        const std::string name = json.substr(at + 1, nameEnd - at - 1);
        const std::size_t open = json.find('[', nameEnd);
        const std::size_t close = json.find(']', open);
        std::stringstream values(json.substr(open + 1, close - open - 1));
        for (std::string v; std::getline(values, v, ',');) out[name].push_back(std::stod(v));
        at = close;
    }
    return out;
}

// Keeps each run's times per iteration, in milliseconds, for the comparison table.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    struct Figures {
        double wall = 0;
        double cpu = 0;
        double peakBytes = 0;  // for the memory peaks
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const auto peak = run.counters.find("peak_bytes");
            m_runs[run.benchmark_name()] = {
                run.GetAdjustedRealTime() * toMs, run.GetAdjustedCPUTime() * toMs,
                peak == run.counters.end() ? 0.0 : double(peak->second)};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Figures> m_runs;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]).starts_with(bench::kPeakOption)) {
        return printPeakOfCase(std::string_view(argv[1]).substr(bench::kPeakOption.size()));
    }
    benchmark::Initialize(&argc, argv);
    const auto list = cases();
    const fs::path folder = fs::temp_directory_path() / "ostrel-page-bench";
    fs::create_directories(folder);
    std::vector<std::string> pages;
    for (std::size_t i = 0; i < list.size(); ++i) {
        pages.push_back(makePage(list[i].size, list[i].marker));
        std::ofstream(folder / (std::to_string(i) + ".html"), std::ios::binary) << pages.back();
    }
    std::ofstream(folder / "snippet.html", std::ios::binary) << kSnippet;

    std::map<std::string, std::vector<double>> browser;
    if (!std::getenv("OSTREL_SKIP_BROWSER")) browser = browserTimes(folder, list);

    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& page = pages[i];
        benchmark::RegisterBenchmark(("Ours/" + list[i].name).c_str(),
                                     [&page](benchmark::State& s) { insertion(s, page); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        // The floor of a page document on gumbo: one bare parse of the page on one thread.
        benchmark::RegisterBenchmark(("GumboParse/" + list[i].name).c_str(),
                                     [&page](benchmark::State& s) {
                                         for (auto _ : s) bareGumboParse(page);
                                     })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        // The same insertion with every arena block fresh from the system, as before blocks
        // were kept between parses.
        if (!list[i].marker && list[i].size >= (std::size_t(1) << 20)) {
            benchmark::RegisterBenchmark(("FreshBlocks/" + list[i].name).c_str(),
                                         [&page](benchmark::State& s) {
                                             host::page::ParseArena::setKeptBytesLimit(0);
                                             insertion(s, page);
                                             host::page::ParseArena::setKeptBytesLimit(
                                                 host::page::ParseArena::kKeptBytes);
                                         })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(1.0);
        }
        const auto times = browser.find(list[i].name);
        if (times == browser.end() || times->second.empty()) continue;
        const std::vector<double> ms = times->second;
        benchmark::RegisterBenchmark(("Chromium/" + list[i].name).c_str(),
                                     [ms](benchmark::State& s) {
                                         std::size_t k = 0;
                                         for (auto _ : s)
                                             s.SetIterationTime(ms[k++ % ms.size()] / 1000.0);
                                     })
            ->UseManualTime()
            ->Iterations(static_cast<benchmark::IterationCount>(ms.size()))
            ->Unit(benchmark::kMillisecond);
    }
    // Memory peaks, each case in a process of its own; the figures are reported as counters.
    for (const Case& c : memoryCases()) {
        for (const char* kind : {"Ours", "Gumbo"}) {
            const std::string name = std::string(kind) + "/" + c.name;
            benchmark::RegisterBenchmark(("PeakMemory/" + name).c_str(),
                                         [name](benchmark::State& s) {
                                             std::optional<std::size_t> peak;
                                             for (auto _ : s) peak = bench::peakInChild(name);
                                             if (!peak) {
                                                 s.SkipWithError("the measuring process failed");
                                                 return;
                                             }
                                             s.counters["peak_bytes"] = double(*peak);
                                         })
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto find = [&](const std::string& prefix) -> const RecordingReporter::Figures* {
        for (const auto& [name, figures] : reporter.m_runs) {
            if (name.starts_with(prefix)) return &figures;
        }
        return nullptr;
    };
    std::printf("\n%-18s %10s %10s %10s %8s\n", "page", "ours wall", "ours CPU", "Chromium",
                "ratio");
    for (const Case& c : list) {
        const auto* ours = find("Ours/" + c.name + "/");
        const auto* theirs = find("Chromium/" + c.name + "/");
        if (!ours) continue;
        std::printf("%-18s %10.1f %10.1f", c.name.c_str(), ours->wall, ours->cpu);
        if (theirs) {
            std::printf(" %10.1f %8.2f\n", theirs->wall, ours->wall / theirs->wall);
        } else {
            std::printf(" %10s %8s\n", "-", "-");
        }
    }
    std::printf(
        "times in ms; ratio = ours (wall) / Chromium (wall, timed inside the page: parse, "
        "operation, serialization)\n");
    std::printf("\n%-24s %14s %14s %8s\n", "page", "ours peak MB", "gumbo peak MB", "ratio");
    for (const Case& c : memoryCases()) {
        const auto* ours = find("PeakMemory/Ours/" + c.name + "/");
        const auto* gumbo = find("PeakMemory/Gumbo/" + c.name + "/");
        if (!ours || !gumbo || ours->peakBytes == 0 || gumbo->peakBytes == 0) continue;
        std::printf("%-24s %14.1f %14.1f %8.2f\n", c.name.c_str(), ours->peakBytes / (1 << 20),
                    gumbo->peakBytes / (1 << 20), ours->peakBytes / gumbo->peakBytes);
    }
    std::printf(
        "peak = highest resident memory during the insertion (ours) or one gumbo parse of the "
        "same page, above what the process held with the page text in memory\n");
    return com::liveObjectCount() == 0 ? 0 : 1;
}
