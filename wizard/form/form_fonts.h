// The wizard window's fonts: Verdana at the layout's exact sizes, and its stand-in where
// Verdana is not installed.
#pragma once

class QWidget;

namespace ostrel {

// The family that every text of the window asks for.
inline constexpr char kWizardFontFamily[] = "Verdana";
// Where Verdana is missing. DejaVu Sans grew out of Bitstream Vera, which like Verdana is a
// wide humanist sans with a large x-height, so the step texts keep close to the line widths
// they were written for (the window's tests check that every text still fits its label).
inline constexpr char kVerdanaStandIn[] = "DejaVu Sans";

// Makes Qt use the stand-in for "Verdana" where Verdana is not installed; once per process.
void installVerdanaStandIn();

// The layout's sizes (8.25, 9.75 and 14.25 points) are fractional and a layout file stores
// whole points only, so each widget that needs one carries its exact size in the dynamic
// property "fontPointSize"; this gives that size to `window` and every widget under it.
void applyLayoutPointSizes(QWidget& window);

}  // namespace ostrel
