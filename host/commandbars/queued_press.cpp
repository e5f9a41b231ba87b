// Accessible interfaces whose press action is queued.
#include "host/commandbars/queued_press.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace host {
namespace {

constexpr const char* kQueuedPresses = "ostrelQueuedPresses";

bool marked(const QObject* object) {
    return object && object->property(kQueuedPresses).toBool();
}

QString withoutAccessKeys(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

class QueuedToolButton final : public QAccessibleWidget {
public:
    explicit QueuedToolButton(QToolButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return withoutAccessKeys(button()->text());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->isDown();
        s.checkable = button()->isCheckable();
        s.checked = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name != pressAction()) return QAccessibleWidget::doAction(name);
        if (button()->isEnabled())
            QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
    }

private:
    QToolButton* button() const { return static_cast<QToolButton*>(widget()); }
};

class QueuedMenuItem final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    QueuedMenuItem(QMenu* menu, QAction* action) : m_menu(menu), m_action(action) {}

    bool isValid() const override { return m_menu && m_action; }
    QObject* object() const override { return m_action; }
    QWindow* window() const override { return m_menu ? m_menu->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_menu);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return withoutAccessKeys(m_action->text());
        if (t == QAccessible::Accelerator)
            return m_action->shortcut().toString(QKeySequence::NativeText);
        if (t == QAccessible::Help) return m_action->statusTip();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = m_menu->actionGeometry(m_action);
        return r.translated(m_menu->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override {
        return m_action && m_action->isSeparator() ? QAccessible::Separator
                                                   : QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.focusable = true;
        s.disabled = !m_action->isEnabled();
        s.invisible = !m_action->isVisible() || !m_menu->isVisible();
        s.focused = s.selected = m_menu->activeAction() == m_action;
        s.checkable = m_action->isCheckable();
        s.checked = m_action->isChecked();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && m_action->isEnabled())
            QMetaObject::invokeMethod(m_action, &QAction::trigger, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QMenu> m_menu;
    QPointer<QAction> m_action;
};

QAccessibleInterface* queuedPressFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QToolButton")) {
        auto* button = static_cast<QToolButton*>(object);
        if (button->defaultAction() && marked(button->parentWidget()))
            return new QueuedToolButton(button);
    } else if (className == QLatin1String("QAction")) {
        auto* action = static_cast<QAction*>(object);
        const QList<QObject*> shownIn = action->associatedObjects();
        if (std::any_of(shownIn.begin(), shownIn.end(), marked)) {
            for (QObject* o : shownIn)
                if (auto* menu = qobject_cast<QMenu*>(o)) return new QueuedMenuItem(menu, action);
        }
    }
    return nullptr;
}

}  // namespace

void queueAccessiblePresses(QToolBar& toolBar) {
    static const bool installed = [] {
        QAccessible::installFactory(queuedPressFactory);
        return true;
    }();
    (void)installed;
    toolBar.setProperty(kQueuedPresses, true);
}

}  // namespace host
