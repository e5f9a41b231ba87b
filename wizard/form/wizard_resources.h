// The wizard's compiled-in resources: layout pictures and the string table.
#pragma once

namespace ostrel {

// Registers the wizard's resources with Qt. They live in a static library, whose
// registration the linker would otherwise drop; safe to call any number of times.
void ensureWizardResources();

}  // namespace ostrel
