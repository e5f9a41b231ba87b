// The pages open when the author last quit: kept in the editor's settings, and offered
// again at the next start in a bar above the page area, never opened without asking.
#pragma once

#include <QFrame>
#include <QStringList>

class QLabel;
class QSettings;

namespace host {

void saveLastSession(QSettings& settings, const QStringList& pages);
// The pages of the last session that are still there, in their tab order.
QStringList lastSessionPages(QSettings& settings);

class SessionOfferBar : public QFrame {
    Q_OBJECT
public:
    explicit SessionOfferBar(QWidget* parent = nullptr);
    // Shows the bar naming `pages`; nothing for none.
    void offer(const QStringList& pages);
    QStringList offered() const { return m_pages; }

signals:
    void reopenRequested(const QStringList& pages);

private:
    QLabel* m_text;
    QStringList m_pages;
};

}  // namespace host
