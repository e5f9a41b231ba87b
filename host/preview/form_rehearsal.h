// The sign-up rehearsal's scripts: a visitor fills the form and submits it, and the engine
// decides what that sends. They run in the view's application world (beside the page's own
// scripts, invisible to them, and with them off) in the main frame.
#pragma once

#include <QString>

namespace host::preview {

// Finds the element `elementId` names (as the add-in does), its form, fills the form's
// shown, enabled text fields (a name, an address at example.com), presses the first submit
// control a visitor sees (element.click(): the engine's own activation, so disabled
// controls, form owners, validation and the form's encoding are the engine's), takes what
// the form capture script kept for it, and focuses the e-mail field for the Enter step.
// Gives JSON text (see host/formcheck/rehearsal_findings.h for what it holds). After the
// view has pressed Enter there, the field's keyup logs `enterToken` followed by JSON text
// ({"sent": submission or null}).
QString rehearseFormScript(const QString& elementId, const QString& enterToken);

}  // namespace host::preview
