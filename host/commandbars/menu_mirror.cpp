// Follows a toolbar's action events into a menu.
#include "host/commandbars/menu_mirror.h"

#include <QActionEvent>
#include <QMenu>
#include <QPointer>
#include <QToolBar>

namespace host {
namespace {

class MenuMirror final : public QObject {
public:
    MenuMirror(QToolBar& toolBar, QMenu& menu) : QObject(&toolBar), m_menu(&menu) {
        for (QAction* a : toolBar.actions()) menu.addAction(a);
        toolBar.installEventFilter(this);
        showWhenFilled();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_menu) return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::ActionAdded) {
            const auto* e = static_cast<QActionEvent*>(event);
            QAction* before =
                e->before() && m_menu->actions().contains(e->before()) ? e->before() : nullptr;
            m_menu->insertAction(before, e->action());
            showWhenFilled();
        } else if (event->type() == QEvent::ActionRemoved) {
            m_menu->removeAction(static_cast<QActionEvent*>(event)->action());
            showWhenFilled();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void showWhenFilled() { m_menu->menuAction()->setVisible(!m_menu->actions().isEmpty()); }

    QPointer<QMenu> m_menu;
};

}  // namespace

void mirrorInMenu(QToolBar& toolBar, QMenu& menu) {
    new MenuMirror(toolBar, menu);
}

}  // namespace host
