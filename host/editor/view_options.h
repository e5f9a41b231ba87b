// The editor's remembered choices for how pages show, the source and the rendered page and
// the split between them, and
// the current page's choice whether its rendered view runs its scripts. The View menu's
// actions set them.
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QSettings;
class QTabWidget;

namespace host {

class ViewOptions : public QObject {
    Q_OBJECT
public:
    // Adds its actions to `viewMenu`; Run Page Scripts follows the current page of `tabs`.
    ViewOptions(QSettings& settings, QMenu& viewMenu, QTabWidget& tabs, QObject* parent = nullptr);

    bool sourceShown() const;
    bool renderedShown() const;
    // At least one side shows: hiding the only one left shows the other.
    void setShown(bool source, bool rendered);
    // The source's part of a tab's width, in thousandths, as the author last dragged it.
    int sourceShare() const;
    void setSourceShare(int perMille);

signals:
    void changed();

private:
    void save();
    void followPage(QWidget* current);

    QSettings& m_settings;
    QAction* m_source;
    QAction* m_rendered;
    QAction* m_scripts;
    QMetaObject::Connection m_followed;
};

}  // namespace host
