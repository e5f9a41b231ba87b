// The wizard object: one per run, holding the close status and the generated snippet
// beyond the life of its window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "com/object.h"
#include "wizard/module_objects.h"
#include "wizard/wizard_object.h"

class QDialog;
class QPushButton;

namespace ostrel {

class frmOstWiz : public com::Object<_frmOstWiz> {
public:
    frmOstWiz();

    void Show() override;
    com::Bool16 WizCloseStatus() const override { return CloseStatus; }
    std::string HTMLString() const override { return HTMLText; }

    // The click action of the wizard buttons: 0 Cancel, 1 Back, 2 Next, 3 Finish.
    void cmdWizControl_Click(std::int16_t index);

    // The window while the form is loaded, nothing otherwise (for tests and the tour).
    QDialog* window() const { return m_window.get(); }

protected:
    ~frmOstWiz() override;

private:
    void Load();
    void Unload();
    void BuildHTML();
    // Runs an event handler; a failure that leaves it is shown to the author and the
    // form stays as the handler left it.
    template <class Handler>
    void handleEvent(Handler&& handler);

    com::Bool16 CloseStatus = com::vbFalse;
    std::string HTMLText;
    std::unique_ptr<QDialog> m_window;
    ModuleObject m_moduleObject;
};

}  // namespace ostrel
