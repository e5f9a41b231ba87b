// One run of the editor: its window and the add-in modules it has loaded, started and
// shut down in the order the add-ins rely on.
#pragma once

#include <QString>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com/addin_extensibility.h"
#include "com/guid.h"
#include "host/addins/addin_host.h"
#include "host/addins/addin_module.h"
#include "host/addins/load_record.h"
#include "host/editor/editor_window.h"

namespace host {

class AddInInstanceObject;

struct AddInSpec {
    QString path;
    com::Guid classId;
    QString progId = {};  // empty for an add-in named on the command line
};

class EditorSession : public AddInHost {
public:
    // With a record folder, every call into an add-in's code is recorded there while it
    // runs (see LoadRecords), so the next start can name an add-in that crashed or hung.
    explicit EditorSession(EditorServices services, std::filesystem::path recordFolder = {});
    ~EditorSession() override;
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    EditorWindow& window() const { return *m_window; }
    const LoadRecords* loadRecords() const { return m_records ? &*m_records : nullptr; }

    // Loads and connects one add-in. A module that cannot be loaded or connected is
    // reported to the author and skipped; the returned module then says why.
    AddInModule& loadAddIn(const AddInSpec& entry, com::ConnectMode mode);
    // Tells the connected add-ins that the editor has finished starting.
    void startupComplete();
    std::size_t addInCount() const { return m_addIns.size(); }
    AddInModule& addIn(std::size_t i) const { return *m_addIns[i].module; }
    // What a previous run left of an add-in (a crash or a hang), for lastFailure.
    void noteFailure(const std::string& classId, const QString& what);

    bool isConnected(const com::Guid& classId) const override;
    QString lastFailure(const com::Guid& classId) const override;
    bool connectAddIn(const QString& module, const com::Guid& classId,
                      const QString& progId) override;
    void disconnectAddIn(const com::Guid& classId) override;

    // Disconnects the add-ins (last loaded first), lets go of every host object, unloads
    // the modules and closes the window. Safe to call more than once.
    void shutdown();

private:
    struct LoadedAddIn {
        AddInSpec registration;
        std::unique_ptr<AddInModule> module;
        com::ComPtr<AddInInstanceObject> instance;
    };
    // Records the call while the scope lives; records nothing without a record folder.
    LoadRecords::Scope recordCall(const AddInSpec& registration,
                                  const std::string& operation) const;
    void disconnect(LoadedAddIn& addIn, com::DisconnectMode mode);
    void unload(std::size_t index);

    std::unique_ptr<EditorWindow> m_window;
    std::optional<LoadRecords> m_records;
    std::vector<LoadedAddIn> m_addIns;
    std::map<std::string, QString> m_failures;  // by class id
    bool m_shutDown = false;
};

}  // namespace host
