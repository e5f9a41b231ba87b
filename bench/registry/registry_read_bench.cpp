// Reading a per-user registry of many keys, as the editor does at every start, next to
// reading the same file and splitting it into lines.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/registry/registry_file.h"
#include "platform/text/text_format.h"
#include "platform/files/user_file.h"

namespace {

namespace fs = std::filesystem;

// A registry file with `keys` keys in the shape that class registrations take: each class
// key has a server subkey, so most keys are siblings under one parent.
class RegistryOfSize {
public:
    explicit RegistryOfSize(std::size_t keys) {
        m_path =
            fs::temp_directory_path() / ("ostrel-registry-bench-" + std::to_string(::getpid()) +
                                         "-" + std::to_string(keys) + ".reg");
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << "OstrelRegistry 1\n";
        for (std::size_t i = 0; i < keys / 2; ++i) {
            char clsid[64];
            std::snprintf(clsid, sizeof clsid, "{%08zX-0000-4000-8000-000000000000}", i);
            const std::string key =
                std::string("HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\") + clsid;
            out << "\n[" << key << "]\n@=\"Sample.Class" << i << "\"\n";
            out << "\n[" << key << "\\InprocServer32]\n@=\"/opt/sample/module" << i
                << ".so\"\n\"ThreadingModel\"=\"Apartment\"\n";
        }
    }
    ~RegistryOfSize() { fs::remove(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

void BM_ReadRegistry(benchmark::State& state) {
    const RegistryOfSize file(static_cast<std::size_t>(state.range(0)));
    const platform::registry::RegistryFile registry(file.path());
    for (auto _ : state) benchmark::DoNotOptimize(registry.read());
}
BENCHMARK(BM_ReadRegistry)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Baseline: the bytes of the same file, split into lines.
void BM_ReadAndSplitLines(benchmark::State& state) {
    const RegistryOfSize file(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const auto text = platform::files::readFile(file.path(), "Benchmark");
        benchmark::DoNotOptimize(platform::text::splitLines(*text));
    }
}
BENCHMARK(BM_ReadAndSplitLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
