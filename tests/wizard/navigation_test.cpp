// Page-to-page navigation through real clicks: every transition of the wizard, checked
// after each action for the page shown, the step, and the three button states.
#include <QAccessible>
#include <QImage>
#include <QLabel>

#include "wizard_fixture.h"

namespace {

enum class Action { Next, Back, ChooseEmailLink, ChooseWebForm, AltN, AltB };

struct Expect {
    Action action;
    int page;  // the one frame shown afterwards
    int step;  // CurrentStep afterwards
    bool back, next, finish;
};

constexpr int L = 8;

using Navigation = WizardFixture;

void perform(ostrel::WizardForm& form, Action action) {
    switch (action) {
        case Action::Next: return WizardFixture::press(form, 2);
        case Action::Back: return WizardFixture::press(form, 1);
        case Action::ChooseEmailLink: return WizardFixture::click(form.Option1()[0]);
        case Action::ChooseWebForm: return WizardFixture::click(form.Option1()[1]);
        case Action::AltN:
        case Action::AltB: {
            QPushButton* button = form.cmdWizControl()[action == Action::AltN ? 2 : 1];
            QSignalSpy clicked(button, &QPushButton::clicked);
            QTest::keyClick(&form, action == Action::AltN ? Qt::Key_N : Qt::Key_B, Qt::AltModifier);
            // An access key shows its button pressed for a moment before the click.
            ASSERT_TRUE(clicked.count() == 1 || clicked.wait(1000));
            return;
        }
    }
}

void walk(Navigation& fixture, const std::vector<Expect>& road) {
    auto wizard = fixture.newWizard();
    fixture.run(*wizard, [&](ostrel::WizardForm& form) {
        // Page 0 as loaded.
        EXPECT_EQ(WizardFixture::shownPages(form), std::vector<int>{0});
        EXPECT_EQ(wizard->currentStep(), 0);
        EXPECT_EQ(wizard->lastStep(), L);
        for (std::size_t i = 0; i < road.size(); ++i) {
            const auto& e = road[i];
            SCOPED_TRACE("action " + std::to_string(i));
            perform(form, e.action);
            EXPECT_EQ(WizardFixture::shownPages(form), std::vector<int>{e.page});
            EXPECT_EQ(wizard->currentStep(), e.step);
            EXPECT_EQ(form.cmdWizControl()[1]->isEnabled(), e.back);
            EXPECT_EQ(form.cmdWizControl()[2]->isEnabled(), e.next);
            EXPECT_EQ(form.cmdWizControl()[3]->isEnabled(), e.finish);
            EXPECT_TRUE(form.cmdWizControl()[0]->isEnabled());
        }
        WizardFixture::press(form, 0);
    });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse);
}

TEST_F(Navigation, WebFormRouteSkipsTheEmailLinkPageBothWays) {
    walk(*this, {
        {Action::Next, 1, 1, true, true, false},
        {Action::Next, 2, 2, true, true, false},
        {Action::Next, 4, 4, true, true, false},
        {Action::Next, 5, 5, true, true, false},
        {Action::Next, 6, 6, true, true, false},
        {Action::Next, 7, 7, true, true, false},
        {Action::Next, 8, 8, true, false, true},
        {Action::Next, 8, 8, true, false, true},  // disabled: nothing happens
        {Action::Back, 7, 7, true, true, false},
        {Action::Back, 6, 6, true, true, false},
        {Action::Back, 5, 5, true, true, false},
        {Action::Back, 4, 4, true, true, false},
        {Action::Back, 2, 2, true, true, false},
        {Action::Back, 1, 1, true, true, false},
        {Action::Back, 0, 0, false, true, false},
        {Action::Back, 0, 0, false, true, false},  // disabled: nothing happens
    });
}

TEST_F(Navigation, EmailLinkRouteEndsOnItsPageWithTheLastStep) {
    walk(*this, {
        {Action::Next, 1, 1, true, true, false},
        {Action::Next, 2, 2, true, true, false},
        {Action::ChooseEmailLink, 2, 2, true, true, false},
        {Action::Next, 3, L, true, false, true},
        {Action::Next, 3, L, true, false, true},
        {Action::Back, 2, 2, true, true, false},
        {Action::Back, 1, 1, true, true, false},
        {Action::AltN, 2, 2, true, true, false},
        {Action::AltN, 3, L, true, false, true},
        {Action::AltB, 2, 2, true, true, false},
    });
}

