// The Qt and the unattended message box services.
#include "host/messagebox/message_box_service.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <utility>
#include <vector>

namespace host {
namespace {

// Qt's standard button for `b`, or NoButton for the editor's own answers.
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
        default:
            return QMessageBox::NoButton;
    }
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

// In English; a shown button's caption is its translation.
const char* nameOf(MessageButton b) {
    switch (b) {
        case MessageButton::Ok:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "OK");
        case MessageButton::Save:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "Save");
        case MessageButton::Discard:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "Discard");
        case MessageButton::Cancel:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "Cancel");
        case MessageButton::Overwrite:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "Overwrite");
        case MessageButton::Reload:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "Reload");
        case MessageButton::SaveAs:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "Save As...");
        case MessageButton::Yes:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "Yes");
        case MessageButton::No:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "No");
        case MessageButton::GoTo:
            return QT_TRANSLATE_NOOP("host::MessageBoxService", "Go to");
    }
    return "?";
}

}  // namespace

MessageButton QtMessageBoxService::show(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(toQt(request.icon), request.title, request.text, QMessageBox::NoButton, parent);
    box.setObjectName("pagehostMessageBox");
    if (!request.details.isEmpty()) box.setDetailedText(request.details);
    std::vector<std::pair<QAbstractButton*, MessageButton>> added;
    for (MessageButton b : request.buttons) {
        const QString caption =
            b == MessageButton::GoTo && !request.goToText.isEmpty()
                ? request.goToText
                : QCoreApplication::translate("host::MessageBoxService", nameOf(b));
        const bool action = b == MessageButton::SaveAs || b == MessageButton::GoTo;
        QPushButton* button =
            toQt(b) != QMessageBox::NoButton
                ? box.addButton(toQt(b))
                : box.addButton(caption, action ? QMessageBox::ActionRole : QMessageBox::AcceptRole);
        if (b == MessageButton::GoTo) button->setObjectName("goToButton");
        if (b == request.defaultButton) box.setDefaultButton(button);
        added.emplace_back(button, b);
    }
    // With a second button besides OK, Qt no longer lets Escape close the box.
    if (!box.button(QMessageBox::Cancel) && !box.button(QMessageBox::No)) {
        for (const auto& [button, b] : added) {
            if (b == request.defaultButton) box.setEscapeButton(button);
        }
    }
    box.exec();
    for (const auto& [button, b] : added) {
        if (button == box.clickedButton()) return b;
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
