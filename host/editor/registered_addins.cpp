// Finding the add-ins registered for start-up and loading them into the session.
#include "host/editor/registered_addins.h"

#include <QCoreApplication>

#include <cstdio>

#include "com/error.h"
#include "com/registration/class_registration.h"
#include "host/addins/addin_registry_view.h"
#include "host/addinsui/crash_recovery.h"
#include "host/messagebox/message_box_service.h"

namespace host {

namespace reg = com::registration;

RegisteredAddIns findRegisteredAddIns(const platform::registry::RegistryFile& registry,
                                      const platform::registry::MachineRegistry& machine) {
    RegisteredAddIns found;
    const auto qs = [](const std::string& s) { return QString::fromStdString(s); };
    const AddInRegistryView view = readAddInRegistry(registry, machine, kHostRegistryRoot);
    for (const std::string& problem : view.problems) found.problems.push_back(qs(problem));
    if (view.userUnreadable) return found;
    const auto refuse = [&](const reg::AddInEntry& entry, const std::string& reason) {
        // The user's own "do not load" keeps it quiet, as it keeps a trusted one unloaded.
        const auto behavior = view.user.number(reg::addInKey(kHostRegistryRoot, entry.progId),
                                               reg::kLoadBehaviorValue);
        if (behavior.value_or(entry.loadBehavior.value_or(reg::kLoadAtStartup)) !=
            reg::kLoadAtStartup)
            return;
        found.refused.push_back(
            QCoreApplication::translate("host::RegisteredAddIns",
                                        "The add-in %1, registered for all users, is not loaded: %2")
                .arg(qs(entry.progId), qs(reason)));
    };
    for (const RefusedAddIn& refused : view.refused) refuse(refused.entry, refused.reason);
    for (const auto& entry : reg::listAddIns(view.combined, kHostRegistryRoot)) {
        if (entry.loadBehavior != reg::kLoadAtStartup) continue;
        try {
            const CheckedServer checked = checkedServer(view, entry.progId, machine.trust());
            if (!checked.refusal.empty()) {
                refuse(entry, checked.refusal);
                continue;
            }
            found.toLoad.push_back(
                {qs(checked.server.module.string()), checked.server.clsid, qs(entry.progId)});
        } catch (const com::Error& e) {
            found.problems.push_back(qs(e.description()));
        }
    }
    return found;
}

void loadRegisteredAddIns(EditorSession& session, const platform::registry::RegistryFile& registry,
                          std::chrono::seconds hangAfter,
                          const platform::registry::MachineRegistry& machine) {
    // First, so that an add-in the author disables is not loaded into this run.
    if (const LoadRecords* records = session.loadRecords()) {
        const auto outcomes =
            offerToDisableUnfinished(*records, registry, kHostRegistryRoot,
                                     session.window().messages(), &session.window(), hangAfter);
        for (const auto& [classId, what] : outcomes) session.noteFailure(classId, what);
    }
    const auto found = findRegisteredAddIns(registry, machine);
    for (const QString& refused : found.refused)
        std::fprintf(stderr, "pagehost: %s\n", qUtf8Printable(refused));
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
