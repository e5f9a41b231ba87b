// Finds and loads the rendered view module, once per process.
#pragma once

#include <QString>
#include <memory>

#include "host/preview/rendered_view.h"

namespace host::preview {

// A new rendered view, or null with `failure` saying why (the module is missing, or the
// browser engine cannot run here).
std::unique_ptr<RenderedView> createRenderedView(RenderedViewEvents events, QWidget* parent,
                                                 QString* failure);

// True once a view has been made in this process: the browser engine is running, and
// another view starts at once.
bool renderedViewStarted();

// False in a build without Qt WebEngine (-DOSTREL_WITH_RENDERED_VIEW=OFF).
bool renderedViewBuiltIn();

}  // namespace host::preview
