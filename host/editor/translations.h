// The editor in the author's language: its own catalogue and Qt's, for the desktop's locale.
#pragma once

#include <QLocale>
#include <QStringList>

namespace host {

// Loads and installs the editor's translation (share/pagehost/translations) and Qt's own
// (qtbase) for `locale`, where there are ones; English needs none. Returns the catalogues
// installed. Needs a QCoreApplication; the translators live as long as it does.
QStringList installTranslations(const QLocale& locale);

}  // namespace host
