// The editor's command bars collection: its toolbars by name, and the controls add-ins
// put on them.
#pragma once

#include <QString>
#include <vector>

#include "com/command_bars.h"
#include "com/object.h"
#include "host/commandbars/command_bar_object.h"

class QSettings;
class QToolBar;

namespace host {

class CommandBarsObject final : public com::Object<com::ICommandBars> {
public:
    explicit CommandBarsObject(ClickFailureHandler onClickFailure);

    // ICommandBars: Item takes a bar's name (any letter case) or its 1-based position.
    com::HRESULT get_Item(const com::Variant& index, com::ICommandBar** out) override;
    com::HRESULT get_Count(std::int32_t* out) override;

    // Registers a toolbar under `name` (also given to the toolbar as its object name).
    CommandBarObject* addBar(const QString& name, QToolBar* toolBar);
    // nullptr when there is no bar of that name.
    CommandBarObject* bar(const QString& name) const;

    // Controls added by add-ins without Temporary are kept from one run to the next, as
    // captions; temporary ones never are.
    void saveLastingControls(QSettings& settings) const;
    void restoreLastingControls(QSettings& settings);

    // Cuts every bar and control off from the window and from their subscribers.
    void detach();

protected:
    ~CommandBarsObject() override;

private:
    ClickFailureHandler m_onClickFailure;
    std::vector<com::ComPtr<CommandBarObject>> m_bars;
    bool m_detached = false;
};

}  // namespace host
