// Each page is checked against what was read at planning, then replaced atomically.
#include "host/site/site_commit.h"

#include <QCoreApplication>
#include <QFile>
#include <optional>

#include "host/site/parallel_pages.h"

namespace host::site {

namespace {

// Writes one Updated page, or makes it Refused with the reason; never throws.
std::optional<WrittenPage> commitPage(PlannedPage& page) {
    if (page.outcome != PageOutcome::Updated) return std::nullopt;
    if (!unchangedOnDisk(page.before)) {
        page.outcome = PageOutcome::Refused;
        page.reason = QCoreApplication::translate(
            "host::site::SiteUpdate",
            "the file changed on disk after the update was planned; it was left as it is. "
            "Run the update again to include it.");
        return std::nullopt;
    }
    try {
        const QByteArray after = page.after();
        writePageAtomically(page.before.path, after);
        return WrittenPage{page.before.path, page.before.bytes, page.change};
    } catch (const SiteError& e) {
        page.reason = e.message() + QCoreApplication::translate("host::site::SiteUpdate",
                                                                "; the page was not changed.");
    } catch (const std::exception& e) {
        page.reason =
            QString::fromUtf8(e.what()) +
            QCoreApplication::translate("host::site::SiteUpdate", "; the page was not changed.");
    }
    page.outcome = PageOutcome::Refused;
    return std::nullopt;
}

}  // namespace

SiteUpdateUndo commitSiteUpdate(std::vector<PlannedPage>& plan) {
    // Pages are independent, so they are written on every core: one page's wait for the
    // disk overlaps the next one's.
    std::vector<std::optional<WrittenPage>> written(plan.size());
    forEachPage(plan.size(), [&](std::size_t i) { written[i] = commitPage(plan[i]); });
    SiteUpdateUndo undo;
    for (auto& page : written)
        if (page) undo.pages.push_back(std::move(*page));
    return undo;
}

std::vector<RestoredPage> undoSiteUpdate(const SiteUpdateUndo& undo) {
    std::vector<RestoredPage> out;
    for (const WrittenPage& page : undo.pages) {
        RestoredPage r{page.path, false, {}};
        try {
            const PageOnDisk now = readPageOnDisk(page.path);
            if (now.bytes != page.written()) {
                r.reason = QCoreApplication::translate(
                    "host::site::SiteUpdate",
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
