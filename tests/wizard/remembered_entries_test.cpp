// The entries a wizard shows at load and saves at Finish, and failures the author sees.
#include "wizard_fixture.h"

namespace {

using ostrel::persisted::AdTracking;
using ostrel::persisted::EmailLinkText;
using ostrel::persisted::FormHeader;
using ostrel::persisted::MsgNo;
using ostrel::persisted::ThankURL;
using ostrel::persisted::UserID;

using RememberedEntries = WizardFixture;

struct Shown {
    QString user, header, tracking, thanks, msgNo, linkText;
};

Shown shownBy(RememberedEntries& fixture) {
    Shown shown;
    auto wizard = fixture.newWizard();
    fixture.run(*wizard, [&](ostrel::WizardForm& f) {
        shown = {f.txtUserName()->text(), f.txtFormHeader()->text(), f.txtAdTracking()->text(),
                 f.txtThankURL()->text(), f.txtMsgNo()->text(), f.txtLinkText()->text()};
        WizardFixture::press(f, 0);
    });
    return shown;
}

void finishWebForm(RememberedEntries& fixture, const std::function<void(ostrel::WizardForm&)>& fill) {
    auto wizard = fixture.newWizard();
    fixture.run(*wizard, [&](ostrel::WizardForm& f) {
        fill(f);
        for (int i = 0; i < 7; ++i) WizardFixture::press(f, 2);
        WizardFixture::press(f, 3);
    });
    ASSERT_EQ(wizard->WizCloseStatus(), com::vbTrue);
}

TEST_F(RememberedEntries, ANewAuthorSeesTheDefaults) {
    const Shown s = shownBy(*this);
    EXPECT_EQ(s.user, "");
    EXPECT_EQ(s.header, "For More Information");
    EXPECT_EQ(s.tracking, "");
    EXPECT_EQ(s.thanks, "http://www.publisher.example/");
    EXPECT_EQ(s.msgNo, "1");
    EXPECT_EQ(s.linkText, "Join our mailing list");
}

TEST_F(RememberedEntries, EmptiedBoxesKeepTheStoredValueExceptAdTracking) {
    finishWebForm(*this, [](ostrel::WizardForm& f) {
        type(f.txtUserName(), "jane & co");
        type(f.txtFormHeader(), "  ");
        type(f.txtAdTracking(), "ezine_ad");
        type(f.txtThankURL(), "http://site.example/thanks");
        type(f.txtMsgNo(), "4");
    });
    finishWebForm(*this, [](ostrel::WizardForm& f) {
        for (QLineEdit* box : {f.txtUserName(), f.txtFormHeader(), f.txtAdTracking(),
                               f.txtThankURL(), f.txtMsgNo()})
            box->clear();
    });
    const Shown s = shownBy(*this);
    EXPECT_EQ(s.user, "jane & co");
    EXPECT_EQ(s.header, "  ") << "spaces count as an entry";
    EXPECT_EQ(s.tracking, "") << "ad tracking is saved even when emptied";
    EXPECT_EQ(s.thanks, "http://site.example/thanks");
    EXPECT_EQ(s.msgNo, "4");
    EXPECT_EQ(stored(EmailLinkText), "<absent>") << "a web form does not save the link text";
}

TEST_F(RememberedEntries, AnEmailLinkSavesOnlyItsTextEvenWhenEmpty) {
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& f) {
        type(f.txtUserName(), "jane");
        click(f.Option1()[0]);
        for (int i = 0; i < 3; ++i) press(f, 2);
        f.txtLinkText()->clear();
        press(f, 3);
    });
    EXPECT_EQ(stored(EmailLinkText), "");
    EXPECT_EQ(stored(UserID), "<absent>");
    EXPECT_EQ(shownBy(*this).linkText, "") << "present and empty is not the default";
}

TEST_F(RememberedEntries, NoResponseStoresNoneAndCancelStoresNothing) {
    finishWebForm(*this, [](ostrel::WizardForm& f) { f.chkNoResponse()->click(); });
    EXPECT_EQ(stored(MsgNo), "none");
    EXPECT_EQ(shownBy(*this).msgNo, "none");

    const auto before = stored(MsgNo);
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& f) {
        type(f.txtMsgNo(), "9");
        type(f.txtUserName(), "someone");
        for (int i = 0; i < 7; ++i) press(f, 2);
        press(f, 0);
    });
    EXPECT_EQ(stored(MsgNo), before);
    EXPECT_EQ(stored(UserID), "<absent>");
}

// The boxes' length limits are for typing: a longer stored value (written by hand) shows and is
// saved whole, and editing can shorten it but not lengthen it, and never cuts its end.
TEST_F(RememberedEntries, StoredValuesOverTheTypingLimitStayWhole) {
    const struct {
        const ostrel::PersistedKey& key;
        QLineEdit* (ostrel::WizardForm::*box)() const;
        std::string value;
    } cases[] = {{AdTracking, &ostrel::WizardForm::txtAdTracking, "tracking-from-the-ini-25c"},
                 {MsgNo, &ostrel::WizardForm::txtMsgNo, "12345678901234"}};
    for (const auto& c : cases) {
        settings->setValue(ostrel::kSettingsApplication, ostrel::kSettingsSection, c.key.name,
                           c.value);
    }
    finishWebForm(*this, [&](ostrel::WizardForm& f) {
        for (const auto& c : cases) {
            QLineEdit* box = (f.*c.box)();
            EXPECT_EQ(box->text().toStdString(), c.value);
            box->end(false);
            QTest::keyClicks(box, "x");
            EXPECT_EQ(box->text().toStdString(), c.value) << "no longer than it was";
            // Deleting a character keeps the rest: the limit follows the value.
            box->home(false);
            QTest::keyClick(box, Qt::Key_Delete);
            EXPECT_EQ(box->text().toStdString(), c.value.substr(1));
        }
    });
    for (const auto& c : cases) EXPECT_EQ(stored(c.key), c.value.substr(1));
}

// The missing template is reported; the wizard stays on its page with every entry, and a
// second Finish after the author put the template back succeeds.
TEST_F(RememberedEntries, AFailedFinishKeepsTheWizardOpenWithTheEntries) {
    std::filesystem::remove(folder() / "template.wtf");
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& f) {
        type(f.txtUserName(), "jane");
        for (int i = 0; i < 7; ++i) press(f, 2);
        press(f, 3);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_NE(boxes.shown[0].prompt.find((folder() / "template.wtf").string()),
                  std::string::npos);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse) << "set before the snippet was built";
        EXPECT_EQ(shownPages(f), std::vector<int>{8});
        EXPECT_EQ(f.txtUserName()->text(), "jane");
        EXPECT_EQ(stored(UserID), "<absent>");
        EXPECT_FALSE(std::filesystem::exists(folder() / "template.wtf")) << "no file is made";

        writeTemplate("template.wtf", "<p><<USERID>></p>");
        press(f, 3);
    });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbTrue);
    EXPECT_EQ(wizard->HTMLString(), "<p>jane</p>");
    EXPECT_EQ(stored(UserID), "jane");
}

TEST_F(RememberedEntries, AnUnreadableSettingsFileIsReportedAndTheWizardDoesNotOpen) {
    std::ofstream(settings->path()) << "[Persist_Data]\nthis line is not a setting\n";
    auto wizard = newWizard();
    wizard->Show();  // returns at once: the load failed
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].prompt.find(settings->path().string()), std::string::npos);
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(wizard->form(), nullptr);
}

}  // namespace