TEST_F(Navigation, ChangingTheChoiceOnPage2FollowsTheNewRoute) {
    walk(*this, {
        {Action::Next, 1, 1, true, true, false},
        {Action::Next, 2, 2, true, true, false},
        {Action::Next, 4, 4, true, true, false},  // web form first
        {Action::Next, 5, 5, true, true, false},
        {Action::Back, 4, 4, true, true, false},
        {Action::Back, 2, 2, true, true, false},
        {Action::ChooseEmailLink, 2, 2, true, true, false},
        {Action::Next, 3, L, true, false, true},  // then the e-mail link
        {Action::Back, 2, 2, true, true, false},
        {Action::ChooseWebForm, 2, 2, true, true, false},
        {Action::Next, 4, 4, true, true, false},  // and back to the web form
        {Action::ChooseEmailLink, 4, 4, true, true, false},
        {Action::Back, 3, 3, true, true, false},  // page 3 itself, with the choice changed
        {Action::Back, 2, 2, true, true, false},
    });
}

// A Next at the last step (the browser's quit notification can send one while the
// button is off) leaves the wizard where it is, with exactly one page shown.
TEST_F(Navigation, NextAtTheLastStepChangesNothing) {
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& form) {
        for (int i = 0; i < 7; ++i) press(form, 2);
        wizard->cmdWizControl_Click(2);
        EXPECT_EQ(shownPages(form), std::vector<int>{8});
        EXPECT_EQ(wizard->currentStep(), 8);

        press(form, 1);
        press(form, 1);
        press(form, 1);
        press(form, 1);
        press(form, 1);  // page 2
        click(form.Option1()[0]);
        press(form, 2);  // e-mail link page
        wizard->cmdWizControl_Click(2);
        EXPECT_EQ(shownPages(form), std::vector<int>{3});
        EXPECT_EQ(wizard->currentStep(), L);
        EXPECT_TRUE(form.cmdWizControl()[3]->isEnabled());
        press(form, 0);
    });
}

TEST_F(Navigation, NoPageRefusesToBeLeftWithEveryBoxEmpty) {
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& form) {
        for (QLineEdit* box : {form.txtUserName(), form.txtFormHeader(), form.txtThankURL(),
                               form.txtAdTracking(), form.txtMsgNo(), form.txtLinkText()})
            box->clear();
        for (int i = 0; i < 7; ++i) press(form, 2);
        press(form, 3);
    });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbTrue);
    EXPECT_NE(wizard->HTMLString().find("u='None'"), std::string::npos);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Navigation, NoResponseBoxReplacesTheMessageNumber) {
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& form) {
        for (int i = 0; i < 6; ++i) press(form, 2);
        ASSERT_EQ(shownPages(form), std::vector<int>{7});
        type(form.txtMsgNo(), "4");
        click(form.chkNoResponse());
        EXPECT_EQ(form.txtMsgNo()->text(), "none");
        type(form.txtMsgNo(), "7");
        click(form.chkNoResponse());
        EXPECT_EQ(form.txtMsgNo()->text(), "1");
        EXPECT_FALSE(form.txtMsgNo()->isReadOnly());
        press(form, 0);
    });
}

}  // namespace

namespace {

// The control whose accessible state says it has the focus.
std::string focusedAsAccessibilitySeesIt(ostrel::WizardForm& form) {
    for (QWidget* w : form.findChildren<QWidget*>()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (a && a->state().focused) return w->objectName().toStdString();
    }
    return "";
}

// Pressed as a screen reader presses: through the button's accessible action.
void pressAccessibly(QPushButton* button) {
    QSignalSpy clicked(button, &QPushButton::clicked);
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(clicked.count() == 1 || clicked.wait(1000));
}

// The banner has the focus first, with a name and a mark; a pressed button keeps the focus
// while it stays enabled, and hands it on in the focus order when it goes off.
TEST_F(Navigation, APressedButtonKeepsTheFocusWhileEnabled) {
    const struct {
        int button, times;
        const char* focused;
    } road[] = {{2, 1, "cmdWizControl_2"},  // Next
                {1, 1, "cmdWizControl_2"},  // Back, off on page 0: Next follows it
                {2, 6, "cmdWizControl_2"},
                {2, 1, "cmdWizControl_3"}};  // Next, off on the last page: Finish
    auto wizard = newWizard();
    run(*wizard, [&](ostrel::WizardForm& form) {
        EXPECT_EQ(focusedAsAccessibilitySeesIt(form), "Picture1");
        EXPECT_EQ(QAccessible::queryAccessibleInterface(form.Picture1())->text(QAccessible::Name),
                  form.Label2()->text());
        const QImage marked = form.Picture1()->grab().toImage();
        for (const auto& step : road) {
            for (int i = 0; i < step.times; ++i) pressAccessibly(form.cmdWizControl()[step.button]);
            EXPECT_EQ(focusedAsAccessibilitySeesIt(form), step.focused);
        }
        EXPECT_NE(form.Picture1()->grab().toImage(), marked) << "the focus mark went";
        press(form, 0);
    });
}

}  // namespace
