// The Add-ins dialog and its menu entry.
#include "host/addinsui/addins_dialog.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "com/error.h"
#include "com/registration/class_registration.h"
#include "com/registration/record_removal.h"
#include "host/commandbars/menu_lookup.h"
#include "host/messagebox/message_box_service.h"
#include "host/regtool/regsvr.h"
#include "platform/registry/registry_file.h"

namespace host {
namespace {

namespace reg = com::registration;

enum Column { kName, kDescription, kRegisteredFor, kModule, kFailure };
enum Role { kProgIdRole = Qt::UserRole, kClassIdRole, kModuleRole, kAllUsersRole };

// Asked for each time: the author's language is known only once the application runs.
QString title() {
    return AddInsDialog::tr("Add-ins");
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Each column but the last gets its content's width up to a cap (long paths are elided in the
// middle), and the last takes the rest and wraps, so a load failure is never pushed off to the
// right; every cell's tooltip holds its whole text.
void fitColumns(QTreeWidget& list) {
    const int last = list.columnCount() - 1;
    const int cap = list.fontMetrics().averageCharWidth() * 30;
    for (int c = 0; c < last; ++c) {
        list.resizeColumnToContents(c);
        list.setColumnWidth(c, std::min(list.columnWidth(c), cap));
    }
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list.topLevelItem(i);
        for (int c = 0; c <= last; ++c) item->setToolTip(c, item->text(c));
    }
}

}  // namespace

AddInsDialog::AddInsDialog(AddInHost& host, AddInsDialogServices services, QWidget* parent)
    : QDialog(parent),
      m_host(host),
      m_services(std::move(services)),
      m_list(new QTreeWidget(this)) {
    setObjectName("addInsDialog");
    setWindowTitle(title());
    m_list->setObjectName("lstAddIns");
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({AddInsDialog::tr("Add-in"), AddInsDialog::tr("Description"),
                             AddInsDialog::tr("Registered for"), AddInsDialog::tr("Module"),
                             AddInsDialog::tr("Last load failure")});
    m_list->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->header()->setStretchLastSection(true);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->setWordWrap(true);
    connect(m_list, &QTreeWidget::itemChanged, this, &AddInsDialog::onItemChanged);

    auto* hint = new QLabel(
        AddInsDialog::tr("A checked add-in is loaded now and whenever the editor starts."), this);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* add =
        buttons->addButton(AddInsDialog::tr("&Add..."), QDialogButtonBox::ActionRole);
    add->setObjectName("cmdAddAddIn");
    QPushButton* remove =
        buttons->addButton(AddInsDialog::tr("&Remove"), QDialogButtonBox::ActionRole);
    remove->setObjectName("cmdRemoveAddIn");
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName("cmdClose");
    connect(add, &QPushButton::clicked, this, &AddInsDialog::addModule);
    connect(remove, &QPushButton::clicked, this, &AddInsDialog::removeSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(760, 360);
    refresh();
}

void AddInsDialog::warn(const QString& message, const QString& details) {
    MessageRequest request{
        title(), message, MessageIcon::Warning, {MessageButton::Ok}, MessageButton::Ok};
    request.details = details;
    m_services.messages->show(this, request);
}

host::regsvr::ChildOutcome AddInsDialog::registerWithProgress(
    host::regsvr::ChildRequest request, const QString& module) {
    std::atomic<bool> cancel{false};
    request.cancel = &cancel;
    QProgressDialog progress(AddInsDialog::tr("Registering %1...").arg(module),
                             AddInsDialog::tr("Cancel"), 0, 0, this);
    progress.setObjectName("registrationProgress");
    progress.setWindowTitle(title());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    // Cancel hides the dialog; it stays up, and the window blocked, until the child is gone.
    connect(&progress, &QProgressDialog::canceled, this, [&cancel, &progress] {
        cancel = true;
        progress.setLabelText(AddInsDialog::tr("Stopping the registration..."));
        progress.show();
    });
    QEventLoop waiting;
    host::regsvr::ChildOutcome outcome;
    std::thread worker([&] {
        outcome = host::regsvr::runInChild(request);
        QMetaObject::invokeMethod(
            &waiting, [&waiting] { waiting.quit(); }, Qt::QueuedConnection);
    });
    progress.show();
    waiting.exec();
    // The loop also ends when the application quits: the registration is not waited for then.
    cancel = true;
    worker.join();
    return outcome;
}

AddInRegistryView AddInsDialog::readView() {
    AddInRegistryView view =
        readAddInRegistry(platform::registry::RegistryFile(m_services.registry), m_services.machine,
                          m_services.hostKey);
    for (const std::string& problem : view.problems) warn(text(problem));
    return view;
}

void AddInsDialog::refresh() {
    const AddInRegistryView view = readView();
    m_filling = true;
    m_list->clear();
    const auto addRow = [&](const reg::AddInEntry& entry) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(kName, text(entry.friendlyName.empty() ? entry.progId : entry.friendlyName));
        item->setText(kDescription, text(entry.description));
        item->setData(kName, kProgIdRole, text(entry.progId));
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        return item;
    };
    const auto setAllUsers = [](QTreeWidgetItem* item, bool allUsers) {
        item->setData(kName, kAllUsersRole, allUsers);
        item->setText(kRegisteredFor,
                      allUsers ? AddInsDialog::tr("all users") : AddInsDialog::tr("this user"));
    };
    for (const reg::AddInEntry& entry : reg::listAddIns(view.combined, m_services.hostKey)) {
        auto* item = addRow(entry);
        setAllUsers(item, reg::registeredFor(view.user, view.machine, m_services.hostKey,
                                             entry.progId) == reg::RegisteredFor::AllUsers);
        try {
            const CheckedServer checked =
                checkedServer(view, entry.progId, m_services.machine.trust());
            if (!checked.refusal.empty()) {
                // Not loadable, so no check box: the reason is what the row says.
                item->setText(
                    kModule, text(reg::resolveProgId(view.combined, entry.progId).module.string()));
                item->setText(kFailure, AddInsDialog::tr("Not loaded: %1").arg(text(checked.refusal)));
                continue;
            }
            const auto& server = checked.server;
            item->setText(kModule, text(server.module.string()));
            item->setData(kName, kClassIdRole, text(server.clsid.toString()));
            item->setData(kName, kModuleRole, text(server.module.string()));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        } catch (const com::Error& e) {
            // Nothing to load; the failure column says why, and Remove still works.
            item->setText(kFailure, text(e.description()));
        }
        updateRow(item);
    }
    for (const RefusedAddIn& refused : view.refused) {
        // The user's list may name it (their own "off" switch): that row says why, once.
        QTreeWidgetItem* item = nullptr;
        for (int i = 0; i < m_list->topLevelItemCount() && !item; ++i) {
            QTreeWidgetItem* row = m_list->topLevelItem(i);
            if (row->data(kName, kProgIdRole)
                    .toString()
                    .compare(text(refused.entry.progId), Qt::CaseInsensitive) == 0)
                item = row;
        }
        if (!item) item = addRow(refused.entry);
        setAllUsers(item, true);
        item->setText(kFailure, AddInsDialog::tr("Not loaded: %1").arg(text(refused.reason)));
    }
    fitColumns(*m_list);
    m_filling = false;
}

void AddInsDialog::updateRow(QTreeWidgetItem* item) {
    const auto clsid = com::Guid::parse(item->data(kName, kClassIdRole).toString().toStdString());
    if (!clsid) return;
    const bool wasFilling = std::exchange(m_filling, true);
    const bool connected = m_host.isConnected(*clsid);
    item->setCheckState(kName, connected ? Qt::Checked : Qt::Unchecked);
    item->setText(kFailure, m_host.lastFailure(*clsid));
    fitColumns(*m_list);
    m_filling = wasFilling;
}

bool AddInsDialog::setLoadBehavior(const QString& progId, std::uint32_t value) {
    try {
        platform::registry::RegistryFile(m_services.registry)
            .setValue(reg::addInKey(m_services.hostKey, progId.toStdString()),
                      reg::kLoadBehaviorValue, value);
        return true;
    } catch (const com::Error& e) {
        warn(AddInsDialog::tr("The choice could not be remembered for the next start: %1")
                 .arg(text(e.description())));
        return false;
    }
}

void AddInsDialog::onItemChanged(QTreeWidgetItem* item, int column) {
    if (m_filling || column != kName) return;
    const auto clsid = com::Guid::parse(item->data(kName, kClassIdRole).toString().toStdString());
    if (!clsid) return;
    const QString progId = item->data(kName, kProgIdRole).toString();
    const bool wanted = item->checkState(kName) == Qt::Checked;
    if (wanted != m_host.isConnected(*clsid)) {
        if (wanted) {
            // A module that fails is reported by the host, and stays off for the next start.
            if (m_host.connectAddIn(item->data(kName, kModuleRole).toString(), *clsid, progId))
                setLoadBehavior(progId, reg::kLoadAtStartup);
        } else {
            m_host.disconnectAddIn(*clsid);
            setLoadBehavior(progId, reg::kNotLoaded);
        }
    }
    updateRow(item);
}

void AddInsDialog::addModule() {
    const QString module = m_services.chooseModule ? m_services.chooseModule(this) : QString();
    if (module.isEmpty()) return;
    std::set<std::string> before;
    try {
        const auto tree = platform::registry::RegistryFile(m_services.registry).read();
        for (const auto& entry : reg::listAddIns(tree, m_services.hostKey))
            before.insert(entry.progId);
    } catch (const com::Error&) {
        // The registration reports the unreadable registry itself.
    }
    std::error_code error;
    const std::filesystem::path given = module.toStdString();
    const auto path = std::filesystem::absolute(given, error);
    const auto outcome = registerWithProgress({m_services.registrationHelper, error ? given : path,
                                               false, m_services.timeLimit, m_services.registry},
                                              module);
    if (outcome.exitCode != host::regsvr::kSuccess) {
        // The module's own output, of any length, goes behind the details button.
        QString details;
        if (!outcome.out.empty())
            details +=
                AddInsDialog::tr("Standard output:\n%1\n").arg(QString::fromUtf8(outcome.out));
        if (!outcome.err.empty())
            details += AddInsDialog::tr("Standard error:\n%1").arg(QString::fromUtf8(outcome.err));
        warn(AddInsDialog::tr("The module %1 was not added.\n\n%2")
                 .arg(module, text(outcome.message).trimmed()),
             details);
        refresh();
        return;
    }
    refresh();
    platform::registry::RegistryTree tree;
    try {
        tree = platform::registry::RegistryFile(m_services.registry).read();
    } catch (const com::Error& e) {
        warn(text(e.description()));
        return;
    }
    // What the module registered to load at start is loaded now, as the next start would.
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const std::string progId = item->data(kName, kProgIdRole).toString().toStdString();
        if (before.count(progId) || !(item->flags() & Qt::ItemIsUserCheckable)) continue;
        if (tree.number(reg::addInKey(m_services.hostKey, progId), reg::kLoadBehaviorValue) ==
            reg::kLoadAtStartup) {
            item->setCheckState(kName, Qt::Checked);
        }
    }
}

