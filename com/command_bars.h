// The host's command bars as the component sees them: bars by name, their controls, and
// the Click event of a button.
#pragma once

#include <cstdint>
#include <string>

#include "com/dispatch.h"
#include "com/unknown.h"
#include "com/variant.h"

namespace com {

struct ICommandBar;
struct ICommandBarControls;
struct ICommandBarControl;
struct ICommandBarButton;

// Control type of a plain button, as passed to ICommandBarControls::Add.
constexpr std::int16_t msoControlButton = 1;

struct ICommandBars : IUnknown {
    static constexpr Guid iid = Guid::literal("{77B8D7AE-697E-4ED1-8B90-C2F88E9989F9}");
    using Base = IUnknown;
    // index: the bar's name (text) or its 1-based position (integer). Fails for no such bar.
    virtual HRESULT get_Item(const Variant& index, ICommandBar** out) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;

protected:
    ~ICommandBars() = default;
};

struct ICommandBar : IUnknown {
    static constexpr Guid iid = Guid::literal("{DF97A93A-3D90-4465-B2E7-9290692F4282}");
    using Base = IUnknown;
    virtual HRESULT get_Name(std::string* out) = 0;
    virtual HRESULT get_Controls(ICommandBarControls** out) = 0;

protected:
    ~ICommandBar() = default;
};

struct ICommandBarControls : IUnknown {
    static constexpr Guid iid = Guid::literal("{C7C72587-31AB-46EF-9A31-D868751B2C1D}");
    using Base = IUnknown;
    // Every argument is optional (pass Variant::missing()); Type is a 16-bit integer and
    // Temporary a Boolean. The new control is returned as a plain control.
    virtual HRESULT Add(const Variant& Type, const Variant& Id, const Variant& Parameter,
                        const Variant& Before, const Variant& Temporary,
                        ICommandBarControl** out) = 0;
    virtual HRESULT get_Count(std::int32_t* out) = 0;
    // 1-based position.
    virtual HRESULT get_Item(const Variant& index, ICommandBarControl** out) = 0;

protected:
    ~ICommandBarControls() = default;
};

struct ICommandBarControl : IUnknown {
    static constexpr Guid iid = Guid::literal("{E3A67CA4-A843-4051-B144-6797327F8381}");
    using Base = IUnknown;
    virtual HRESULT get_Caption(std::string* out) = 0;
    virtual HRESULT put_Caption(const std::string& caption) = 0;
    // Removes the control from its bar; Temporary is optional.
    virtual HRESULT Delete(const Variant& Temporary) = 0;

protected:
    ~ICommandBarControl() = default;
};

struct ICommandBarButtonEvents : IUnknown {
    static constexpr Guid iid = Guid::literal("{FE12110A-D76C-4AF1-8053-BD1C2617B67C}");
    using Base = IUnknown;
    virtual HRESULT Click(ICommandBarButton* Ctrl, Bool16* CancelDefault) = 0;

protected:
    ~ICommandBarButtonEvents() = default;
};

struct ICommandBarButton : ICommandBarControl {
    static constexpr Guid iid = Guid::literal("{BC5A7822-2E22-4728-B2D7-DB04846F2961}");
    using Base = ICommandBarControl;
    // Click subscriptions; every subscriber receives every click.
    virtual HRESULT Advise(ICommandBarButtonEvents* sink, std::uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;

protected:
    ~ICommandBarButton() = default;
};

}  // namespace com
