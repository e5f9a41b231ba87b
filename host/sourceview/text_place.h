// A place in the page text as line and column, counted the way the page document counts
// them in its messages, and the two ways an author names one: typed into Go to Line, or
// written in a message.
#pragma once

#include <QString>
#include <optional>

class QTextDocument;

namespace host {

// 1-based. Lines end at each line break; a column counts characters (a character outside
// the Basic Multilingual Plane is one), and a tab moves on to the next multiple of 8, as
// the HTML parser behind the page document counts them.
struct TextPlace {
    int line = 1;
    int column = 1;
    friend bool operator==(const TextPlace&, const TextPlace&) = default;
};

// "12", "12:" or "12:5" (spaces around the parts allowed); nothing for anything else.
std::optional<TextPlace> parseGoToInput(const QString& input);
// The first "line 12" or "line 12, column 5" in a message (any letter case), or nothing.
std::optional<TextPlace> placeNamedIn(const QString& message);

// The document position of `place`; a line or column past the end is taken as the last.
int positionOf(const QTextDocument& document, TextPlace place);
TextPlace placeOf(const QTextDocument& document, int position);

}  // namespace host
