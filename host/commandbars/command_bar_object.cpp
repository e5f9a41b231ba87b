// A command bar and its controls collection.
#include "host/commandbars/command_bar_object.h"

#include <QAction>
#include <QToolBar>
#include <algorithm>

#include "host/commandbars/queued_press.h"

namespace host {
namespace {

std::int32_t integerArgument(const com::Variant& v, const char* member, const char* argument) {
    try {
        return v.toInt32();
    } catch (const com::Error&) {
        throw com::Error(com::errc::typeMismatch,
                         std::string("Type mismatch: ") + argument + " must be a number", member);
    }
}

}  // namespace

CommandBarObject::CommandBarObject(QString name, QToolBar* toolBar,
                                   ClickFailureHandler onClickFailure)
    : m_name(std::move(name)), m_toolBar(toolBar), m_onClickFailure(std::move(onClickFailure)) {
    if (toolBar) queueAccessiblePresses(*toolBar);
}

CommandBarObject::~CommandBarObject() {
    detach();
}

void CommandBarObject::requireAlive(const char* member) const {
    if (!m_toolBar) {
        throw com::Error(com::errc::objectNotSet,
                         "The command bar '" + m_name.toStdString() + "' is no longer available",
                         member);
    }
}

com::HRESULT CommandBarObject::get_Name(std::string* out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Name");
        *out = m_name.toStdString();
    });
}

com::HRESULT CommandBarObject::get_Controls(com::ICommandBarControls** out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Controls");
        *out = nullptr;
        requireAlive("Controls");
        *out = com::make<CommandBarControlsObject>(this).Detach();
    });
}

void CommandBarObject::addBuiltIn(QAction* action, std::function<void()> defaultAction) {
    requireAlive("addBuiltIn");
    m_toolBar->addAction(action);
    m_controls.push_back(com::make<CommandBarButtonObject>(
        this, m_toolBar.data(), action, false, true, std::move(defaultAction), m_onClickFailure));
}

com::ComPtr<CommandBarButtonObject> CommandBarObject::addButton(std::size_t index, bool temporary,
                                                                const QString& caption) {
    requireAlive("Add");
    index = std::min(index, m_controls.size());
    auto* action = new QAction(caption, m_toolBar);
    action->setIconText(caption);
    QAction* before = index < m_controls.size() ? m_controls[index]->action() : nullptr;
    m_toolBar->insertAction(before, action);
    auto control = com::make<CommandBarButtonObject>(this, m_toolBar.data(), action, temporary,
                                                     false, nullptr, m_onClickFailure);
    m_controls.insert(m_controls.begin() + static_cast<std::ptrdiff_t>(index), control);
    return control;
}

CommandBarButtonObject* CommandBarObject::control(std::size_t index) const {
    return index < m_controls.size() ? m_controls[index].get() : nullptr;
}

QStringList CommandBarObject::lastingCaptions() const {
    QStringList captions;
    for (const auto& c : m_controls) {
        if (!c->isBuiltIn() && !c->isTemporary()) captions << c->caption();
    }
    return captions;
}

void CommandBarObject::forget(CommandBarButtonObject* control) {
    auto it = std::find_if(m_controls.begin(), m_controls.end(),
                           [control](const auto& c) { return c.get() == control; });
    if (it != m_controls.end()) m_controls.erase(it);
}

void CommandBarObject::detach() {
    // Moved out first: detaching a control may release the last reference to it.
    auto controls = std::move(m_controls);
    m_controls.clear();
    for (auto& c : controls) c->detach();
    m_toolBar = nullptr;
    m_onClickFailure = nullptr;
}

com::HRESULT CommandBarControlsObject::Add(const com::Variant& Type, const com::Variant& Id,
                                           const com::Variant& Parameter,
                                           const com::Variant& Before,
                                           const com::Variant& Temporary,
                                           com::ICommandBarControl** out) {
    return com::guarded([&] {
        if (!out) throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Add");
        *out = nullptr;
        m_bar->requireAlive("Add");
        if (!Type.isMissing()) {
            const std::int32_t type = integerArgument(Type, "Add", "Type");
            if (type != com::msoControlButton) {
                throw com::Error(com::errc::invalidProcedureCall,
                                 "Control type " + std::to_string(type) +
                                     " cannot be added; this editor adds plain buttons (type 1)",
                                 "Add");
            }
        }
        if (!Id.isMissing() && integerArgument(Id, "Add", "Id") > 1) {
            throw com::Error(
                com::errc::invalidProcedureCall,
                "This editor has no built-in control with id " + std::to_string(Id.toInt32()),
                "Add");
        }
        (void)Parameter;  // the button's tag: kept by nobody, so any value is accepted
        std::size_t index = m_bar->count();
        if (!Before.isMissing()) {
            const std::int32_t before = integerArgument(Before, "Add", "Before");
            if (before < 1 || static_cast<std::size_t>(before) > m_bar->count() + 1) {
                throw com::Error(
                    com::errc::invalidProcedureCall,
                    "Before must lie between 1 and " + std::to_string(m_bar->count() + 1), "Add");
            }
            index = static_cast<std::size_t>(before - 1);
        }
        bool temporary = false;
        if (!Temporary.isMissing()) {
            try {
                temporary = Temporary.toBool() != com::vbFalse;
            } catch (const com::Error&) {
                throw com::Error(com::errc::typeMismatch,
                                 "Type mismatch: Temporary must be a Boolean", "Add");
            }
        }
        *out = m_bar->addButton(index, temporary).Detach();
    });
}

com::HRESULT CommandBarControlsObject::get_Count(std::int32_t* out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Count");
        m_bar->requireAlive("Count");
        *out = static_cast<std::int32_t>(m_bar->count());
    });
}

com::HRESULT CommandBarControlsObject::get_Item(const com::Variant& index,
                                                com::ICommandBarControl** out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Item");
        *out = nullptr;
        m_bar->requireAlive("Item");
        const std::int32_t i = integerArgument(index, "Item", "Index");
        CommandBarButtonObject* c =
            i >= 1 ? m_bar->control(static_cast<std::size_t>(i - 1)) : nullptr;
        if (!c) {
            throw com::Error(com::errc::subscriptOutOfRange,
                             "There is no control " + std::to_string(i) + " on the bar '" +
                                 m_bar->name().toStdString() + "'",
                             "Item");
        }
        c->AddRef();
        *out = c;
    });
}

}  // namespace host
