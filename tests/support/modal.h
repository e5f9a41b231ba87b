// Drives a modal window from inside its own event loop, as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on the first turn of the modal loop that `show` starts, once a modal window
// is up; `act` receives that window. When the test has failed by then (a failed ASSERT
// returns from `act` before the step that closes the window), every modal window still
// open is closed, so that the test ends with its failure instead of waiting for ctest's
// timeout.
inline void whileModal(const std::function<void()>& show, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
        if (!::testing::Test::HasFailure()) return;
        for (QWidget* open = QApplication::activeModalWidget(); open && open->isVisible();) {
            open->close();
            QWidget* next = QApplication::activeModalWidget();
            if (next == open) break;  // refused to close; nothing more to do here
            open = next;
        }
    });
    timer->start();
    show();
}
