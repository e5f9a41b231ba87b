// The command-line Form Check: pages given by name are checked as they are; a site folder's
// pages are checked where they hold the sign-up region.
#include "host/formcheck/form_check_command.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <new>
#include <stdexcept>

#include "host/formcheck/form_check.h"
#include "host/formcheck/form_page.h"
#include "host/formcheck/web_address.h"
#include "host/pagefile/page_file.h"
#include "host/pagefile/page_file_format.h"
#include "host/site/region_lookup.h"
#include "host/site/report_name.h"
#include "host/site/site_folder.h"

namespace host::formcheck {
namespace {

struct UsageError : std::runtime_error {
    explicit UsageError(const QString& m) : std::runtime_error(m.toStdString()) {}
};

struct Request {
    QString publishedAt;
    QStringList paths;
    bool rehearse = true;
};

Request parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption check(QStringLiteral("check-form"));
    const QCommandLineOption published(QStringLiteral("published-at"), {}, QStringLiteral("URL"));
    const QCommandLineOption noRehearsal(QStringLiteral("no-rehearsal"));
    parser.addOptions({check, published, noRehearsal});
    if (!parser.parse(arguments)) throw UsageError(parser.errorText());
    Request r{parser.value(published), parser.positionalArguments(), !parser.isSet(noRehearsal)};
    if (r.paths.isEmpty())
        throw UsageError(QStringLiteral("--check-form needs a PAGE or a SITE_FOLDER to check"));
    if (parser.isSet(published)) {
        const auto address = parseAbsoluteAddress(r.publishedAt);
        if (!address || !address->isAbsoluteHttp())
            throw UsageError(QStringLiteral("--published-at needs the full http: or https: address "
                                            "the pages are published at, not \"%1\"")
                                 .arg(r.publishedAt));
    }
    for (const QString& path : r.paths) {
        const QFileInfo info(path);
        if (!info.isDir() && !info.isFile())
            throw UsageError(QStringLiteral("%1 is neither a page nor a folder").arg(path));
    }
    return r;
}

void print(std::FILE* f, const QString& line) {
    std::fprintf(f, "%s\n", qUtf8Printable(line));
}

// A message on one line: any line break or other control character becomes a space.
QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar(0x2028) || c == QChar(0x2029))
            c = u' ';
    }
    return text;
}

struct Tally {
    int pages = 0;
    int withoutRegion = 0;
    int notChecked = 0;
    int skipped = 0;        // left out by a folder's listing
    int mayHoldRegion = 0;  // of those, may hold the region
    int rehearsed = 0;
    int notRehearsed = 0;
    int counts[3] = {};
};

class Checker {
public:
    Checker(std::FILE* out, QString publishedAt, Rehearse rehearse)
        : m_out(out), m_publishedAt(std::move(publishedAt)), m_rehearse(std::move(rehearse)) {}

    // `shown` is the name the report gives the page; `siteFolder` the folder its thank-you
    // addresses are looked up in.
    void checkPage(const QString& path, const QString& shown, const QString& siteFolder,
                   bool onlyWithRegion) {
        QByteArray bytes;
        try {
            // A page named on the command line is read through its link; a folder's never.
            bytes = readPageFile(path, {kLargestParsedPage, !onlyWithRegion, {}}).bytes;
        } catch (const PageFileError& e) {
            notChecked(shown, e.message());
            return;
        }
        if (onlyWithRegion && !m_prefilter.mayHold(bytes)) {
            ++m_tally.withoutRegion;
            return;
        }
        QString text;
        try {
            text = decodePage(bytes).text;
        } catch (const UnreadableEncoding& e) {
            notChecked(shown, QString::fromUtf8(e.what()));
            return;
        } catch (const std::bad_alloc&) {
            notChecked(shown, QStringLiteral("there was not enough memory to read the page"));
            return;
        }
        const PageContext context{QFileInfo(path).absoluteFilePath(), siteFolder, m_publishedAt};
        FormCheckRun run;
        try {
            run = runFormCheck(text.toUtf8(), context);
        } catch (const std::bad_alloc&) {
            notChecked(shown, QStringLiteral("there was not enough memory to read the page"));
            return;
        }
        if (onlyWithRegion && run.checked && run.regions == 0) {
            ++m_tally.withoutRegion;
            return;
        }
        ++m_tally.pages;
        if (!run.checked) ++m_tally.notChecked;
        if (m_rehearse && run.checked && run.regions > 0) {
            const Rehearsal rehearsal = m_rehearse(text.toUtf8(), context);
            if (rehearsal.ran) {
                ++m_tally.rehearsed;
                mergeRehearsalFindings(run.findings, rehearsal);
            } else {
                ++m_tally.notRehearsed;
                // Said once for a reason every page shares (a build without the view).
                for (const RehearsalStep& step : rehearsal.steps) {
                    if (m_toldWhy.contains(step.what)) continue;
                    m_toldWhy << step.what;
                    print(m_out, oneLine(QStringLiteral("%1: %2").arg(shown, step.what)));
                }
            }
        }
        for (const Finding& f : run.findings) {
            ++m_tally.counts[int(f.severity)];
            const QString place = f.line > 0 ? QStringLiteral("%1:%2:%3").arg(shown).arg(f.line).arg(f.column)
                                             : shown;
            print(m_out, oneLine(QStringLiteral("%1: %2: [%3] %4 \u2014 %5")
                                     .arg(place, severityName(f.severity), checkName(f.check),
                                          f.what, f.advice)));
        }
    }

