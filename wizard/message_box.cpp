// The real message box: a Qt box with the icon and the one OK button the style asks for.
#include "wizard/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace ostrel {
namespace {

class QtMessageBox final : public MessageBox {
public:
    void show(const std::string& prompt, const std::string& title, int style) override {
        QMessageBox box(iconFor(style), QString::fromStdString(title),
                        QString::fromStdString(prompt), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }

private:
    static QMessageBox::Icon iconFor(int style) {
        switch (style & 0x70) {
            case mb::critical: return QMessageBox::Critical;
            case 32: return QMessageBox::Question;
            case mb::exclamation: return QMessageBox::Warning;
            case 64: return QMessageBox::Information;
            default: return QMessageBox::NoIcon;
        }
    }
};

MessageBox* g_override = nullptr;

}  // namespace

MessageBox& messageBox() {
    static QtMessageBox real;
    return g_override ? *g_override : real;
}

void setMessageBox(MessageBox* box) { g_override = box; }

}  // namespace ostrel
