// The wizard as the add-in runs it: create, show modally, read the result, release.
#pragma once

#include <string>

#include "com/unknown.h"

namespace ostrel {

// The wizard's default interface. It never leaves the add-in module, so its members may
// throw com::Error instead of returning a status.
struct _frmOstWiz : com::IUnknown {
    static constexpr com::Guid iid = com::Guid::literal("{698E74FA-0376-4098-BE54-E01E5C396710}");
    using Base = com::IUnknown;

    // Loads the form and shows it modally with no owner; returns once it is unloaded,
    // whichever way it was closed.
    virtual void Show() = 0;
    // True (-1) only after Finish generated the snippet; no side effect.
    virtual com::Bool16 WizCloseStatus() const = 0;
    // A copy of the generated snippet, "" before a successful Finish; no side effect.
    virtual std::string HTMLString() const = 0;

protected:
    ~_frmOstWiz() = default;
};

}  // namespace ostrel
