// The temporary profile folders of the browsers the editor starts, and removing those
// whose browser has ended after the editor did.
#pragma once

#include <QString>

namespace host {

// Folders are made from this pattern in the temporary folder.
inline constexpr const char* kProfilePattern = "ostrel-browser-XXXXXX";

// Marks the folder as the profile of browser process `pid`; the marker lets a later start
// tell our folder, and whether its browser still runs, from anything else.
void markProfile(const QString& profileDir, qint64 pid);

// Removes the profile folders in the temporary folder whose browser has ended: only folders
// named by the pattern, owned by this user, not links, and holding our marker. Returns how
// many went. The editor calls this at its start.
int removeLeftoverProfiles();

}  // namespace host
