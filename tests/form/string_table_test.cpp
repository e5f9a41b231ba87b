// The page texts 101 to 109, byte for byte, and the parts of them written here.
#include "wizard/form/string_table.h"

#include <gtest/gtest.h>

#include <QUrl>
#include <string>

#include "com/error.h"
#include "wizard/form/wizard_form.h"

namespace {

std::string text(int number) {
    return ostrel::WizardForm::text(number).toStdString();
}

// The part of text `number` written here: what follows the given words, or "" (and a
// failure) when the text does not begin with them.
std::string ourPartAfter(int number, const std::string& given) {
    const std::string whole = text(number);
    if (!whole.starts_with(given)) {
        ADD_FAILURE() << number << " does not begin with the given words: " << whole;
        return {};
    }
    return whole.substr(given.size());
}

TEST(StringTable, FixedTextsByteForByte) {
    EXPECT_EQ(text(102), "Your Ostrel User Id:\r\n Please enter your Ostrel username or unit id.");
    EXPECT_EQ(text(103),
              "Email Link or Web Form:\r\n This Plug-In can generate either an Ostrel email link "
              "or an Ostrel web form. Please check on your preference. We recommend the web form "
              "for most users.");
    EXPECT_EQ(text(104),
              "Web Form Heading:\r\n Please enter the text you want displayed in the web form. "
              "I.E. 'Join Our Free Mailing List'");
    EXPECT_EQ(text(106),
              "Ad Tracking:\r\n To incorporate the Ostrel ad-tracking feature into your web form, "
              "please enter the tracking value you would like to use. For example, \"ezine_ad\", "
              "\"website\", \"postcard1\", or any other text you use to describe the ad. Please "
              "make sure the category contains less than 20 characters.");
    EXPECT_EQ(text(107),
              "Message Number:\r\n Please select the message number you would like the "
              "prospective customer to start on after their information is submitted. If you "
              "enter 1, they will start at the beginning of the auto responder series. If you "
              "enter 4, they will start with the 4th message in the series. Click the \"Do Not "
              "Place into Auroresponder Series\" if you do not want them placed in the series. ");
    EXPECT_EQ(text(108),
              "Required Fields:\r\n By default, both the Name and Email Address fields are "
              "required for the prospective customer to submit the web form. Uncheck either of "
              "the boxes below to change the required fields. \r\nClick the 'Finish' button to "
              "create your Ostrel web form.");
    EXPECT_EQ(text(109),
              "Email Link Text:\r\n Please enter the text that will be displayed on the email "
              "link.\r\n Click the 'Finish' button to insert the link.");
}

TEST(StringTable, Text101EndsWithOurSentenceAboutThePublishersSite) {
    const std::string ours = ourPartAfter(
        101,
        "Existing Account: \r\nIn order to use the Ostrel FrontPage Plug-In, you must have an "
        "account with Ostrel. If you already have an account, click the 'Next' button below. If "
        "you don't have an account, you can get a new account by clicking on the 'Create New "
        "Ostrel Account' button below.\r\n");
    EXPECT_EQ(ours,
              " To read more about this plug-in, click the 'Visit Publisher Web Site' button to "
              "go to the publisher's web site. ");
}

TEST(StringTable, Text105EndsWithAnExampleAddress) {
    const std::string ours = ourPartAfter(
        105,
        "Thank You Page URL:\r\n After your prospective customer clicks the \"Submit\" button, he "
        "will be taken to a \"Thank You\" web page. You need to create your own \"Thank You\" "
        "page. Please enter the URL for the \"Thank you\" page. (Note: Please enter full URL. "
        "I.E. ");
    ASSERT_TRUE(ours.ends_with(")")) << ours;
    const std::string address = ours.substr(0, ours.size() - 1);
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    EXPECT_TRUE(url.isValid()) << address;
    EXPECT_EQ(url.scheme(), "http");
    EXPECT_TRUE(url.host().endsWith(".example")) << address;
}

TEST(StringTable, ANumberTheTableLacksFails) {
    for (int number : {100, 110, 0, -101}) {
        try {
            (void)ostrel::WizardForm::text(number);
            ADD_FAILURE() << number << " was found";
        } catch (const com::Error& e) {
            EXPECT_EQ(e.number(), ostrel::kResourceNotFound);
            EXPECT_NE(e.description().find("'" + std::to_string(number) + "'"), std::string::npos)
                << e.description();
            EXPECT_FALSE(e.source().empty());
        }
    }
}

}  // namespace
