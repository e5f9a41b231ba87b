// The Form Check: the checks of the sign-up form over the page document's tree.
#pragma once

#include <QByteArray>
#include <vector>

#include "host/formcheck/form_finding.h"

namespace host::formcheck {

// Runs every check on the page (its text as UTF-8) and returns the findings in the order of
// their place in the page. Never changes the page. A page the parser gives up on (too large
// or too deeply nested) comes back as one warning that says the check did not run.
std::vector<Finding> checkForm(const QByteArray& utf8Page, const PageContext& context);

// The same, telling also how many sign-up regions the page holds (the command line leaves a
// site's pages without one out of its report).
struct FormCheckRun {
    std::vector<Finding> findings;
    int regions = 0;
    bool checked = true;  // false when the page could not be parsed
};
FormCheckRun runFormCheck(const QByteArray& utf8Page, const PageContext& context);

}  // namespace host::formcheck
