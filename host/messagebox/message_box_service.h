// Modal message boxes of the editor, as an injected service so that tests and unattended
// runs can answer them.
#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace host {

enum class MessageIcon { Information, Warning, Critical, Question };
// Overwrite, Reload and SaveAs answer a file that changed on disk; GoTo takes the reader to
// the place the message names, and its caption is the request's.
enum class MessageButton { Ok, Save, Discard, Cancel, Yes, No, Overwrite, Reload, SaveAs, GoTo };

struct MessageRequest {
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::Information;
    std::vector<MessageButton> buttons{MessageButton::Ok};
    MessageButton defaultButton = MessageButton::Ok;
    QString goToText = {};  // the GoTo button's caption, such as "Go to Line 12"
    QString details = {};   // long text behind a "Show Details..." button, scrollable
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows the box modally and returns the button chosen; returns only once it is closed.
    virtual MessageButton show(QWidget* parent, const MessageRequest& request) = 0;
};

// Real Qt message boxes.
class QtMessageBoxService final : public MessageBoxService {
public:
    MessageButton show(QWidget* parent, const MessageRequest& request) override;
};

// For runs with nobody at the screen: writes each box to standard error and answers with
// its default button.
class UnattendedMessageBoxService final : public MessageBoxService {
public:
    MessageButton show(QWidget* parent, const MessageRequest& request) override;
    int shownCount() const { return m_shown; }

private:
    int m_shown = 0;
};

}  // namespace host
