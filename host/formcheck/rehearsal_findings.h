// The sign-up rehearsal judged: what the rendered view's engine did when a visitor filled
// the form and submitted it (host/preview/form_rehearsal.*), against what the service reads
// (service_form.h), as steps in order and findings placed at what causes them.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "host/formcheck/form_finding.h"
#include "host/formcheck/service_form.h"

namespace host::formcheck {

struct RehearsalStep {
    QString what;  // "pressed \"Subscribe\"", "the request has what the service reads"
    bool passed = true;
};

struct Rehearsal {
    bool ran = false;         // false: `steps` holds one step saying why it did not run
    std::vector<RehearsalStep> steps;
    std::vector<Finding> findings;
    // The site's file the service's answer sends the visitor to, for the engine to load
    // (addThankYouLoad then tells how that went); empty when there is nothing to load.
    QString thankYouFile;
    int thankYouLine = 0;
    int thankYouColumn = 0;
};

// The engine's answer is JSON text:
//   {"region": false} without the sign-up region;
//   {"region": true, "form": null, "controls": [...]} when the region holds no form;
//   else "form" {path, method, enctype, action, shown, hiders, inRegion}, "controls" (the
//   form's and the region's controls, each {path, tag, name, type, shown, disabled,
//   disabledBy, owned, owner, formAttribute, hiders, label}), "filled" [{path, name, value}],
//   "pressed" (the submit control pressed, or null), "sent" (what pressing sent: {method,
//   action, actionWritten, enctype, fields: [[name, value]...]}, or null), "invalid" (the
//   controls that kept the browser from sending, with its "message"), "enterIn" (the
//   e-mail field Enter was pressed in, or null) and "enter" {delivered, sent}.
// A path counts element children from the document's root element, each {index, tag}.
// Places are found by walking those paths in the page's own parse of `utf8Page`.
Rehearsal judgeRehearsal(const QByteArray& engineJson, const QByteArray& utf8Page,
                         const PageContext& context, const ServiceForm& service);

// The last step: the thank-you page loaded in the engine (or not).
void addThankYouLoad(Rehearsal& rehearsal, bool loaded);

// A rehearsal that did not run, and why ("this build has no rendered view").
Rehearsal rehearsalNotRun(const QString& why);

// The rehearsal's findings added to the page checks' own, without one a check already gives
// at the same place and at least as severe.
void mergeRehearsalFindings(std::vector<Finding>& checks, const Rehearsal& rehearsal);

// The steps for the author: passed ones on one line, each failed one on a line of its own.
QString rehearsalSummary(const Rehearsal& rehearsal);

}  // namespace host::formcheck
