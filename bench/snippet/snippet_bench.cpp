// Generation time against template size and placeholder count, next to a memcpy baseline.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "wizard/snippet/snippet_builder.h"

namespace {

constexpr std::array<std::string_view, 6> kPlaceholders = {"<<USERID>>",     "<<HEADERFIELD>>",
                                                           "<<ADTRACKING>>", "<<REDIRECT>>",
                                                           "<<MSGNO>>",      "<<REQUIREDFIELD>>"};
constexpr int kSteps = 6;  // one replacement step a placeholder

// Writes go nowhere: the store is not what is measured.
class NullSettingsStore : public ostrel::SettingsStore {
public:
    std::optional<std::string> value(std::string_view, std::string_view,
                                     std::string_view) const override {
        return std::nullopt;
    }
    void setValue(std::string_view, std::string_view, std::string_view, std::string_view) override {
    }
};

// About `size` bytes of form-like HTML with `occurrences` placeholders spread evenly, taking
// the six in turn.
std::string makeTemplate(std::size_t size, std::size_t occurrences) {
    constexpr std::string_view filler =
        "<p class=\"note\">Join our list &amp; get the <b>news</b> first.</p>\r\n";
    std::string text;
    text.reserve(size + 64);
    const std::size_t gap = size / occurrences;
    for (std::size_t i = 0; i < occurrences; ++i) {
        const std::string_view placeholder = kPlaceholders[i % kPlaceholders.size()];
        text += placeholder;
        for (std::size_t n = placeholder.size(); n < gap; ++n) text += filler[n % filler.size()];
    }
    return text;
}

ostrel::WizardEntries entries() {
    ostrel::WizardEntries e;
    e.listId = "newsletter";
    e.formHeader = "Get our weekly news";
    e.adTracking = "spring";
    e.thankUrl = "http://www.publisher.example/thanks.htm";
    e.msgNo = "1";
    return e;
}

void setCounters(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(state.iterations() * state.range(1));
}

// The six replacement steps over a template already in memory (including the one copy that
// hands the text to them).
void BM_FillWebForm(benchmark::State& state) {
    const std::string text = makeTemplate(state.range(0), state.range(1));
    NullSettingsStore store;
    const auto e = entries();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ostrel::fillWebForm(text, e, store));
    }
    setCounters(state, text.size());
}

// The whole web-form generation: read the file, decode it, then the six steps.
void BM_BuildSnippet(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "snippet-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string text = makeTemplate(state.range(0), state.range(1));
    std::ofstream(std::filesystem::path(folder) / "template.wtf", std::ios::binary) << text;
    NullSettingsStore store;
    const auto e = entries();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ostrel::buildSnippet(e, store, folder));
    }
    setCounters(state, text.size());
    std::filesystem::remove_all(folder);
}

// The floor: one memcpy of the template a replacement step.
void BM_MemcpyBaseline(benchmark::State& state) {
    const std::string text = makeTemplate(state.range(0), state.range(1));
    std::string a(text.size(), '\0'), b(text.size(), '\0');
    for (auto _ : state) {
        std::memcpy(a.data(), text.data(), text.size());
        for (int step = 1; step < kSteps; ++step) {
            std::memcpy(step % 2 ? b.data() : a.data(), step % 2 ? a.data() : b.data(),
                        text.size());
        }
        benchmark::DoNotOptimize(a.data());
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, text.size());
}

// Sizes 1 KB, 1 MB, 16 MB with 10, 10^4, 10^6 placeholders, where they fit.
void sizesAndCounts(benchmark::internal::Benchmark* b) {
    b->Args({1 << 10, 10});
    b->Args({1 << 20, 10});
    b->Args({1 << 20, 10'000});
    b->Args({16 << 20, 10});
    b->Args({16 << 20, 10'000});
    b->Args({16 << 20, 1'000'000});
    b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_MemcpyBaseline)->Apply(sizesAndCounts);
BENCHMARK(BM_FillWebForm)->Apply(sizesAndCounts);
BENCHMARK(BM_BuildSnippet)->Apply(sizesAndCounts);

}  // namespace

BENCHMARK_MAIN();
