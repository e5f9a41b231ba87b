// The site panel: one tree item per folder and page.
#include "host/editor/site_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace host::site {

SitePanel::SitePanel(QWidget* parent)
    : QDockWidget(tr("Site"), parent),
      m_publishedAt(new QLineEdit),
      m_publishedAtProblem(new QLabel),
      m_tree(new QTreeWidget) {
    setObjectName("sitePanel");
    m_publishedAt->setObjectName("sitePublishedAt");
    m_publishedAt->setPlaceholderText(QStringLiteral("https://www.your-site.example/"));
    m_publishedAt->setToolTip(
        tr("The address these pages are published at. The sign-up form check uses it to tell "
           "whether the pages are served over https and whether a thank-you page is one of them."));
    m_publishedAtProblem->setObjectName("sitePublishedAtProblem");
    m_publishedAtProblem->setWordWrap(true);
    m_publishedAtProblem->hide();
    m_tree->setObjectName("siteTree");
    m_tree->setHeaderHidden(true);
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* fields = new QFormLayout;
    fields->addRow(tr("&Published at:"), m_publishedAt);
    layout->addLayout(fields);
    layout->addWidget(m_publishedAtProblem);
    layout->addWidget(m_tree, 1);
    setWidget(area);
    connect(m_publishedAt, &QLineEdit::editingFinished, this,
            [this] { emit publishedAtEdited(m_publishedAt->text().trimmed()); });
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString path = item->data(0, Qt::UserRole).toString();
        if (!path.isEmpty()) emit pageChosen(path);
    });
}

void SitePanel::showSite(const QString& folder, const QStringList& pages) {
    m_tree->clear();
    const QDir root(folder);
    setWindowTitle(tr("Site: %1").arg(root.dirName()));
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

void SitePanel::setPublishedAt(const QString& address) {
    m_publishedAt->setText(address);
    setPublishedAtProblem({});
}

void SitePanel::setPublishedAtProblem(const QString& problem) {
    m_publishedAtProblem->setText(problem);
    m_publishedAtProblem->setVisible(!problem.isEmpty());
    // A screen reader says why the entry was refused when it reads the field; without a
    // problem the field's tool tip describes it again.
    m_publishedAt->setAccessibleDescription(problem);
}

}  // namespace host::site
