// An automatable web browser as the wizard sees it.
#pragma once

#include <cstdint>
#include <string>

#include "com/dispatch.h"
#include "com/variant.h"

namespace com {

// Program id under which the platform registers its browser class.
inline constexpr std::string_view kBrowserProgId = "InternetExplorer.Application";

struct DWebBrowserEvents : IUnknown {
    static constexpr Guid iid = Guid::literal("{92476E7E-6B80-40BA-8C2F-56CD13C6DE63}");
    using Base = IUnknown;
    static constexpr DispId dispidQuit = 103;
    // The browser is closing; setting *Cancel to True would ask it to stay.
    virtual HRESULT Quit(Bool16* Cancel) = 0;

protected:
    ~DWebBrowserEvents() = default;
};

// Besides Navigate, the browser's properties ("Visible" among them) are reached by name.
struct IWebBrowser : IDispatch {
    static constexpr Guid iid = Guid::literal("{F8467DE3-836D-4D0A-AF42-26150BC1FEE3}");
    using Base = IDispatch;
    virtual HRESULT Navigate(const std::string& URL, const Variant& Flags,
                             const Variant& TargetFrameName, const Variant& PostData,
                             const Variant& Headers) = 0;
    virtual HRESULT Advise(DWebBrowserEvents* sink, std::uint32_t* cookie) = 0;
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;

protected:
    ~IWebBrowser() = default;
};

}  // namespace com
