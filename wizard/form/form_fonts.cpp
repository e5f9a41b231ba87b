// Font stand-in and exact point sizes for the wizard window.
#include "wizard/form/form_fonts.h"

#include <QFont>
#include <QWidget>
#include <mutex>

namespace ostrel {
namespace {

constexpr char kPointSizeProperty[] = "fontPointSize";

void applyPointSize(QWidget& widget) {
    const QVariant size = widget.property(kPointSizeProperty);
    if (!size.isValid()) return;
    QFont font = widget.font();
    font.setPointSizeF(size.toDouble());
    widget.setFont(font);
}

}  // namespace

void installVerdanaStandIn() {
    static std::once_flag once;
    // A substitute is only consulted when the family itself is not installed.
    std::call_once(once, [] { QFont::insertSubstitution(kWizardFontFamily, kVerdanaStandIn); });
}

void applyLayoutPointSizes(QWidget& window) {
    applyPointSize(window);
    for (QWidget* child : window.findChildren<QWidget*>()) applyPointSize(*child);
}

}  // namespace ostrel
