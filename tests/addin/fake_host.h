// A recording stand-in for the host: command bars and a page whose document answers the
// add-in's calls from a script, logging every call in order.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "com/host_application.h"
#include "com/object.h"

namespace fakehost {

struct Log {
    std::vector<std::string> calls;
    // The call with this name fails (with number failNumber) instead of answering.
    std::set<std::string> failing;
    std::int32_t failNumber = -2147467259;  // E_FAIL
    void record(const std::string& call);   // throws com::Error when the call is failing
};

class Button;

class Controls : public com::Object<com::ICommandBarControls> {
public:
    explicit Controls(Log& log) : m_log(log) {}
    com::HRESULT Add(const com::Variant& Type, const com::Variant& Id,
                     const com::Variant& Parameter, const com::Variant& Before,
                     const com::Variant& Temporary, com::ICommandBarControl** out) override;
    com::HRESULT get_Count(std::int32_t* out) override;
    com::HRESULT get_Item(const com::Variant& index, com::ICommandBarControl** out) override;

    std::vector<com::ComPtr<Button>> buttons;
    std::vector<com::Variant> lastAddArguments;

private:
    Log& m_log;
};

class Button : public com::Object<com::ICommandBarButton> {
public:
    Button(Log& log, Controls& owner) : m_log(log), m_owner(&owner) {}
    com::HRESULT get_Caption(std::string* out) override;
    com::HRESULT put_Caption(const std::string& caption) override;
    com::HRESULT Delete(const com::Variant& Temporary) override;
    com::HRESULT Advise(com::ICommandBarButtonEvents* sink, std::uint32_t* cookie) override;
    com::HRESULT Unadvise(std::uint32_t cookie) override;

    // Delivers Click to every subscriber as the host would; returns the first failure.
    com::HRESULT click(com::Bool16* cancelDefault = nullptr);
    std::size_t subscribers() const;

    std::string caption;

private:
    Log& m_log;
    Controls* m_owner;
    std::map<std::uint32_t, com::ComPtr<com::ICommandBarButtonEvents>> m_sinks;
    std::uint32_t m_nextCookie = 1;
};

class Bar : public com::Object<com::ICommandBar> {
public:
    Bar(Log& log, std::string name);
    com::HRESULT get_Name(std::string* out) override;
    com::HRESULT get_Controls(com::ICommandBarControls** out) override;

    std::string name;
    com::ComPtr<Controls> controls;

private:
    Log& m_log;
};

class Bars : public com::Object<com::ICommandBars> {
public:
    explicit Bars(Log& log) : m_log(log) {}
    com::HRESULT get_Item(const com::Variant& index, com::ICommandBar** out) override;
    com::HRESULT get_Count(std::int32_t* out) override;

    std::vector<com::ComPtr<Bar>> bars;

private:
    Log& m_log;
};

// What the page holds, as the document reports it.
struct Page {
    int markers = 0;               // elements with id "OstrelInsert"
    std::string markerTag = "div";
    std::string markerContent = "old";
    bool hasBody = true;
    std::string bodyContent;       // what insertAdjacentHTML has appended
    bool open = true;              // whether a page window is active
    std::int32_t viewMode = 0;
};

class Application : public com::Object<com::IHostApplication> {
public:
    explicit Application(std::vector<std::string> barNames = {"Standard", "Insert"});
    ~Application() override;

    com::HRESULT GetIDOfName(std::string_view, com::DispId*) override {
        return com::DISP_E_UNKNOWNNAME;
    }
    com::HRESULT Invoke(com::DispId, com::InvokeKind, std::span<const com::Variant>,
                        com::Variant*) override {
        return com::DISP_E_MEMBERNOTFOUND;
    }
    com::HRESULT get_CommandBars(com::ICommandBars** out) override;
    com::HRESULT get_ActivePageWindow(com::IPageWindow** out) override;

    // The controls of the named bar, or nothing.
    Controls* controlsOf(const std::string& bar) const;

    Log log;
    Page page;
    com::ComPtr<Bars> bars;
};

}  // namespace fakehost
