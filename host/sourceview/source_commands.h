// The source view's keyboard commands, in one table for the view's own keys and for the
// editor's Edit menu.
#pragma once

#include <QKeySequence>
#include <functional>
#include <optional>

class QKeyEvent;
class QMenu;
class QObject;

namespace host {

class SourceView;

enum class SourceCommand { Find, Replace, FindNext, FindPrevious, GoToLine };

// The command that `event` presses, if any.
std::optional<SourceCommand> sourceCommandOf(const QKeyEvent& event);

// Adds the commands to `menu`, each run on the view `activeView` returns (nothing when it
// returns nullptr). The view takes its keys first, so the menu's keys act only where the
// focus is elsewhere.
void addSourceCommands(QMenu& menu, std::function<SourceView*()> activeView);

}  // namespace host
