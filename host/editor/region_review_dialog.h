// The list of pages a region update would change, each with its diff and a check box.
#pragma once

#include <QDialog>
#include <vector>

#include "host/editor/site_dialogs.h"

class QListWidget;
class QPlainTextEdit;

namespace host::site {

class RegionReviewDialog : public QDialog {
    Q_OBJECT
public:
    RegionReviewDialog(const QString& id, std::vector<RegionReviewItem> items,
                       QWidget* parent = nullptr);
    std::vector<bool> checkedPages() const;

private:
    std::vector<RegionReviewItem> m_items;
    QListWidget* m_pages;
    QPlainTextEdit* m_diff;
};

}  // namespace host::site
