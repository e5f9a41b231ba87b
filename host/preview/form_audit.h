// The accessibility audit of the sign-up form in the rendered page: axe-core, run in the
// view's own script world on one element. Where axe-core is found, the script that starts
// it, and the script that asks for its answer.
#pragma once

#include <QString>

namespace host::preview {

// The WCAG 2.2 A and AA rule tags the audit runs.
inline constexpr const char* kAuditTags[] = {"wcag2a",  "wcag2aa",  "wcag21a",
                                             "wcag21aa", "wcag22aa"};

// Above this many elements in the page, a check that runs by itself (after an insertion, a
// site update) leaves the audit out and says so: axe lays out and walks the whole page, not
// only the form, and on a 1 MB page of 26,000 elements that took five seconds, several times
// the page's own rendering. The author's own request audits any page.
inline constexpr int kAutomaticAuditElementLimit = 10000;

// axe.min.js: $OSTREL_AXE_CORE when set, else share/pagehost/axe-core/axe.min.js beside the
// program's folder (the build tree and an installed tree alike).
QString axeCorePath();
// Its text, read once per path; empty with `failure` saying why when it cannot be read.
QString axeCoreSource(QString* failure);

// Loads axe-core into the world the script runs in (once per document), then starts it on
// the element with `elementId`. Its answer, JSON text, is kept under `token` for
// auditAnswerScript: {"region": false} without such an element; {"region": true,
// "audited": false, "elements": N, "limit": L, "violations": []} when `elementLimit` is not 0
// and the page has more elements (axe is then not even loaded); {"error": ...} when axe
// fails; else {"axe": version, "region": true, "violations": [...]} with axe's violations,
// each node with its "path" from the element (see host/formcheck/axe_findings.h).
QString startAuditScript(const QString& axeSource, const QString& elementId, int token,
                         int elementLimit);
// Gives the kept answer (and forgets it), or null while axe still runs.
QString auditAnswerScript(int token);

}  // namespace host::preview
