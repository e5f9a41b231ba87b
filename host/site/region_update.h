// Finding a region (the element with a given id) on every page of a site, and planning
// its new content on each page in memory.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/page/page_model.h"
#include "host/site/page_on_disk.h"
#include "host/site/page_splice.h"
#include "host/site/parallel_pages.h"

namespace host::site {

// What one page holds of the region.
struct RegionInPage {
    QString path;
    int count = 0;        // elements with the id
    std::optional<std::string> content;  // with exactly one: its content in source form
                                         // (UTF-8, '\n'), where the page was parsed
    QString problem;      // why the page could not be read, when it could not
};

// The pages that hold the id or could not be read, in the order given. Pages ruled out by
// the byte search are not decoded or parsed, nor are pages whose tags alone tell how many
// elements have the id (countIdTags); regionContent gives those pages' content later.
std::vector<RegionInPage> scanForRegion(const QStringList& pages, const QString& id,
                                        TaskProgress* progress = nullptr);
// The same for one page's text (UTF-8), as the page document reads it.
RegionInPage findRegion(PageModel& model, const std::string& id);
// The content of the page file's one element with the id, read and parsed now.
std::optional<std::string> regionContent(const QString& path, const std::string& id);

enum class PageOutcome { Absent, Updated, Unchanged, Refused };

// One page's region set to new content through the page document, or why not.
struct RegionEdit {
    PageOutcome outcome = PageOutcome::Absent;
    QString reason;          // for Refused
    std::string oldContent;  // the region's content before, in source form
};

// Sets the content of the page's one element with the id to `content` as the innerHTML
// of the page document does (one edit, bytes outside the element unchanged). A page with
// the id on several elements, or whose edit the page document refuses, is left as it was.
RegionEdit replaceRegion(PageModel& model, const std::string& id, const std::string& content);

// One page file's planned update, all in memory.
struct PlannedPage {
    PageOutcome outcome = PageOutcome::Absent;
    QString reason;
    std::string oldContent;
    PageOnDisk before;
    ByteSplice change;  // for Updated

    QByteArray after() const { return change.appliedTo(before.bytes); }
};

class IdPrefilter;
// Reads and plans one page; with a filter, a page it rules out comes back Absent at once.
PlannedPage planPage(const QString& path, const std::string& id, const std::string& content,
                     const IdPrefilter* filter = nullptr);
// The plan for every page that holds the id (Absent pages are left out), in the order given.
std::vector<PlannedPage> planSiteUpdate(const QStringList& pages, const QString& id,
                                        const std::string& content,
                                        TaskProgress* progress = nullptr);

const char* outcomeName(PageOutcome outcome);

}  // namespace host::site
