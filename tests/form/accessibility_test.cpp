// The wizard's text boxes as a screen reader meets them: each named after its page's
// heading, with the rest of the heading as its description.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>

#include "wizard/form/accessible_names.h"
#include "wizard/form/wizard_form.h"

namespace {

TEST(WizardAccessibility, EveryTextBoxIsNamedAfterItsPageHeading) {
    const struct {
        const char* box;
        const char* name;
        const char* descriptionStart;
    } cases[] = {
        {"txtUserName", "Your Ostrel User Id", "Please enter your Ostrel username"},
        {"txtLinkText", "Email Link Text", "Please enter the text that will be displayed"},
        {"txtFormHeader", "Web Form Heading", "Please enter the text you want displayed"},
        {"txtThankURL", "Thank You Page URL", "After your prospective customer clicks"},
        {"txtAdTracking", "Ad Tracking", "To incorporate the Ostrel ad-tracking"},
        {"txtMsgNo", "Message Number", "Please select the message number"},
    };
    ostrel::WizardForm form;
    EXPECT_EQ(form.findChildren<QLineEdit*>().size(), std::size(cases));
    for (const auto& c : cases) {
        auto* box = form.findChild<QLineEdit*>(c.box);
        ASSERT_NE(box, nullptr) << c.box;
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(node, nullptr) << c.box;
        EXPECT_EQ(node->role(), QAccessible::EditableText) << c.box;
        EXPECT_EQ(node->text(QAccessible::Name), c.name) << c.box;
        EXPECT_TRUE(node->text(QAccessible::Description).startsWith(c.descriptionStart))
            << c.box << ": " << node->text(QAccessible::Description).toStdString();
    }
    // The page labels keep their own text.
    EXPECT_EQ(form.lblWzStep()[1]->text(), "Page instructions");
}

TEST(WizardAccessibility, AHeadingsNameIsItsFirstLineWithoutColonOrAccessKeys) {
    const struct {
        const char* heading;
        const char* name;
    } cases[] = {
        {"Web Form Heading:\r\n Please enter", "Web Form Heading"},
        {"\r\n  &Thank You && Goodbye: \r\nmore", "Thank You & Goodbye"},
        {"No colon", "No colon"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ostrel::accessibleNameOfHeading(QString::fromUtf8(c.heading)), c.name)
            << c.heading;
}

}  // namespace
