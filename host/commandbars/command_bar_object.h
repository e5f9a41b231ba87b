// One named command bar, backed by a QToolBar, and the controls it holds.
#pragma once

#include <QAction>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QToolBar>
#include <vector>

#include "com/command_bars.h"
#include "com/object.h"
#include "host/commandbars/command_bar_button_object.h"

namespace host {

class CommandBarObject final : public com::Object<com::ICommandBar> {
public:
    CommandBarObject(QString name, QToolBar* toolBar, ClickFailureHandler onClickFailure);

    // ICommandBar
    com::HRESULT get_Name(std::string* out) override;
    com::HRESULT get_Controls(com::ICommandBarControls** out) override;

    const QString& name() const { return m_name; }
    // Puts one of the window's own actions on the bar as a built-in control.
    void addBuiltIn(QAction* action, std::function<void()> defaultAction);
    // Adds a plain button before the control at 0-based `index` (at the end when index is
    // the count). Throws com::Error when the bar is gone.
    com::ComPtr<CommandBarButtonObject> addButton(std::size_t index, bool temporary,
                                                  const QString& caption = {});
    std::size_t count() const { return m_controls.size(); }
    // 0-based; nullptr past the end.
    CommandBarButtonObject* control(std::size_t index) const;
    // Captions of the controls added by add-ins that are not temporary, in bar order.
    QStringList lastingCaptions() const;

    void requireAlive(const char* member) const;
    // Called by a control being deleted.
    void forget(CommandBarButtonObject* control);
    void detach();

protected:
    ~CommandBarObject() override;

private:
    QString m_name;
    QPointer<QToolBar> m_toolBar;
    ClickFailureHandler m_onClickFailure;
    std::vector<com::ComPtr<CommandBarButtonObject>> m_controls;
};

// The controls of one bar, as a collection.
class CommandBarControlsObject final : public com::Object<com::ICommandBarControls> {
public:
    explicit CommandBarControlsObject(CommandBarObject* bar) : m_bar(bar) {}

    com::HRESULT Add(const com::Variant& Type, const com::Variant& Id,
                     const com::Variant& Parameter, const com::Variant& Before,
                     const com::Variant& Temporary, com::ICommandBarControl** out) override;
    com::HRESULT get_Count(std::int32_t* out) override;
    com::HRESULT get_Item(const com::Variant& index, com::ICommandBarControl** out) override;

private:
    com::ComPtr<CommandBarObject> m_bar;
};

}  // namespace host
