// The wizard's load, its step-to-step navigation, and Cancel and Finish.
#include "wizard/frmOstWiz.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "com/class_factory.h"
#include "com/error.h"
#include "wizard/form/wizard_form.h"
#include "wizard/form/wizard_translation.h"
#include "wizard/message_box.h"
#include "wizard/owned_sink.h"
#include "wizard/settings/persisted_keys.h"
#include "wizard/settings/service_addresses.h"
#include "wizard/snippet/snippet_builder.h"

namespace ostrel {
namespace {

constexpr std::string_view kSource = "frmOstWiz";
constexpr std::int16_t kEmailLinkStep = 3;

// One step forward or back, failing instead of wrapping as 16-bit arithmetic would.
std::int16_t stepBy(std::int16_t step, int delta) {
    const int result = step + delta;
    if (result < INT16_MIN || result > INT16_MAX) {
        throw com::Error(com::errc::overflow, "Overflow", std::string(kSource));
    }
    return static_cast<std::int16_t>(result);
}

// A check box's value as the toolkit reports it: 0 unchecked, 1 checked, 2 grayed.
int checkValue(const QCheckBox& box) {
    switch (box.checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
    }
    return 0;
}

std::string textOf(const QLineEdit* box) {
    return box->text().toStdString();
}

}  // namespace

// The sink of ieView's events.
class frmOstWiz::BrowserEvents : public OwnedSink<com::DWebBrowserEvents, frmOstWiz> {
public:
    using OwnedSink::OwnedSink;

