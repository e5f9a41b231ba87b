// Generation of both kinds of snippet: fallbacks, replacement order, save rules and failures.
#include "wizard/snippet/snippet_builder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "com/error.h"
#include "tests/snippet/recording_settings_store.h"
#include "tests/snippet/temp_folder.h"

namespace {

using ostrel::WizardEntries;
using snippet_test::RecordingSettingsStore;
using snippet_test::TempFolder;
using KeysAndValues = std::vector<std::pair<std::string, std::string>>;

constexpr std::string_view kAllSix =
    "<<USERID>>|<<HEADERFIELD>>|<<ADTRACKING>>|<<REDIRECT>>|<<MSGNO>>|<<REQUIREDFIELD>>";

WizardEntries emptyForm() {
    WizardEntries e;
    e.requireName = 0;
    e.requireEmail = 0;
    return e;
}

WizardEntries filledForm() {
    WizardEntries e;
    e.listId = "news";
    e.formHeader = "Join us";
    e.adTracking = "spring";
    e.thankUrl = "http://www.publisher.example/thanks";
    e.msgNo = "3";
    return e;
}

const KeysAndValues kFilledFormWrites = {{"UserID", "news"},
                                         {"FormHeader", "Join us"},
                                         {"AdTracking", "spring"},
                                         {"ThankURL", "http://www.publisher.example/thanks"},
                                         {"MsgNo", "3"}};

class Snippet : public testing::Test {
protected:
    std::string build(const WizardEntries& entries) {
        return ostrel::buildSnippet(entries, store, folder.path());
    }
    void useTemplate(std::string_view text) { folder.write("template.wtf", text); }
    // The failure generation raises, checked to leave the store untouched.
    com::Error failure(const WizardEntries& entries) {
        try {
            build(entries);
        } catch (const com::Error& e) {
            EXPECT_TRUE(store.writes().empty());
            return e;
        }
        ADD_FAILURE() << "generation did not fail";
        return com::Error(0, "", "");
    }

