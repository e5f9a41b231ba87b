// The wizard object's result: close status and snippet, readable after the window has gone.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "support/modal.h"
#include "support/recording_message_box.h"
#include "wizard/frmOstWiz.h"

namespace {

using ostrel::frmOstWiz;

void press(QWidget* window, int index) {
    auto* button = window->findChild<QPushButton*>(QString("cmdWizControl_%1").arg(index));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(WizardResult, CancelGivesFalseAndNothing) {
    auto wizard = com::make<frmOstWiz>();
    whileModal([&] { wizard->Show(); }, [](QWidget* w) { press(w, 0); });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(wizard->HTMLString(), "");
    EXPECT_EQ(wizard->window(), nullptr) << "unloading destroys the window";
}

TEST(WizardResult, TheWindowsCloseCommandGivesFalse) {
    auto wizard = com::make<frmOstWiz>();
    whileModal([&] { wizard->Show(); }, [](QWidget* w) { w->close(); });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(wizard->window(), nullptr);
}

TEST(WizardResult, FinishGivesTrueReadableAfterTheWindowHasGone) {
    auto wizard = com::make<frmOstWiz>();
    whileModal([&] { wizard->Show(); }, [](QWidget* w) { press(w, 3); });
    for (int i = 0; i < 2; ++i) {  // reading has no side effect
        EXPECT_EQ(wizard->WizCloseStatus(), com::vbTrue);
        EXPECT_EQ(wizard->HTMLString(), wizard->HTMLString());
    }
    EXPECT_EQ(wizard->window(), nullptr);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST(WizardResult, ASecondWizardStartsClean) {
    auto first = com::make<frmOstWiz>();
    whileModal([&] { first->Show(); }, [](QWidget* w) { press(w, 3); });
    auto second = com::make<frmOstWiz>();
    EXPECT_EQ(second->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(second->HTMLString(), "");
    whileModal([&] { second->Show(); }, [](QWidget* w) { press(w, 0); });
    EXPECT_EQ(second->WizCloseStatus(), com::vbFalse);
    EXPECT_EQ(first->WizCloseStatus(), com::vbTrue);
}

TEST(WizardResult, AButtonIndexOutsideTheArrayDoesNothing) {
    auto wizard = com::make<frmOstWiz>();
    whileModal([&] { wizard->Show(); }, [&](QWidget* w) {
        for (std::int16_t i : {-1, 4, 100, -32768, 32767}) wizard->cmdWizControl_Click(i);
        EXPECT_TRUE(w->isVisible());
        press(w, 0);
    });
    EXPECT_EQ(wizard->WizCloseStatus(), com::vbFalse);
}

}  // namespace
