// Asking about the add-ins that a previous run of the editor did not get back from.
#include "host/addinsui/crash_recovery.h"

#include <set>

#include "com/error.h"
#include "host/messagebox/message_box_service.h"
#include "com/registration/class_registration.h"

namespace host {
namespace {

namespace reg = com::registration;

const QString kTitle = QStringLiteral("pagehost");

QString whatHappened(const UnfinishedCall& record) {
    const QString operation = QString::fromStdString(describeOperation(record.call.operation));
    if (record.stillRunning) {
        return QStringLiteral(
                   "the editor (process %1) has been %2 for %3 seconds and seems to "
                   "hang; end that process yourself")
            .arg(record.processId)
            .arg(operation)
            .arg(record.seconds);
    }
    return QStringLiteral("the editor ended while %1: it crashed, was killed or hung")
        .arg(operation);
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
        outcomes[record.call.classId] = happened;

        std::optional<reg::AddInEntry> entry;
        try {
            entry = reg::findAddIn(
                reg::combinedView(registry.read(),
                                  platform::registry::RegistryFile::machine().read()),
                hostKey, record.call.progId, record.call.classId);
        } catch (const com::Error&) {
            // Reported when the add-ins are loaded; the author is still told what happened.
        }
        if (!entry) {
            showWarning(messages, parent,
                        QStringLiteral("Last time, %1 (the add-in %2, class %3).\n\nIt has no "
                                       "registration record to disable; if it was named on the "
                                       "command line, leave it out there.")
                            .arg(happened, module, QString::fromStdString(record.call.classId)));
            continue;
        }
        const QString name = QString::fromStdString(
            entry->friendlyName.empty() ? entry->progId : entry->friendlyName);
        const MessageButton answer = messages.show(
            parent, {kTitle,
                     QStringLiteral("Last time, %1 (the add-in \"%2\", %3).\n\nDisable \"%2\"? It "
                                    "stays registered, and Tools > Add-ins... turns it on again.")
                         .arg(happened, name, module),
                     MessageIcon::Warning,
                     {MessageButton::Yes, MessageButton::No},
                     MessageButton::Yes});
        if (answer != MessageButton::Yes) continue;
        try {
            registry.setValue(reg::addInKey(hostKey, entry->progId), reg::kLoadBehaviorValue,
                              reg::kNotLoaded);
            outcomes[record.call.classId] = happened + QStringLiteral("; disabled");
        } catch (const com::Error& e) {
            showWarning(messages, parent,
                        QStringLiteral("The add-in \"%1\" could not be disabled: %2")
                            .arg(name, QString::fromStdString(e.description())));
        }
    }
    return outcomes;
}

}  // namespace host
