// What a form in the rendered page would have sent, shown to the author instead of sending
// it: behind an injected service so that tests can read it and unattended runs go on.
#pragma once

#include <QString>

#include "host/preview/rendered_view.h"

class QWidget;

namespace host {

class FormTrialService {
public:
    virtual ~FormTrialService() = default;
    // Returns once the author has closed it.
    virtual void show(QWidget* parent, const preview::FormSubmission& submission) = 0;
};

// A small dialog: the method and address above a table of every field, with a button
// that copies it all as text.
class QtFormTrialService final : public FormTrialService {
public:
    void show(QWidget* parent, const preview::FormSubmission& submission) override;
};

// The dialog the editor shows when its services name none.
FormTrialService& qtFormTrials();

// The submission as text, one field a line as "name<TAB>value"; line breaks and tabs
// inside a value are written as \n, \r and \t (and a backslash as \\), so each field stays
// on one line.
QString describeSubmission(const preview::FormSubmission& submission);

}  // namespace host
