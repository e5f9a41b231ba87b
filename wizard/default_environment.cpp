// The wizard's environment in the editor: the author's settings file and the module's folder.
#include "wizard/frmOstWiz.h"
#include "wizard/settings/ini_settings_store.h"
#include "wizard/snippet/module_folder.h"

namespace ostrel {

WizardEnvironment defaultWizardEnvironment() {
    return {std::make_shared<IniSettingsStore>(), moduleFolder()};
}

}  // namespace ostrel
