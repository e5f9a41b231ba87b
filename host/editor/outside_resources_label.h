// The status bar's note of how many outside resources the current page's rendered view
// did not load; hidden when there are none.
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

}  // namespace host
