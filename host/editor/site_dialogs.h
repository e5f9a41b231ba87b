// The questions the site features ask the author, as an injected service so that tests can
// answer them.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace host::site {

// One page offered for the update, with its change in source form.
struct RegionReviewItem {
    QString path;
    QString label;  // the page as the list shows it
    std::function<QString()> diff;  // see sourceDiff; made when the page is looked at
    bool checked = true;
};

class SiteDialogs {
public:
    virtual ~SiteDialogs() = default;
    // The folder to open as a site; empty when the author cancels.
    virtual QString askSiteFolder(QWidget* parent) = 0;
    // Which of the pages to update, one flag per item; nothing when the author cancels.
    virtual std::optional<std::vector<bool>> reviewRegionUpdate(
        QWidget* parent, const QString& id, const std::vector<RegionReviewItem>& items) = 0;
};

class QtSiteDialogs final : public SiteDialogs {
public:
    QString askSiteFolder(QWidget* parent) override;
    std::optional<std::vector<bool>> reviewRegionUpdate(
        QWidget* parent, const QString& id, const std::vector<RegionReviewItem>& items) override;
};

}  // namespace host::site
