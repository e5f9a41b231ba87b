// The rendered form's accessibility audit (axe-core's answer, from the rendered view's
// auditForm in host/preview) as findings placed in the page's source.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "host/formcheck/form_finding.h"

namespace host::formcheck {

// One finding per element axe found at fault, per rule. Severity from axe's impact:
// critical and serious are errors, moderate a warning, minor a note. What: the rule's help
// and the element's tag as axe quotes it; advice: axe's summary of the fixes and the
// rule's page.
//
// Where: the rendered page's DOM and the page's source are matched by structure, not by
// selector. The audit gives each node its path of element children (index and name) from
// the region; that path is walked in gumbo's parse of `utf8Page` (the text that was
// rendered) from the first element `regionId` names (its id, or the name of a form and the
// like, as the add-in finds it), and the finding is placed
// at the start tag of the element it leads to. Where a step does not match (an element the
// parser implied has no tag in the source; scripts may have changed the DOM), the finding
// is placed at the last element of the path that matched and has a tag of its own, at
// worst the region's start tag; without the region in the source, at no place (line 0).
// Lines count LF breaks from 1; columns count characters from 1.
//
// Text that is not an audit answer gives one note that says so.
std::vector<Finding> axeFindings(const QByteArray& axeJson, const QByteArray& utf8Page,
                                 const QString& regionId);

// What the audit covered, for the author: axe's version and the rules it ran, or why it was
// left out (a page too large for a check that ran by itself) and how to run it.
QString auditSummary(const QByteArray& axeJson);

}  // namespace host::formcheck
