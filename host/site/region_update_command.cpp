// The command-line site update: the same plan and commit as the editor's, reported as text.
#include "host/site/region_update_command.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "host/pagefile/page_file_format.h"
#include "host/page/memory_page_text.h"
#include "host/site/region_update.h"
#include "host/site/report_name.h"
#include "host/site/site_commit.h"
#include "host/site/site_folder.h"

namespace host::site {
namespace {

struct UsageError : std::runtime_error {
    explicit UsageError(const QString& m) : std::runtime_error(m.toStdString()) {}
};

struct Request {
    QString id;
    QString from;
    QString folder;
};

Request parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption id(QStringLiteral("update-region"), {}, QStringLiteral("ID"));
    const QCommandLineOption from(QStringLiteral("from"), {}, QStringLiteral("PAGE"));
    parser.addOptions({id, from});
    if (!parser.parse(arguments)) throw UsageError(parser.errorText());
    Request r{parser.value(id), parser.value(from), {}};
    if (r.id.isEmpty()) throw UsageError(QStringLiteral("--update-region needs an id"));
    if (r.from.isEmpty())
        throw UsageError(QStringLiteral("--update-region needs --from PAGE, the page to copy from"));
    if (parser.positionalArguments().size() != 1)
        throw UsageError(QStringLiteral("--update-region needs exactly one SITE_FOLDER"));
    r.folder = parser.positionalArguments().front();
    if (!QFileInfo(r.folder).isDir())
        throw UsageError(QStringLiteral("%1 is not a folder").arg(r.folder));
    return r;
}

// The first surrogate of the text that is not half of a pair (a UTF-16 page keeps them),
// which UTF-8 cannot hold; -1 when there is none.
qsizetype loneSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            return i;
        }
    }
    return -1;
}

// The region's content on the page the author changed. A lone surrogate would reach every
// page as '?', so a page with one is refused, naming where it is.
std::string sourceContent(const Request& r) {
    const PageOnDisk page = readPageOnDisk(r.from);
    QString text;
    try {
        text = decodePage(page.bytes).text;
    } catch (const UnreadableEncoding& e) {
        throw UsageError(QStringLiteral("%1: %2; no page was changed").arg(page.path, QString::fromUtf8(e.what())));
    }
    if (const qsizetype at = loneSurrogate(text); at >= 0) {
        const qsizetype lineStart = text.lastIndexOf(u'\n', at) + 1;
        throw UsageError(
            QStringLiteral("%1, line %2, column %3: a lone surrogate (U+%4), half of a character "
                           "that UTF-8 cannot write; no page was changed. Replace it with the "
                           "character meant, or remove it, and run the update again")
                .arg(page.path)
                .arg(text.left(at).count(u'\n') + 1)
                .arg(at - lineStart + 1)
                .arg(QString::number(text[at].unicode(), 16).toUpper()));
    }
    PageModel model(std::make_shared<MemoryPageText>(text.toStdString()));
    const RegionInPage region = findRegion(model, r.id.toStdString());
    if (region.count != 1) {
        throw UsageError(QStringLiteral("%1 has %2 elements with the id \"%3\"; it needs exactly one")
                             .arg(page.path)
                             .arg(region.count)
                             .arg(r.id));
    }
    return *region.content;
}

void print(std::FILE* f, const QString& line) {
    std::fprintf(f, "%s\n", qUtf8Printable(line));
}

}  // namespace

bool asksForRegionUpdate(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--update-region") == 0 ||
            std::strncmp(argv[i], "--update-region=", 16) == 0)
            return true;
    }
    return false;
}

QString regionUpdateUsageLine() {
    return QStringLiteral("       pagehost --update-region ID --from PAGE SITE_FOLDER\n");
}

QString regionUpdateOptions() {
    return QStringLiteral(
        "  --update-region ID  without a window: give the element with this id on every page\n"
        "                      of SITE_FOLDER the content it has on PAGE; prints one line per\n"
        "                      page and exits with 1 when a page was refused or left out\n");
}

int runRegionUpdateCommand(const QStringList& arguments, std::FILE* out, std::FILE* err) {
    Request request;
    std::string content;
    try {
        request = parse(arguments);
        content = sourceContent(request);
    } catch (const std::exception& e) {
        std::fprintf(err, "pagehost: %s\n", e.what());
        return 2;
    }
    const QDir root(QFileInfo(request.folder).absoluteFilePath());
    SiteListing listing = listSite(root.absolutePath());
    QStringList& pages = listing.pages;
    const QString from = QFileInfo(request.from).canonicalFilePath();
    pages.removeIf([&](const QString& p) { return QFileInfo(p).canonicalFilePath() == from; });

    std::vector<PlannedPage> plan;
    try {
        plan = planSiteUpdate(pages, request.id, content);
    } catch (const std::bad_alloc&) {
        std::fprintf(err,
                     "pagehost: there was not enough memory to plan the site update; no "
                     "page was changed. Close other programs and run it again\n");
        return 1;
    }
    commitSiteUpdate(plan);
    int counts[4] = {};
    for (const PlannedPage& page : plan) {
        ++counts[int(page.outcome)];
        QString line = QStringLiteral("%1: %2").arg(
            QString::fromLatin1(outcomeName(page.outcome)),
            reportName(root.relativeFilePath(page.before.path).toUtf8()));
        if (page.outcome == PageOutcome::Refused) line += QStringLiteral(": ") + page.reason;
        print(out, line);
    }
    // Left out by the listing: each is named; one that may hold the region fails the run.
    int missed = 0;
    const QByteArray rootBytes = QFile::encodeName(root.absolutePath()) + '/';
    for (const SkippedEntry& entry : listing.skipped) {
        const bool holds = mayHoldId(entry, request.id.toUtf8());
        missed += holds;
        print(out, QStringLiteral("skipped: %1: %2%3")
                       .arg(reportName(entry.path.mid(rootBytes.size())), entry.reason,
                            holds ? QStringLiteral("; it may hold the region and was not updated: "
                                                   "update it in the editor")
                                  : QString()));
    }
    QString summary = QStringLiteral("%1 updated, %2 unchanged, %3 refused, %4 without the region")
                          .arg(counts[int(PageOutcome::Updated)])
                          .arg(counts[int(PageOutcome::Unchanged)])
                          .arg(counts[int(PageOutcome::Refused)])
                          .arg(pages.size() - qsizetype(plan.size()));
    if (!listing.skipped.empty())
        summary += QStringLiteral(", %1 skipped").arg(listing.skipped.size());
    print(out, summary);
    std::fflush(out);
    return counts[int(PageOutcome::Refused)] > 0 || missed > 0 ? 1 : 0;
}

}  // namespace host::site
