// The wizard's window as laid out in resources/wizard/frmOstWiz.ui, with its controls
// reachable by their product names and its control arrays by index.
#pragma once

#include <QDialog>
#include <QMargins>
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

#include "wizard/form/control_array.h"

class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Ui {
class frmOstWiz;
}

namespace ostrel {

// The window `frmOstWiz` as created: every control in its design-time state (all nine step
// panels shown at their own places, bordered; "Web Form" selected; both required-field boxes
// checked). Arranging the steps, the button actions and the saved entries belong to the
// wizard object that drives this window.
//
// Keyboard: Alt plus the underlined letter presses a wizard button; Enter presses no button
// and Escape does nothing. The title bar's close command closes the window as a rejection.
class WizardForm final : public QDialog {
    Q_OBJECT

public:
    // `owner` is the window the wizard is centred on when shown; without one, the screen.
    explicit WizardForm(QWidget* owner = nullptr);
    ~WizardForm() override;

    // The control arrays.
    const ControlArray<QFrame>& fraStep() const { return m_fraStep; }
    const ControlArray<QLabel>& lblWzStep() const { return m_lblWzStep; }
    const ControlArray<QRadioButton>& Option1() const { return m_Option1; }
    const ControlArray<QCheckBox>& chkRequire() const { return m_chkRequire; }
    const ControlArray<QPushButton>& cmdWizControl() const { return m_cmdWizControl; }

    // The banner.
    QWidget* Picture1() const;
    QLabel* Image1() const;
    QLabel* Label2() const;
    QLabel* Label3() const;
    QLabel* Image2() const;
    // The separator above the wizard buttons.
    QFrame* Line1() const;
    // The controls of the steps, step by step.
    QPushButton* cmdGetNewAccount() const;
    QPushButton* cmdBrowseSite() const;
    QLineEdit* txtUserName() const;
    QLabel* Label1() const;
    QLineEdit* txtLinkText() const;
    QLineEdit* txtFormHeader() const;
    QLineEdit* txtThankURL() const;
    QLineEdit* txtAdTracking() const;
    QLineEdit* txtMsgNo() const;
    QCheckBox* chkNoResponse() const;

    // The string table's text numbered `number`; throws com::Error when there is none.
    static QString text(int number);
    // The Tag of a control (the string number of a step label's text), "" when it has none.
    static QString tag(const QWidget& control);
    // Shows a stored entry whole: a box's length limit is for typing, and a longer stored
    // value stays as long as the author leaves it so (editing can shorten it, never lengthen it).
    static void showStored(QLineEdit& box, const QString& value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Moves the window so that its frame's centre is `m_centre`.
    void centreFrame();

    std::unique_ptr<Ui::frmOstWiz> m_ui;
    ControlArray<QFrame> m_fraStep;
    ControlArray<QLabel> m_lblWzStep;
    ControlArray<QRadioButton> m_Option1;
    ControlArray<QCheckBox> m_chkRequire;
    ControlArray<QPushButton> m_cmdWizControl;
    // Where the frame's centre goes, and the frame's margins it was placed with.
    std::optional<QPoint> m_centre;
    QMargins m_placedMargins;
};

}  // namespace ostrel
