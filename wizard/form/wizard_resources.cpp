// Registration of the wizard's compiled-in resources.
#include "wizard/form/wizard_resources.h"

#include <QtGlobal>
#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerWizardResources() {
    Q_INIT_RESOURCE(wizard);
}

namespace ostrel {

void ensureWizardResources() {
    static std::once_flag once;
    std::call_once(once, registerWizardResources);
}

}  // namespace ostrel
