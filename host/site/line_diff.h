// A line diff of two texts, for the author to review a change in source form.
#pragma once

#include <QString>
#include <string>

namespace host::site {

// The lines of `after` against `before`, each marked "- " (removed), "+ " (added) or
// "  " (kept). Very long texts are shown whole, removed then added.
QString sourceDiff(const std::string& before, const std::string& after);

}  // namespace host::site
