// The add-ins the registry (the user's over the machine's) has the editor load at its start.
#pragma once

#include <QString>
#include <chrono>
#include <string_view>
#include <vector>

#include "host/addinsui/crash_recovery.h"
#include "host/editor/editor_session.h"
#include "platform/registry/machine_registry.h"
#include "platform/registry/registry_file.h"

namespace host {

// The editor's registry root; its list of add-ins is the subkey "Addins".
inline constexpr std::string_view kHostRegistryRoot =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\FrontPage";

struct RegisteredAddIns {
    std::vector<AddInSpec> toLoad;  // entries to load at start, resolved to module and class
    std::vector<QString> problems;  // entries, or the registry, that could not be read
    // Machine-wide add-ins not loaded because someone other than root could change their
    // records or module: each names the add-in, the file or folder at fault and the fix.
    std::vector<QString> refused;
};

// Entries with load behaviour 3, in the list's order, resolved program id -> class id ->
// module, from the user's registry over the machine-wide one (com::registration::
// combinedView) whose records and module pass the owner test (addin_registry_view.h).
// Never throws: what cannot be resolved becomes a problem that names it.
RegisteredAddIns findRegisteredAddIns(
    const platform::registry::RegistryFile& registry,
    const platform::registry::MachineRegistry& machine = platform::registry::MachineRegistry());

// Loads and connects each registered add-in at start-up, skipping classes the session has
// loaded already. Problems and modules that fail are reported to the author and skipped.
// Before that, when the session keeps load records, each add-in that a previous run did not
// get back from (a crash, a kill, or a call older than hangAfter in a running editor) is
// named to the author with the offer to disable it. A refused machine-wide add-in is said
// once on standard error (Tools > Add-ins shows it with the reason): the author cannot mend
// it, so no window asks at every start.
void loadRegisteredAddIns(
    EditorSession& session, const platform::registry::RegistryFile& registry,
    std::chrono::seconds hangAfter = kHangAfter,
    const platform::registry::MachineRegistry& machine = platform::registry::MachineRegistry());

}  // namespace host
