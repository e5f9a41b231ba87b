// Reading the add-ins of the user's registry over the trusted machine-wide records.
#include "host/addins/addin_registry_view.h"

#include <QCoreApplication>

#include "com/error.h"
#include "platform/registry/registry_changes.h"

namespace host {

namespace reg = com::registration;
namespace pr = platform::registry;

namespace {

// Shown in the editor: in the author's language, with the file's own words for the details.
std::string translated(const char* text, const std::string& detail) {
    return QCoreApplication::translate("host::RegisteredAddIns", text)
        .arg(QString::fromStdString(detail))
        .toStdString();
}

// The owner test's problem, worded here so that the editor shows it in the author's language.
QString trustProblem(const pr::TrustCheck& check) {
    const auto worded = [](const char* text) {
        return QCoreApplication::translate("host::RegisteredAddIns", text);
    };
    const QString at = QStringLiteral("\"%1\"").arg(QString::fromStdString(check.at.string()));
    const QString detail = QString::fromStdString(check.detail);
    using Fault = pr::TrustCheck::Fault;
    switch (check.fault) {
        case Fault::Unchecked:
            return worded(QT_TRANSLATE_NOOP("host::RegisteredAddIns", "%1 cannot be checked: %2"))
                .arg(at, detail);
        case Fault::BecameLink:
            return worded(QT_TRANSLATE_NOOP("host::RegisteredAddIns",
                                            "%1 became a link while it was checked"))
                .arg(at);
        case Fault::NotRootsOwn:
            return worded(
                       QT_TRANSLATE_NOOP("host::RegisteredAddIns", "%1 is owned by %2, not root"))
                .arg(at, detail);
        case Fault::GroupWritable:
            return worded(
                       QT_TRANSLATE_NOOP("host::RegisteredAddIns", "%1 is writable by its group"))
                .arg(at);
        case Fault::EveryoneWritable:
            return worded(
                       QT_TRANSLATE_NOOP("host::RegisteredAddIns", "%1 is writable by every user"))
                .arg(at);
        case Fault::None:
            break;
    }
    return QString::fromStdString(check.problem);
}

// "(fix: COMMAND)" after a reason, when there is a command that mends it.
std::string withFix(std::string reason, const std::string& fix) {
    if (!fix.empty())
        reason += translated(QT_TRANSLATE_NOOP("host::RegisteredAddIns", " (fix: %1)"), fix);
    return reason;
}

}  // namespace

AddInRegistryView readAddInRegistry(const pr::RegistryFile& user,
                                    const pr::MachineRegistry& machine, std::string_view hostKey) {
    AddInRegistryView view;
    try {
        view.user = user.read();
    } catch (const com::Error& e) {
        view.userUnreadable = true;
        view.problems.push_back(translated(
            QT_TRANSLATE_NOOP("host::RegisteredAddIns", "The list of add-ins cannot be read: %1"),
            e.description()));
    }
    pr::MachineRecords records = machine.read();
    for (const std::string& problem : records.problems) {
        // The user's own add-ins still load.
        view.problems.push_back(translated(
            QT_TRANSLATE_NOOP("host::RegisteredAddIns",
                              "The list of add-ins registered for all users cannot be read: %1"),
            problem));
    }
    view.machine = std::move(records.trusted);
    view.combined = reg::combinedView(view.user, view.machine);
    for (const pr::RefusedRecords& refused : records.refused) {
        const std::string reason = withFix(
            QCoreApplication::translate("host::RegisteredAddIns",
                                        "its record file \"%1\" could be changed by someone other "
                                        "than root: %2")
                .arg(QString::fromStdString(refused.file.string()), trustProblem(refused.check))
                .toStdString(),
            refused.check.fix);
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
            view.refused.push_back({std::move(entry), reason});
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
        checked.refusal = withFix(QCoreApplication::translate(
                                      "host::RegisteredAddIns",
                                      "its module could be replaced by someone other than root: %1")
                                      .arg(trustProblem(check))
                                      .toStdString(),
                                  check.fix);
        checked.server.module.clear();
    } else {
        checked.server.module = check.real;
    }
    return checked;
}

}  // namespace host
