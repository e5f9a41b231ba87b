// Names a screen reader gives the wizard's text boxes.
#pragma once

#include <QString>

class QWidget;

namespace ostrel {

// The name a step's heading text gives a control on that step: its first line, without
// the closing colon and without access-key ampersands ("&&" stays one "&").
QString accessibleNameOfHeading(const QString& heading);

// Gives every text box in `form` the name of its step's heading (the step's lblWzStep
// label, read through its Tag) and the rest of the heading as its description. The
// labels themselves are left as they are.
void nameTextBoxesByHeadings(QWidget& form);

}  // namespace ostrel
