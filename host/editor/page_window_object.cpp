// The page window object.
#include "host/editor/page_window_object.h"

#include "host/editor/page.h"

namespace host {

Page& PageWindowObject::page() const {
    if (!m_page) {
        throw com::Error(com::errc::objectNotSet, "The page window has been closed", "PageWindow");
    }
    return *m_page;
}

com::HRESULT PageWindowObject::get_ViewMode(std::int32_t* out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "ViewMode");
        const PageViewControl* view = page().viewControl();
        *out = view ? view->viewMode() : kSourceAndRendered;
    });
}

com::HRESULT PageWindowObject::put_ViewMode(std::int32_t mode) {
    return com::guarded([&] {
        Page& p = page();
        if (mode < kSourceAndRendered || mode > kRenderedOnly) {
            throw com::Error(com::errc::invalidProcedureCall,
                             "View mode " + std::to_string(mode) +
                                 " is not available; this editor has view modes 1 (source and "
                                 "rendered page side by side), 2 (source only) and 3 (rendered "
                                 "page only)",
                             "ViewMode");
        }
        if (PageViewControl* view = p.viewControl()) view->setViewMode(mode);
    });
}

com::HRESULT PageWindowObject::get_Document(com::IHTMLDocument2** out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Document");
        *out = nullptr;
        *out = page().htmlDocument().Detach();
    });
}

}  // namespace host
