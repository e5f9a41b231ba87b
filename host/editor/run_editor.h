// Runs the editor as its command line asks, interactively or as an unattended tour.
#pragma once

#include "host/editor/command_line.h"

namespace host {

// Needs a QApplication. Returns the process exit code; a tour returns 0 only when every
// step succeeded and no message box came up.
int runEditor(const CommandLine& commandLine);

}  // namespace host
