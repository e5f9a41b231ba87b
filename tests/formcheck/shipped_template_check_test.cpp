// The shipped template, filled by the wizard's own snippet code and put into the sample page
// as the add-in does, passes every check; with every box left empty the check names exactly
// what the empty entries leave.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "host/formcheck/form_check.h"
#include "host/formcheck/form_checks.h"
#include "host/formcheck/service_address.h"
#include "host/page/memory_page_text.h"
#include "host/page/page_model.h"
#include "host/pagefile/page_file_format.h"
#include "tests/snippet/recording_settings_store.h"
#include "wizard/settings/service_addresses.h"
#include "wizard/snippet/module_folder.h"
#include "wizard/snippet/snippet_builder.h"

namespace {

using host::formcheck::CheckKind;
using host::formcheck::Finding;
using host::formcheck::Severity;

// The entries an author types on an ordinary run of the wizard.
ostrel::WizardEntries ordinaryEntries() {
    ostrel::WizardEntries e;
    e.listId = "gardenclub";
    e.formHeader = "Stay in touch with the garden club";
    e.adTracking = "welcome-page";
    e.thankUrl = "https://www.gardenclub.example/thanks.html";
    e.msgNo = "1";
    return e;
}

// samples/welcome.html after Finish: the snippet in a new region at the end of the body, as
// the add-in's InsertHTML writes it.
std::string welcomeAfterFinish(const ostrel::WizardEntries& entries) {
    snippet_test::RecordingSettingsStore store;
    const std::string snippet = ostrel::buildSnippet(entries, store, ostrel::moduleFolder());
    QFile page(QStringLiteral(OSTREL_SAMPLES "/welcome.html"));
    EXPECT_TRUE(page.open(QIODevice::ReadOnly));
    auto text = std::make_shared<host::MemoryPageText>(page.readAll().toStdString());
    host::PageModel model(text);
    const auto snapshot = model.snapshot();
    const auto bodies = host::PageModel::elementsWithTag(*snapshot, "body");
    EXPECT_EQ(bodies.size(), 1u);
    model.insertAdjacentHtml(model.refOf(*snapshot, bodies.front()),
                             host::AdjacentPosition::beforeEnd,
                             "<div id='OstrelInsert'>\r\n" + snippet + "</div>\r\n");
    return text->current();
}

QString listed(const std::vector<Finding>& findings) {
    QString out;
    for (const Finding& f : findings)
        out += QStringLiteral("%1:%2 %3: %4\n").arg(f.line).arg(f.column).arg(
            host::formcheck::severityName(f.severity), f.what);
    return out;
}

TEST(ShippedTemplateCheck, FilledWithOrdinaryEntriesPassesEveryCheck) {
    const std::string page = welcomeAfterFinish(ordinaryEntries());
    const auto findings = host::formcheck::checkForm(
        QByteArray::fromStdString(page), {QStringLiteral(OSTREL_SAMPLES "/welcome.html"),
                                          QStringLiteral(OSTREL_SAMPLES), QString()});
    EXPECT_TRUE(findings.empty()) << qPrintable(listed(findings));
}

TEST(ShippedTemplateCheck, PassesOnAPagePublishedOverHttpsWithItsThankYouPageInTheSite) {
    QTemporaryDir site;
    const QString pagePath = site.filePath(QStringLiteral("welcome.html"));
    QFile thanks(site.filePath(QStringLiteral("thanks.html")));
    ASSERT_TRUE(thanks.open(QIODevice::WriteOnly));
    thanks.write("<!DOCTYPE html><title>Thanks</title><p>Check your inbox to confirm.</p>\n");
    thanks.close();
    const std::string page = welcomeAfterFinish(ordinaryEntries());
    const auto findings = host::formcheck::checkForm(
        QByteArray::fromStdString(page),
        {pagePath, site.path(), QStringLiteral("https://www.gardenclub.example/")});
    EXPECT_TRUE(findings.empty()) << qPrintable(listed(findings));

    // Without the thank-you page's file, the same check names it.
    QFile::remove(thanks.fileName());
    const auto missing = host::formcheck::checkForm(
        QByteArray::fromStdString(page),
        {pagePath, site.path(), QStringLiteral("https://www.gardenclub.example/")});
    ASSERT_EQ(missing.size(), 1u) << qPrintable(listed(missing));
    EXPECT_EQ(missing[0].check, CheckKind::thankYouPage);
    EXPECT_EQ(missing[0].severity, Severity::warning);
}

TEST(ShippedTemplateCheck, WithEveryBoxEmptyNamesTheListIdAndTheThankYouPage) {
    const std::string page = welcomeAfterFinish({});
    const auto findings = host::formcheck::checkForm(QByteArray::fromStdString(page), {});
    ASSERT_EQ(findings.size(), 2u) << qPrintable(listed(findings));
    EXPECT_EQ(findings[0].check, CheckKind::templateEntries);
    EXPECT_EQ(findings[0].severity, Severity::error);
    EXPECT_TRUE(findings[0].what.contains(QStringLiteral("\"None\""))) << qPrintable(findings[0].what);
    EXPECT_EQ(findings[1].check, CheckKind::thankYouPage);
    EXPECT_EQ(findings[1].severity, Severity::warning);
}

// The page corpus of the insertion tests (tests/page/corpus, the region written as @MARKER@):
// every page the editor takes the form into passes, but for the pages whose region itself is
// wrong for a form.
TEST(ShippedTemplateCheck, PassesInEveryPageOfThePageCorpusWhoseRegionCanHoldAForm) {
    snippet_test::RecordingSettingsStore store;
    const std::string snippet = ostrel::buildSnippet(ordinaryEntries(), store, ostrel::moduleFolder());
    // Page name prefix -> what the check must say about it, in order.
    const std::map<QString, std::vector<QString>> faulty{
        {"17-", {"region is itself a form"}},
        {"18-", {"lies inside another form"}},
        {"19-", {"lies inside another form"}},
        {"26-", {"second sign-up region", "second sign-up region"}},
        {"27-", {"region is itself a form"}},
    };
    const QDir corpus(QStringLiteral(OSTREL_SOURCE_DIR "/tests/page/corpus"));
    int checked = 0;
    for (const QString& name : corpus.entryList({QStringLiteral("*.html")}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString text = host::decodePage(file.readAll()).text;
        text.replace(QStringLiteral("@MARKER@"), QStringLiteral("OstrelInsert"));
        auto page = std::make_shared<host::MemoryPageText>(text.toStdString());
        host::PageModel model(page);
        try {  // as the add-in's InsertHTML does
            const auto snapshot = model.snapshot();
            const auto regions = host::PageModel::elementsNamed(*snapshot, "OstrelInsert");
            if (regions.size() == 1) {
                model.setInnerHtml(model.refOf(*snapshot, regions.front()), snippet);
            } else {
                const auto bodies = host::PageModel::elementsWithTag(*snapshot, "body");
                if (bodies.empty()) continue;
                model.insertAdjacentHtml(model.refOf(*snapshot, bodies.front()),
                                         host::AdjacentPosition::beforeEnd,
                                         "<div id='OstrelInsert'>\r\n" + snippet + "</div>\r\n");
            }
        } catch (const com::Error&) {
            continue;  // the editor refuses the insertion; nothing to check
        }
        ++checked;
        const auto findings = host::formcheck::checkForm(QByteArray::fromStdString(page->current()), {});
        const auto expected = faulty.find(name.left(3));
        const std::vector<QString> says = expected == faulty.end() ? std::vector<QString>{} : expected->second;
        ASSERT_EQ(findings.size(), says.size()) << qPrintable(listed(findings));
        for (std::size_t i = 0; i < says.size(); ++i)
            EXPECT_TRUE(findings[i].what.contains(says[i])) << qPrintable(listed(findings));
    }
    EXPECT_GE(checked, 50);
    std::printf("The shipped template in the page corpus: %d pages checked, %zu with a region unfit "
                "for a form, no other finding\n",
                checked, faulty.size());
}

TEST(ShippedTemplateCheck, KnowsTheHomePagesTheWizardFallsBackToAndSuggests) {
    EXPECT_EQ(std::string_view(host::formcheck::kServiceHomePage), ostrel::kServiceHomePage);
    EXPECT_EQ(std::string_view(host::formcheck::kPublisherHomePage), ostrel::kPublisherHomePage);
    // And the action the template sends sign-ups to, which the host rule compares against.
    QFile shipped(QStringLiteral(OSTREL_SOURCE_DIR "/resources/template/template.wtf"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    EXPECT_TRUE(shipped.readAll().contains(QByteArray("action=\"") + host::formcheck::kServiceAction + '"'));
}

}  // namespace
