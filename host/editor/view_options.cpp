// The View menu's remembered choices.
#include "host/editor/view_options.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTabWidget>

#include "host/editor/editor_tab.h"

namespace host {
namespace {

const QString kSourceKey = QStringLiteral("View/Source");
const QString kRenderedKey = QStringLiteral("View/RenderedPage");
const QString kShareKey = QStringLiteral("View/SourceShare");
constexpr int kHalf = 500;

QAction* checkable(QMenu& menu, const QString& text, bool checked) {
    QAction* action = menu.addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

}  // namespace

ViewOptions::ViewOptions(QSettings& settings, QMenu& viewMenu, QTabWidget& tabs, QObject* parent)
    : QObject(parent), m_settings(settings) {
    m_source = checkable(viewMenu, tr("&Source"), settings.value(kSourceKey, true).toBool());
    m_rendered =
        checkable(viewMenu, tr("&Rendered Page"), settings.value(kRenderedKey, true).toBool());
    viewMenu.addSeparator();
    // Off for every page until the author turns them on for it: a page's scripts could do
    // anything a web page can, so one page's choice is never another's, nor a later file's
    // at the same place.
    m_scripts = checkable(viewMenu, tr("Run Page S&cripts"), false);
    m_source->setObjectName(QStringLiteral("viewSource"));
    m_rendered->setObjectName(QStringLiteral("viewRenderedPage"));
    m_scripts->setObjectName(QStringLiteral("viewPageScripts"));
    if (!sourceShown() && !renderedShown()) m_source->setChecked(true);
    connect(m_source, &QAction::triggered, this,
            [this](bool on) { setShown(on, renderedShown() || !on); });
    connect(m_rendered, &QAction::triggered, this,
            [this](bool on) { setShown(sourceShown() || !on, on); });
    connect(m_scripts, &QAction::triggered, this, [&tabs](bool on) {
        if (auto* view = qobject_cast<EditorTab*>(tabs.currentWidget())) view->setScriptsEnabled(on);
    });
    connect(&tabs, &QTabWidget::currentChanged, this,
            [this, &tabs] { followPage(tabs.currentWidget()); });
    followPage(tabs.currentWidget());
}

void ViewOptions::followPage(QWidget* current) {
    disconnect(m_followed);
    auto* view = qobject_cast<EditorTab*>(current);
    m_scripts->setEnabled(view != nullptr);
    m_scripts->setChecked(view && view->scriptsEnabled());
    if (view) {
        m_followed =
            connect(view, &EditorTab::scriptsEnabledChanged, m_scripts, &QAction::setChecked);
    }
}

bool ViewOptions::sourceShown() const { return m_source->isChecked(); }
bool ViewOptions::renderedShown() const { return m_rendered->isChecked(); }

void ViewOptions::setShown(bool source, bool rendered) {
    if (!source && !rendered) source = true;
    m_source->setChecked(source);
    m_rendered->setChecked(rendered);
    save();
    emit changed();
}

int ViewOptions::sourceShare() const {
    const int share = m_settings.value(kShareKey, kHalf).toInt();
    // Neither side is squeezed to nothing by a damaged setting.
    return share >= 50 && share <= 950 ? share : kHalf;
}

void ViewOptions::setSourceShare(int perMille) {
    m_settings.setValue(kShareKey, perMille);
}

void ViewOptions::save() {
    m_settings.setValue(kSourceKey, sourceShown());
    m_settings.setValue(kRenderedKey, renderedShown());
}

}  // namespace host
