// The side panel that lists a site's pages as a tree of folders.
#pragma once

#include <QDockWidget>
#include <QStringList>

class QTreeWidget;

namespace host::site {

class SitePanel : public QDockWidget {
    Q_OBJECT
public:
    explicit SitePanel(QWidget* parent = nullptr);
    // Shows `pages` (absolute paths inside `folder`).
    void showSite(const QString& folder, const QStringList& pages);
    QTreeWidget* tree() const { return m_tree; }

signals:
    void pageChosen(const QString& path);

private:
    QTreeWidget* m_tree;
};

}  // namespace host::site