    TempFolder folder;
    RecordingSettingsStore store;
};

// --- Fallbacks and the save rules of the web form ---

TEST_F(Snippet, EmptyBoxesGetTheFallbacksAndOnlyAdTrackingIsSaved) {
    useTemplate(kAllSix);
    EXPECT_EQ(build(emptyForm()),
              "None|For More Information|adcategory|http://www.ostrel.example/|none|");
    EXPECT_EQ(store.writtenKeysAndValues(), (KeysAndValues{{"AdTracking", ""}}));
}

TEST_F(Snippet, FilledBoxesAreSavedInOrderThenInserted) {
    useTemplate(kAllSix);
    EXPECT_EQ(build(filledForm()),
              "news|Join us|spring|http://www.publisher.example/thanks|3|name,from");
    EXPECT_EQ(store.writtenKeysAndValues(), kFilledFormWrites);
    for (const auto& w : store.writes()) {
        EXPECT_EQ(w.application, "Ostrel_Plugin");
        EXPECT_EQ(w.section, "Persist_Data");
    }
}

TEST_F(Snippet, AnEmptiedBoxKeepsItsStoredValue) {
    const std::pair<std::string WizardEntries::*, std::string> boxes[] = {
        {&WizardEntries::listId, "UserID"},
        {&WizardEntries::formHeader, "FormHeader"},
        {&WizardEntries::thankUrl, "ThankURL"},
        {&WizardEntries::msgNo, "MsgNo"}};
    useTemplate(kAllSix);
    for (const auto& [member, key] : boxes) {
        RecordingSettingsStore earlier;
        earlier.preset(key, "earlier");
        WizardEntries entries = filledForm();
        entries.*member = "";
        ostrel::buildSnippet(entries, earlier, folder.path());
        EXPECT_EQ(earlier.stored(key), "earlier") << key;
        EXPECT_EQ(earlier.writes().size(), kFilledFormWrites.size() - 1) << key;
    }
}

TEST_F(Snippet, RequiredFieldListFollowsTheCheckBoxes) {
    // 2 is a grayed box: it is not checked.
    const std::tuple<int, int, std::string> rows[] = {
        {1, 1, "name,from"}, {1, 0, "name"}, {0, 1, "from"}, {0, 0, ""},
        {2, 1, "from"},      {1, 2, "name"}, {2, 2, ""},
    };
    useTemplate("[<<REQUIREDFIELD>>]");
    for (const auto& [name, email, list] : rows) {
        WizardEntries entries = filledForm();
        entries.requireName = name;
        entries.requireEmail = email;
        EXPECT_EQ(build(entries), "[" + list + "]") << name << "," << email;
    }
}

// --- Replacement ---

TEST_F(Snippet, EveryOccurrenceIsReplacedAndOtherTextStays) {
    useTemplate(
        "<<USERID>> <<userid>> <<UserID>> <<USERID>><<USERID>> <<EMAIL>> <<MAILTOTEXT>> <<OTHER>>");
    EXPECT_EQ(build(filledForm()),
              "news <<userid>> <<UserID>> newsnews <<EMAIL>> <<MAILTOTEXT>> <<OTHER>>");
}

TEST_F(Snippet, TemplatesWithoutPlaceholdersAndEmptyTemplatesComeBackUnchanged) {
    useTemplate("<p>\r\nNo placeholders << here >>\r\n</p>\n");
    EXPECT_EQ(build(filledForm()), "<p>\r\nNo placeholders << here >>\r\n</p>\n");
    useTemplate("");
    EXPECT_EQ(build(filledForm()), "");
    // The entries are saved all the same.
    EXPECT_EQ(store.writes().size(), 2 * kFilledFormWrites.size());
}

TEST_F(Snippet, EntriesAreInsertedAndSavedUnescaped) {
    useTemplate("<h2><<HEADERFIELD>></h2><input value=\"<<REDIRECT>>\">");
    WizardEntries entries = filledForm();
    entries.formHeader = "Tom & \"Jerry's\" <b>list</b>";
    entries.thankUrl = "http://www.publisher.example/t?a=1&b=<2>";
    EXPECT_EQ(build(entries),
              "<h2>Tom & \"Jerry's\" <b>list</b></h2>"
              "<input value=\"http://www.publisher.example/t?a=1&b=<2>\">");
    EXPECT_EQ(store.stored("FormHeader"), entries.formHeader);
}

TEST_F(Snippet, ALaterStepScansWhatEarlierStepsInsertedButNotTheReverse) {
    useTemplate("<<USERID>>|<<HEADERFIELD>>|<<MSGNO>>");
    WizardEntries entries = filledForm();
    entries.listId = "u<<MSGNO>>";     // the message number comes later: replaced
    entries.formHeader = "h<<USERID>>";  // the user id came earlier: kept
    entries.msgNo = "7";
    EXPECT_EQ(build(entries), "u7|h<<USERID>>|7");
    EXPECT_EQ(store.stored("UserID"), "u<<MSGNO>>");
}

TEST_F(Snippet, BoxesOfSpacesCountAsFilled) {
    useTemplate(kAllSix);
    WizardEntries entries;
    entries.listId = entries.formHeader = entries.adTracking = entries.thankUrl = " ";
    entries.msgNo = "  ";
    EXPECT_EQ(build(entries), " | | | |  |name,from");
    EXPECT_EQ(store.writtenKeysAndValues(), (KeysAndValues{{"UserID", " "},
                                                           {"FormHeader", " "},
                                                           {"AdTracking", " "},
                                                           {"ThankURL", " "},
                                                           {"MsgNo", "  "}}));
}

TEST_F(Snippet, TemplateFileNameIsAppendedToTheFolder) {
    folder.write("forms/custom.wtf", "custom <<USERID>>");
    folder.write("absolute.wtf", "below the folder");
    store.preset("TemplateFileName", "forms/custom.wtf");
    EXPECT_EQ(build(filledForm()), "custom news");
    // Even a name that starts with "/" stays below the folder.
    store.preset("TemplateFileName", "/absolute.wtf");
    EXPECT_EQ(build(filledForm()), "below the folder");
}

// --- Failures ---

TEST_F(Snippet, AMissingTemplateFailsNamingThePathAndCreatesNothing) {
    const auto path = folder.path() / "template.wtf";
    const com::Error e = failure(filledForm());
    EXPECT_EQ(e.number(), com::errc::fileNotFound);
    EXPECT_NE(e.description().find('"' + path.string() + '"'), std::string::npos)
        << e.description();
    EXPECT_FALSE(e.source().empty());
    EXPECT_FALSE(std::filesystem::exists(path));

    store.preset("TemplateFileName", "missing/form.wtf");
    EXPECT_EQ(failure(filledForm()).number(), com::errc::pathNotFound);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}

TEST_F(Snippet, AnUnreadableTemplateFailsBeforeAnyWrite) {
    std::filesystem::create_directory(folder.path() / "sub");
    for (const char* name : {"", "sub"}) {
        store.preset("TemplateFileName", name);
        EXPECT_EQ(failure(filledForm()).number(), com::errc::pathFileAccessError) << name;
    }
    // A file that opens but fails at the read.
    store.preset("TemplateFileName", "mem");
    EXPECT_THROW(ostrel::buildSnippet(filledForm(), store, "/proc/self"), com::Error);
    EXPECT_TRUE(store.writes().empty());
}

TEST_F(Snippet, AnUnpermittedTemplateFailsBeforeAnyWrite) {
    const auto path = folder.write("template.wtf", "<<USERID>>");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (::geteuid() != 0) {
        EXPECT_EQ(failure(filledForm()).number(), com::errc::permissionDenied);
        EXPECT_TRUE(store.writes().empty());
        return;
    }
    // Permissions do not bind the superuser: the read is tried as "nobody" in a child.
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all |
                                                    std::filesystem::perms::others_exec);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int code = 3;
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            try {
                ostrel::buildSnippet(filledForm(), store, folder.path());
                code = 1;
            } catch (const com::Error& e) {
                code = e.number() == com::errc::permissionDenied && store.writes().empty() ? 0 : 2;
            }
        }
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no failure, 2: another failure or a write, 3: no setuid";
}