    com::HRESULT Quit(com::Bool16* Cancel) override {
        return toOwner(
            [&](frmOstWiz& owner) { owner.handleEvent([&] { owner.ieView_Quit(Cancel); }); });
    }
};

frmOstWiz::frmOstWiz() : frmOstWiz(defaultWizardEnvironment()) {}

frmOstWiz::frmOstWiz(WizardEnvironment environment)
    : m_environment(std::move(environment)),
      m_browserEvents(com::make<BrowserEvents>(this)),
      ieView(m_browserEvents.get()) {}

frmOstWiz::~frmOstWiz() {
    m_browserEvents->detach();
}

void frmOstWiz::Show() {
    // The desktop's language for the wizard's texts while it is open, and only then.
    const WizardTranslation translation(m_environment.templateFolder);
    if (!m_form) {
        Load();
        bool loaded = false;
        handleEvent([&] {
            Form_Load();
            loaded = true;
        });
        // A form whose load failed is not shown; the author has seen why.
        if (!loaded) {
            Unload();
            return;
        }
    }
    m_form->exec();
    Unload();
}

void frmOstWiz::Load() {
    // Without an owner from the host, the wizard centres on the window the author works in.
    m_form = std::make_unique<WizardForm>(QApplication::activeWindow());
    const auto& buttons = m_form->cmdWizControl();
    for (int i = 0; i <= buttons.ubound(); ++i) {
        QPushButton* pressed = buttons[i];
        QObject::connect(pressed, &QPushButton::clicked, m_form.get(), [this, i, pressed] {
            // The button pressed takes the focus (a press from assistive technology does not
            // give it), so that the page going away does not send the focus to the banner.
            pressed->setFocus(Qt::OtherFocusReason);
            handleEvent([&] { cmdWizControl_Click(static_cast<std::int16_t>(i)); });
            if (!pressed->isEnabled()) focusAfter(*pressed);
        });
    }
    QObject::connect(m_form->chkNoResponse(), &QCheckBox::clicked, m_form.get(),
                     [this] { handleEvent([&] { chkNoResponse_Click(); }); });
    QObject::connect(m_form->cmdBrowseSite(), &QPushButton::clicked, m_form.get(),
                     [this] { handleEvent([&] { cmdBrowseSite_Click(); }); });
    QObject::connect(m_form->cmdGetNewAccount(), &QPushButton::clicked, m_form.get(),
                     [this] { handleEvent([&] { cmdGetNewAccount_Click(); }); });
}

void frmOstWiz::focusAfter(QWidget& control) {
    for (QWidget* w = control.nextInFocusChain(); w != &control; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible() &&
            w->window() == m_form.get()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void frmOstWiz::Unload() {
    if (!m_form) return;
    m_form->hide();
    // Show deletes the window once the modal loop has ended, never from inside one of
    // the window's own signals.
    m_form.reset();
}

void frmOstWiz::Form_Load() {
    LoadStepCaptions();
    LoadSavedValues();
    InitStepFrames();
}

void frmOstWiz::LoadStepCaptions() {
    for (QLabel* label : m_form->lblWzStep()) {
        bool isNumber = false;
        const QString tag = WizardForm::tag(*label);
        const int number = tag.trimmed().toInt(&isNumber);
        if (!isNumber) {
            throw com::Error(com::errc::typeMismatch,
                             "Type mismatch: the tag \"" + tag.toStdString() + "\" of " +
                                 label->objectName().toStdString() + " is not a number",
                             std::string(kSource));
        }
        label->setText(WizardForm::text(number));
    }
}

void frmOstWiz::LoadSavedValues() {
    const SettingsStore& store = *m_environment.settings;
    auto read = [&](const PersistedKey& key) {
        return QString::fromStdString(readPersisted(store, key));
    };
    WizardForm::showStored(*m_form->txtFormHeader(), read(persisted::FormHeader));
    WizardForm::showStored(*m_form->txtAdTracking(), read(persisted::AdTracking));
    WizardForm::showStored(*m_form->txtThankURL(), read(persisted::ThankURL));
    WizardForm::showStored(*m_form->txtUserName(), read(persisted::UserID));
    WizardForm::showStored(*m_form->txtMsgNo(), read(persisted::MsgNo));
    WizardForm::showStored(*m_form->txtLinkText(), read(persisted::EmailLinkText));
}

void frmOstWiz::InitStepFrames() {
    const auto& frames = m_form->fraStep();
    LastStep = static_cast<std::int16_t>(frames.ubound());
    const QRect stepRect = frames[0]->geometry();
    for (int i = 0; i <= frames.ubound(); ++i) {
        frames[i]->setFrameShape(QFrame::NoFrame);
        frames[i]->setGeometry(stepRect);
    }
    for (int i = 1; i <= frames.ubound(); ++i) frames[i]->hide();
    UpdateWizButtons();
}

void frmOstWiz::UpdateWizButtons() {
    const auto& buttons = m_form->cmdWizControl();
    buttons[1]->setEnabled(CurrentStep > 0);
    buttons[2]->setEnabled(CurrentStep < LastStep);
    buttons[3]->setEnabled(CurrentStep == LastStep);
}

void frmOstWiz::cmdWizControl_Click(std::int16_t index) {
    switch (index) {
        case 0:  // Cancel
            CloseStatus = com::vbFalse;
            m_form->done(QDialog::Rejected);
            break;
        case 1:
            Back();
            break;
        case 2:
            Next();
            break;
        case 3:  // Finish
            BuildHTML();
            CloseStatus = com::vbTrue;
            m_form->done(QDialog::Accepted);
            break;
        default:
            break;
    }
}

void frmOstWiz::Back() {
    if (!m_form->fraStep()[kEmailLinkStep]->isHidden()) {
        CurrentStep = 2;
        hideStep(kEmailLinkStep);
        showStep(2);
        UpdateWizButtons();
        return;
    }
    hideStep(CurrentStep);
    CurrentStep = stepBy(CurrentStep, -1);
    showStep(CurrentStep);
    if (CurrentStep == kEmailLinkStep && m_form->Option1()[1]->isChecked()) {
        cmdWizControl_Click(1);
    }
    UpdateWizButtons();
}

void frmOstWiz::Next() {
    // There is no step after the last one. The button is off there, but the browser's
    // quit notification presses Next regardless: the wizard then stays where it is.
    if (CurrentStep >= LastStep) return;
    hideStep(CurrentStep);
    CurrentStep = stepBy(CurrentStep, +1);
    showStep(CurrentStep);
    if (CurrentStep == kEmailLinkStep && m_form->Option1()[0]->isChecked()) {
        CurrentStep = LastStep;
    }
    if (CurrentStep == kEmailLinkStep && !m_form->Option1()[0]->isChecked()) {
        cmdWizControl_Click(2);
    }
    UpdateWizButtons();
}

void frmOstWiz::showStep(std::int16_t step) {
    m_form->fraStep()[step]->show();
}

void frmOstWiz::hideStep(std::int16_t step) {
    m_form->fraStep()[step]->hide();
}

void frmOstWiz::chkNoResponse_Click() {
    m_form->txtMsgNo()->setText(checkValue(*m_form->chkNoResponse()) == 1 ? "none" : "1");
}

void frmOstWiz::cmdBrowseSite_Click() {
    OpenInBrowser(persisted::BrowseURL.name, kPublisherInfoPage);
}

void frmOstWiz::cmdGetNewAccount_Click() {
    OpenInBrowser(persisted::OrderURL.name, kServiceOrderPage);
}

void frmOstWiz::OpenInBrowser(std::string_view key, std::string_view builtInAddress) {
    // Disabled first, so that a failure below still leaves no way to a second browser.
    m_form->cmdBrowseSite()->setEnabled(false);
    m_form->cmdGetNewAccount()->setEnabled(false);
    const com::ComPtr<com::IUnknown> browser = com::createObject(com::kBrowserProgId);
    ieView.assign(com::query<com::IWebBrowser>(browser, kSource).get());
    com::setPropertyByName(ieView.get(), "Visible", com::Variant(true));
    // Read at every press, so an address put into the settings meanwhile is the one used.
    const std::string address =
        m_environment.settings->read(kSettingsApplication, kSettingsSection, key, builtInAddress);
    // Present but empty reads as "", not as the built-in address: say so, not a blank window.
    if (address.empty()) {
        throw com::Error(com::errc::invalidProcedureCall,
                         "The setting " + std::string(key) +
                             " is empty, so there is no page to open. Put a web address after " +
                             std::string(key) +
                             "= in the settings file, or remove that line to use the built-in "
                             "address.",
                         std::string(kSource));
    }
    const com::Variant missing = com::Variant::missing();
    com::check(ieView.get()->Navigate(address, missing, missing, missing, missing),
               std::string(kSource));
}

void frmOstWiz::ieView_Quit(com::Bool16*) {
    // The browser may close after the wizard's window has gone while the object is still
    // held: there is no step left to move from then.
    if (!m_form) return;
    cmdWizControl_Click(2);
}

void frmOstWiz::BuildHTML() {
    WizardEntries entries;
    entries.emailLink = m_form->Option1()[0]->isChecked();
    entries.listId = textOf(m_form->txtUserName());
    entries.linkText = textOf(m_form->txtLinkText());
    entries.formHeader = textOf(m_form->txtFormHeader());
    entries.adTracking = textOf(m_form->txtAdTracking());
    entries.thankUrl = textOf(m_form->txtThankURL());
    entries.msgNo = textOf(m_form->txtMsgNo());
    entries.requireName = checkValue(*m_form->chkRequire()[0]);
    entries.requireEmail = checkValue(*m_form->chkRequire()[1]);
    // Assigned only once generation has succeeded as a whole.
    HTMLText = buildSnippet(entries, *m_environment.settings, m_environment.templateFolder);
}

template <class Handler>
void frmOstWiz::handleEvent(Handler&& handler) {
    try {
        handler();
    } catch (const com::Error& e) {
        messageBox().show(e.description() + "\r\n\r\nError number: " + std::to_string(e.number()) +
                              "\r\nError source: " + e.source(),
                          "Ostrel Autoresponder Wizard", mb::exclamation);
    } catch (const std::exception& e) {
        messageBox().show(e.what(), "Ostrel Autoresponder Wizard", mb::exclamation);
    }
}

}  // namespace ostrel
