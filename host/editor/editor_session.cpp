// Start-up and shut-down of the editor with its add-ins.
#include "host/editor/editor_session.h"

#include <QCoreApplication>

#include "host/addins/addin_instance_object.h"
#include "host/messagebox/message_box_service.h"

namespace host {

EditorSession::EditorSession(EditorServices services, std::filesystem::path recordFolder)
    : m_window(std::make_unique<EditorWindow>(std::move(services))) {
    if (!recordFolder.empty()) m_records.emplace(std::move(recordFolder));
}

EditorSession::~EditorSession() {
    shutdown();
}

LoadRecords::Scope EditorSession::recordCall(const AddInSpec& registration,
                                             const std::string& operation) const {
    if (!m_records) return LoadRecords::Scope(nullptr);
    return m_records->record({registration.progId.toStdString(), registration.classId.toString(),
                              registration.path.toStdString(), operation});
}

AddInModule& EditorSession::loadAddIn(const AddInSpec& entry, com::ConnectMode mode) {
    // An earlier failed attempt holds nothing of the module; the new one replaces it.
    std::erase_if(m_addIns, [&](const LoadedAddIn& a) {
        return a.registration.classId == entry.classId &&
               a.module->state() == AddInModule::State::Failed;
    });
    auto instance =
        com::make<AddInInstanceObject>(entry.classId.toString(), entry.path.toStdString());
    std::unique_ptr<AddInModule> module;
    {
        const auto recorded = recordCall(entry, "load");
        module = std::make_unique<AddInModule>(entry.path.toStdString(), entry.classId);
        if (module->state() == AddInModule::State::Created) {
            const bool connected =
                module->connect(m_window->application().get(), mode, instance.get());
            instance->setConnected(connected);
        }
    }
    if (module->state() == AddInModule::State::Failed) {
        m_failures[entry.classId.toString()] = QString::fromStdString(module->error());
        m_window->messages().show(
            m_window.get(),
            {QStringLiteral("pagehost"),
             QCoreApplication::translate("host::EditorSession",
                                         "The add-in %1 (class %2) was not loaded: %3")
                 .arg(entry.path, QString::fromStdString(entry.classId.toString()),
                      QString::fromStdString(module->error())),
             MessageIcon::Warning,
             {MessageButton::Ok},
             MessageButton::Ok});
    } else {
        m_failures.erase(entry.classId.toString());
    }
    m_addIns.push_back({entry, std::move(module), std::move(instance)});
    return *m_addIns.back().module;
}

void EditorSession::startupComplete() {
    for (auto& a : m_addIns) {
        if (a.module->state() != AddInModule::State::Connected) continue;
        const auto recorded = recordCall(a.registration, "OnStartupComplete");
        a.module->startupComplete();
    }
}

void EditorSession::noteFailure(const std::string& classId, const QString& what) {
    m_failures[classId] = what;
}

bool EditorSession::isConnected(const com::Guid& classId) const {
    for (const auto& a : m_addIns) {
        if (a.registration.classId == classId && a.module->state() == AddInModule::State::Connected)
            return true;
    }
    return false;
}

QString EditorSession::lastFailure(const com::Guid& classId) const {
    const auto it = m_failures.find(classId.toString());
    return it == m_failures.end() ? QString() : it->second;
}

bool EditorSession::connectAddIn(const QString& module, const com::Guid& classId,
                                 const QString& progId) {
    if (isConnected(classId)) return true;
    return loadAddIn({module, classId, progId}, com::ext_cm_AfterStartup).state() ==
           AddInModule::State::Connected;
}

void EditorSession::disconnect(LoadedAddIn& addIn, com::DisconnectMode mode) {
    if (addIn.module->state() == AddInModule::State::Failed) return;
    const auto recorded = recordCall(addIn.registration, "OnDisconnection");
    addIn.module->disconnect(mode);
    addIn.instance->setConnected(false);
}

void EditorSession::unload(std::size_t index) {
    // A failed module is closed already; closing one runs its code (static destructors).
    if (m_addIns[index].module->state() == AddInModule::State::Failed) {
        m_addIns.erase(m_addIns.begin() + static_cast<std::ptrdiff_t>(index));
        return;
    }
    const AddInSpec registration = m_addIns[index].registration;
    const auto recorded = recordCall(registration, "unload");
    m_addIns.erase(m_addIns.begin() + static_cast<std::ptrdiff_t>(index));
}

void EditorSession::disconnectAddIn(const com::Guid& classId) {
    for (std::size_t i = m_addIns.size(); i-- > 0;) {
        if (m_addIns[i].registration.classId != classId) continue;
        disconnect(m_addIns[i], com::ext_dm_UserClosed);
        // A module whose objects the editor still holds stays loaded (see AddInModule).
        m_addIns[i].instance = nullptr;
        unload(i);
    }
}

void EditorSession::shutdown() {
    if (m_shutDown) return;
    m_shutDown = true;
    for (auto it = m_addIns.rbegin(); it != m_addIns.rend(); ++it)
        disconnect(*it, com::ext_dm_HostShutdown);
    // What the add-ins gave the editor (Click subscribers) must go before their code does.
    m_window->detachObjects();
    for (auto it = m_addIns.rbegin(); it != m_addIns.rend(); ++it) it->instance = nullptr;
    while (!m_addIns.empty()) unload(m_addIns.size() - 1);
    m_window.reset();
}

}  // namespace host
