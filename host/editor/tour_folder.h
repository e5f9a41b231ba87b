// The files a tour writes into its folder, and the claim on that folder that keeps a tour
// from deleting or overwriting any file it did not write itself.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "host/editor/tour_script.h"

namespace host {

// The folder in a tour's folder that stands for the user's configuration folder while the
// tour plays: the add-ins it loads keep their settings there (the Ostrel wizard's entries).
inline constexpr const char* kTourSettingsFolder = "settings";

// What a tour of `steps` on the page `pageName` writes into its folder: the copy of the page,
// the add-ins' settings folder, the editor's settings when the tour keeps them there, and
// the pictures.
QStringList tourOutputNames(const QString& pageName, const std::vector<TourStep>& steps,
                            bool settingsInFolder);

// Makes `dir` (created when missing) the folder of a tour that writes `names`, before anything
// is written. A file of one of those names that is already there, and that no earlier tour
// wrote (the folder's ".pagehost-tour" lists what tours wrote), is never replaced: the claim
// throws CommandLineError naming it. So does a name that is not a plain file name.
void claimTourFolder(const QString& dir, const QStringList& names);

}  // namespace host
