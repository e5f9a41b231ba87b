// Building the wizard window from its layout file and the few things a layout file cannot say.
#include "wizard/form/wizard_form.h"

#include <QCheckBox>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>

#include "ui_frmOstWiz.h"
#include "wizard/form/accessible_names.h"
#include "wizard/form/form_fonts.h"
#include "wizard/form/string_table.h"
#include "wizard/form/whole_character_validator.h"
#include "wizard/form/wizard_resources.h"

namespace ostrel {
namespace {

// The limit the layout gives a box, kept while a longer stored value widens the box's own.
constexpr const char* kTypingLimit = "typingLimit";

// The window icon, decoded once: an icon read from a file decodes it again for every window,
// while a pixmap read from a file is kept in Qt's pixmap cache (as the banner's images are).
QIcon wizardIcon() {
    return QIcon(QPixmap(QStringLiteral(":/wizard/frmOstWiz.bmp")));
}

// Draws a frame around the banner while it has the focus: it is first in the focus order, and
// a plain widget shows no focus of its own.
class FocusMark final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget->hasFocus()) {
            QPainter painter(widget);
            painter.setPen(QPen(widget->palette().color(QPalette::Highlight), 2));
            painter.drawRect(widget->rect().adjusted(1, 1, -1, -1));
        }
        return false;
    }
};

int typingLimit(const QLineEdit& box) {
    return box.property(kTypingLimit).toInt();
}

}  // namespace

WizardForm::WizardForm(QWidget* owner) : QDialog(owner), m_ui(std::make_unique<Ui::frmOstWiz>()) {
    ensureWizardResources();
    installVerdanaStandIn();
    m_ui->setupUi(this);
    applyLayoutPointSizes(*this);
    setWindowIcon(wizardIcon());
    // A dialog frame with a close button only: no minimize, maximize or context-help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->setValidator(new WholeCharacterValidator(box));
        box->setProperty(kTypingLimit, box->maxLength());
        connect(box, &QLineEdit::textEdited, box, [box] {
            box->setMaxLength(std::max(typingLimit(*box), int(box->text().size())));
        });
    }
    // A screen reader would otherwise call each box only "text", and the banner nothing.
    nameTextBoxesByHeadings(*this);
    m_ui->Picture1->setAccessibleName(m_ui->Label2->text());
    m_ui->Picture1->setAccessibleDescription(m_ui->Label3->text());
    m_ui->Picture1->installEventFilter(new FocusMark(m_ui->Picture1));

    m_fraStep = collectControlArray<QFrame>(*this, "fraStep");
    m_lblWzStep = collectControlArray<QLabel>(*this, "lblWzStep");
    m_Option1 = collectControlArray<QRadioButton>(*this, "Option1");
    m_chkRequire = collectControlArray<QCheckBox>(*this, "chkRequire");
    m_cmdWizControl = collectControlArray<QPushButton>(*this, "cmdWizControl");
}

WizardForm::~WizardForm() = default;

QWidget* WizardForm::Picture1() const {
    return m_ui->Picture1;
}
QLabel* WizardForm::Image1() const {
    return m_ui->Image1;
}
QLabel* WizardForm::Label2() const {
    return m_ui->Label2;
}
QLabel* WizardForm::Label3() const {
    return m_ui->Label3;
}
QLabel* WizardForm::Image2() const {
    return m_ui->Image2;
}
QFrame* WizardForm::Line1() const {
    return m_ui->Line1;
}
QPushButton* WizardForm::cmdGetNewAccount() const {
    return m_ui->cmdGetNewAccount;
}
QPushButton* WizardForm::cmdBrowseSite() const {
    return m_ui->cmdBrowseSite;
}
QLineEdit* WizardForm::txtUserName() const {
    return m_ui->txtUserName;
}
QLabel* WizardForm::Label1() const {
    return m_ui->Label1;
}
QLineEdit* WizardForm::txtLinkText() const {
    return m_ui->txtLinkText;
}
QLineEdit* WizardForm::txtFormHeader() const {
    return m_ui->txtFormHeader;
}
QLineEdit* WizardForm::txtThankURL() const {
    return m_ui->txtThankURL;
}
QLineEdit* WizardForm::txtAdTracking() const {
    return m_ui->txtAdTracking;
}
QLineEdit* WizardForm::txtMsgNo() const {
    return m_ui->txtMsgNo;
}
QCheckBox* WizardForm::chkNoResponse() const {
    return m_ui->chkNoResponse;
}

QString WizardForm::text(int number) {
    return stringTableText(number);
}

QString WizardForm::tag(const QWidget& control) {
    return control.property("Tag").toString();
}

void WizardForm::showStored(QLineEdit& box, const QString& value) {
    box.setMaxLength(std::max(typingLimit(box), int(value.size())));
    box.setText(value);
}

void WizardForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // QDialog centres the client area and guesses the frame; centre the frame itself, title
    // bar included, on the owner's frame.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner || event->spontaneous()) return;
    m_centre = owner->frameGeometry().center();
    centreFrame();
}

bool WizardForm::event(QEvent* event) {
    // A window manager tells the frame's size only once the window is on screen, so the
    // first placing may have left the title bar out: placed again when the frame is known,
    // and never after the author has moved it (the margins stay as they are then).
    if (event->type() == QEvent::Move && m_centre && windowHandle() &&
        windowHandle()->frameMargins() != m_placedMargins)
        centreFrame();
    return QDialog::event(event);
}

void WizardForm::centreFrame() {
    if (windowHandle()) m_placedMargins = windowHandle()->frameMargins();
    QRect frame = frameGeometry();
    frame.moveCenter(*m_centre);
    move(frame.topLeft());
}

void WizardForm::keyPressEvent(QKeyEvent* event) {
    // A dialog rejects itself on Escape; this one has no button for Escape to press.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace ostrel
