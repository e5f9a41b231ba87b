// A wizard with its own settings file and template folder in a temporary place, driven
// through real clicks on its window.
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>

#include "support/modal.h"
#include "support/recording_message_box.h"
#include "wizard/form/wizard_form.h"
#include "wizard/frmOstWiz.h"
#include "wizard/settings/ini_settings_store.h"
#include "wizard/settings/persisted_keys.h"

class WizardFixture : public testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        settings = std::make_shared<ostrel::IniSettingsStore>(folder() / "Ostrel_Plugin.ini");
        writeTemplate("template.wtf",
                      "<form u='<<USERID>>' h='<<HEADERFIELD>>' a='<<ADTRACKING>>' "
                      "r='<<REDIRECT>>' m='<<MSGNO>>' q='<<REQUIREDFIELD>>'></form>");
    }

    std::filesystem::path folder() const { return dir.path().toStdString(); }
    void writeTemplate(const std::string& name, const std::string& text) {
        std::ofstream(folder() / name, std::ios::binary) << text;
    }
    com::ComPtr<ostrel::frmOstWiz> newWizard() {
        return com::make<ostrel::frmOstWiz>(ostrel::WizardEnvironment{settings, folder()});
    }
    std::string stored(const ostrel::PersistedKey& key) const {
        return settings->value(ostrel::kSettingsApplication, ostrel::kSettingsSection, key.name)
            .value_or("<absent>");
    }

    // Shows the wizard and runs `act` on its window while it is open.
    void run(ostrel::frmOstWiz& wizard, std::function<void(ostrel::WizardForm&)> act) {
        whileModal([&] { wizard.Show(); },
                   [&](QWidget*) {
                       // Access keys reach only the active window.
                       wizard.form()->activateWindow();
                       EXPECT_TRUE(QTest::qWaitForWindowActive(wizard.form()));
                       act(*wizard.form());
                   });
    }

    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void press(ostrel::WizardForm& form, int index) { click(form.cmdWizControl()[index]); }
    static void type(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    // The index of every frame not hidden.
    static std::vector<int> shownPages(const ostrel::WizardForm& form) {
        std::vector<int> shown;
        for (int i = 0; i <= form.fraStep().ubound(); ++i)
            if (!form.fraStep()[i]->isHidden()) shown.push_back(i);
        return shown;
    }

    QTemporaryDir dir;
    std::shared_ptr<ostrel::IniSettingsStore> settings;
    RecordingMessageBox boxes;
};
