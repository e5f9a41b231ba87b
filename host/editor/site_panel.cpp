// The site panel: one tree item per folder and page.
#include "host/editor/site_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTreeWidget>

namespace host::site {

SitePanel::SitePanel(QWidget* parent) : QDockWidget(QStringLiteral("Site"), parent), m_tree(new QTreeWidget) {
    setObjectName("sitePanel");
    m_tree->setObjectName("siteTree");
    m_tree->setHeaderHidden(true);
    setWidget(m_tree);
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString path = item->data(0, Qt::UserRole).toString();
        if (!path.isEmpty()) emit pageChosen(path);
    });
}

void SitePanel::showSite(const QString& folder, const QStringList& pages) {
    m_tree->clear();
    const QDir root(folder);
    setWindowTitle(QStringLiteral("Site: %1").arg(root.dirName()));
    QHash<QString, QTreeWidgetItem*> folders;
    for (const QString& page : pages) {
        const QStringList parts = root.relativeFilePath(page).split(u'/');
        QTreeWidgetItem* parent = nullptr;
        QString key;
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            key += parts[i] + u'/';
            QTreeWidgetItem*& item = folders[key];
            if (!item) {
                item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
                item->setText(0, parts[i]);
            }
            parent = item;
        }
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        item->setText(0, parts.back());
        item->setData(0, Qt::UserRole, page);
        item->setToolTip(0, page);
    }
    m_tree->expandAll();
}

}  // namespace host::site
