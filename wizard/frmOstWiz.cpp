// The wizard object's life: load, modal show, unload; Cancel and Finish.
#include "wizard/frmOstWiz.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "com/error.h"
#include "wizard/message_box.h"

namespace ostrel {

frmOstWiz::frmOstWiz() = default;

frmOstWiz::~frmOstWiz() = default;

void frmOstWiz::Show() {
    if (!m_window) Load();
    // The window may be unloaded by a handler while exec runs; exec returns then.
    m_window->exec();
    Unload();
}

void frmOstWiz::Load() {
    m_window = std::make_unique<QDialog>(nullptr);
    m_window->setObjectName("frmOstWiz");
    m_window->setWindowTitle("Ostrel Autoresponder Wizard");
    auto* row = new QHBoxLayout(m_window.get());
    const char* captions[] = {"&Cancel", "&Back", "&Next", "&Finish"};
    for (std::int16_t i = 0; i < 4; ++i) {
        auto* button = new QPushButton(captions[i], m_window.get());
        button->setObjectName(QString("cmdWizControl_%1").arg(i));
        button->setAutoDefault(false);
        row->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, m_window.get(),
                         [this, i] { handleEvent([&] { cmdWizControl_Click(i); }); });
    }
}

void frmOstWiz::Unload() {
    if (!m_window) return;
    m_window->hide();
    // Deleting the window from inside one of its own button signals would pull the
    // widget out from under Qt; the modal loop has ended by the time Show gets here.
    m_window.reset();
}

void frmOstWiz::cmdWizControl_Click(std::int16_t index) {
    switch (index) {
        case 0:  // Cancel
            CloseStatus = com::vbFalse;
            m_window->done(QDialog::Rejected);
            break;
        case 3:  // Finish
            BuildHTML();
            CloseStatus = com::vbTrue;
            m_window->done(QDialog::Accepted);
            break;
        default:
            break;
    }
}

void frmOstWiz::BuildHTML() { HTMLText = std::string(); }

template <class Handler>
void frmOstWiz::handleEvent(Handler&& handler) {
    try {
        handler();
    } catch (const com::Error& e) {
        messageBox().show(e.description() + "\r\n\r\n(error " + std::to_string(e.number()) +
                              ", " + e.source() + ")",
                          "Ostrel Autoresponder Wizard", mb::exclamation);
    } catch (const std::exception& e) {
        messageBox().show(e.what(), "Ostrel Autoresponder Wizard", mb::exclamation);
    }
}

}  // namespace ostrel
