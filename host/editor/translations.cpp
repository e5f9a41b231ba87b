// Loading the catalogues.
#include "host/editor/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "host/editor/data_folder.h"

namespace host {

QStringList installTranslations(const QLocale& locale) {
    QStringList installed;
    const auto install = [&](const QString& name, const QString& folder) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        // QTranslator tries each of the locale's languages in turn (de_DE, then de).
        if (translator->load(locale, name, QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator)) {
            installed << translator->filePath();
        } else {
            delete translator;
        }
    };
    install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    install(QStringLiteral("pagehost"), dataPath(QStringLiteral("translations")));
    return installed;
}

}  // namespace host
