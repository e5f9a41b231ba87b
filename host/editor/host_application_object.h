// The editor's application object: what an add-in holds as the host.
#pragma once

#include <functional>

#include "com/host_application.h"
#include "com/object.h"
#include "host/commandbars/command_bars_object.h"

namespace host {

class Page;

// ActivePageWindow fails (error 91, "No page is open in the editor") when no page is open,
// rather than yielding nothing, so that an add-in learns why at the first step.
// Late-bound members: "CommandBars", "ActivePageWindow", "Name".
class HostApplicationObject final : public com::Object<com::IHostApplication> {
public:
    HostApplicationObject(com::ComPtr<CommandBarsObject> commandBars,
                          std::function<Page*()> activePage);

    com::HRESULT get_CommandBars(com::ICommandBars** out) override;
    com::HRESULT get_ActivePageWindow(com::IPageWindow** out) override;
    com::HRESULT GetIDOfName(std::string_view name, com::DispId* id) override;
    com::HRESULT Invoke(com::DispId id, com::InvokeKind kind, std::span<const com::Variant> args,
                        com::Variant* result) override;

    // The editor has closed: later calls fail.
    void detach();

private:
    com::ComPtr<com::ICommandBars> commandBars() const;
    com::ComPtr<com::IPageWindow> activePageWindow() const;

    static void commandBarsMember(HostApplicationObject& self, com::InvokeKind kind,
                                  std::span<const com::Variant> args, com::Variant* result);
    static void activePageWindowMember(HostApplicationObject& self, com::InvokeKind kind,
                                       std::span<const com::Variant> args, com::Variant* result);
    static void nameMember(HostApplicationObject& self, com::InvokeKind kind,
                           std::span<const com::Variant> args, com::Variant* result);
    static constexpr com::DispatchMember<HostApplicationObject> kMembers[] = {
        {"CommandBars", 1, &commandBarsMember},
        {"ActivePageWindow", 2, &activePageWindowMember},
        {"Name", 3, &nameMember},
    };

    com::ComPtr<CommandBarsObject> m_commandBars;
    std::function<Page*()> m_activePage;
    bool m_detached = false;
};

}  // namespace host
