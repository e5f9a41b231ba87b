// The offer bar: a line of text and three buttons, hidden until there is something to offer.
#include "host/editor/region_update_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace host::site {

RegionUpdateBar::RegionUpdateBar(QWidget* parent) : QFrame(parent), m_text(new QLabel) {
    setObjectName("regionUpdateBar");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_text->setObjectName("regionUpdateText");
    m_text->setWordWrap(true);
    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    QPushButton* review = button(tr("Review..."), "regionReview");
    QPushButton* update = button(tr("Update"), "regionUpdate");
    QPushButton* dismiss = button(tr("Not Now"), "regionDismiss");
    connect(review, &QPushButton::clicked, this, &RegionUpdateBar::reviewRequested);
    connect(update, &QPushButton::clicked, this, &RegionUpdateBar::updateRequested);
    connect(dismiss, &QPushButton::clicked, this, &QWidget::hide);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_text, 1);
    layout->addWidget(review);
    layout->addWidget(update);
    layout->addWidget(dismiss);
    hide();
}

void RegionUpdateBar::offer(const QString& text) {
    m_text->setText(text);
    show();
}

}  // namespace host::site