    void checkFolder(const QString& folder) {
        const QString root = QFileInfo(folder).absoluteFilePath();
        QString prefix = folder;
        while (prefix.size() > 1 && prefix.endsWith(u'/')) prefix.chop(1);
        const site::SiteListing listing = site::listSite(root);
        const QDir dir(root);
        for (const QString& page : listing.pages) {
            const QString shown = site::reportName(
                (prefix == u"/" ? prefix : prefix + u'/').toUtf8() + dir.relativeFilePath(page).toUtf8());
            checkPage(page, shown, root, true);
        }
        const QByteArray rootBytes = QFile::encodeName(root) + '/';
        for (const site::SkippedEntry& entry : listing.skipped) {
            const bool holds = site::mayHoldId(entry, QByteArray(kRegionId.data(), qsizetype(kRegionId.size())));
            m_tally.mayHoldRegion += holds;
            ++m_tally.skipped;
            print(m_out, QStringLiteral("%1: skipped: %2%3")
                             .arg(site::reportName(prefix.toUtf8() + '/' + entry.path.mid(rootBytes.size())),
                                  entry.reason,
                                  holds ? QStringLiteral("; it may hold the sign-up region and was not checked")
                                        : QString()));
        }
    }

    const Tally& tally() const { return m_tally; }

private:
    void notChecked(const QString& shown, const QString& why) {
        ++m_tally.notChecked;
        print(m_out, oneLine(QStringLiteral("%1: not checked: %2").arg(shown, why)));
    }

    std::FILE* m_out;
    QString m_publishedAt;
    Rehearse m_rehearse;
    QStringList m_toldWhy;
    site::IdPrefilter m_prefilter{QString::fromLatin1(kRegionId.data(), qsizetype(kRegionId.size()))};
    Tally m_tally;
};

QString plural(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1StringView(n == 1 ? one : many));
}

}  // namespace

bool asksForFormCheck(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check-form") == 0) return true;
    }
    return false;
}

QString formCheckUsageLine() {
    return QStringLiteral(
        "       pagehost --check-form [--published-at URL] [--no-rehearsal] PAGE...|SITE_FOLDER\n");
}

QString formCheckOptions() {
    return QStringLiteral(
        "  --check-form        without a window: check the sign-up form in each PAGE, or in\n"
        "                      every page of SITE_FOLDER that holds the sign-up region; prints\n"
        "                      one line per finding (PAGE:LINE:COLUMN: severity: [check] ...)\n"
        "                      and exits with 1 when an error was found\n"
        "  --published-at URL  the address the site folder (or each PAGE's folder) is\n"
        "                      published at, for the https and thank-you page checks\n"
        "  --no-rehearsal      leave out the rehearsal (faster): without it, each page's form\n"
        "                      is also filled in and submitted offscreen in the rendered\n"
        "                      view's engine, and the request checked against the service\n");
}

int runFormCheckCommand(const QStringList& arguments, std::FILE* out, std::FILE* err,
                        const Rehearse& rehearse) {
    Request request;
    try {
        request = parse(arguments);
    } catch (const std::exception& e) {
        std::fprintf(err, "pagehost: %s\n", e.what());
        return 2;
    }
    Checker checker(out, request.publishedAt, request.rehearse ? rehearse : Rehearse{});
    bool folders = false;
    try {
        for (const QString& path : request.paths) {
            if (QFileInfo(path).isDir()) {
                folders = true;
                checker.checkFolder(path);
            } else {
                checker.checkPage(path, site::reportName(path.toUtf8()),
                                  QFileInfo(path).absolutePath(), false);
            }
        }
    } catch (const std::bad_alloc&) {
        std::fprintf(err, "pagehost: there was not enough memory to go on with the Form Check; "
                          "no file was changed. Close other programs and run it again\n");
        return 1;
    }
    const Tally& t = checker.tally();
    QString summary = QStringLiteral("%1 checked: %2, %3, %4")
                          .arg(plural(t.pages, "page", "pages"),
                               plural(t.counts[int(Severity::error)], "error", "errors"),
                               plural(t.counts[int(Severity::warning)], "warning", "warnings"),
                               plural(t.counts[int(Severity::note)], "note", "notes"));
    if (folders) summary += QStringLiteral("; %1 without the sign-up region").arg(plural(t.withoutRegion, "page", "pages"));
    if (request.rehearse && rehearse) {
        summary += QStringLiteral("; %1 rehearsed").arg(plural(t.rehearsed, "page", "pages"));
        if (t.notRehearsed > 0) summary += QStringLiteral(", %1 not").arg(t.notRehearsed);
    }
    if (t.skipped > 0) summary += QStringLiteral("; %1 skipped").arg(plural(t.skipped, "entry", "entries"));
    if (t.notChecked > 0) summary += QStringLiteral("; %1 not checked").arg(plural(t.notChecked, "page", "pages"));
    print(out, summary);
    std::fflush(out);
    return t.counts[int(Severity::error)] > 0 || t.notChecked > 0 || t.mayHoldRegion > 0 ? 1 : 0;
}

}  // namespace host::formcheck
