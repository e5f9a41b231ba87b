// The last session's pages and the bar that offers them.
#include "host/editor/last_session.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>

namespace host {
namespace {

const QString kPagesKey = QStringLiteral("Session/Pages");
// The names shown in the bar; the rest are counted.
constexpr int kNamesShown = 3;

}  // namespace

void saveLastSession(QSettings& settings, const QStringList& pages) {
    settings.setValue(kPagesKey, pages);
}

QStringList lastSessionPages(QSettings& settings) {
    QStringList pages = settings.value(kPagesKey).toStringList();
    pages.removeIf([](const QString& path) { return !QFileInfo(path).isFile(); });
    return pages;
}

SessionOfferBar::SessionOfferBar(QWidget* parent) : QFrame(parent), m_text(new QLabel) {
    setObjectName(QStringLiteral("sessionOfferBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_text->setObjectName(QStringLiteral("sessionOfferText"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    auto* reopen = new QPushButton(tr("&Open Them"), this);
    reopen->setObjectName(QStringLiteral("sessionReopen"));
    auto* dismiss = new QPushButton(tr("Not Now"), this);
    dismiss->setObjectName(QStringLiteral("sessionDismiss"));
    connect(reopen, &QPushButton::clicked, this, [this] {
        hide();
        emit reopenRequested(m_pages);
    });
    connect(dismiss, &QPushButton::clicked, this, &QWidget::hide);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_text, 1);
    layout->addWidget(reopen);
    layout->addWidget(dismiss);
    hide();
}

void SessionOfferBar::offer(const QStringList& pages) {
    m_pages = pages;
    if (pages.isEmpty()) return;
    QStringList names;
    for (const QString& page : pages.mid(0, kNamesShown)) names << QFileInfo(page).fileName();
    QString list = names.join(QStringLiteral(", "));
    if (pages.size() > kNamesShown)
        list = tr("%1 and %n more", nullptr, int(pages.size() - kNamesShown)).arg(list);
    m_text->setText(tr("Open the pages of your last session again? %1").arg(list));
    show();
}

}  // namespace host
