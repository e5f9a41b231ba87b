// The corpus of pages with planted faults and clean pages (corpus/expected.tsv): every planted
// fault is found at its line and column, and nothing else is. Prints detection and false
// alarms per check.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/formcheck/form_check.h"
#include "host/pagefile/page_file_format.h"

namespace {

using host::formcheck::CheckKind;
using host::formcheck::Finding;
using host::formcheck::Severity;

struct Planted {
    QString page;
    QString publishedAt;
    QString check;  // "clean" for a page that must give no finding
    QString severity;
    int line = 0;
    int column = 0;
    QString words;
};

// The manifest's short names of the checks.
QString shortName(CheckKind check) {
    switch (check) {
        case CheckKind::accessibility: return QStringLiteral("accessibility");
        case CheckKind::transport: return QStringLiteral("transport");
        case CheckKind::contentPolicy: return QStringLiteral("content-policy");
        case CheckKind::thankYouPage: return QStringLiteral("thank-you");
        case CheckKind::templateEntries: return QStringLiteral("template");
        case CheckKind::rehearsal: return QStringLiteral("rehearsal");
    }
    return {};
}

std::vector<Planted> manifest() {
    QFile file(QStringLiteral(FORMCHECK_CORPUS "/expected.tsv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "the corpus manifest";
    std::vector<Planted> rows;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QStringList f = line.split(u'\t');
        EXPECT_EQ(f.size(), 6) << qPrintable(line);
        if (f.size() != 6) continue;
        Planted p{f[0], f[1] == u"-" ? QString() : f[1], f[2], f[3], 0, 0, f[5]};
        if (p.check != u"clean") {
            const QStringList at = f[4].split(u':');
            p.line = at.value(0).toInt();
            p.column = at.value(1).toInt();
        }
        rows.push_back(p);
    }
    return rows;
}

std::vector<Finding> check(const QString& page, const QString& publishedAt) {
    const QString dir = QStringLiteral(FORMCHECK_CORPUS);
    QFile file(dir + u'/' + page);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(page);
    const QByteArray bytes = file.readAll();
    // As the editor holds it: decoded, line breaks as '\n'.
    const QByteArray text = host::decodePage(bytes).text.toUtf8();
    const QByteArray before = text;
    auto findings = host::formcheck::checkForm(text, {dir + u'/' + page, dir, publishedAt});
    EXPECT_EQ(text, before) << "the check never changes the page";
    return findings;
}

QString describe(const Finding& f) {
    return QStringLiteral("%1:%2 %3 [%4] %5").arg(f.line).arg(f.column).arg(
        host::formcheck::severityName(f.severity), shortName(f.check), f.what);
}

TEST(FormCheckCorpus, FindsEveryPlantedFaultAtItsPlaceAndNothingElse) {
    const std::vector<Planted> rows = manifest();
    std::map<QString, std::vector<Planted>> byPage;
    for (const Planted& p : rows) byPage[p.page].push_back(p);
    ASSERT_GE(byPage.size(), 40u) << "at least 40 pages";

    // Every page of the corpus is in the manifest.
    const QStringList files = QDir(QStringLiteral(FORMCHECK_CORPUS))
                                  .entryList({QStringLiteral("*.html")}, QDir::Files);
    EXPECT_EQ(QStringList(files), [&] {
        QStringList names;
        for (const auto& [page, _] : byPage) names << page;
        names.sort();
        return names;
    }());

    struct Tally {
        int planted = 0, found = 0, falseAlarms = 0, cleanPageAlarms = 0;
    };
    std::map<QString, Tally> tally;
    for (const char* name : {"accessibility", "transport", "content-policy", "thank-you", "template"})
        tally[QString::fromLatin1(name)];
    int cleanPages = 0;
    for (const auto& [page, planted] : byPage) {
        std::vector<Finding> findings = check(page, planted.front().publishedAt);
        const bool clean = planted.front().check == u"clean";
        cleanPages += clean;
        for (const Planted& p : planted) {
            // The rehearsal's rows are the browser test's (tests/preview/form_rehearsal_test.cpp).
            if (p.check == u"clean" || p.check == u"rehearsal") continue;
            ++tally[p.check].planted;
            const auto it = std::find_if(findings.begin(), findings.end(), [&](const Finding& f) {
                return shortName(f.check) == p.check &&
                       host::formcheck::severityName(f.severity) == p.severity &&
                       f.line == p.line && f.column == p.column && f.what.contains(p.words);
            });
            if (it == findings.end()) {
                ADD_FAILURE() << qPrintable(page) << ": not found: " << qPrintable(p.check) << " "
                              << qPrintable(p.severity) << " at " << p.line << ":" << p.column
                              << " saying \"" << qPrintable(p.words) << "\"";
                continue;
            }
            ++tally[p.check].found;
            findings.erase(it);
        }
        for (const Finding& f : findings) {
            ++tally[shortName(f.check)].falseAlarms;
            tally[shortName(f.check)].cleanPageAlarms += clean;
            ADD_FAILURE() << qPrintable(page) << ": unexpected finding " << qPrintable(describe(f));
        }
    }

    std::printf("Form Check corpus: %zu pages (%d clean)\n", byPage.size(), cleanPages);
    std::printf("%-15s %8s %8s %10s %13s\n", "check", "planted", "found", "detection",
                "false alarms");
    for (const auto& [check, t] : tally) {
        std::printf("%-15s %8d %8d %9.0f%% %6d (%d on clean pages)\n", qPrintable(check), t.planted,
                    t.found, t.planted ? 100.0 * t.found / t.planted : 100.0, t.falseAlarms,
                    t.cleanPageAlarms);
        EXPECT_GE(t.planted, 5) << qPrintable(check) << ": at least 5 planted faults";
    }
}

// With the German catalogue installed, as the editor installs it for a German desktop: every
// finding of the corpus reads otherwise than in English, what and advice, so that no text was
// left out of the catalogue's reach (a plain literal, or a table read before the language was).
TEST(FormCheckCorpus, EveryFindingReadsInTheAuthorsLanguage) {
    std::map<QString, QString> pages;
    for (const Planted& p : manifest()) pages.emplace(p.page, p.publishedAt);
    std::map<QString, std::vector<Finding>> english;
    for (const auto& [page, publishedAt] : pages) english[page] = check(page, publishedAt);

    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(OSTREL_GERMAN_CATALOGUE)));
    ASSERT_TRUE(QCoreApplication::installTranslator(&german));
    struct Removed {
        QTranslator& t;
        ~Removed() { QCoreApplication::removeTranslator(&t); }
    } removed{german};
    int findings = 0;
    for (const auto& [page, publishedAt] : pages) {
        const std::vector<Finding> translated = check(page, publishedAt);
        const std::vector<Finding>& original = english[page];
        ASSERT_EQ(translated.size(), original.size()) << qPrintable(page);
        for (std::size_t i = 0; i < original.size(); ++i, ++findings) {
            EXPECT_NE(translated[i].what.toStdString(), original[i].what.toStdString())
                << qPrintable(page);
            EXPECT_NE(translated[i].advice.toStdString(), original[i].advice.toStdString())
                << qPrintable(page) << ": " << qPrintable(original[i].what);
        }
    }
    EXPECT_GE(findings, 90) << "the corpus's findings";
}

}  // namespace
