// The wizard's step texts, read by string number from the table compiled into the module.
#pragma once

#include <QString>
#include <cstdint>

namespace ostrel {

// Number of the failure when the string table has no text of the number asked for.
inline constexpr std::int32_t kResourceNotFound = 326;

// The text numbered `number`, exactly as stored (CR LF line breaks), or its translation in
// the wizard's catalogue while one is installed (WizardTranslation). Throws com::Error
// kResourceNotFound when the table has no such number.
QString stringTableText(int number);

}  // namespace ostrel
