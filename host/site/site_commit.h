// Writing a planned site update to disk, and taking it back.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "host/site/region_update.h"

namespace host::site {

// A page the update wrote: what it held before, and the change that was written into it.
struct WrittenPage {
    QString path;
    QByteArray previous;
    ByteSplice change;

    QByteArray written() const { return change.appliedTo(previous); }
};

// Everything one update wrote; restoring it is one step for the author.
struct SiteUpdateUndo {
    std::vector<WrittenPage> pages;
};

// Writes every Updated page of the plan, each atomically. A page that changed on disk since
// it was planned, or that cannot be written, is left alone and becomes Refused with the
// reason. Call only once every page of the plan was planned, so that a failure in memory
// never leaves the site half updated.
SiteUpdateUndo commitSiteUpdate(std::vector<PlannedPage>& plan);

// What undoing did to one page.
struct RestoredPage {
    QString path;
    bool restored = false;
    QString reason;  // why it was left as it is
};

// Puts back what each written page held before, byte for byte, where the page still holds
// what the update wrote; a page changed since is left as it is and reported.
std::vector<RestoredPage> undoSiteUpdate(const SiteUpdateUndo& undo);

}  // namespace host::site
