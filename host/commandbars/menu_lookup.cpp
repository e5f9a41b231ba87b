// Finding or making a menu of the menu bar.
#include "host/commandbars/menu_lookup.h"

#include <QMenu>
#include <QMenuBar>

namespace host {

QMenu& menuOf(QMenuBar& bar, const QString& objectName, const QString& title) {
    QAction* help = nullptr;
    for (QAction* a : bar.actions()) {
        if (!a->menu()) continue;
        if (a->menu()->objectName() == objectName) return *a->menu();
        if (a->menu()->objectName() == QLatin1String(kHelpMenuName)) help = a;
    }
    auto* menu = new QMenu(title, &bar);
    menu->setObjectName(objectName);
    bar.insertMenu(help, menu);
    return *menu;
}

}  // namespace host
