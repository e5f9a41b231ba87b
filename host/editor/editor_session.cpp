// Start-up and shut-down of the editor with its add-ins.
#include "host/editor/editor_session.h"

#include "host/addins/addin_instance_object.h"
#include "host/messagebox/message_box_service.h"

namespace host {

EditorSession::EditorSession(EditorServices services)
    : m_window(std::make_unique<EditorWindow>(std::move(services))) {}

EditorSession::~EditorSession() {
    shutdown();
}

AddInModule& EditorSession::loadAddIn(const AddInSpec& entry, com::ConnectMode mode) {
    auto module = std::make_unique<AddInModule>(entry.path.toStdString(), entry.classId);
    auto instance =
        com::make<AddInInstanceObject>(entry.classId.toString(), entry.path.toStdString());
    if (module->state() == AddInModule::State::Created) {
        const bool connected = module->connect(m_window->application().get(), mode, instance.get());
        instance->setConnected(connected);
    }
    if (module->state() == AddInModule::State::Failed) {
        m_window->messages().show(
            m_window.get(), {QStringLiteral("pagehost"),
                             QStringLiteral("The add-in %1 (class %2) was not loaded: %3")
                                 .arg(entry.path, QString::fromStdString(entry.classId.toString()),
                                      QString::fromStdString(module->error())),
                             MessageIcon::Warning,
                             {MessageButton::Ok},
                             MessageButton::Ok});
    }
    m_addIns.push_back({std::move(module), std::move(instance)});
    return *m_addIns.back().module;
}

void EditorSession::startupComplete() {
    for (auto& a : m_addIns) a.module->startupComplete();
}

void EditorSession::shutdown() {
    if (m_shutDown) return;
    m_shutDown = true;
    for (auto it = m_addIns.rbegin(); it != m_addIns.rend(); ++it) {
        it->module->disconnect(com::ext_dm_HostShutdown);
        it->instance->setConnected(false);
    }
    // What the add-ins gave the editor (Click subscribers) must go before their code does.
    m_window->detachObjects();
    for (auto it = m_addIns.rbegin(); it != m_addIns.rend(); ++it) it->instance = nullptr;
    while (!m_addIns.empty()) m_addIns.pop_back();
    m_window.reset();
}

}  // namespace host
