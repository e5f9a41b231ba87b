// Scanning and planning pages on every core; nothing is written here.
#include "host/site/region_update.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <new>
#include <optional>

#include "host/page/memory_page_text.h"
#include "host/pagefile/page_file_format.h"
#include "host/site/id_tag_count.h"
#include "host/site/region_lookup.h"
#include "platform/text/utf8.h"

namespace host::site {
using platform::text::isUtf8Continuation;
namespace {

// Keeps a byte offset off the middle of a UTF-8 sequence by moving it back to the start.
std::size_t characterStart(const std::string& s, std::size_t i) {
    while (i > 0 && i < s.size() && isUtf8Continuation(s[i])) --i;
    return i;
}

// The part of `before` that `after` replaced: [from, before.size() - tail).
struct ChangedRange {
    std::size_t from = 0;
    std::size_t tail = 0;
};
ChangedRange changedRange(const std::string& before, const std::string& after) {
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t from = 0;
    while (from < shorter && before[from] == after[from]) ++from;
    from = characterStart(before, from);
    std::size_t tail = 0;
    while (tail < shorter - from && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // The tail must start on a character in both texts; they end alike, so one test serves.
    while (tail > 0 && isUtf8Continuation(before[before.size() - tail]))
        --tail;
    return {from, tail};
}

qsizetype utf16Length(const std::string& s, std::size_t from, std::size_t length) {
    return QString::fromUtf8(s.data() + from, qsizetype(length)).size();
}

QString linesOf(const std::vector<const GumboNode*>& elements) {
    QStringList lines;
    for (const GumboNode* e : elements)
        lines << QCoreApplication::translate("host::site::SiteUpdate", "line %1, column %2")
                     .arg(e->v.element.start_pos.line)
                     .arg(e->v.element.start_pos.column);
    return lines.join(QStringLiteral("; "));
}

QString outOfMemory(const char* what) {
    return QCoreApplication::translate(
               "host::site::SiteUpdate",
               "there was not enough memory to %1, so it was not changed. Close "
               "other programs and update again, or update its region in the editor")
        .arg(QCoreApplication::translate("host::site::SiteUpdate", what));
}

}  // namespace

RegionInPage findRegion(PageModel& model, const std::string& id) {
    RegionInPage found;
    const auto snapshot = model.snapshot();
    const auto elements = elementsWithId(*snapshot, id);
    found.count = int(elements.size());
    if (elements.size() == 1) found.content = contentSource(model, *snapshot, elements.front());
    return found;
}

std::optional<std::string> regionContent(const QString& path, const std::string& id) {
    try {
        const PageOnDisk page = readPageOnDisk(path);
        PageModel model(std::make_shared<MemoryPageText>(decodePage(page.bytes).text.toStdString()));
        return findRegion(model, id).content;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::vector<RegionInPage> scanForRegion(const QStringList& pages, const QString& id,
                                        TaskProgress* progress) {
    const IdPrefilter filter(id);
    const std::string key = id.toStdString();
    std::vector<std::optional<RegionInPage>> found(std::size_t(pages.size()));
    forEachPage(
        found.size(),
        [&](std::size_t i) {
            const QString& path = pages[qsizetype(i)];
            try {
                const PageOnDisk page = readPageOnDisk(path);
                if (!filter.mayHold(page.bytes)) return;
                const auto tags = countIdTags(std::string_view(page.bytes.constData(),
                                                               std::size_t(page.bytes.size())),
                                              key);
                if (tags) {
                    if (*tags > 0) found[i] = RegionInPage{page.path, *tags, {}, {}};
                    return;
                }
                PageModel model(std::make_shared<MemoryPageText>(
                    decodePage(page.bytes).text.toStdString()));
                RegionInPage region = findRegion(model, key);
                region.path = page.path;
                if (region.count > 0) found[i] = std::move(region);
            } catch (const SiteError& e) {
                found[i] = RegionInPage{path, 0, std::nullopt, e.message()};
            } catch (const std::bad_alloc&) {
                found[i] =
                    RegionInPage{path, 0, std::nullopt,
                                 outOfMemory(QT_TRANSLATE_NOOP("host::site::SiteUpdate", "read"))};
            } catch (const std::exception& e) {
                found[i] = RegionInPage{path, 0, std::nullopt, QString::fromUtf8(e.what())};
            }
        },
        progress);
    std::vector<RegionInPage> out;
    for (auto& f : found)
        if (f) out.push_back(std::move(*f));
    return out;
}

RegionEdit replaceRegion(PageModel& model, const std::string& id, const std::string& content) {
    RegionEdit edit;
    try {
        const auto snapshot = model.snapshot();
        const auto elements = elementsWithId(*snapshot, id);
        if (elements.empty()) return edit;
        if (elements.size() > 1) {
            edit.outcome = PageOutcome::Refused;
            edit.reason = QCoreApplication::translate(
                              "host::site::SiteUpdate",
                              "the page has %1 elements with the id \"%2\" (%3); an id names "
                              "one element, so none was changed. Give the others another id.")
                              .arg(elements.size())
                              .arg(QString::fromStdString(id), linesOf(elements));
            return edit;
        }
        edit.oldContent = contentSource(model, *snapshot, elements.front());
        if (edit.oldContent == content) {
            edit.outcome = PageOutcome::Unchanged;
            return edit;
        }
        model.setInnerHtml(model.refOf(*snapshot, elements.front()), content);
        edit.outcome = PageOutcome::Updated;
    } catch (const com::Error& e) {
        edit.outcome = PageOutcome::Refused;
        edit.reason = QString::fromStdString(e.description());
    } catch (const std::bad_alloc&) {
        // A page open in the editor is edited on the window's thread: the editor goes on.
        edit.outcome = PageOutcome::Refused;
        edit.reason = outOfMemory(QT_TRANSLATE_NOOP("host::site::SiteUpdate", "update it"));
    }
    return edit;
}

PlannedPage planPage(const QString& path, const std::string& id, const std::string& content,
                     const IdPrefilter* filter) {
    PlannedPage plan;
    plan.before.path = QFileInfo(path).absoluteFilePath();
    try {
        plan.before = readPageOnDisk(path);
        if (filter && !filter->mayHold(plan.before.bytes)) return plan;
        const std::string_view bytes(plan.before.bytes.constData(),
                                     std::size_t(plan.before.bytes.size()));
        if (filter && countIdTags(bytes, id) == 0) return plan;
        const DecodedPage decoded = decodePage(plan.before.bytes);
        const std::string text = decoded.text.toStdString();
        auto edited = std::make_shared<MemoryPageText>(text);
        PageModel model(edited);
        RegionEdit edit = replaceRegion(model, id, content);
        plan.outcome = edit.outcome;
        plan.reason = std::move(edit.reason);
        plan.oldContent = std::move(edit.oldContent);
        if (plan.outcome != PageOutcome::Updated) return plan;
        const std::string after = edited->text();
        const ChangedRange range = changedRange(text, after);
        const qsizetype from = utf16Length(text, 0, range.from);
        const qsizetype to = from + utf16Length(text, range.from, text.size() - range.tail - range.from);
        const QString replacement = QString::fromUtf8(
            after.data() + range.from, qsizetype(after.size() - range.tail - range.from));
        plan.change = spliceBytes(plan.before.bytes, decoded.format, decoded.text, from, to,
                                  replacement);
    } catch (const SiteError& e) {
        plan.outcome = PageOutcome::Refused;
        plan.reason = e.message();
    } catch (const UnencodableCharacter& e) {
        plan.outcome = PageOutcome::Refused;
        plan.reason =
            QCoreApplication::translate(
                "host::site::SiteUpdate",
                "the new content holds the character U+%1, which this page's "
                "encoding cannot hold; write it as the reference &#%2; and update "
                "again. The page was not changed.")
                .arg(QString::number(unsigned(e.codePoint()), 16).toUpper().rightJustified(4, u'0'))
                .arg(unsigned(e.codePoint()));
    } catch (const std::bad_alloc&) {
        // What this page took is given back for the other pages' plans.
        plan = {};
        plan.before.path = QFileInfo(path).absoluteFilePath();
        plan.outcome = PageOutcome::Refused;
        plan.reason = outOfMemory(QT_TRANSLATE_NOOP("host::site::SiteUpdate", "plan its update"));
    } catch (const std::exception& e) {
        plan.outcome = PageOutcome::Refused;
        plan.reason = QString::fromUtf8(e.what());
    }
    return plan;
}

std::vector<PlannedPage> planSiteUpdate(const QStringList& pages, const QString& id,
                                        const std::string& content, TaskProgress* progress) {
    const IdPrefilter filter(id);
    const std::string key = id.toStdString();
    std::vector<PlannedPage> planned(std::size_t(pages.size()));
    forEachPage(
        planned.size(),
        [&](std::size_t i) {
            planned[i] = planPage(pages[qsizetype(i)], key, content, &filter);
            // A page without the region need not stay in memory.
            if (planned[i].outcome == PageOutcome::Absent) planned[i] = {};
        },
        progress);
    std::vector<PlannedPage> out;
    for (auto& p : planned)
        if (p.outcome != PageOutcome::Absent) out.push_back(std::move(p));
    return out;
}

const char* outcomeName(PageOutcome outcome) {
    switch (outcome) {
        case PageOutcome::Absent:
            return "without the region";
        case PageOutcome::Updated:
            return "updated";
        case PageOutcome::Unchanged:
            return "unchanged";
        case PageOutcome::Refused:
            return "refused";
    }
    return "";
}

}  // namespace host::site
