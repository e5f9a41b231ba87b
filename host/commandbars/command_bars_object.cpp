// The command bars collection.
#include "host/commandbars/command_bars_object.h"

#include <QSettings>
#include <QToolBar>

namespace host {
namespace {
const QString kSettingsGroup = QStringLiteral("CommandBars");
}

CommandBarsObject::CommandBarsObject(ClickFailureHandler onClickFailure)
    : m_onClickFailure(std::move(onClickFailure)) {}

CommandBarsObject::~CommandBarsObject() {
    detach();
}

CommandBarObject* CommandBarsObject::addBar(const QString& name, QToolBar* toolBar) {
    toolBar->setObjectName(name);
    m_bars.push_back(com::make<CommandBarObject>(name, toolBar, m_onClickFailure));
    return m_bars.back().get();
}

CommandBarObject* CommandBarsObject::bar(const QString& name) const {
    for (const auto& b : m_bars) {
        if (b->name().compare(name, Qt::CaseInsensitive) == 0) return b.get();
    }
    return nullptr;
}

com::HRESULT CommandBarsObject::get_Item(const com::Variant& index, com::ICommandBar** out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Item");
        *out = nullptr;
        if (m_detached) {
            throw com::Error(com::errc::objectNotSet,
                             "The editor's command bars are no longer available",
                             "CommandBars.Item");
        }
        CommandBarObject* found = nullptr;
        if (index.kind() == com::Variant::Kind::Text) {
            found = bar(QString::fromStdString(index.toText()));
            if (!found) {
                throw com::Error(com::errc::invalidProcedureCall,
                                 "There is no command bar named '" + index.toText() + "'",
                                 "CommandBars.Item");
            }
        } else if (index.kind() == com::Variant::Kind::Int16 ||
                   index.kind() == com::Variant::Kind::Int32) {
            const std::int32_t i = index.toInt32();
            if (i < 1 || static_cast<std::size_t>(i) > m_bars.size()) {
                throw com::Error(com::errc::subscriptOutOfRange,
                                 "There is no command bar " + std::to_string(i),
                                 "CommandBars.Item");
            }
            found = m_bars[static_cast<std::size_t>(i - 1)].get();
        } else {
            throw com::Error(com::errc::typeMismatch,
                             "Type mismatch: a command bar is named by text or by number",
                             "CommandBars.Item");
        }
        found->requireAlive("CommandBars.Item");
        found->AddRef();
        *out = found;
    });
}

com::HRESULT CommandBarsObject::get_Count(std::int32_t* out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Count");
        *out = static_cast<std::int32_t>(m_bars.size());
    });
}

void CommandBarsObject::saveLastingControls(QSettings& settings) const {
    settings.beginGroup(kSettingsGroup);
    settings.remove(QString());
    for (const auto& b : m_bars) {
        const QStringList captions = b->lastingCaptions();
        if (!captions.isEmpty()) settings.setValue(b->name(), captions);
    }
    settings.endGroup();
}

void CommandBarsObject::restoreLastingControls(QSettings& settings) {
    settings.beginGroup(kSettingsGroup);
    for (const auto& b : m_bars) {
        const QStringList captions = settings.value(b->name()).toStringList();
        for (const QString& caption : captions) b->addButton(b->count(), false, caption);
    }
    settings.endGroup();
}

void CommandBarsObject::detach() {
    m_detached = true;
    auto bars = std::move(m_bars);
    m_bars.clear();
    for (auto& b : bars) b->detach();
    m_onClickFailure = nullptr;
}

}  // namespace host
