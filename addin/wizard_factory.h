// The wizard each click creates, unless a test supplies another.
#pragma once

#include <functional>

#include "com/com_ptr.h"
#include "wizard/wizard_object.h"

namespace ostrel {

std::function<com::ComPtr<_frmOstWiz>()> defaultWizardFactory();

}  // namespace ostrel
