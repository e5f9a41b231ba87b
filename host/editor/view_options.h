// The editor's remembered choices for how pages show: the source, the rendered page, and
// whether the rendered page runs its scripts. The View menu's actions set them.
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QSettings;

namespace host {

class ViewOptions : public QObject {
    Q_OBJECT
public:
    // Adds its actions to `viewMenu`.
    ViewOptions(QSettings& settings, QMenu& viewMenu, QObject* parent = nullptr);

    bool sourceShown() const;
    bool renderedShown() const;
    bool scriptsEnabled() const;
    // At least one side shows: hiding the only one left shows the other.
    void setShown(bool source, bool rendered);

signals:
    void changed();

private:
    void save();

    QSettings& m_settings;
    QAction* m_source;
    QAction* m_rendered;
    QAction* m_scripts;
};

}  // namespace host