TEST_F(Snippet, AnInvalidPathFailsBeforeAnyWrite) {
    useTemplate("<<USERID>>");
    const std::pair<std::string, std::int32_t> names[] = {
        {std::string("temp\0late.wtf", 13), com::errc::badFileNameOrNumber},
        {std::string(300, 'x'), com::errc::badFileNameOrNumber},
        {"template.wtf/inner.wtf", com::errc::pathNotFound},
    };
    for (const auto& [name, number] : names) {
        store.preset("TemplateFileName", name);
        EXPECT_EQ(failure(filledForm()).number(), number) << name;
    }
}

TEST_F(Snippet, AFailingWriteStopsThereAndKeepsTheEarlierWrites) {
    useTemplate(kAllSix);
    for (std::size_t n = 1; n <= kFilledFormWrites.size(); ++n) {
        RecordingSettingsStore failing;
        failing.failOnWrite(static_cast<int>(n));
        EXPECT_THROW(ostrel::buildSnippet(filledForm(), failing, folder.path()), com::Error) << n;
        EXPECT_EQ(failing.writtenKeysAndValues(),
                  KeysAndValues(kFilledFormWrites.begin(), kFilledFormWrites.begin() + n - 1));
    }
}

// --- The e-mail link ---

WizardEntries emailLink(std::string listId, std::string linkText) {
    WizardEntries e = filledForm();
    e.emailLink = true;
    e.listId = std::move(listId);
    e.linkText = std::move(linkText);
    return e;
}

TEST_F(Snippet, EmailLinkFillsMailtoLinkAndSavesOnlyTheLinkText) {
    store.preset("MailtoLink",
                 "<a href=\"mailto:<<EMAIL>>\"><<MAILTOTEXT>></a> <<EMAIL>> <<USERID>>");
    // No template file is involved: the folder does not even exist.
    EXPECT_EQ(
        ostrel::buildSnippet(emailLink("news", "Join & win"), store, folder.path() / "none"),
        "<a href=\"mailto:news@ostrel.example\">Join & win</a> news@ostrel.example <<USERID>>");
    EXPECT_EQ(store.writtenKeysAndValues(), (KeysAndValues{{"EmailLinkText", "Join & win"}}));
}

TEST_F(Snippet, EmailLinkWithEmptyBoxes) {
    store.preset("MailtoLink", "[<<EMAIL>>|<<MAILTOTEXT>>]");
    store.preset("EmailLinkText", "earlier");
    EXPECT_EQ(build(emailLink("", "")), "[@ostrel.example|]");
    EXPECT_EQ(store.writtenKeysAndValues(), (KeysAndValues{{"EmailLinkText", ""}}));
}

TEST_F(Snippet, EmailLinkWithoutMailtoLinkIsEmpty) {
    EXPECT_EQ(build(emailLink("news", "Join")), "");
    store.preset("MailtoLink", "");
    EXPECT_EQ(build(emailLink("news", "Join")), "");
    EXPECT_EQ(store.writes().size(), 2u);
}

TEST_F(Snippet, EmailLinkReplacesTheAddressFirst) {
    store.preset("MailtoLink", "<<EMAIL>>");
    EXPECT_EQ(build(emailLink("<<MAILTOTEXT>>", "<<EMAIL>>")), "<<EMAIL>>@ostrel.example");
}

}  // namespace
