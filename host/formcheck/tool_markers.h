// Markers other tools leave where a value is still to be filled in ({{LIST_ID}},
// [Your heading here], %NAME%, ...): a page copied from another tool's template, or a form
// filled by hand, can carry them onto the web.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace host::formcheck {

// The first marker in `value`, as it reads once unescaped: the value as given, then with
// character references (&lt;&lt;), percent escapes (%7B%7B) and backslashes (\{\{) read.
// `identifier`: the value is one id (the list id), where single {x}, [x], <x>, $NAME and
// __NAME__ are markers too.
std::optional<QString> findToolMarker(QStringView value, bool identifier);

}  // namespace host::formcheck
