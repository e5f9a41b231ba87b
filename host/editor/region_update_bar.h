// The bar above the page that offers to update a changed region on the site's other pages.
#pragma once

#include <QFrame>

class QLabel;

namespace host::site {

class RegionUpdateBar : public QFrame {
    Q_OBJECT
public:
    explicit RegionUpdateBar(QWidget* parent = nullptr);
    void offer(const QString& text);

signals:
    void reviewRequested();
    void updateRequested();

private:
    QLabel* m_text;
};

}  // namespace host::site
