// The View menu's remembered choices.
#include "host/editor/view_options.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

namespace host {
namespace {

const QString kSourceKey = QStringLiteral("View/Source");
const QString kRenderedKey = QStringLiteral("View/RenderedPage");
const QString kScriptsKey = QStringLiteral("View/PageScripts");

QAction* checkable(QMenu& menu, const QString& text, bool checked) {
    QAction* action = menu.addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

}  // namespace

ViewOptions::ViewOptions(QSettings& settings, QMenu& viewMenu, QObject* parent)
    : QObject(parent), m_settings(settings) {
    m_source = checkable(viewMenu, QStringLiteral("&Source"), settings.value(kSourceKey, true).toBool());
    m_rendered = checkable(viewMenu, QStringLiteral("&Rendered Page"),
                           settings.value(kRenderedKey, true).toBool());
    viewMenu.addSeparator();
    // Off unless the author turns them on: a page's scripts could do anything a web page can.
    m_scripts = checkable(viewMenu, QStringLiteral("Run Page S&cripts"),
                          settings.value(kScriptsKey, false).toBool());
    m_source->setObjectName(QStringLiteral("viewSource"));
    m_rendered->setObjectName(QStringLiteral("viewRenderedPage"));
    m_scripts->setObjectName(QStringLiteral("viewPageScripts"));
    if (!sourceShown() && !renderedShown()) m_source->setChecked(true);
    connect(m_source, &QAction::triggered, this,
            [this](bool on) { setShown(on, renderedShown() || !on); });
    connect(m_rendered, &QAction::triggered, this,
            [this](bool on) { setShown(sourceShown() || !on, on); });
    connect(m_scripts, &QAction::triggered, this, [this] {
        save();
        emit changed();
    });
}

bool ViewOptions::sourceShown() const { return m_source->isChecked(); }
bool ViewOptions::renderedShown() const { return m_rendered->isChecked(); }
bool ViewOptions::scriptsEnabled() const { return m_scripts->isChecked(); }

void ViewOptions::setShown(bool source, bool rendered) {
    if (!source && !rendered) source = true;
    m_source->setChecked(source);
    m_rendered->setChecked(rendered);
    save();
    emit changed();
}

void ViewOptions::save() {
    m_settings.setValue(kSourceKey, sourceShown());
    m_settings.setValue(kRenderedKey, renderedShown());
    m_settings.setValue(kScriptsKey, scriptsEnabled());
}

}  // namespace host
