// The menu bar's menus found by their object names, which stay the same in every language
// (their titles do not).
#pragma once

#include <QString>

class QMenu;
class QMenuBar;

namespace host {

// The object name of the menu that stays last in the bar.
inline constexpr const char* kHelpMenuName = "menuHelp";

// The menu of `bar` named `objectName`; made with `title` when there is none yet, before the
// Help menu if the bar has one.
QMenu& menuOf(QMenuBar& bar, const QString& objectName, const QString& title);

}  // namespace host
