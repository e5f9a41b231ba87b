// Lines and columns of the page text.
#include "host/sourceview/text_place.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <limits>

namespace host {
namespace {

constexpr int kTabStop = 8;

// The parser's column after one character at `column`.
int nextColumn(int column, QChar c) {
    return c == u'\t' ? (column / kTabStop + 1) * kTabStop : column + 1;
}

int toInt(const QString& digits) {
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : std::numeric_limits<int>::max();  // too many digits: past the end
}

}  // namespace

std::optional<TextPlace> parseGoToInput(const QString& input) {
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(\d+)\s*(?::\s*(\d*)\s*)?$)"));
    const auto m = pattern.match(input);
    if (!m.hasMatch()) return std::nullopt;
    TextPlace place{toInt(m.captured(1)), 1};
    if (!m.captured(2).isEmpty()) place.column = toInt(m.captured(2));
    return place;
}

std::optional<TextPlace> placeNamedIn(const QString& message) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(\blines?\s+(\d+)(?:\s*,\s*col(?:umn)?\s+(\d+))?)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = pattern.match(message);
    if (!m.hasMatch()) return std::nullopt;
    TextPlace place{toInt(m.captured(1)), 1};
    if (m.hasCaptured(2)) place.column = toInt(m.captured(2));
    return place;
}

int positionOf(const QTextDocument& document, TextPlace place) {
    const int line = std::clamp(place.line, 1, document.blockCount());
    const QTextBlock block = document.findBlockByNumber(line - 1);
    const QString text = block.text();
    int column = 1;
    qsizetype i = 0;
    while (i < text.size()) {
        const int next = nextColumn(column, text[i]);
        // A tab covers the columns up to the next stop; a place inside it is the tab.
        if (next > place.column) break;
        column = next;
        i += text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    }
    return block.position() + int(i);
}

TextPlace placeOf(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    const QString text = block.text();
    const qsizetype end = std::min<qsizetype>(position - block.position(), text.size());
    int column = 1;
    for (qsizetype i = 0; i < end; ++i) {
        if (text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()) continue;
        column = nextColumn(column, text[i]);
    }
    return {block.blockNumber() + 1, column};
}

}  // namespace host
