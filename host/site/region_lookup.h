// Finding the element with a given id in a page: a byte search first, the page document after.
#pragma once

#include <QByteArray>
#include <QByteArrayMatcher>
#include <QString>
#include <string>
#include <vector>

#include "host/page/page_model.h"

namespace host::site {

// Tells in one pass over a file's bytes whether it can hold the id at all, in any encoding a
// page may have; most pages of a site are ruled out this way without being decoded or parsed.
// An id written with character references (`id="a&#98;c"`) is not seen; such pages are
// treated as not holding it.
class IdPrefilter {
public:
    explicit IdPrefilter(const QString& id);
    bool mayHold(const QByteArray& bytes) const;

private:
    std::vector<QByteArrayMatcher> m_matchers;
};

// The elements whose id attribute is exactly `id`, in document order.
std::vector<const GumboNode*> elementsWithId(const PageSnapshot& snapshot, const std::string& id);

// The element's content as the page's text writes it (between its start and end tag), or
// its serialized form where the parser made up either tag or moved nodes away from their
// text (the text between the tags would then not give the same content). Line breaks
// come as '\n'.
std::string contentSource(PageModel& model, const PageSnapshot& snapshot,
                          const GumboNode* element);

}  // namespace host::site
