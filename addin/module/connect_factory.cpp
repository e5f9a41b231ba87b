// Creating Connect for the host.
#include "addin/module/connect_factory.h"

#include <atomic>

#include "addin/connect.h"

namespace ostrel {
namespace {
std::atomic<long> g_locks{0};
}

com::HRESULT ConnectFactory::CreateInstance(com::IUnknown* outer, const com::Guid& riid,
                                            void** out) {
    if (!out) return com::E_POINTER;
    *out = nullptr;
    if (outer) return com::CLASS_E_NOAGGREGATION;
    return com::guarded([&] {
        auto object = com::make<Connect>();
        com::check(static_cast<_Connect*>(object.get())->QueryInterface(riid, out));
    });
}

com::HRESULT ConnectFactory::LockServer(bool lock) {
    if (lock) {
        ++g_locks;
    } else if (g_locks.load() > 0) {
        --g_locks;
    }
    return com::S_OK;
}

long serverLocks() {
    return g_locks.load();
}

}  // namespace ostrel
