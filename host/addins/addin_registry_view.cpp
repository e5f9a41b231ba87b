// Reading the add-ins of the user's registry over the trusted machine-wide records.
#include "host/addins/addin_registry_view.h"

#include "com/error.h"
#include "platform/registry/registry_changes.h"

namespace host {

namespace reg = com::registration;
namespace pr = platform::registry;

AddInRegistryView readAddInRegistry(const pr::RegistryFile& user,
                                    const pr::MachineRegistry& machine, std::string_view hostKey) {
    AddInRegistryView view;
    try {
        view.user = user.read();
    } catch (const com::Error& e) {
        view.userUnreadable = true;
        view.problems.push_back("The list of add-ins cannot be read: " + e.description());
    }
    pr::MachineRecords records = machine.read();
    for (const std::string& problem : records.problems) {
        // The user's own add-ins still load.
        view.problems.push_back("The list of add-ins registered for all users cannot be read: " +
                                problem);
    }
    view.machine = std::move(records.trusted);
    view.combined = reg::combinedView(view.user, view.machine);
    for (const pr::RefusedRecords& refused : records.refused) {
        const auto tree = pr::withHiveRenamed(refused.tree, pr::kMachineHive, pr::kUserHive);
        auto entries = reg::listAddIns(tree, hostKey);
        // A file that cannot be read still has to be named: it is one add-in's, by its name.
        if (entries.empty()) entries.push_back({refused.file.filename().string(), {}, {}, {}});
        for (reg::AddInEntry& entry : entries) {
            // The user's own registration of the same program id is the user's to load.
            try {
                reg::resolveProgId(view.combined, entry.progId);
                continue;
            } catch (const com::Error&) {
            }
            view.refused.push_back({std::move(entry), refused.reason});
        }
    }
    return view;
}

CheckedServer checkedServer(const AddInRegistryView& view, std::string_view progId,
                            const pr::OwnerTrust& trust) {
    CheckedServer checked;
    checked.server = reg::resolveProgId(view.combined, progId);
    const auto own = view.user.text(reg::inprocServerKey(checked.server.clsid), "");
    checked.allUsers = !own || own->empty();
    if (!checked.allUsers) return checked;
    const pr::TrustCheck check = pr::checkTrusted(checked.server.module, trust);
    if (!check.trusted()) {
        checked.refusal =
            "its module could be replaced by someone other than root: " + check.problem +
            (check.fix.empty() ? "" : " (fix: " + check.fix + ")");
        checked.server.module.clear();
    } else {
        checked.server.module = check.real;
    }
    return checked;
}

}  // namespace host
