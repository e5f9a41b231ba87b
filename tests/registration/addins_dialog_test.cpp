// The Add-ins dialog: its check box connects and disconnects an add-in live and remembers
// the choice; Remove deletes only that add-in's records; Add runs the registration in a child.
#include "host/addinsui/addins_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "addin_records.h"
#include "support/editor_harness.h"
#include "temp_registry.h"

namespace {

namespace reg = com::registration;

constexpr const char* kFixtureClass = "{6E0C1A52-3C1B-4F7E-9E55-0A4A3C1D2B01}";
constexpr const char* kOtherClass = "{6F1D5E0A-2B3C-4D5E-8F90-A1B2C3D4E5C1}";

QTreeWidgetItem* row(QTreeWidget* list, const QString& name) {
    const auto found = list->findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
}

TEST(AddInsDialog, CheckBoxConnectsLiveAndRemoveAndAddTouchOnlyWhatTheyShould) {
    TempRegistry registry;
    platform::registry::RegistryTree tree;
    registerAddIn(tree, "Fixture.AddIn", kFixtureClass, FIXTURE_ADDIN, reg::kNotLoaded);
    registerAddIn(tree, "Other.AddIn", kOtherClass, BROKEN_FACTORY, reg::kNotLoaded);
    tree.setValue("HKEY_CURRENT_USER\\Software\\Unrelated", "Kept", std::string("yes"));
    registry.write(tree);
    const auto loadBehavior = [&](const std::string& progId) {
        return registry.read().number(reg::addInKey(host::kHostRegistryRoot, progId),
                                      "LoadBehavior");
    };

    EditorHarness harness;
    auto* insertBar = harness.window().findChild<QToolBar*>("Insert");
    host::AddInsDialog dialog(
        *harness.session,
        {&harness.messages, [](QWidget*) { return BROKEN_CRASH_REGISTER; }, OSTREL_REGSVR_PATH,
         registry.path(), std::string(host::kHostRegistryRoot), std::chrono::seconds(30)});
    auto* list = dialog.findChild<QTreeWidget*>("lstAddIns");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTreeWidgetItem* fixture = row(list, "Fixture.AddIn add-in");
    ASSERT_NE(fixture, nullptr);
    EXPECT_EQ(fixture->text(3), FIXTURE_ADDIN);
    EXPECT_EQ(fixture->checkState(0), Qt::Unchecked);

    fixture->setCheckState(0, Qt::Checked);
    ASSERT_EQ(insertBar->actions().size(), 1);
    EXPECT_EQ(insertBar->actions().front()->text(), "Fixture...");
    EXPECT_EQ(loadBehavior("Fixture.AddIn"), reg::kLoadAtStartup);

    fixture->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(insertBar->actions().isEmpty()) << "its button went with it";
    EXPECT_EQ(loadBehavior("Fixture.AddIn"), reg::kNotLoaded);
    EXPECT_FALSE(harness.session->isConnected(com::Guid::parse(kFixtureClass).value()));

    // A module that fails to connect stays off, and says why.
    QTreeWidgetItem* other = row(list, "Other.AddIn add-in");
    other->setCheckState(0, Qt::Checked);
    EXPECT_EQ(other->checkState(0), Qt::Unchecked);
    EXPECT_TRUE(other->text(4).contains("out of objects")) << other->text(4).toStdString();
    // At the dialog's own size the failure column starts on screen, and its tooltip is whole.
    dialog.show();
    EXPECT_LT(list->header()->sectionViewportPosition(4) + 100, list->viewport()->width());
    EXPECT_EQ(other->toolTip(4), other->text(4));
    EXPECT_EQ(fixture->toolTip(3), FIXTURE_ADDIN);
    EXPECT_EQ(loadBehavior("Other.AddIn"), reg::kNotLoaded);

    // Add: the module crashes in its registration, in the child; nothing changes.
    const std::string before = registry.text();
    harness.messages.shown.clear();
    dialog.findChild<QPushButton*>("cmdAddAddIn")->click();
    ASSERT_EQ(harness.messages.shown.size(), 1u);
    const QString said = harness.messages.shown[0].text;
    EXPECT_TRUE(said.contains(BROKEN_CRASH_REGISTER)) << said.toStdString();
    EXPECT_TRUE(said.contains("The registry was left as it was.")) << said.toStdString();
    EXPECT_EQ(registry.text(), before);

    // Remove: exactly Other.AddIn's records go.
    auto expected = registry.read();
    expected.deleteTree(reg::addInKey(host::kHostRegistryRoot, "Other.AddIn"));
    expected.deleteTree(reg::progIdKey("Other.AddIn"));
    expected.deleteTree(reg::classKey(com::Guid::parse(kOtherClass).value()));
    list->setCurrentItem(row(list, "Other.AddIn add-in"));
    harness.messages.answers = {host::MessageButton::Yes};
    dialog.findChild<QPushButton*>("cmdRemoveAddIn")->click();
    EXPECT_EQ(registry.text(), platform::registry::formatRegistry(expected));
    EXPECT_EQ(list->topLevelItemCount(), 1);
    harness.stop();
}

// Add... never holds the window: Cancel works while a module hangs, and a module's flood of
// output ends up, cut to its end, behind the message's details.
TEST(AddInsDialog, AddRunsTheRegistrationBesideTheWindowWithCancelAndBoundedDetails) {
    struct Case {
        const char* module;
        std::chrono::milliseconds timeLimit;
        bool cancel;
        const char* says;
        const char* detailsSay;
    };
    const Case cases[] = {
        {BROKEN_SLEEP, std::chrono::seconds(30), true, "was cancelled", ""},
        {BROKEN_FLOOD, std::chrono::milliseconds(500), false, "within the time limit",
         "bytes of earlier output left out]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        TempRegistry registry;
        EditorHarness harness;
        host::AddInsDialog dialog(
            *harness.session,
            {&harness.messages, [&](QWidget*) { return QString(c.module); }, OSTREL_REGSVR_PATH,
             registry.path(), std::string(host::kHostRegistryRoot), c.timeLimit});
        bool progressShown = false;
        if (c.cancel) {
            // Runs only if the window's thread is free while the module hangs.
            QTimer::singleShot(300, &dialog, [&] {
                auto* progress = dialog.findChild<QProgressDialog*>("registrationProgress");
                ASSERT_NE(progress, nullptr);
                progressShown = progress->isVisible();
                progress->findChild<QPushButton*>()->click();
            });
        }
        dialog.findChild<QPushButton*>("cmdAddAddIn")->click();
        EXPECT_EQ(progressShown, c.cancel);
        ASSERT_EQ(harness.messages.shown.size(), 1u);
        const auto& said = harness.messages.shown[0];
        EXPECT_TRUE(said.text.contains(c.says)) << said.text.toStdString();
        EXPECT_LT(said.text.size(), 1000) << "the module's output is not in the message";
        EXPECT_TRUE(said.details.contains(c.detailsSay)) << said.details.left(200).toStdString();
        EXPECT_LT(said.details.size(), 3 * qsizetype(host::regsvr::kOutputTail));
        EXPECT_FALSE(registry.exists());
        harness.stop();
    }
}

}  // namespace
