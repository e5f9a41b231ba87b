// The window under the keyboard: access keys, Enter and Escape, length limits counted in
// characters, the option group, and the title bar's close command.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <array>

#include "wizard/form/wizard_form.h"

namespace {

// A button pressed by a key clicks after showing itself pressed for 100 ms.
constexpr int kLongerThanAnAnimatedClickMs = 250;

// Types `text` one character per key press, as a keyboard does: a character outside the
// Basic Multilingual Plane arrives whole, as its two UTF-16 units in one event.
void type(QWidget* target, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text.at(i).isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text.mid(i, n));
        QApplication::sendEvent(target, &press);
        i += n - 1;
    }
}

class WizardKeyboard : public testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i <= form.cmdWizControl().ubound(); ++i) {
            QObject::connect(form.cmdWizControl()[i], &QPushButton::clicked,
                             [this, i] { ++clicks[i]; });
        }
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    ostrel::WizardForm form;
    std::array<int, 4> clicks{};
};

TEST_F(WizardKeyboard, AltAndTheUnderlinedLetterPressTheButton) {
    const std::array<Qt::Key, 4> keys = {Qt::Key_C, Qt::Key_B, Qt::Key_N, Qt::Key_F};
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(&form, keys[i], Qt::AltModifier);
        std::array<int, 4> expected{};
        expected[i] = 1;
        // An access key shows the button pressed for a moment before it clicks.
        EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == expected; }, 2000))
            << "Alt+" << char('A' + keys[i] - Qt::Key_A) << ": " << clicks[0] << clicks[1]
            << clicks[2] << clicks[3];
        clicks = {};
    }
}

TEST_F(WizardKeyboard, EnterAndEscapePressNoButtonAndDoNotClose) {
    QSignalSpy finished(&form, &QDialog::finished);
    for (QWidget* focus :
         {form.Picture1(), static_cast<QWidget*>(form.cmdWizControl()[2]),
          static_cast<QWidget*>(form.cmdGetNewAccount()), static_cast<QWidget*>(form.txtUserName()),
          static_cast<QWidget*>(form.chkNoResponse())}) {
        SCOPED_TRACE(focus->objectName().toStdString());
        focus->setFocus();
        ASSERT_TRUE(focus->hasFocus());
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(focus, key);
        }
        QTest::qWait(kLongerThanAnAnimatedClickMs);  // on purpose: no click comes in it
        EXPECT_EQ(clicks, (std::array<int, 4>{}));
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_EQ(finished.count(), 0);
    EXPECT_FALSE(form.chkNoResponse()->isChecked()) << "Enter is not Space";
}

TEST_F(WizardKeyboard, TheCloseCommandClosesAsAPlainRejection) {
    QSignalSpy finished(&form, &QDialog::finished);
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Rejected);
    EXPECT_EQ(clicks, (std::array<int, 4>{}));
}

TEST_F(WizardKeyboard, LimitsCountCharactersNotBytes) {
    QLineEdit* tracking = form.txtAdTracking();
    tracking->setFocus();
    type(tracking, QString(25, QChar(0x00e9)));  // é: two bytes in UTF-8
    EXPECT_EQ(tracking->text(), QString(20, QChar(0x00e9)));

    QLineEdit* number = form.txtMsgNo();
    number->setFocus();
    type(number, QString::fromUtf8("一二三四五六七八九十十一"));  // three bytes each
    EXPECT_EQ(number->text(), QString::fromUtf8("一二三四五六七八九十"));

    // No limit of its own: 50 characters stay.
    form.txtUserName()->setFocus();
    type(form.txtUserName(), QString(50, 'u'));
    EXPECT_EQ(form.txtUserName()->text().size(), 50);
}

TEST_F(WizardKeyboard, ALimitNeverKeepsHalfACharacter) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
    QLineEdit* tracking = form.txtAdTracking();
    tracking->setFocus();

    type(tracking, QString(18, 'a') + emoji);
    EXPECT_EQ(tracking->text(), QString(18, 'a') + emoji) << "fits whole";

    tracking->clear();
    type(tracking, QString(19, 'a') + emoji);
    EXPECT_EQ(tracking->text(), QString(19, 'a')) << "does not fit whole: left out";

    // A paste cut at the limit is cut between characters.
    QLineEdit* number = form.txtMsgNo();
    number->insert(QString("123456789") + emoji + "0");
    EXPECT_EQ(number->text(), "123456789");
    EXPECT_EQ(number->cursorPosition(), 9);
}

TEST_F(WizardKeyboard, OptionButtonsFormOneGroup) {
    QRadioButton* emailLink = form.Option1()[0];
    QRadioButton* webForm = form.Option1()[1];
    emailLink->click();
    EXPECT_TRUE(emailLink->isChecked());
    EXPECT_FALSE(webForm->isChecked());
    webForm->click();
    EXPECT_FALSE(emailLink->isChecked());
    EXPECT_TRUE(webForm->isChecked());
    // The required-field boxes are independent of each other.
    form.chkRequire()[0]->click();
    EXPECT_FALSE(form.chkRequire()[0]->isChecked());
    EXPECT_TRUE(form.chkRequire()[1]->isChecked());
}

}  // namespace
