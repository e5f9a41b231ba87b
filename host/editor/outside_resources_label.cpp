// The status bar's notes on the current page's rendered view.
#include "host/editor/outside_resources_label.h"

#include <QTabWidget>

#include "host/editor/editor_tab.h"

namespace host {

OutsideResourcesLabel::OutsideResourcesLabel(QTabWidget& tabs, QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("outsideResources"));
    setToolTip(
        tr("The rendered page loads only files from the page's own folder, up to 64 MB each; "
           "addresses elsewhere, connections its scripts ask for and larger files are not "
           "fetched."));
    hide();
    connect(&tabs, &QTabWidget::currentChanged, this,
            [this, &tabs] { follow(tabs.currentWidget()); });
}

QString OutsideResourcesLabel::describe(int count) {
    return count == 1 ? tr("1 outside resource not loaded")
                      : tr("%1 outside resources not loaded").arg(count);
}

void OutsideResourcesLabel::follow(QWidget* current) {
    disconnect(m_followed);
    auto* view = qobject_cast<EditorTab*>(current);
    if (!view) {
        showCount(0);
        return;
    }
    m_followed = connect(view, &EditorTab::blockedCountChanged, this,
                         [this](int count) { showCount(count); });
    showCount(view->blockedCount());
}

void OutsideResourcesLabel::showCount(int count) {
    setText(describe(count));
    setVisible(count > 0);
}

PageScriptsLabel::PageScriptsLabel(QTabWidget& tabs, QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("pageScripts"));
    setToolTip(
        tr("Whether the rendered page runs its scripts: View > Run Page Scripts, for this page "
           "while it is open."));
    hide();
    connect(&tabs, &QTabWidget::currentChanged, this,
            [this, &tabs] { follow(tabs.currentWidget()); });
}

void PageScriptsLabel::follow(QWidget* current) {
    disconnect(m_followed);
    auto* view = qobject_cast<EditorTab*>(current);
    setVisible(view != nullptr);
    if (!view) return;
    m_followed =
        connect(view, &EditorTab::scriptsEnabledChanged, this, [this](bool on) { showState(on); });
    showState(view->scriptsEnabled());
}

void PageScriptsLabel::showState(bool on) {
    setText(on ? tr("Scripts on") : tr("Scripts off"));
}

}  // namespace host
