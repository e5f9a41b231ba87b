// The status bar's count of outside resources not loaded.
#include "host/editor/outside_resources_label.h"

#include <QTabWidget>

#include "host/editor/page_view.h"

namespace host {

OutsideResourcesLabel::OutsideResourcesLabel(QTabWidget& tabs, QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("outsideResources"));
    setToolTip(QStringLiteral(
        "The rendered page loads only files from the page's own folder; addresses elsewhere "
        "are not fetched."));
    hide();
    connect(&tabs, &QTabWidget::currentChanged, this,
            [this, &tabs] { follow(tabs.currentWidget()); });
}

QString OutsideResourcesLabel::describe(int count) {
    return count == 1 ? QStringLiteral("1 outside resource not loaded")
                      : QStringLiteral("%1 outside resources not loaded").arg(count);
}

void OutsideResourcesLabel::follow(QWidget* current) {
    disconnect(m_followed);
    auto* view = qobject_cast<PageView*>(current);
    if (!view) {
        showCount(0);
        return;
    }
    m_followed = connect(view, &PageView::blockedCountChanged, this,
                         [this](int count) { showCount(count); });
    showCount(view->blockedCount());
}

void OutsideResourcesLabel::showCount(int count) {
    setText(describe(count));
    setVisible(count > 0);
}

}  // namespace host
