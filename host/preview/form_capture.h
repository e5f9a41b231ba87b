// Reading a form submission out of the rendered page. A script in a world of its own (it
// runs even with the page's scripts off, and the page cannot see it) keeps the entry list
// the browser builds for each submission; when the navigation that would send it comes,
// the view takes that list instead of letting anything go.
#pragma once

#include <QString>
#include <QVariant>

#include "host/preview/rendered_view.h"

namespace host::preview {

// Injected into every frame at document creation. Of the submissions that fire a submit
// event in one task, only the first goes. A submission the page's content policy
// blocks (its form-action) never comes as a navigation: the script then logs `blockedToken`
// followed by the violation as JSON text ({"policy": ..., "blocked": ...}).
QString formCaptureScript(const QString& blockedToken);
// Run in the page's own world before its scripts: of the form.submit() calls of one task,
// only the first submits.
QString oneSubmissionPerTaskScript();
// Hands over the kept submission as JSON text (or null) and forgets it.
QString takeSubmissionScript();
// Reads what takeSubmissionScript gave. `navigationUrl` is the address the browser was
// about to go to; a GET's fields are in it. Without a kept submission (a form in a frame,
// say) the method stays empty and the fields are those of the address, if any.
FormSubmission readSubmission(const QVariant& taken, const QUrl& navigationUrl);
// The same for a blocked submission, from the violation the script logged: the directive
// of the policy that refused it and the address it refused are in `blockedBy` and
// `blockedAddress`.
FormSubmission readBlockedSubmission(const QVariant& taken, const QString& violation);

}  // namespace host::preview
