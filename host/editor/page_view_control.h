// How a page is shown in the editor, as add-ins read and set it through the page window's
// view mode.
#pragma once

#include <cstdint>

namespace host {

// The view modes; host/editor/README.md lists them for add-in authors.
enum ViewMode : std::int32_t {
    kSourceAndRendered = 1,  // the source and the rendered page side by side
    kSourceOnly = 2,
    kRenderedOnly = 3,
};

class PageViewControl {
public:
    virtual ~PageViewControl() = default;
    virtual std::int32_t viewMode() const = 0;
    // Takes a mode listed above. Called by an add-in that is about to change the page, so
    // the view shows the page's insertion point once the change is rendered.
    virtual void setViewMode(std::int32_t mode) = 0;
};

}  // namespace host
