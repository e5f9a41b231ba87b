// Dropping half characters from text box contents.
#include "wizard/form/whole_character_validator.h"

namespace ostrel {

QValidator::State WholeCharacterValidator::validate(QString& input, int& position) const {
    QString kept;
    kept.reserve(input.size());
    int keptPosition = position;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c.isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) {
            kept.append(c);
            kept.append(input.at(++i));
        } else if (c.isSurrogate()) {
            if (i < position) --keptPosition;
        } else {
            kept.append(c);
        }
    }
    input = kept;
    position = keptPosition;
    return Acceptable;
}

}  // namespace ostrel
