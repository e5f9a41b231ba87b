// The status bar's notes on the current page's rendered view: how many resources it did not
// load (hidden when there are none), and whether it runs the page's scripts.
#pragma once

#include <QLabel>
#include <QMetaObject>

class QTabWidget;

namespace host {

class OutsideResourcesLabel : public QLabel {
    Q_OBJECT
public:
    // Follows whichever page view is the current tab of `tabs`.
    explicit OutsideResourcesLabel(QTabWidget& tabs, QWidget* parent = nullptr);

    static QString describe(int count);

private:
    void follow(QWidget* current);
    void showCount(int count);

    QMetaObject::Connection m_followed;
};

// "Scripts on" or "Scripts off" for the current page; hidden when no page is open.
class PageScriptsLabel : public QLabel {
    Q_OBJECT
public:
    explicit PageScriptsLabel(QTabWidget& tabs, QWidget* parent = nullptr);

private:
    void follow(QWidget* current);
    void showState(bool on);

    QMetaObject::Connection m_followed;
};

}  // namespace host
