// A menu that holds the same actions as a toolbar, so that every control on a command bar
// can be reached from the keyboard and by a screen reader.
#pragma once

class QMenu;
class QToolBar;

namespace host {

// From now on `menu` holds the actions of `toolBar` in the bar's order: an action added to
// the bar appears in the menu, one removed from the bar leaves it. The actions are shared,
// so a choice from the menu is a click on the control. The menu shows in its menu bar only
// while it holds something.
void mirrorInMenu(QToolBar& toolBar, QMenu& menu);

}  // namespace host
