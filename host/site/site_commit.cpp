// Each page is checked against what was read at planning, then replaced atomically.
#include "host/site/site_commit.h"

#include <QFile>

namespace host::site {

SiteUpdateUndo commitSiteUpdate(std::vector<PlannedPage>& plan) {
    SiteUpdateUndo undo;
    for (PlannedPage& page : plan) {
        if (page.outcome != PageOutcome::Updated) continue;
        if (!unchangedOnDisk(page.before)) {
            page.outcome = PageOutcome::Refused;
            page.reason = QStringLiteral(
                "the file changed on disk after the update was planned; it was left as it is. "
                "Run the update again to include it.");
            continue;
        }
        const QByteArray after = page.after();
        try {
            writePageAtomically(page.before.path, after);
        } catch (const SiteError& e) {
            page.outcome = PageOutcome::Refused;
            page.reason = e.message() + QStringLiteral("; the page was not changed.");
            continue;
        }
        undo.pages.push_back({page.before.path, page.before.bytes, after.size(), contentHash(after)});
    }
    return undo;
}

std::vector<RestoredPage> undoSiteUpdate(const SiteUpdateUndo& undo) {
    std::vector<RestoredPage> out;
    for (const WrittenPage& page : undo.pages) {
        RestoredPage r{page.path, false, {}};
        try {
            const PageOnDisk now = readPageOnDisk(page.path);
            if (now.bytes.size() != page.writtenSize || contentHash(now.bytes) != page.writtenHash) {
                r.reason = QStringLiteral(
                    "it was changed after the update; it was left as it is");
            } else {
                writePageAtomically(page.path, page.previous);
                r.restored = true;
            }
        } catch (const SiteError& e) {
            r.reason = e.message();
        }
        out.push_back(std::move(r));
    }
    return out;
}

}  // namespace host::site
