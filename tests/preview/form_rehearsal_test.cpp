// The sign-up rehearsal on real Chromium, over the Form Check corpus: every fault the
// rehearsal is to find (the "rehearsal" rows of corpus/expected.tsv) is found at its place
// and nothing else; on every clean page each step passes. And pagehost --check-form
// rehearses offscreen, or leaves it out when asked.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <map>

#include "host/editor/form_rehearsal_runner.h"
#include "host/pagefile/page_file_format.h"
#include "host/preview/rendered_view.h"

namespace {

struct Row {
    QString publishedAt, check, severity;
    int line = 0, column = 0;
    QString words;
};

std::map<QString, std::vector<Row>> corpus() {
    QFile file(QStringLiteral(FORMCHECK_CORPUS "/expected.tsv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<QString, std::vector<Row>> rows;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QStringList f = QString::fromUtf8(raw).split(u'\t');
        if (f.size() != 6 || f[0].startsWith(u'#')) continue;
        rows[f[0]].push_back({f[1] == u"-" ? QString() : f[1], f[2], f[3],
                              f[4].section(u':', 0, 0).toInt(), f[4].section(u':', 1, 1).toInt(), f[5]});
    }
    return rows;
}

TEST(FormRehearsal, FindsEachFaultAtItsPlaceAndPassesEveryCleanPage) {
    host::FormRehearsalRunner runner;
    int rehearsed = 0;
    for (const auto& [page, rows] : corpus()) {
        const bool clean = rows.front().check == u"clean";
        const bool planted = std::any_of(rows.begin(), rows.end(),
                                         [](const Row& r) { return r.check == u"rehearsal"; });
        if (!clean && !planted) continue;
        SCOPED_TRACE(page.toStdString());
        ++rehearsed;
        const QString path = QStringLiteral(FORMCHECK_CORPUS "/") + page;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const host::formcheck::Rehearsal r = runner.rehearseNow(
            host::decodePage(file.readAll()).text.toUtf8(),
            {path, QStringLiteral(FORMCHECK_CORPUS), rows.front().publishedAt});
        ASSERT_TRUE(r.ran) << qPrintable(host::formcheck::rehearsalSummary(r));
        std::vector<host::formcheck::Finding> findings = r.findings;
        for (const Row& row : rows) {
            if (row.check != u"rehearsal") continue;
            const auto it = std::find_if(findings.begin(), findings.end(), [&](const auto& f) {
                return host::formcheck::severityName(f.severity) == row.severity &&
                       f.line == row.line && f.column == row.column && f.what.contains(row.words);
            });
            if (it == findings.end()) {
                ADD_FAILURE() << "not found: " << qPrintable(row.severity) << " at " << row.line
                              << ":" << row.column << " saying \"" << qPrintable(row.words) << "\"";
            } else {
                findings.erase(it);
            }
        }
        for (const auto& f : findings)
            ADD_FAILURE() << "unexpected: " << f.line << ":" << f.column << " " << qPrintable(f.what);
        if (clean) {
            for (const auto& step : r.steps) EXPECT_TRUE(step.passed) << qPrintable(step.what);
        }
    }
    EXPECT_GE(rehearsed, 34);
}

TEST(FormRehearsal, CheckFormCommandRehearsesOffscreenUnlessLeftOut) {
    const QString page = QStringLiteral(FORMCHECK_CORPUS "/rehearsal-01-required-field-disabled.html");
    const struct {
        QStringList extra;
        int exitCode;
        QString out;
    } cases[] = {
        {{}, 1, page + QStringLiteral(":19:5: error: [rehearsal] the field \"name\" is disabled")},
        {{QStringLiteral("--no-rehearsal")}, 0, QStringLiteral("1 page checked: 0 errors")},
    };
    for (const auto& c : cases) {
        QProcess run;  // killed by its destructor should the test stop early
        run.start(QStringLiteral(PAGEHOST), QStringList{"--check-form", "--published-at",
                                                        "https://club.example/"} + c.extra + QStringList{page});
        ASSERT_TRUE(run.waitForFinished(90000)) << "pagehost did not finish";
        const QString out = QString::fromUtf8(run.readAllStandardOutput());
        EXPECT_EQ(run.exitCode(), c.exitCode) << qPrintable(out);
        EXPECT_TRUE(out.contains(c.out)) << qPrintable(out);
    }
}

TEST(FormRehearsal, SaysWhyWhenAPageIsLargerThanTheRenderedViewShows) {
    host::FormRehearsalRunner runner;
    const host::formcheck::Rehearsal r =
        runner.rehearseNow(QByteArray(host::preview::kLargestRenderedPage + 1, ' '), {});
    EXPECT_FALSE(r.ran);
    EXPECT_TRUE(host::formcheck::rehearsalSummary(r).contains("larger than the rendered view shows"))
        << qPrintable(host::formcheck::rehearsalSummary(r));
}

}  // namespace
