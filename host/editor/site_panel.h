// The side panel that lists a site's pages as a tree of folders.
#pragma once

#include <QDockWidget>
#include <QStringList>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace host::site {

class SitePanel : public QDockWidget {
    Q_OBJECT
public:
    explicit SitePanel(QWidget* parent = nullptr);
    // Shows `pages` (absolute paths inside `folder`).
    void showSite(const QString& folder, const QStringList& pages);
    QTreeWidget* tree() const { return m_tree; }
    // The "Published at" field above the pages, and what it says of the author's entry.
    void setPublishedAt(const QString& address);
    void setPublishedAtProblem(const QString& problem);
    QLineEdit* publishedAtField() const { return m_publishedAt; }

signals:
    void pageChosen(const QString& path);
    // The author has finished editing the "Published at" field.
    void publishedAtEdited(const QString& address);

private:
    QLineEdit* m_publishedAt;
    QLabel* m_publishedAtProblem;
    QTreeWidget* m_tree;
};

}  // namespace host::site
