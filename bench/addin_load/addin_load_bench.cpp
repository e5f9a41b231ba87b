// The cost of loading the add-in when the editor starts: from opening the module to
// OnConnection done, next to opening a trivial module, and the registry look-up before it.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "com/addin_extensibility.h"
#include "host/editor/editor_session.h"
#include "host/editor/registered_addins.h"
#include "host/messagebox/message_box_service.h"
#include "platform/registry/registry_file.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr com::Guid kConnect = com::Guid::literal("{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}");

// Answers every box with its default and counts them; a box would spoil a measurement.
struct CountingMessages : host::MessageBoxService {
    host::MessageButton show(QWidget*, const host::MessageRequest& request) override {
        ++shown;
        return request.defaultButton;
    }
    int shown = 0;
};

bool isLoaded(const char* path) {
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

// A registry file with the add-in registered by its own DllRegisterServer.
struct RegisteredPlugin {
    RegisteredPlugin() {
        setenv(platform::registry::kRegistryFileVariable, file.c_str(), 1);
        void* module = dlopen(OSTREL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        auto registerServer =
            module ? reinterpret_cast<com::DllRegisterServerFn>(dlsym(module, "DllRegisterServer"))
                   : nullptr;
        ok = registerServer && registerServer() == com::S_OK;
        if (module) dlclose(module);
    }
    QTemporaryDir dir;
    std::string file = dir.filePath("registry.reg").toStdString();
    bool ok = false;
};

// Baseline: what opening and closing any module costs.
void BM_DlopenTrivialModule(benchmark::State& state) {
    for (auto _ : state) {
        void* handle = dlopen(TRIVIAL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!handle) state.SkipWithError(dlerror());
        dlclose(handle);
    }
}
BENCHMARK(BM_DlopenTrivialModule)->Unit(benchmark::kMicrosecond);

// Opening the add-in module alone (its dependencies are loaded with the editor already).
void BM_DlopenOstrelPlugin(benchmark::State& state) {
    for (auto _ : state) {
        void* handle = dlopen(OSTREL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!handle) state.SkipWithError(dlerror());
        dlclose(handle);
    }
    state.counters["unloaded"] = isLoaded(OSTREL_PLUGIN_PATH) ? 0 : 1;
}
BENCHMARK(BM_DlopenOstrelPlugin)->Unit(benchmark::kMicrosecond);

// Times `load` in a fresh editor session each iteration; the session's start and shut-down
// are left out. Shut-down unloads the module, so every iteration opens it anew. The session
// records each call into the add-in, as the editor does.
template <class Load>
void timeInSession(benchmark::State& state, Load load) {
    CountingMessages messages;
    QTemporaryDir records;
    for (auto _ : state) {
        host::EditorServices services;
        services.messages = &messages;
        auto session = std::make_unique<host::EditorSession>(
            services, records.path().toStdString());
        const auto start = Clock::now();
        load(*session);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (session->addInCount() != 1 ||
            session->addIn(0).state() != host::AddInModule::State::Connected) {
            state.SkipWithError("the add-in did not connect");
        }
        session->shutdown();
    }
    if (messages.shown) state.SkipWithError("a message box came up");
    state.counters["unloaded"] = isLoaded(OSTREL_PLUGIN_PATH) ? 0 : 1;
}

// dlopen, DllGetClassObject, CreateInstance, IDTExtensibility2, OnConnection: the button
// is on the Insert bar when the time stops.
void BM_LoadAddInToConnected(benchmark::State& state) {
    timeInSession(state, [](host::EditorSession& session) {
        session.loadAddIn({OSTREL_PLUGIN_PATH, kConnect}, com::ext_cm_Startup);
    });
}
BENCHMARK(BM_LoadAddInToConnected)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same, starting from the registry: read the file, resolve program id -> class id ->
// module, then load and connect.
void BM_RegisteredAddInToConnected(benchmark::State& state) {
    RegisteredPlugin registry;
    if (!registry.ok) state.SkipWithError("registration failed");
    timeInSession(state, [](host::EditorSession& session) {
        host::loadRegisteredAddIns(session, platform::registry::RegistryFile());
    });
}
BENCHMARK(BM_RegisteredAddInToConnected)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The registry part alone.
void BM_FindRegisteredAddIns(benchmark::State& state) {
    RegisteredPlugin registry;
    if (!registry.ok) state.SkipWithError("registration failed");
    const platform::registry::RegistryFile file;
    for (auto _ : state) benchmark::DoNotOptimize(host::findRegisteredAddIns(file));
}
BENCHMARK(BM_FindRegisteredAddIns)->Unit(benchmark::kMicrosecond);

}  // namespace
