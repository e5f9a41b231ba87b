// A new frmOstWiz for every run.
#include "addin/wizard_factory.h"

#include "com/object.h"
#include "wizard/frmOstWiz.h"

namespace ostrel {

std::function<com::ComPtr<_frmOstWiz>()> defaultWizardFactory() {
    return [] { return com::ComPtr<_frmOstWiz>(com::make<frmOstWiz>()); };
}

}  // namespace ostrel
