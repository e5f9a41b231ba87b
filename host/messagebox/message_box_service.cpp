// The Qt and the unattended message box services.
#include "host/messagebox/message_box_service.h"

#include <QMessageBox>
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
        case MessageButton::Yes:
            return QMessageBox::Yes;
        case MessageButton::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
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
        case MessageButton::Yes:
            return "Yes";
        case MessageButton::No:
            return "No";
    }
    return "?";
}

}  // namespace

MessageButton QtMessageBoxService::show(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(toQt(request.icon), request.title, request.text, QMessageBox::NoButton, parent);
    box.setObjectName("pagehostMessageBox");
    for (MessageButton b : request.buttons) box.addButton(toQt(b));
    box.setDefaultButton(toQt(request.defaultButton));
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    for (MessageButton b : request.buttons) {
        if (toQt(b) == chosen) return b;
    }
    // Closed without a button (Escape on a box without Cancel).
    for (MessageButton b : request.buttons) {
        if (b == MessageButton::Cancel || b == MessageButton::No) return b;
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
