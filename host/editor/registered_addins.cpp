// Finding the add-ins registered for start-up and loading them into the session.
#include "host/editor/registered_addins.h"

#include <QCoreApplication>

#include "com/error.h"
#include "com/registration/class_registration.h"
#include "host/addinsui/crash_recovery.h"
#include "host/messagebox/message_box_service.h"

namespace host {

namespace reg = com::registration;

RegisteredAddIns findRegisteredAddIns(const platform::registry::RegistryFile& registry,
                                      const platform::registry::RegistryFile& machine) {
    RegisteredAddIns found;
    platform::registry::RegistryTree tree;
    try {
        tree = registry.read();
    } catch (const com::Error& e) {
        found.problems.push_back(
            QCoreApplication::translate("host::RegisteredAddIns",
                                        "The list of add-ins cannot be read: %1")
                .arg(QString::fromStdString(e.description())));
        return found;
    }
    platform::registry::RegistryTree machineTree;
    try {
        machineTree = machine.read();
    } catch (const com::Error& e) {
        // The user's own add-ins still load.
        found.problems.push_back(
            QCoreApplication::translate(
                "host::RegisteredAddIns",
                "The list of add-ins registered for all users cannot be read: %1")
                .arg(QString::fromStdString(e.description())));
    }
    tree = reg::combinedView(std::move(tree), machineTree);
    for (const auto& entry : reg::listAddIns(tree, kHostRegistryRoot)) {
        if (entry.loadBehavior != reg::kLoadAtStartup) continue;
        try {
            const auto server = reg::resolveProgId(tree, entry.progId);
            found.toLoad.push_back({QString::fromStdString(server.module.string()), server.clsid,
                                    QString::fromStdString(entry.progId)});
        } catch (const com::Error& e) {
            found.problems.push_back(QString::fromStdString(e.description()));
        }
    }
    return found;
}

void loadRegisteredAddIns(EditorSession& session, const platform::registry::RegistryFile& registry,
                          std::chrono::seconds hangAfter,
                          const platform::registry::RegistryFile& machine) {
    // First, so that an add-in the author disables is not loaded into this run.
    if (const LoadRecords* records = session.loadRecords()) {
        const auto outcomes =
            offerToDisableUnfinished(*records, registry, kHostRegistryRoot,
                                     session.window().messages(), &session.window(), hangAfter);
        for (const auto& [classId, what] : outcomes) session.noteFailure(classId, what);
    }
    const auto found = findRegisteredAddIns(registry, machine);
    for (const QString& problem : found.problems) {
        session.window().messages().show(&session.window(), {QStringLiteral("pagehost"),
                                                             problem,
                                                             MessageIcon::Warning,
                                                             {MessageButton::Ok},
                                                             MessageButton::Ok});
    }
    for (const AddInSpec& entry : found.toLoad) {
        bool loaded = false;
        for (std::size_t i = 0; i < session.addInCount() && !loaded; ++i) {
            loaded = session.addIn(i).classId() == entry.classId;
        }
        if (!loaded) session.loadAddIn(entry, com::ext_cm_Startup);
    }
}

}  // namespace host
