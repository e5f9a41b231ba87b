// What a form in the rendered page would have sent, shown to the author instead of sending
// it: behind an injected service so that tests can read it and unattended runs go on.
#pragma once

#include <QPointer>
#include <QString>

#include "host/preview/rendered_view.h"

class QDialog;
class QLabel;
class QWidget;

namespace host {

class FormTrialService {
public:
    virtual ~FormTrialService() = default;
    // May return before the author has closed what it shows.
    virtual void show(QWidget* parent, const preview::FormSubmission& submission) = 0;
};

// A small dialog: the method and address above a table of every field, with a button
// that copies it all as text. One at a time, whatever page asks: a page's script can submit
// a form as fast as it likes, so submissions while the dialog is open are only counted,
// in the dialog.
class QtFormTrialService final : public FormTrialService {
public:
    void show(QWidget* parent, const preview::FormSubmission& submission) override;

private:
    QPointer<QDialog> m_open;
    QLabel* m_unshownNote = nullptr;
    int m_unshown = 0;
};

// The dialog the editor shows when its services name none.
FormTrialService& qtFormTrials();

// The submission as text, one field a line as "name<TAB>value"; line breaks and tabs
// inside a value are written as \n, \r and \t (and a backslash as \\), so each field stays
// on one line.
QString describeSubmission(const preview::FormSubmission& submission);

}  // namespace host
