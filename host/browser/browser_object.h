// The automatable browser behind "InternetExplorer.Application": one object, one window.
#pragma once

#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <map>

#include "com/object.h"
#include "com/web_browser.h"
#include "host/browser/browser_program.h"

namespace host {

class BrowserProcess;

// The browser process starts at the first Navigate, the first moment the address is known;
// "Visible" only records what the caller asked, as the window always shows. The quit
// notification goes to the subscribers of the moment when that process exits. Releasing
// the object leaves the browser open; its later exit then reaches no one.
class WebBrowser : public com::Object<com::IWebBrowser> {
public:
    // `extra` arguments go to the browser before the address (tests pass --headless).
    WebBrowser(BrowserProgram program, QStringList extra);

    com::HRESULT GetIDOfName(std::string_view name, com::DispId* id) override;
    com::HRESULT Invoke(com::DispId id, com::InvokeKind kind, std::span<const com::Variant> args,
                        com::Variant* result) override;

    com::HRESULT Navigate(const std::string& URL, const com::Variant& Flags,
                          const com::Variant& TargetFrameName, const com::Variant& PostData,
                          const com::Variant& Headers) override;
    com::HRESULT Advise(com::DWebBrowserEvents* sink, std::uint32_t* cookie) override;
    com::HRESULT Unadvise(std::uint32_t cookie) override;

    bool visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

protected:
    ~WebBrowser() override;

private:
    void navigate(const std::string& address);
    void onProcessExit();

    BrowserProgram m_program;
    QStringList m_extra;
    bool m_visible = false;
    bool m_started = false;
    QPointer<BrowserProcess> m_process;
    std::map<std::uint32_t, com::ComPtr<com::DWebBrowserEvents>> m_sinks;
    std::uint32_t m_nextCookie = 1;
};

}  // namespace host
