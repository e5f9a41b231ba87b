// The wizard object: one per run. It drives the wizard window through its steps and keeps
// the close status and the generated snippet beyond the life of that window.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "com/event_binding.h"
#include "com/object.h"
#include "com/web_browser.h"
#include "wizard/module_objects.h"
#include "wizard/settings/settings_store.h"
#include "wizard/wizard_object.h"

class QWidget;

namespace ostrel {

class WizardForm;

// What a wizard needs from outside: the author's settings and the template's folder.
struct WizardEnvironment {
    std::shared_ptr<SettingsStore> settings;
    std::filesystem::path templateFolder;
};

// The author's own settings file and the module's folder.
WizardEnvironment defaultWizardEnvironment();

class frmOstWiz : public com::Object<_frmOstWiz> {
public:
    frmOstWiz();
    explicit frmOstWiz(WizardEnvironment environment);

    void Show() override;
    com::Bool16 WizCloseStatus() const override { return CloseStatus; }
    std::string HTMLString() const override { return HTMLText; }

    // The click action of the wizard buttons: 0 Cancel, 1 Back, 2 Next, 3 Finish.
    void cmdWizControl_Click(std::int16_t index);
    void chkNoResponse_Click();
    // The account step's two buttons: each opens a new browser window at its address.
    void cmdBrowseSite_Click();
    void cmdGetNewAccount_Click();
    // The browser of ieView has closed: the wizard moves on as if Next had been pressed.
    void ieView_Quit(com::Bool16* Cancel);

    // The window while the form is loaded, nothing otherwise.
    WizardForm* form() const { return m_form.get(); }
    std::int16_t currentStep() const { return CurrentStep; }
    std::int16_t lastStep() const { return LastStep; }

protected:
    ~frmOstWiz() override;

private:
    class BrowserEvents;

    void Load();
    void Unload();
    void Form_Load();
    void LoadStepCaptions();
    void LoadSavedValues();
    void InitStepFrames();
    void UpdateWizButtons();
    void BuildHTML();
    void Back();
    void Next();
    void showStep(std::int16_t step);
    void hideStep(std::int16_t step);
    // Gives the focus to the first control after `control` in the focus order that can take it.
    void focusAfter(QWidget& control);
    void OpenInBrowser(std::string_view key, std::string_view builtInAddress);
    // Runs an event handler; a failure that leaves it is shown to the author and the
    // form stays as the handler left it.
    template <class Handler>
    void handleEvent(Handler&& handler);

    WizardEnvironment m_environment;
    com::Bool16 CloseStatus = com::vbFalse;
    std::string HTMLText;
    std::int16_t CurrentStep = 0;
    std::int16_t LastStep = 0;
    std::unique_ptr<WizardForm> m_form;
    ModuleObject m_moduleObject;
    // The sink holds no reference to the wizard, so a browser that outlives the wizard
    // cannot keep it alive; the wizard detaches the sink when it goes.
    com::ComPtr<BrowserEvents> m_browserEvents;
    // The one browser of this wizard, held and subscribed to until the wizard is released.
    com::EventBinding<com::IWebBrowser, com::DWebBrowserEvents> ieView;
};

}  // namespace ostrel
