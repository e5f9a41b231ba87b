// Asking about the add-ins that a previous run of the editor did not get back from.
#include "host/addinsui/crash_recovery.h"

#include <QCoreApplication>
#include <set>

#include "com/error.h"
#include "com/registration/class_registration.h"
#include "host/messagebox/message_box_service.h"
#include "platform/registry/machine_registry.h"

namespace host {
namespace {

namespace reg = com::registration;

const QString kTitle = QStringLiteral("pagehost");

// What the add-in was doing, in the words an author knows.
QString activity(const std::string& operation) {
    if (operation == "load")
        return QCoreApplication::translate("host::AddInsDialog", "starting up");
    if (operation == "unload")
        return QCoreApplication::translate("host::AddInsDialog", "shutting down");
    return QCoreApplication::translate("host::AddInsDialog", "running its ") +
           QString::fromStdString(operation);
}

// Follows the add-in's name, and stands alone in the add-in's row under Tools > Add-ins....
QString whatHappened(const UnfinishedCall& record) {
    const QString doing = activity(record.call.operation);
    if (record.stillRunning) {
        return QCoreApplication::translate(
                   "host::AddInsDialog",
                   "has been %1 for %2 seconds in another run of the editor (process %3) and "
                   "seems to hang; end that process yourself")
            .arg(doing)
            .arg(record.seconds)
            .arg(record.processId);
    }
    return QCoreApplication::translate(
               "host::AddInsDialog",
               "did not finish %1 last time: the editor crashed, was killed or stopped responding")
        .arg(doing);
}

void showWarning(MessageBoxService& messages, QWidget* parent, const QString& text) {
    messages.show(parent,
                  {kTitle, text, MessageIcon::Warning, {MessageButton::Ok}, MessageButton::Ok});
}

}  // namespace

std::map<std::string, QString> offerToDisableUnfinished(
    const LoadRecords& records, platform::registry::RegistryFile registry, std::string_view hostKey,
    MessageBoxService& messages, QWidget* parent, std::chrono::seconds hangAfter) {
    std::map<std::string, QString> outcomes;
    std::set<std::string> asked;
    for (const UnfinishedCall& record : records.unfinished(hangAfter)) {
        records.forget(record);
        if (!asked.insert(record.call.classId).second) continue;
        const QString module = QString::fromStdString(record.call.module);
        const QString happened = whatHappened(record);
        QString inRow = happened;
        inRow[0] = inRow[0].toUpper();
        outcomes[record.call.classId] = inRow;

        std::optional<reg::AddInEntry> entry;
        try {
            entry = reg::findAddIn(
                reg::combinedView(registry.read(),
                                  platform::registry::MachineRegistry().read().trusted),
                hostKey, record.call.progId, record.call.classId);
        } catch (const com::Error&) {
            // Reported when the add-ins are loaded; the author is still told what happened.
        }
        if (!entry) {
            showWarning(messages, parent,
                        QCoreApplication::translate(
                            "host::AddInsDialog",
                            "The add-in %1 (class %2) %3.\n\nIt has no registration "
                            "record to disable; if it was named on the command line, "
                            "leave it out there.")
                            .arg(module, QString::fromStdString(record.call.classId), happened));
            continue;
        }
        const QString name = QString::fromStdString(
            entry->friendlyName.empty() ? entry->progId : entry->friendlyName);
        const MessageButton answer = messages.show(
            parent,
            {kTitle,
             QCoreApplication::translate("host::AddInsDialog",
                                         "The add-in \"%1\" (%2) %3.\n\nDisable \"%1\"? It stays "
                                         "registered, and Tools > Add-ins... turns it on again.")
                 .arg(name, module, happened),
             MessageIcon::Warning,
             {MessageButton::Yes, MessageButton::No},
             MessageButton::Yes});
        if (answer != MessageButton::Yes) continue;
        try {
            registry.setValue(reg::addInKey(hostKey, entry->progId), reg::kLoadBehaviorValue,
                              reg::kNotLoaded);
            outcomes[record.call.classId] =
                inRow + QCoreApplication::translate("host::AddInsDialog", "; disabled");
        } catch (const com::Error& e) {
            showWarning(messages, parent,
                        QCoreApplication::translate("host::AddInsDialog",
                                                    "The add-in \"%1\" could not be disabled: %2")
                            .arg(name, QString::fromStdString(e.description())));
        }
    }
    return outcomes;
}

}  // namespace host
