// A command bar button over a QAction.
#include "host/commandbars/command_bar_button_object.h"

#include <QAction>
#include <QToolBar>
#include <vector>

#include "host/commandbars/command_bar_object.h"

namespace host {

CommandBarButtonObject::CommandBarButtonObject(CommandBarObject* bar, QToolBar* toolBar,
                                               QAction* action, bool temporary, bool builtIn,
                                               std::function<void()> defaultAction,
                                               ClickFailureHandler onClickFailure)
    : m_bar(bar),
      m_toolBar(toolBar),
      m_action(action),
      m_temporary(temporary),
      m_builtIn(builtIn),
      m_defaultAction(std::move(defaultAction)),
      m_onClickFailure(std::move(onClickFailure)),
      m_lastCaption(action->text()) {
    m_triggered = QObject::connect(action, &QAction::triggered, [this] { click(); });
}

CommandBarButtonObject::~CommandBarButtonObject() {
    QObject::disconnect(m_triggered);
}

QString CommandBarButtonObject::caption() const {
    return m_action ? m_action->text() : m_lastCaption;
}

QAction& CommandBarButtonObject::requireAction(const char* member) const {
    if (!m_action) {
        throw com::Error(com::errc::objectNotSet,
                         "The control '" + m_lastCaption.toStdString() +
                             "' has been deleted from its command bar",
                         member);
    }
    return *m_action;
}

com::HRESULT CommandBarButtonObject::get_Caption(std::string* out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result", "Caption");
        *out = requireAction("Caption").text().toStdString();
    });
}

com::HRESULT CommandBarButtonObject::put_Caption(const std::string& caption) {
    return com::guarded([&] {
        QAction& action = requireAction("Caption");
        const QString text = QString::fromStdString(caption);
        action.setText(text);
        // The tool button shows the icon text, which Qt would otherwise derive from the
        // text without its trailing "...".
        action.setIconText(text);
        m_lastCaption = text;
    });
}

com::HRESULT CommandBarButtonObject::Delete(const com::Variant& Temporary) {
    return com::guarded([&] {
        if (!Temporary.isMissing()) Temporary.toBool();  // only a Boolean is accepted
        QAction& action = requireAction("Delete");
        com::ComPtr<CommandBarButtonObject> self(this);  // the bar lets go of it below
        if (m_toolBar) m_toolBar->removeAction(&action);
        // An added control's action is ours; a built-in one belongs to the window's menus.
        // deleteLater: the action may be the one whose click is being delivered right now.
        if (!m_builtIn) action.deleteLater();
        if (m_bar) m_bar->forget(this);
        detach();
    });
}

com::HRESULT CommandBarButtonObject::Advise(com::ICommandBarButtonEvents* sink,
                                            std::uint32_t* cookie) {
    return com::guarded([&] {
        if (!sink || !cookie) {
            throw com::Error(com::numberOf(com::E_POINTER), "Advise needs a sink and a cookie",
                             "Advise");
        }
        requireAction("Advise");
        const std::uint32_t c = m_nextCookie++;
        m_subscribers.emplace(c, com::ComPtr<com::ICommandBarButtonEvents>(sink));
        *cookie = c;
    });
}

com::HRESULT CommandBarButtonObject::Unadvise(std::uint32_t cookie) {
    return com::guarded([&] {
        // A subscription that the control's deletion already ended ends quietly.
        if (m_subscribers.erase(cookie) == 0 && m_droppedCookies.erase(cookie) == 0) {
            throw com::Error(com::errc::invalidProcedureCall,
                             "No Click subscription with cookie " + std::to_string(cookie),
                             "Unadvise");
        }
    });
}

void CommandBarButtonObject::click() {
    com::ComPtr<CommandBarButtonObject> self(this);  // a handler may delete the control
    std::vector<std::pair<std::uint32_t, com::ComPtr<com::ICommandBarButtonEvents>>> sinks(
        m_subscribers.begin(), m_subscribers.end());
    com::Bool16 cancelDefault = com::vbFalse;
    for (auto& [cookie, sink] : sinks) {
        // One that unsubscribed during an earlier handler no longer gets the click.
        if (!m_subscribers.contains(cookie)) continue;
        com::clearErrorInfo();
        const com::HRESULT hr = sink->Click(this, &cancelDefault);
        if (com::failed(hr)) {
            try {
                com::check(hr, "Click");
            } catch (const com::Error& e) {
                if (m_onClickFailure) m_onClickFailure(e.info());
            }
        }
    }
    if (cancelDefault == com::vbFalse && m_defaultAction && m_action) m_defaultAction();
}

void CommandBarButtonObject::detach() {
    QObject::disconnect(m_triggered);
    if (m_action) m_lastCaption = m_action->text();
    m_action = nullptr;
    m_toolBar = nullptr;
    m_bar = nullptr;
    m_defaultAction = nullptr;
    m_onClickFailure = nullptr;
    for (const auto& entry : m_subscribers) m_droppedCookies.insert(entry.first);
    m_subscribers.clear();
}

}  // namespace host
