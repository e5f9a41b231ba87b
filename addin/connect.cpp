// Connection, the toolbar button, and the road from a click to the page.
#include "addin/connect.h"

#include "addin/wizard_factory.h"
#include "com/error.h"
#include "platform/text/ascii.h"
#include "wizard/message_box.h"
#include "wizard/owned_sink.h"

namespace ostrel {
namespace {

constexpr std::string_view kSource = "OstrelPlugin";
constexpr com::DispId kDispIdButtonHandler = 0x68030000;

// The host's answer to "which page" may be a failure or nothing; both end the step: an
// empty answer throws, naming the add-in.
template <class T>
T* nonNullOrThrow(const com::ComPtr<T>& p) {
    return com::require(p, kSource);
}

}  // namespace

// The sink of the button's Click.
class Connect::ButtonEvents : public OwnedSink<com::ICommandBarButtonEvents, Connect> {
public:
    using OwnedSink::OwnedSink;

    com::HRESULT Click(com::ICommandBarButton* Ctrl, com::Bool16* CancelDefault) override {
        return toOwner([&](Connect& owner) { owner.ButtonHandler_Click(Ctrl, CancelDefault); });
    }
};

Connect::Connect(WizardFactory createWizard)
    : m_createWizard(createWizard ? std::move(createWizard) : defaultWizardFactory()),
      m_buttonEvents(com::make<ButtonEvents>(this)),
      ButtonHandler(m_buttonEvents.get()) {}

Connect::~Connect() {
    m_buttonEvents->detach();
}

com::HRESULT Connect::OnConnection(com::IDispatch* Application, std::int32_t, com::IDispatch*,
                                   com::VariantArray*) {
    try {
        HostApp = com::query<com::IHostApplication>(Application, kSource);

        com::ComPtr<com::ICommandBars> bars;
        com::check(HostApp->get_CommandBars(bars.put()), kSource);
        com::ComPtr<com::ICommandBar> insertBar;
        com::check(nonNullOrThrow(bars)->get_Item(com::Variant("Insert"), insertBar.put()),
                   kSource);
        InsertBar = insertBar;

        com::ComPtr<com::ICommandBarControls> controls;
        com::check(nonNullOrThrow(InsertBar)->get_Controls(controls.put()), kSource);
        com::ComPtr<com::ICommandBarControl> control;
        com::check(nonNullOrThrow(controls)->Add(com::Variant(com::msoControlButton),
                                                 com::Variant::missing(), com::Variant::missing(),
                                                 com::Variant::missing(), com::Variant(true),
                                                 control.put()),
                   kSource);
        WizButton = com::query<com::ICommandBarButton>(control, kSource);

        com::check(WizButton->put_Caption("Ostrel..."), kSource);
        ButtonHandler.assign(WizButton.get());
    } catch (...) {
        reportCaught();
    }
    return com::S_OK;
}

com::HRESULT Connect::OnDisconnection(std::int32_t, com::VariantArray*) {
    try {
        com::check(nonNullOrThrow(WizButton)->Delete(com::Variant::missing()), kSource);
        WizButton = nullptr;
        InsertBar = nullptr;
        HostApp = nullptr;
        ButtonHandler.assign(nullptr);
    } catch (...) {
        reportCaught();
    }
    return com::S_OK;
}

com::HRESULT Connect::OnAddInsUpdate(com::VariantArray*) {
    return com::S_OK;
}
com::HRESULT Connect::OnStartupComplete(com::VariantArray*) {
    return com::S_OK;
}
com::HRESULT Connect::OnBeginShutdown(com::VariantArray*) {
    return com::S_OK;
}

com::HRESULT Connect::get_ButtonHandler(com::ICommandBarButton** out) {
    if (!out) return com::E_POINTER;
    *out = ButtonHandler.get();
    if (*out) (*out)->AddRef();
    return com::S_OK;
}

com::HRESULT Connect::putref_ButtonHandler(com::ICommandBarButton* button) {
    return com::guarded([&] { ButtonHandler.assign(button); });
}

com::HRESULT Connect::GetIDOfName(std::string_view name, com::DispId* id) {
    if (!id) return com::E_POINTER;
    if (!platform::text::equalsIgnoringAsciiCase(name, "ButtonHandler"))
        return com::DISP_E_UNKNOWNNAME;
    *id = kDispIdButtonHandler;
    return com::S_OK;
}

com::HRESULT Connect::Invoke(com::DispId id, com::InvokeKind kind,
                             std::span<const com::Variant> args, com::Variant* result) {
    if (id != kDispIdButtonHandler) return com::DISP_E_MEMBERNOTFOUND;
    return com::guarded([&] {
        switch (kind) {
            case com::InvokeKind::PropertyGet:
                if (result) *result = com::Variant(com::ComPtr<com::IUnknown>(ButtonHandler.get()));
                break;
            case com::InvokeKind::PropertyPutRef: {
                const auto object = com::argumentAt(args, 0).toObject();
                ButtonHandler.assign(
                    object ? com::query<com::ICommandBarButton>(object, kSource).get() : nullptr);
                break;
            }
            default:
                throw com::Error(com::numberOf(com::DISP_E_MEMBERNOTFOUND),
                                 "ButtonHandler can only be read or assigned by reference",
                                 std::string(kSource));
        }
    });
}

void Connect::ButtonHandler_Click(com::ICommandBarButton*, com::Bool16*) {
    ShowWizard();
}

void Connect::ShowWizard() {
    // Released on every way out, a failing step included.
    com::ComPtr<_frmOstWiz> wizard = m_createWizard();
    nonNullOrThrow(wizard)->Show();
    if (wizard->WizCloseStatus() == com::vbTrue) InsertHTML(wizard->HTMLString());
}

com::ComPtr<com::IPageWindow> Connect::activePageWindow() const {
    com::ComPtr<com::IPageWindow> window;
    com::check(nonNullOrThrow(HostApp)->get_ActivePageWindow(window.put()), kSource);
    nonNullOrThrow(window);
    return window;
}

void Connect::InsertHTML(const std::string& html) {
    // The host is asked afresh for the page at each step; nothing of the page is kept.
    com::check(activePageWindow()->put_ViewMode(1), kSource);

    com::ComPtr<com::IHTMLElement> marker;
    {
        com::ComPtr<com::IHTMLDocument2> document;
        com::check(activePageWindow()->get_Document(document.put()), kSource);
        com::ComPtr<com::IHTMLElementCollection> all;
        com::check(nonNullOrThrow(document)->get_all(all.put()), kSource);
        com::ComPtr<com::IDispatch> found;
        com::check(nonNullOrThrow(all)->item(com::Variant("OstrelInsert"), com::Variant::missing(),
                                             found.put()),
                   kSource);
        // Several elements with the id come back as a collection: not one element.
        if (found) marker = com::query<com::IHTMLElement>(found, kSource);
    }

    if (!marker) {
        const std::string wrapped = "<div id='OstrelInsert'>\r\n" + html + "</div>\r\n";
        com::ComPtr<com::IHTMLDocument2> document;
        com::check(activePageWindow()->get_Document(document.put()), kSource);
        com::ComPtr<com::IHTMLElementCollection> all;
        com::check(nonNullOrThrow(document)->get_all(all.put()), kSource);
        com::ComPtr<com::IDispatch> bodies;
        com::check(nonNullOrThrow(all)->tags(com::Variant("body"), bodies.put()), kSource);
        const com::Variant first =
            com::invokeByName(nonNullOrThrow(bodies), "Item", com::InvokeKind::Method,
                              {com::Variant(std::int16_t{0})});
        const auto body = com::query<com::IHTMLElement>(first.toObject(), kSource);
        com::check(body->insertAdjacentHTML("BeforeEnd", wrapped), kSource);
    } else {
        com::check(marker->put_innerHTML(html), kSource);
    }
}

void Connect::ReportError(std::int32_t number, const std::string& description,
                          const std::string& source) {
    const std::string prompt = "Error number: " + std::to_string(number) +
                               "\r\nError description: " + description +
                               "\r\nError source: " + source;
    messageBox().show(prompt, "Error....", mb::critical | mb::okOnly);
}

void Connect::reportCaught() {
    try {
        throw;
    } catch (const com::Error& e) {
        ReportError(e.number(), e.description(), e.source());
    } catch (const std::exception& e) {
        ReportError(com::numberOf(com::E_FAIL), e.what(), std::string(kSource));
    }
}

}  // namespace ostrel
