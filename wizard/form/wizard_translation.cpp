// Loading the wizard's catalogue for the time it is open.
#include "wizard/form/wizard_translation.h"

#include <QCoreApplication>
#include <QString>

namespace ostrel {

WizardTranslation::WizardTranslation(const std::filesystem::path& moduleFolder,
                                     const QLocale& locale) {
    const QString folder = QString::fromStdString(moduleFolder.string());
    m_installed =
        m_translator.load(locale, QStringLiteral("ostrel_wizard"), QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(&m_translator);
}

WizardTranslation::~WizardTranslation() {
    if (m_installed) QCoreApplication::removeTranslator(&m_translator);
}

}  // namespace ostrel
