// The wizard in the desktop's language: its own catalogue from the module's folder while it is
// open, English where no catalogue matches, and the host's texts left alone afterwards.
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <map>

#include "wizard/form/string_table.h"
#include "wizard_fixture.h"

namespace {

struct Case {
    const char* locale;
    QString title, next, page1Heading;  // page1Heading empty: every page's text as in the table
};

using WizardLanguage = WizardFixture;

TEST_F(WizardLanguage, FollowsTheLocaleWhileOpen) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(OSTREL_WIZARD_DE_QM),
                            QString::fromStdString((folder() / "ostrel_wizard_de.qm").string())));
    const QLocale before;
    std::map<int, QString> english;  // read while no catalogue is in force
    for (int number = 101; number <= 109; ++number)
        english[number] = ostrel::stringTableText(number);
    const std::vector<Case> cases = {
        {"de_DE", "Ostrel-Autoresponder-Assistent", "&Weiter", "Bestehendes Konto: \r\n"},
        {"de_AT", "Ostrel-Autoresponder-Assistent", "&Weiter", "Bestehendes Konto: \r\n"},
        {"en_US", "Ostrel Autoresponder Wizard", "&Next", {}},
        {"fr_FR", "Ostrel Autoresponder Wizard", "&Next", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        auto wizard = newWizard();
        run(*wizard, [&](ostrel::WizardForm& form) {
            EXPECT_EQ(form.windowTitle(), c.title);
            EXPECT_EQ(form.cmdWizControl()[2]->text(), c.next);
            for (QLabel* label : form.lblWzStep()) {
                const int number = ostrel::WizardForm::tag(*label).trimmed().toInt();
                EXPECT_EQ(label->text() == english.at(number), c.page1Heading.isEmpty())
                    << label->text().toStdString();
            }
            if (!c.page1Heading.isEmpty()) {
                EXPECT_TRUE(form.lblWzStep()[0]->text().startsWith(c.page1Heading));
            }
            press(form, 0);
        });
        // Closed: the catalogue is gone, and with it any say over the host's texts.
        EXPECT_EQ(QCoreApplication::translate("frmOstWiz", "&Next"), QStringLiteral("&Next"));
    }
    QLocale::setDefault(before);
}

}  // namespace
