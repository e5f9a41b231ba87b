// The switches the rendered view's Chromium starts with: every road to the network that the
// request guard cannot see is closed before the first page exists.
#pragma once

#include <QStringList>

namespace host::preview {

// What Chromium is told, one switch an item.
QStringList offlineSwitches();

// Makes Chromium start with offlineSwitches() besides any the user gave. Call before the
// first profile is made: Chromium reads its switches once, when it starts in this process.
void startChromiumOffline();

}  // namespace host::preview
