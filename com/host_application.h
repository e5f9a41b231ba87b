// The host editor's application object and page window as the component sees them.
#pragma once

#include <cstdint>

#include "com/command_bars.h"
#include "com/dispatch.h"
#include "com/html_document.h"

namespace com {

struct IPageWindow : IUnknown {
    static constexpr Guid iid = Guid::literal("{48FB4014-D3D0-11D1-83D7-006097ABE675}");
    using Base = IUnknown;
    // The window's view mode; 1 is the mode in which the document reflects the page's
    // source text and edits to the document change that text.
    virtual HRESULT get_ViewMode(std::int32_t* out) = 0;
    virtual HRESULT put_ViewMode(std::int32_t mode) = 0;
    virtual HRESULT get_Document(IHTMLDocument2** out) = 0;

protected:
    ~IPageWindow() = default;
};

struct IHostApplication : IDispatch {
    static constexpr Guid iid = Guid::literal("{04DF1014-7007-11D1-83BC-006097ABE675}");
    using Base = IDispatch;
    virtual HRESULT get_CommandBars(ICommandBars** out) = 0;
    // Fails, or yields nothing, when no page is open.
    virtual HRESULT get_ActivePageWindow(IPageWindow** out) = 0;

protected:
    ~IHostApplication() = default;
};

}  // namespace com