void AddInsDialog::removeSelected() {
    QTreeWidgetItem* item = m_list->currentItem();
    if (!item) return;
    const QString progId = item->data(kName, kProgIdRole).toString();
    if (item->data(kName, kAllUsersRole).toBool()) {
        // The editor never writes the machine-wide records, not even as root: the package
        // that installed them, or an administrator, removes them.
        const auto& places = m_services.machine.places();
        warn(AddInsDialog::tr("The add-in \"%1\" is registered for all users of this computer, by "
                            "a record file in %2 or %3, which only an administrator changes "
                            "(ostrel-regsvr --machine --remove-records MODULE, or removing the "
                            "package that installed it).\n\nTo keep it from loading for you, "
                            "clear its check box.")
                 .arg(item->text(kName), text(places.packageRecords.string()),
                      text(places.adminRecords.string())));
        return;
    }
    const MessageButton answer = m_services.messages->show(
        this, {title(),
               AddInsDialog::tr("Remove the add-in \"%1\"? Its registration records are deleted "
                                "without running any of its code; the module file stays.")
                   .arg(item->text(kName)),
               MessageIcon::Question,
               {MessageButton::Yes, MessageButton::No},
               MessageButton::No});
    if (answer != MessageButton::Yes) return;
    if (const auto clsid =
            com::Guid::parse(item->data(kName, kClassIdRole).toString().toStdString())) {
        if (m_host.isConnected(*clsid)) m_host.disconnectAddIn(*clsid);
    }
    try {
        platform::registry::RegistryFile(m_services.registry)
            .modify([&](platform::registry::RegistryTree& tree) {
                reg::removeAddInRecords(tree, m_services.hostKey, progId.toStdString());
            });
    } catch (const com::Error& e) {
        warn(AddInsDialog::tr("The add-in could not be removed: %1").arg(text(e.description())));
    }
    refresh();
}

void addAddInsMenu(QMainWindow& window, AddInHost& host, AddInsDialogServices services) {
    // The editor may have made the menu already, for a command of its own.
    QMenu& tools =
        menuOf(*window.menuBar(), QStringLiteral("menuTools"), AddInsDialog::tr("&Tools"));
    QAction* action = tools.addAction(AddInsDialog::tr("&Add-ins..."));
    action->setObjectName("actionAddIns");
    QObject::connect(action, &QAction::triggered, &window, [&window, &host, services] {
        AddInsDialog dialog(host, services, &window);
        dialog.exec();
    });
}

}  // namespace host
