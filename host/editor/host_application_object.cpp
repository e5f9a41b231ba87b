// The editor's application object.
#include "host/editor/host_application_object.h"

#include "host/editor/page.h"

namespace host {
namespace {

void requireGet(com::InvokeKind kind, const char* member) {
    if (kind != com::InvokeKind::PropertyGet && kind != com::InvokeKind::Method) {
        throw com::Error(com::errc::invalidProcedureCall,
                         std::string("The property ") + member + " is read-only", member);
    }
}

}  // namespace

HostApplicationObject::HostApplicationObject(com::ComPtr<CommandBarsObject> commandBars,
                                             std::function<Page*()> activePage)
    : m_commandBars(std::move(commandBars)), m_activePage(std::move(activePage)) {}

void HostApplicationObject::detach() {
    m_detached = true;
    m_commandBars = nullptr;
    m_activePage = nullptr;
}

com::ComPtr<com::ICommandBars> HostApplicationObject::commandBars() const {
    if (m_detached)
        throw com::Error(com::errc::objectNotSet, "The editor has closed", "CommandBars");
    return m_commandBars;
}

com::ComPtr<com::IPageWindow> HostApplicationObject::activePageWindow() const {
    if (m_detached) {
        throw com::Error(com::errc::objectNotSet, "The editor has closed", "ActivePageWindow");
    }
    Page* page = m_activePage ? m_activePage() : nullptr;
    if (!page)
        throw com::Error(com::errc::objectNotSet, "No page is open in the editor",
                         "ActivePageWindow");
    return page->window();
}

com::HRESULT HostApplicationObject::get_CommandBars(com::ICommandBars** out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result",
                             "CommandBars");
        *out = nullptr;
        *out = commandBars().Detach();
    });
}

com::HRESULT HostApplicationObject::get_ActivePageWindow(com::IPageWindow** out) {
    return com::guarded([&] {
        if (!out)
            throw com::Error(com::numberOf(com::E_POINTER), "No place for the result",
                             "ActivePageWindow");
        *out = nullptr;
        *out = activePageWindow().Detach();
    });
}

com::HRESULT HostApplicationObject::GetIDOfName(std::string_view name, com::DispId* id) {
    return com::dispatchIdOfName(kMembers, name, id);
}

com::HRESULT HostApplicationObject::Invoke(com::DispId id, com::InvokeKind kind,
                                           std::span<const com::Variant> args,
                                           com::Variant* result) {
    return com::dispatchInvoke(*this, kMembers, id, kind, args, result);
}

void HostApplicationObject::commandBarsMember(HostApplicationObject& self, com::InvokeKind kind,
                                              std::span<const com::Variant>, com::Variant* result) {
    requireGet(kind, "CommandBars");
    *result = com::Variant(com::query<com::IUnknown>(self.commandBars()));
}

void HostApplicationObject::activePageWindowMember(HostApplicationObject& self,
                                                   com::InvokeKind kind,
                                                   std::span<const com::Variant>,
                                                   com::Variant* result) {
    requireGet(kind, "ActivePageWindow");
    *result = com::Variant(com::query<com::IUnknown>(self.activePageWindow()));
}

void HostApplicationObject::nameMember(HostApplicationObject&, com::InvokeKind kind,
                                       std::span<const com::Variant>, com::Variant* result) {
    requireGet(kind, "Name");
    *result = com::Variant("pagehost");
}

}  // namespace host
