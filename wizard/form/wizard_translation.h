// The wizard's own catalogue, in force while the wizard is open.
#pragma once

#include <QLocale>
#include <QTranslator>
#include <filesystem>

namespace ostrel {

// Installs the catalogue ostrel_wizard_<language>.qm from the module's folder for `locale`
// (de_DE, then de) and removes it again when destroyed, so that the host's own texts never
// change with it. Without a matching catalogue the wizard keeps its English texts.
class WizardTranslation {
public:
    explicit WizardTranslation(const std::filesystem::path& moduleFolder,
                               const QLocale& locale = QLocale());
    ~WizardTranslation();
    WizardTranslation(const WizardTranslation&) = delete;
    WizardTranslation& operator=(const WizardTranslation&) = delete;

private:
    QTranslator m_translator;
    bool m_installed = false;
};

}  // namespace ostrel
