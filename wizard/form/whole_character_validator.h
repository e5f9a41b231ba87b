// A text box check that keeps characters whole when a length limit cuts typed or pasted text.
#pragma once

#include <QValidator>

namespace ostrel {

// A text box's length limit counts UTF-16 units, and Qt cuts an insertion at the limit even
// inside a surrogate pair, which would leave half a character (an emoji, say) in the box and
// corrupt the saved entry. This validator drops any unpaired surrogate, so an insertion that
// does not fit whole is left out, and the cut happens between characters.
class WholeCharacterValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

}  // namespace ostrel
