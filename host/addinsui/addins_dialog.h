// Tools > Add-ins...: every registered add-in, turned on and off live, added from a module
// file and removed without running the module's code.
#pragma once

#include <QDialog>
#include <QString>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "host/addins/addin_host.h"
#include "host/addins/addin_registry_view.h"
#include "host/regtool/child_registration.h"
#include "platform/registry/machine_registry.h"
#include "platform/registry/registry_file.h"

class QMainWindow;
class QTreeWidget;
class QTreeWidgetItem;

namespace host {

class MessageBoxService;

struct AddInsDialogServices {
    MessageBoxService* messages = nullptr;
    // The module file to add; empty when the author cancels.
    std::function<QString(QWidget*)> chooseModule;
    std::filesystem::path registrationHelper;  // ostrel-regsvr, run as the registration child
    std::filesystem::path registry;            // the registry file
    std::string hostKey;                       // the editor's registry root
    std::chrono::milliseconds timeLimit = host::regsvr::kDefaultTimeLimit;
    // The machine-wide records beneath the user's, only read here.
    platform::registry::MachineRegistry machine{};
};

// The list is "lstAddIns", one row per entry of the editor's add-in list: the check box
// (column 0, with the friendly name) is whether the add-in is connected now; toggling it
// connects or disconnects it at once and records LoadBehavior 3 or 0, so the next start
// does the same. "cmdAddAddIn" registers a module through the registration child, showing
// "registrationProgress" with Cancel meanwhile;
// "cmdRemoveAddIn" deletes the selected add-in's records after asking. The column "Registered
// for" says whose records load it: "this user", or "all users" (the machine-wide registry,
// which only an administrator changes: Remove refuses those, and points to the check box).
// A machine-wide add-in whose records or module someone other than root could change is
// listed without a check box, the reason in "Last load failure".
class AddInsDialog : public QDialog {
    Q_OBJECT
public:
    AddInsDialog(AddInHost& host, AddInsDialogServices services, QWidget* parent = nullptr);

    // Reads the registry again and rebuilds the list.
    void refresh();
    void addModule();
    void removeSelected();

private:
    void onItemChanged(QTreeWidgetItem* item, int column);
    void updateRow(QTreeWidgetItem* item);
    bool setLoadBehavior(const QString& progId, std::uint32_t value);
    void warn(const QString& text, const QString& details = {});
    // The user's registry over the machine's, as the editor reads it at start.
    AddInRegistryView readView();
    // Runs the registration on a thread of its own while the window shows its progress and
    // a Cancel button, so the window never waits for the module.
    host::regsvr::ChildOutcome registerWithProgress(host::regsvr::ChildRequest request,
                                                      const QString& module);

    AddInHost& m_host;
    AddInsDialogServices m_services;
    QTreeWidget* m_list;
    bool m_filling = false;
};

// Adds Tools > Add-ins... to the window's menu bar; the dialog opens modally on it.
void addAddInsMenu(QMainWindow& window, AddInHost& host, AddInsDialogServices services);

}  // namespace host
