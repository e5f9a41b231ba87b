// Accessible names for the wizard's text boxes.
#include "wizard/form/accessible_names.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include "com/error.h"
#include "wizard/form/string_table.h"

namespace ostrel {
namespace {

// Built once: the wizard names its boxes every time it is shown.
const QRegularExpression& lineBreaks() {
    static const QRegularExpression re(QStringLiteral("[\r\n]+"));
    return re;
}

QString withoutAccessKeys(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

// The step's heading label, by its Tag's string number; nothing when it has none.
QString headingOf(const QWidget& step) {
    for (const QLabel* label : step.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!label->objectName().startsWith(QStringLiteral("lblWzStep_"))) continue;
        bool isNumber = false;
        const int number = label->property("Tag").toString().trimmed().toInt(&isNumber);
        if (!isNumber) return {};
        try {
            return stringTableText(number);
        } catch (const com::Error&) {
            return {};  // the wizard reports a missing text when it loads the step
        }
    }
    return {};
}

}  // namespace

QString accessibleNameOfHeading(const QString& heading) {
    const QString firstLine = heading.section(lineBreaks(), 0, 0, QString::SectionSkipEmpty);
    QString name = withoutAccessKeys(firstLine).simplified();
    if (name.endsWith(u':')) name.chop(1);
    return name.trimmed();
}

void nameTextBoxesByHeadings(QWidget& form) {
    for (QLineEdit* box : form.findChildren<QLineEdit*>()) {
        if (!box->parentWidget()) continue;
        const QString heading = headingOf(*box->parentWidget());
        if (heading.isEmpty()) continue;
        box->setAccessibleName(accessibleNameOfHeading(heading));
        const QString rest = heading.section(lineBreaks(), 1, -1, QString::SectionSkipEmpty);
        box->setAccessibleDescription(withoutAccessKeys(rest).simplified());
    }
}

}  // namespace ostrel
