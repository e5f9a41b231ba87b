// Presses of command bar controls from assistive technology, delivered after the call returns.
#pragma once

class QToolBar;

namespace host {

// A press of one of `toolBar`'s buttons, or of a menu item mirroring one, through the
// accessibility interface returns at once and clicks the control from the event loop: a click
// may run a modal dialog, and the screen reader's call would otherwise wait until it closes.
// Mouse and keyboard clicks are left as they are.
void queueAccessiblePresses(QToolBar& toolBar);

}  // namespace host
