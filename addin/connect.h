// The add-in component the host loads: its toolbar button, and running the wizard on a
// click and putting the snippet into the page.
#pragma once

#include <functional>
#include <string>

#include "addin/connect_interface.h"
#include "com/addin_extensibility.h"
#include "com/event_binding.h"
#include "com/host_application.h"
#include "com/object.h"
#include "wizard/module_objects.h"
#include "wizard/wizard_object.h"

namespace ostrel {

class Connect : public com::Object<_Connect, com::IDTExtensibility2> {
public:
    using WizardFactory = std::function<com::ComPtr<_frmOstWiz>()>;

    // The factory makes the wizard of each click; tests give a scripted one.
    explicit Connect(WizardFactory createWizard = {});

    // IDTExtensibility2
    com::HRESULT OnConnection(com::IDispatch* Application, std::int32_t ConnectMode,
                              com::IDispatch* AddInInst, com::VariantArray* custom) override;
    com::HRESULT OnDisconnection(std::int32_t RemoveMode, com::VariantArray* custom) override;
    com::HRESULT OnAddInsUpdate(com::VariantArray* custom) override;
    com::HRESULT OnStartupComplete(com::VariantArray* custom) override;
    com::HRESULT OnBeginShutdown(com::VariantArray* custom) override;

    // _Connect
    com::HRESULT get_ButtonHandler(com::ICommandBarButton** out) override;
    com::HRESULT putref_ButtonHandler(com::ICommandBarButton* button) override;

    // IDispatch
    com::HRESULT GetIDOfName(std::string_view name, com::DispId* id) override;
    com::HRESULT Invoke(com::DispId id, com::InvokeKind kind, std::span<const com::Variant> args,
                        com::Variant* result) override;

    // The Click event of ButtonHandler's button.
    void ButtonHandler_Click(com::ICommandBarButton* Ctrl, com::Bool16* CancelDefault);

    // Which members are set, for tests of the connection states.
    bool holdsHostApp() const { return static_cast<bool>(HostApp); }
    bool holdsInsertBar() const { return static_cast<bool>(InsertBar); }
    bool holdsWizButton() const { return static_cast<bool>(WizButton); }
    bool holdsButtonHandler() const { return static_cast<bool>(ButtonHandler); }

protected:
    ~Connect() override;

private:
    class ButtonEvents;

    void ShowWizard();
    void InsertHTML(const std::string& html);
    com::ComPtr<com::IPageWindow> activePageWindow() const;
    static void ReportError(std::int32_t number, const std::string& description,
                            const std::string& source);
    static void reportCaught();

    ModuleObject m_moduleObject;
    WizardFactory m_createWizard;
    com::ComPtr<ButtonEvents> m_buttonEvents;

    com::ComPtr<com::IHostApplication> HostApp;
    com::ComPtr<com::ICommandBar> InsertBar;
    com::ComPtr<com::ICommandBarButton> WizButton;
    com::EventBinding<com::ICommandBarButton, com::ICommandBarButtonEvents> ButtonHandler;
};

}  // namespace ostrel
