// One finding of the sign-up form check: what is wrong, where, and what to do about it.
#pragma once

#include <QString>
#include <vector>

namespace host::formcheck {

enum class Severity { error, warning, note };

// The part of the check that found it; the panel and the command line name it.
// `rehearsal`: the form filled and submitted in the rendered view's engine, as a visitor would.
enum class CheckKind { accessibility, transport, contentPolicy, thankYouPage, templateEntries, rehearsal };

struct Finding {
    Severity severity = Severity::error;
    CheckKind check = CheckKind::templateEntries;
    QString what;    // what is wrong, in the author's words
    int line = 0;    // where it starts in the page, from 1; 0 when it is not tied to a place
    int column = 0;  // from 1, in characters
    QString advice;  // what to do about it
};

// What the check knows of the page besides its text.
struct PageContext {
    QString pagePath;     // the page's file; empty for a page never saved
    QString siteFolder;   // the open site's folder, when the page is in one
    QString publishedAt;  // the address the site is published at (a site setting); may be empty
};

QString severityName(Severity severity);  // "error", "warning", "note"
QString checkName(CheckKind check);       // "accessibility", "transport", ...

}  // namespace host::formcheck
