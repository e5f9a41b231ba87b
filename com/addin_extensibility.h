// The add-in interface that the host calls on a loaded add-in, and the in-process entry
// points of an add-in module.
#pragma once

#include <cstdint>
#include <vector>

#include "com/dispatch.h"
#include "com/variant.h"

namespace com {

enum ConnectMode : std::int32_t {
    ext_cm_AfterStartup = 0,
    ext_cm_Startup = 1,
    ext_cm_External = 2,
    ext_cm_CommandLine = 3,
};

enum DisconnectMode : std::int32_t {
    ext_dm_HostShutdown = 0,
    ext_dm_UserClosed = 1,
};

using VariantArray = std::vector<Variant>;

struct IDTExtensibility2 : IDispatch {
    static constexpr Guid iid = Guid::literal("{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}");
    using Base = IDispatch;
    virtual HRESULT OnConnection(IDispatch* Application, std::int32_t ConnectMode,
                                 IDispatch* AddInInst, VariantArray* custom) = 0;
    virtual HRESULT OnDisconnection(std::int32_t RemoveMode, VariantArray* custom) = 0;
    virtual HRESULT OnAddInsUpdate(VariantArray* custom) = 0;
    virtual HRESULT OnStartupComplete(VariantArray* custom) = 0;
    virtual HRESULT OnBeginShutdown(VariantArray* custom) = 0;

protected:
    ~IDTExtensibility2() = default;
};

// Entry points that an add-in module exports with C linkage.
extern "C" {
using DllGetClassObjectFn = HRESULT (*)(const Guid* clsid, const Guid* iid, void** out);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
}

}  // namespace com
