// The add-in class's default interface.
#pragma once

#include "com/command_bars.h"
#include "com/dispatch.h"

namespace ostrel {

// Dual interface: ButtonHandler can be read, and assigned by reference, also by name.
struct _Connect : com::IDispatch {
    static constexpr com::Guid iid = com::Guid::literal("{102C8F25-352E-4CAF-88FA-76A4FDB76ED5}");
    using Base = com::IDispatch;
    virtual com::HRESULT get_ButtonHandler(com::ICommandBarButton** out) = 0;
    virtual com::HRESULT putref_ButtonHandler(com::ICommandBarButton* button) = 0;

protected:
    ~_Connect() = default;
};

}  // namespace ostrel
