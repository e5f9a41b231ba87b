// Drives a modal window from inside its own event loop, as a user would.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on the first turn of the modal loop that `show` starts, once a modal window
// is up; `act` receives that window.
inline void whileModal(const std::function<void()>& show, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
    show();
}
