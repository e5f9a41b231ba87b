// Runs the editor as its command line asks, interactively or as an unattended tour.
#pragma once

#include "host/editor/command_line.h"

namespace host {

class EditorSession;
class EditorWindow;

// Opens the pages named on the command line; with none, offers the last session's pages.
void openStartPages(EditorWindow& window, const QStringList& pages);

// Loads the add-ins of the command line and of the registry, then tells them the start is
// complete; in safe mode loads none and says so in the window.
void startAddIns(EditorSession& session, const CommandLine& commandLine);

// Needs a QApplication. Returns the process exit code; a tour returns 0 only when every
// step succeeded and no message box came up.
int runEditor(const CommandLine& commandLine);

}  // namespace host
