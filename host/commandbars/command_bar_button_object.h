// One control on a command bar: a button backed by a QAction on a QToolBar.
#pragma once

#include <QAction>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QToolBar>
#include <cstdint>
#include <functional>
#include <map>
#include <set>

#include "com/command_bars.h"
#include "com/error.h"
#include "com/object.h"

namespace host {

class CommandBarObject;

// Receives a failure that came back out of a Click handler.
using ClickFailureHandler = std::function<void(const com::ErrorInfo& failure)>;

class CommandBarButtonObject final : public com::Object<com::ICommandBarButton> {
public:
    // A built-in control runs `defaultAction` after its Click subscribers unless one of
    // them sets CancelDefault; a control added by an add-in has none.
    CommandBarButtonObject(CommandBarObject* bar, QToolBar* toolBar, QAction* action,
                           bool temporary, bool builtIn, std::function<void()> defaultAction,
                           ClickFailureHandler onClickFailure);

    // ICommandBarControl
    com::HRESULT get_Caption(std::string* out) override;
    com::HRESULT put_Caption(const std::string& caption) override;
    com::HRESULT Delete(const com::Variant& Temporary) override;
    // ICommandBarButton
    com::HRESULT Advise(com::ICommandBarButtonEvents* sink, std::uint32_t* cookie) override;
    com::HRESULT Unadvise(std::uint32_t cookie) override;

    // Delivers Click to every subscriber, in the order they subscribed; a failing
    // subscriber is reported and the others still get the click.
    void click();

    QAction* action() const { return m_action; }
    bool isTemporary() const { return m_temporary; }
    bool isBuiltIn() const { return m_builtIn; }
    QString caption() const;

    // Cuts the control off from its bar and its subscribers; later calls fail.
    void detach();

protected:
    ~CommandBarButtonObject() override;

private:
    QAction& requireAction(const char* member) const;

    CommandBarObject* m_bar;
    QPointer<QToolBar> m_toolBar;
    QPointer<QAction> m_action;
    bool m_temporary;
    bool m_builtIn;
    std::function<void()> m_defaultAction;
    ClickFailureHandler m_onClickFailure;
    QMetaObject::Connection m_triggered;
    std::map<std::uint32_t, com::ComPtr<com::ICommandBarButtonEvents>> m_subscribers;
    std::set<std::uint32_t> m_droppedCookies;
    std::uint32_t m_nextCookie = 1;
    QString m_lastCaption;  // named in failures after the control is gone
};

}  // namespace host
