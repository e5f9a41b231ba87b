// Loads one add-in module through its in-process entry points and keeps its add-in object
// for as long as the module is loaded.
#pragma once

#include <string>

#include "com/addin_extensibility.h"
#include "com/com_ptr.h"
#include "com/guid.h"

namespace host {

// The library is opened in the constructor and closed in the destructor, after the add-in
// object has gone and the module agrees it can be unloaded. A module problem never throws:
// the module is then Failed, error() says why, and the library is already closed.
class AddInModule {
public:
    enum class State {
        Failed,        // see error(); nothing of the module is held
        Created,       // the add-in object exists, not yet connected
        Connected,     // OnConnection succeeded
        Disconnected,  // OnDisconnection was called and the add-in object released
    };

    AddInModule(std::string path, const com::Guid& classId);
    ~AddInModule();
    AddInModule(const AddInModule&) = delete;
    AddInModule& operator=(const AddInModule&) = delete;
    AddInModule(AddInModule&&) = delete;
    AddInModule& operator=(AddInModule&&) = delete;

    State state() const { return m_state; }
    const std::string& error() const { return m_error; }
    const std::string& path() const { return m_path; }
    const com::Guid& classId() const { return m_classId; }

    // OnConnection. On failure the add-in object is released and the module is Failed.
    bool connect(com::IDispatch* application, com::ConnectMode mode, com::IDispatch* addInInst);
    // OnStartupComplete; a failure is recorded in error() only.
    void startupComplete();
    // OnBeginShutdown and OnDisconnection, then the add-in object is released, even when
    // they fail (the failure is recorded in error()). The library stays open until the
    // destructor, so the host can first let go of what the add-in gave it.
    void disconnect(com::DisconnectMode mode);

private:
    void fail(std::string message);
    void unload();

    std::string m_path;
    com::Guid m_classId;
    void* m_library = nullptr;
    com::ComPtr<com::IDTExtensibility2> m_addIn;
    State m_state = State::Failed;
    std::string m_error;
    bool m_handedOutObjects = false;  // DllGetClassObject was called
};

const char* stateName(AddInModule::State state);

}  // namespace host
