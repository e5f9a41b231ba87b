// F6 and the View menu's Focus items.
#include "host/editor/part_focus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <algorithm>
#include <array>

#include "host/editor/editor_tab.h"
#include "host/editor/editor_window.h"
#include "host/editor/form_check_panel.h"
#include "host/editor/view_options.h"

namespace host {
namespace {

constexpr std::array kOrder{PartFocus::Part::source, PartFocus::Part::rendered,
                            PartFocus::Part::formCheck};

}  // namespace

PartFocus::PartFocus(EditorWindow& window, ViewOptions& options, QMenu& viewMenu)
    : QObject(&window), m_window(window), m_options(options) {
    viewMenu.addSeparator();
    const auto add = [&](const QString& text, const char* name, QKeySequence key, auto slot) {
        QAction* action = viewMenu.addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(tr("Focus S&ource"), "focusSource", {}, [this] { focus(Part::source); });
    add(tr("Focus R&endered Page"), "focusRenderedPage", {}, [this] { focus(Part::rendered); });
    add(tr("Focus &Form Check"), "focusFormCheck", {}, [this] { focus(Part::formCheck); });
    add(tr("&Next Part"), "focusNextPart", QKeySequence(Qt::Key_F6), [this] { cycle(true); });
    add(tr("Pre&vious Part"), "focusPreviousPart", QKeySequence(Qt::SHIFT | Qt::Key_F6),
        [this] { cycle(false); });
}

QWidget* PartFocus::widgetOf(Part part) const {
    EditorTab* tab = m_window.tabOf(m_window.activePage());
    switch (part) {
        case Part::source:
            return tab ? tab->source() : nullptr;
        case Part::rendered: {
            if (!tab) return nullptr;
            if (tab->rendered() && tab->rendered()->widget()->isVisible())
                return tab->rendered()->widget();
            // Until the view is made and shown (or in place of one that cannot be), its side
            // holds the focus, and the note it shows.
            auto* side = tab->findChild<QWidget*>(QStringLiteral("renderedSide"));
            if (side) side->setFocusPolicy(Qt::StrongFocus);
            return side;
        }
        case Part::formCheck:
            return m_window.formCheck().list();
    }
    return nullptr;
}

bool PartFocus::focusedPart(Part* part) const {
    const QWidget* focused = QApplication::focusWidget();
    if (!focused) return false;
    for (Part p : kOrder) {
        const QWidget* w = widgetOf(p);
        if (w && (w == focused || w->isAncestorOf(focused))) {
            *part = p;
            return true;
        }
    }
    return false;
}

void PartFocus::focus(Part part) {
    switch (part) {
        case Part::source:
            if (!m_options.sourceShown()) m_options.setShown(true, m_options.renderedShown());
            break;
        case Part::rendered:
            if (!m_options.renderedShown()) m_options.setShown(m_options.sourceShown(), true);
            break;
        case Part::formCheck:
            m_window.formCheck().show();
            m_window.formCheck().raise();
            break;
    }
    if (QWidget* w = widgetOf(part)) w->setFocus(Qt::ShortcutFocusReason);
}

void PartFocus::cycle(bool forward) {
    std::vector<Part> shown;
    for (Part p : kOrder) {
        const QWidget* w = widgetOf(p);
        if (w && w->isVisible()) shown.push_back(p);
    }
    if (shown.empty()) return;
    Part current{};
    std::size_t next = forward ? 0 : shown.size() - 1;
    if (focusedPart(&current)) {
        const auto at = std::size_t(std::find(shown.begin(), shown.end(), current) - shown.begin());
        if (at < shown.size())
            next = forward ? (at + 1) % shown.size() : (at + shown.size() - 1) % shown.size();
    }
    if (QWidget* w = widgetOf(shown[next])) w->setFocus(Qt::ShortcutFocusReason);
}

}  // namespace host
