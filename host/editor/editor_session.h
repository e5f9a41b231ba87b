// One run of the editor: its window and the add-in modules it has loaded, started and
// shut down in the order the add-ins rely on.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "com/addin_extensibility.h"
#include "com/guid.h"
#include "host/addins/addin_module.h"
#include "host/editor/editor_window.h"

namespace host {

class AddInInstanceObject;

struct AddInSpec {
    QString path;
    com::Guid classId;
};

class EditorSession {
public:
    explicit EditorSession(EditorServices services);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    EditorWindow& window() const { return *m_window; }

    // Loads and connects one add-in. A module that cannot be loaded or connected is
    // reported to the author and skipped; the returned module then says why.
    AddInModule& loadAddIn(const AddInSpec& entry, com::ConnectMode mode);
    // Tells the connected add-ins that the editor has finished starting.
    void startupComplete();
    std::size_t addInCount() const { return m_addIns.size(); }
    AddInModule& addIn(std::size_t i) const { return *m_addIns[i].module; }

    // Disconnects the add-ins (last loaded first), lets go of every host object, unloads
    // the modules and closes the window. Safe to call more than once.
    void shutdown();

private:
    struct LoadedAddIn {
        std::unique_ptr<AddInModule> module;
        com::ComPtr<AddInInstanceObject> instance;
    };

    std::unique_ptr<EditorWindow> m_window;
    std::vector<LoadedAddIn> m_addIns;
    bool m_shutDown = false;
};

}  // namespace host
