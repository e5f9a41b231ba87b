// Where the editor's installed data is: the handbook, the translations, axe-core.
#pragma once

#include <QString>

namespace host {

// `relative` inside the editor's data folder (share/pagehost), found from the program's own
// folder, so that a moved installation and the build folder find theirs.
QString dataPath(const QString& relative);

}  // namespace host
