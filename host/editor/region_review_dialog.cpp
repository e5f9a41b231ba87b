// The review dialog and the Qt answers to the site's questions.
#include "host/editor/region_review_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace host::site {

RegionReviewDialog::RegionReviewDialog(const QString& id, std::vector<RegionReviewItem> items,
                                       QWidget* parent)
    : QDialog(parent),
      m_items(std::move(items)),
      m_pages(new QListWidget),
      m_diff(new QPlainTextEdit) {
    setObjectName("regionReviewDialog");
    setWindowTitle(tr("Update \"%1\" on other pages").arg(id));
    m_pages->setObjectName("regionReviewPages");
    m_diff->setObjectName("regionReviewDiff");
    m_diff->setReadOnly(true);
    // Long lines wrap, so a change is read without scrolling sideways.
    m_diff->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_diff->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_diff->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (const RegionReviewItem& item : m_items) {
        auto* row = new QListWidgetItem(item.label, m_pages);
        row->setCheckState(item.checked ? Qt::Checked : Qt::Unchecked);
        row->setToolTip(item.path);
    }
    connect(m_pages, &QListWidget::currentRowChanged, this, [this](int row) {
        const auto& diff = row >= 0 ? m_items[std::size_t(row)].diff : nullptr;
        m_diff->setPlainText(diff ? diff() : QString());
    });
    if (!m_items.empty()) m_pages->setCurrentRow(0);

    // In the dialog before Update is made the default: a button not yet in a dialog is not
    // remembered as its default, and Cancel would show as one after taking the focus.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* update = buttons->addButton(tr("Update"), QDialogButtonBox::AcceptRole);
    update->setObjectName("regionReviewUpdate");
    update->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // The pages in a narrow list beside the diff, which gets the rest.
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(m_pages);
    split->addWidget(m_diff);
    split->setStretchFactor(1, 1);
    split->setSizes({fontMetrics().averageCharWidth() * 24, 10000});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("The checked pages get the content that \"%1\" has on this page:").arg(id)));
    layout->addWidget(split);
    layout->addWidget(buttons);
    resize(860, 560);
}

std::vector<bool> RegionReviewDialog::checkedPages() const {
    std::vector<bool> out;
    for (int i = 0; i < m_pages->count(); ++i)
        out.push_back(m_pages->item(i)->checkState() == Qt::Checked);
    return out;
}

QString QtSiteDialogs::askSiteFolder(QWidget* parent) {
    return QFileDialog::getExistingDirectory(parent, RegionReviewDialog::tr("Open Site"));
}

std::optional<std::vector<bool>> QtSiteDialogs::reviewRegionUpdate(
    QWidget* parent, const QString& id, const std::vector<RegionReviewItem>& items) {
    RegionReviewDialog dialog(id, items, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.checkedPages();
}

}  // namespace host::site
