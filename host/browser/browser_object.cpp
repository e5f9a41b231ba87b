// The browser object: its late-bound properties, Navigate, and the quit notification.
#include "host/browser/browser_object.h"

#include <QtGlobal>
#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "com/error.h"
#include "host/browser/browser_process.h"

namespace host {
namespace {

const std::string kSource(com::kBrowserProgId);

// The member ids the platform's own browser gives these names.
constexpr com::DispId kDispIdNavigate = 104;
constexpr com::DispId kDispIdVisible = 402;

// Where the text proper starts after blanks, Unicode spaces (in UTF-8) included.
std::size_t firstNonBlank(std::string_view text) {
    static constexpr std::string_view kSpaces[] = {"\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80",
                                                   "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF",
                                                   "\xE2\x81\x9F", "\xE3\x80\x80", "\xEF\xBB\xBF"};
    std::size_t at = 0;
    while (at < text.size()) {
        const std::string_view rest = text.substr(at);
        if (std::string_view(" \t\r\n\v\f").find(rest.front()) != std::string_view::npos) {
            ++at;
        } else if (rest.size() > 2 && rest.starts_with("\xE2\x80") &&
                   static_cast<unsigned char>(rest[2]) >= 0x80 &&
                   static_cast<unsigned char>(rest[2]) <= 0x8A) {
            at += 3;  // U+2000 to U+200A
        } else if (const auto* space = std::find_if(std::begin(kSpaces), std::end(kSpaces),
                                                    [&](auto s) { return rest.starts_with(s); });
                   space != std::end(kSpaces)) {
            at += space->size();
        } else {
            break;
        }
    }
    return at;
}

[[noreturn]] void refuse(const std::string& description) {
    throw com::Error(com::errc::invalidProcedureCall, description, kSource);
}

bool isTrue(const com::Variant& value) {
    switch (value.kind()) {
        case com::Variant::Kind::Bool:
            return value.toBool() != com::vbFalse;
        case com::Variant::Kind::Int16:
        case com::Variant::Kind::Int32:
            return value.toInt32() != 0;
        default:
            throw com::Error(com::errc::typeMismatch, "Type mismatch", kSource);
    }
}

bool isLeftOut(const com::Variant& value) {
    return value.isMissing() || value.isEmpty();
}

const com::DispatchMember<WebBrowser> kMembers[] = {
    {"Visible", kDispIdVisible,
     [](WebBrowser& self, com::InvokeKind kind, std::span<const com::Variant> args,
        com::Variant* result) {
         if (kind == com::InvokeKind::PropertyGet) {
             *result = com::Variant(self.visible());
         } else if (kind == com::InvokeKind::PropertyPut) {
             self.setVisible(isTrue(com::argumentAt(args, 0)));
         } else {
             refuse("Visible is a property: it can only be read or set");
         }
     }},
    {"Navigate", kDispIdNavigate,
     [](WebBrowser& self, com::InvokeKind kind, std::span<const com::Variant> args, com::Variant*) {
         if (kind != com::InvokeKind::Method) refuse("Navigate is a method");
         com::check(self.Navigate(com::argumentAt(args, 0).toText(), com::argumentAt(args, 1),
                                  com::argumentAt(args, 2), com::argumentAt(args, 3),
                                  com::argumentAt(args, 4)),
                    kSource);
     }},
};

}  // namespace

WebBrowser::WebBrowser(BrowserProgram program, QStringList extra)
    : m_program(std::move(program)), m_extra(std::move(extra)) {}

WebBrowser::~WebBrowser() {
    // The browser stays open; only its news no longer has anywhere to go.
    if (m_process) m_process->setExitHandler(nullptr);
}

com::HRESULT WebBrowser::GetIDOfName(std::string_view name, com::DispId* id) {
    return com::dispatchIdOfName(kMembers, name, id);
}

com::HRESULT WebBrowser::Invoke(com::DispId id, com::InvokeKind kind,
                                std::span<const com::Variant> args, com::Variant* result) {
    return com::dispatchInvoke(*this, kMembers, id, kind, args, result);
}

com::HRESULT WebBrowser::Navigate(const std::string& URL, const com::Variant& Flags,
                                  const com::Variant& TargetFrameName, const com::Variant& PostData,
                                  const com::Variant& Headers) {
    return com::guarded([&] {
        if (!isLeftOut(Flags) || !isLeftOut(TargetFrameName) || !isLeftOut(PostData) ||
            !isLeftOut(Headers)) {
            refuse(
                "This browser opens an address only: flags, target frame, post data and "
                "headers are not supported");
        }
        navigate(URL);
    });
}

void WebBrowser::navigate(const std::string& address) {
    if (m_started) {
        refuse(m_process ? "This browser window already shows a page and cannot be sent to "
                           "another; create a new browser instead"
                         : "This browser window has been closed");
    }
    // The address is one argument of the browser's command line; one that starts with a
    // dash would be taken as an option of the browser rather than a page to open, and
    // browsers trim blanks off an argument before they look for the dash.
    const std::size_t start = firstNonBlank(address);
    if (start == address.size()) {
        refuse("The web address is empty" + std::string(address.empty() ? "" : " (blanks only)") +
               ", so there is no page to open; no browser was started");
    }
    if (address[start] == '-') {
        refuse("The web address \"" + address +
               "\" starts with '-' and would be read as a browser option; it was not opened");
    }
    BrowserProcess* process =
        BrowserProcess::start(m_program, m_extra, QString::fromStdString(address));
    m_started = true;
    m_process = process;
    process->setExitHandler([this] { onProcessExit(); });
}

void WebBrowser::onProcessExit() {
    // A subscriber may unsubscribe others, or drop the last reference to this object.
    const com::ComPtr<WebBrowser> keepAlive(this);
    std::vector<std::uint32_t> cookies;
    for (const auto& [cookie, sink] : m_sinks) cookies.push_back(cookie);
    for (std::uint32_t cookie : cookies) {
        const auto it = m_sinks.find(cookie);
        if (it == m_sinks.end()) continue;  // unsubscribed by an earlier subscriber
        const com::ComPtr<com::DWebBrowserEvents> sink = it->second;
        // The window is already gone, so a request to cancel the closing cannot be met.
        com::Bool16 cancel = com::vbFalse;
        const com::HRESULT hr = sink->Quit(&cancel);
        if (com::failed(hr)) {
            const auto info = com::takeErrorInfo();
            qWarning("The browser's quit notification failed in a subscriber: %s",
                     info ? info->description.c_str() : com::describeStatus(hr).c_str());
        }
    }
}

com::HRESULT WebBrowser::Advise(com::DWebBrowserEvents* sink, std::uint32_t* cookie) {
    if (!sink || !cookie) return com::E_POINTER;
    *cookie = m_nextCookie++;
    m_sinks.emplace(*cookie, com::ComPtr<com::DWebBrowserEvents>(sink));
    return com::S_OK;
}

com::HRESULT WebBrowser::Unadvise(std::uint32_t cookie) {
    // Released outside the map, in case the sink's last release reaches back into us.
    com::ComPtr<com::DWebBrowserEvents> released;
    const auto it = m_sinks.find(cookie);
    if (it == m_sinks.end()) return com::E_INVALIDARG;
    released = std::move(it->second);
    m_sinks.erase(it);
    return com::S_OK;
}

}  // namespace host
