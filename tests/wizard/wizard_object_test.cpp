// The wizard object's result: close status and snippet, readable after the window has gone.
#include "wizard_fixture.h"

namespace {

using WizardResult = WizardFixture;

TEST_F(WizardResult, CancelGivesFalseAndNothing) {
    auto wizard = newWizard();
    run(*wizard, [](ostrel::WizardForm& f) { press(f, 0); });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(wizard->HTMLString(), "");
    EXPECT_EQ(wizard->form(), nullptr) << "unloading destroys the window";
}

TEST_F(WizardResult, TheWindowsCloseCommandGivesFalse) {
    auto wizard = newWizard();
    run(*wizard, [](ostrel::WizardForm& f) { f.close(); });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(wizard->form(), nullptr);
}

TEST_F(WizardResult, FinishGivesTrueAndTheSnippetAfterTheWindowHasGone) {
    auto wizard = newWizard();
    run(*wizard, [](ostrel::WizardForm& f) {
        click(f.Option1()[0]);  // e-mail link: the route with the fewest pages
        for (int i = 0; i < 3; ++i) press(f, 2);
        press(f, 3);
    });
    EXPECT_EQ(wizard->form(), nullptr);
    for (int i = 0; i < 2; ++i) {  // reading has no side effect and brings nothing back
        EXPECT_EQ(wizard->WizCloseStatus(), com::vbTrue);
        EXPECT_EQ(wizard->HTMLString(), "") << "no MailtoLink template: an empty link";
    }
    EXPECT_EQ(wizard->form(), nullptr);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST_F(WizardResult, ASecondWizardStartsClean) {
    auto first = newWizard();
    run(*first, [](ostrel::WizardForm& f) {
        for (int i = 0; i < 7; ++i) press(f, 2);
        click(f.chkRequire()[0]);
        press(f, 3);
    });
    ASSERT_EQ(first->WizCloseStatus(), com::vbTrue);
    EXPECT_NE(first->HTMLString().find("q='from'"), std::string::npos);

    auto second = newWizard();
    EXPECT_EQ(second->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(second->HTMLString(), "");
    run(*second, [](ostrel::WizardForm& f) {
        // Choices are not remembered: "Web Form" and both required boxes again.
        EXPECT_TRUE(f.Option1()[1]->isChecked());
        EXPECT_TRUE(f.chkRequire()[0]->isChecked());
        EXPECT_TRUE(f.chkRequire()[1]->isChecked());
        press(f, 0);
    });
    EXPECT_EQ(second->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(first->WizCloseStatus(), com::vbTrue);
}

TEST_F(WizardResult, AButtonIndexOutsideTheArrayDoesNothing) {
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& f) {
        for (std::int16_t i : {-1, 4, 100, -32768, 32767}) wizard->cmdWizControl_Click(i);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(shownPages(f), std::vector<int>{0});
        press(f, 0);
    });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse);
}

}  // namespace
