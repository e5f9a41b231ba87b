// The Qt and the unattended message box services.
#include "host/messagebox/message_box_service.h"

#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace host {
namespace {

QMessageBox::StandardButton toQt(MessageButton b) {
    switch (b) {
        case MessageButton::Ok:
            return QMessageBox::Ok;
        case MessageButton::Save:
            return QMessageBox::Save;
        case MessageButton::Discard:
            return QMessageBox::Discard;
        case MessageButton::Cancel:
            return QMessageBox::Cancel;
        case MessageButton::GoTo:
            break;  // a button of its own, with the request's caption
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

const char* nameOf(MessageButton b) {
    switch (b) {
        case MessageButton::Ok:
            return "OK";
        case MessageButton::Save:
            return "Save";
        case MessageButton::Discard:
            return "Discard";
        case MessageButton::Cancel:
            return "Cancel";
        case MessageButton::GoTo:
            return "Go to";
    }
    return "?";
}

}  // namespace

MessageButton QtMessageBoxService::show(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(toQt(request.icon), request.title, request.text, QMessageBox::NoButton, parent);
    box.setObjectName("pagehostMessageBox");
    QAbstractButton* goTo = nullptr;
    for (MessageButton b : request.buttons) {
        if (b == MessageButton::GoTo) {
            goTo = box.addButton(request.goToText, QMessageBox::ActionRole);
            goTo->setObjectName("goToButton");
        } else {
            box.addButton(toQt(b));
        }
    }
    if (request.defaultButton != MessageButton::GoTo) {
        box.setDefaultButton(toQt(request.defaultButton));
        // With a second button besides OK, Qt no longer lets Escape close the box.
        if (!box.button(QMessageBox::Cancel))
            box.setEscapeButton(box.button(toQt(request.defaultButton)));
    }
    box.exec();
    if (goTo && box.clickedButton() == goTo) return MessageButton::GoTo;
    const auto chosen = box.standardButton(box.clickedButton());
    for (MessageButton b : request.buttons) {
        if (b != MessageButton::GoTo && toQt(b) == chosen) return b;
    }
    // Closed without a button (Escape on a box without Cancel).
    for (MessageButton b : request.buttons) {
        if (b == MessageButton::Cancel) return b;
    }
    return request.defaultButton;
}

MessageButton UnattendedMessageBoxService::show(QWidget*, const MessageRequest& request) {
    ++m_shown;
    std::fprintf(stderr, "[%s] %s\n  -> %s\n", qUtf8Printable(request.title),
                 qUtf8Printable(request.text), nameOf(request.defaultButton));
    return request.defaultButton;
}

}  // namespace host
