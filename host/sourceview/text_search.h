// Finding and replacing text in a page, a line at a time as QTextDocument searches.
#pragma once

#include <QString>
#include <QTextCursor>

class QTextDocument;

namespace host {

struct SearchResult {
    QTextCursor match;  // null when there is none
    bool wrapped = false;
};

// The next match after `from`'s selection (or the one before it), going round the end of
// the page once.
SearchResult findFrom(const QTextDocument& document, const QString& needle, const QTextCursor& from,
                      bool backward, bool matchCase);
// Replaces every match as one undo step; returns how many there were.
int replaceAll(QTextDocument& document, const QString& needle, const QString& replacement,
               bool matchCase);

}  // namespace host
