// Searches through QTextDocument::find, which compares letter case the Unicode way.
#include "host/sourceview/text_search.h"

#include <QTextDocument>

namespace host {
namespace {

QTextDocument::FindFlags flagsOf(bool backward, bool matchCase) {
    QTextDocument::FindFlags flags;
    if (backward) flags |= QTextDocument::FindBackward;
    if (matchCase) flags |= QTextDocument::FindCaseSensitively;
    return flags;
}

}  // namespace

SearchResult findFrom(const QTextDocument& document, const QString& needle, const QTextCursor& from,
                      bool backward, bool matchCase) {
    if (needle.isEmpty()) return {};
    const auto flags = flagsOf(backward, matchCase);
    QTextCursor match = document.find(needle, from, flags);
    if (!match.isNull()) return {match, false};
    QTextCursor edge(const_cast<QTextDocument*>(&document));
    if (backward) edge.movePosition(QTextCursor::End);
    match = document.find(needle, edge, flags);
    return {match, !match.isNull()};
}

int replaceAll(QTextDocument& document, const QString& needle, const QString& replacement,
               bool matchCase) {
    if (needle.isEmpty()) return 0;
    const auto flags = flagsOf(false, matchCase);
    QTextCursor step(&document);
    int count = 0;
    step.beginEditBlock();
    for (QTextCursor match = document.find(needle, 0, flags); !match.isNull();
         match = document.find(needle, match, flags)) {
        // After the insertion the cursor sits past the new text, so a replacement that
        // holds the needle is not searched again.
        match.insertText(replacement);
        ++count;
    }
    step.endEditBlock();
    return count;
}

}  // namespace host
