// The recording host's objects.
#include "fake_host.h"

#include "com/error.h"
#include "platform/text/ascii.h"

namespace fakehost {
namespace {

std::string kindName(const com::Variant& v) {
    switch (v.kind()) {
        case com::Variant::Kind::Empty: return "empty";
        case com::Variant::Kind::Missing: return "missing";
        case com::Variant::Kind::Int16: return "int16:" + std::to_string(v.toInt16());
        case com::Variant::Kind::Int32: return "int32:" + std::to_string(v.toInt32());
        case com::Variant::Kind::Bool: return "bool:" + std::to_string(v.toBool());
        case com::Variant::Kind::Text: return "text:" + v.toText();
        case com::Variant::Kind::Object: return "object";
    }
    return "?";
}

template <class T, class I>
com::HRESULT handOut(const com::ComPtr<T>& object, I** out) {
    if (!out) return com::E_POINTER;
    *out = object.get();
    if (*out) (*out)->AddRef();
    return com::S_OK;
}

class Element : public com::Object<com::IHTMLElement> {
public:
    Element(Application& app, bool body) : m_app(app), m_body(body) {}
    com::HRESULT GetIDOfName(std::string_view, com::DispId*) override {
        return com::DISP_E_UNKNOWNNAME;
    }
    com::HRESULT Invoke(com::DispId, com::InvokeKind, std::span<const com::Variant>,
                        com::Variant*) override {
        return com::DISP_E_MEMBERNOTFOUND;
    }
    com::HRESULT get_tagName(std::string* out) override {
        *out = m_body ? "BODY" : m_app.page.markerTag;
        return com::S_OK;
    }
    com::HRESULT get_id(std::string* out) override {
        *out = m_body ? "" : "OstrelInsert";
        return com::S_OK;
    }
    com::HRESULT get_innerHTML(std::string* out) override {
        *out = m_body ? m_app.page.bodyContent : m_app.page.markerContent;
        return com::S_OK;
    }
    com::HRESULT put_innerHTML(const std::string& html) override {
        return com::guarded([&] {
            m_app.log.record("innerHTML=");
            (m_body ? m_app.page.bodyContent : m_app.page.markerContent) = html;
        });
    }
    com::HRESULT insertAdjacentHTML(const std::string& where, const std::string& html) override {
        return com::guarded([&] {
            m_app.log.record("insertAdjacentHTML(" + where + ")");
            if (!m_body || where != "BeforeEnd") throw com::Error(5, "unexpected insertion", "fake");
            m_app.page.bodyContent += html;
            // What was inserted is now part of the page, marker included.
            if (html.find("id='OstrelInsert'") != std::string::npos) {
                ++m_app.page.markers;
                m_app.page.markerContent = html;
            }
        });
    }

private:
    Application& m_app;
    bool m_body;
};

// A collection of page elements: the whole document, the markers, or the bodies.
class Collection : public com::Object<com::IHTMLElementCollection> {
public:
    enum class Of { All, Markers, Bodies };
    Collection(Application& app, Of of) : m_app(app), m_of(of) {}

    com::HRESULT GetIDOfName(std::string_view name, com::DispId* id) override {
        if (!platform::text::equalsIgnoringAsciiCase(name, "item")) return com::DISP_E_UNKNOWNNAME;
        *id = 0;
        return com::S_OK;
    }
    com::HRESULT Invoke(com::DispId id, com::InvokeKind, std::span<const com::Variant> args,
                        com::Variant* result) override {
        if (id != 0) return com::DISP_E_MEMBERNOTFOUND;
        return com::guarded([&] {
            const auto& index = com::argumentAt(args, 0);
            m_app.log.record("Item(" + kindName(index) + ")");
            if (index.toInt32() >= count()) throw com::Error(9, "Subscript out of range", "fake");
            *result = com::Variant(com::ComPtr<com::IUnknown>(com::make<Element>(m_app, m_of == Of::Bodies)));
        });
    }
    com::HRESULT get_length(std::int32_t* out) override {
        *out = count();
        return com::S_OK;
    }
    com::HRESULT item(const com::Variant& name, const com::Variant& index,
                      com::IDispatch** out) override {
        return com::guarded([&] {
            m_app.log.record("item(" + name.toText() + "," + kindName(index) + ")");
            *out = nullptr;
            if (name.toText() != "OstrelInsert" || m_app.page.markers == 0) return;
            com::ComPtr<com::IDispatch> found;
            if (m_app.page.markers == 1) {
                found = com::make<Element>(m_app, false);
            } else {
                found = com::make<Collection>(m_app, Of::Markers);
            }
            *out = found.Detach();
        });
    }
    com::HRESULT tags(const com::Variant& tagName, com::IDispatch** out) override {
        return com::guarded([&] {
            m_app.log.record("tags(" + tagName.toText() + ")");
            *out = com::ComPtr<com::IDispatch>(com::make<Collection>(m_app, Of::Bodies)).Detach();
        });
    }

private:
    std::int32_t count() const {
        switch (m_of) {
            case Of::Bodies: return m_app.page.hasBody ? 1 : 0;
            case Of::Markers: return m_app.page.markers;
            case Of::All: return 1;
        }
        return 0;
    }
    Application& m_app;
    Of m_of;
};

class Document : public com::Object<com::IHTMLDocument2> {
public:
    explicit Document(Application& app) : m_app(app) {}
    com::HRESULT get_all(com::IHTMLElementCollection** out) override {
        return com::guarded([&] {
            m_app.log.record("all");
            *out = com::make<Collection>(m_app, Collection::Of::All).Detach();
        });
    }

private:
    Application& m_app;
};

class Window : public com::Object<com::IPageWindow> {
public:
    explicit Window(Application& app) : m_app(app) {}
    com::HRESULT get_ViewMode(std::int32_t* out) override {
        *out = m_app.page.viewMode;
        return com::S_OK;
    }
    com::HRESULT put_ViewMode(std::int32_t mode) override {
        return com::guarded([&] {
            m_app.log.record("ViewMode=" + std::to_string(mode));
            m_app.page.viewMode = mode;
        });
    }
    com::HRESULT get_Document(com::IHTMLDocument2** out) override {
        return com::guarded([&] {
            m_app.log.record("Document");
            *out = com::make<Document>(m_app).Detach();
        });
    }

private:
    Application& m_app;
};

}  // namespace

void Log::record(const std::string& call) {
    calls.push_back(call);
    if (failing.count(call)) throw com::Error(failNumber, "the host refused " + call, "FakeHost");
}

com::HRESULT Controls::Add(const com::Variant& Type, const com::Variant& Id,
                           const com::Variant& Parameter, const com::Variant& Before,
                           const com::Variant& Temporary, com::ICommandBarControl** out) {
    return com::guarded([&] {
        m_log.record("Controls.Add");
        lastAddArguments = {Type, Id, Parameter, Before, Temporary};
        buttons.push_back(com::make<Button>(m_log, *this));
        *out = com::ComPtr<com::ICommandBarControl>(buttons.back()).Detach();
    });
}

com::HRESULT Controls::get_Count(std::int32_t* out) {
    *out = static_cast<std::int32_t>(buttons.size());
    return com::S_OK;
}

com::HRESULT Controls::get_Item(const com::Variant& index, com::ICommandBarControl** out) {
    return com::guarded([&] {
        const auto i = index.toInt32();
        if (i < 1 || i > static_cast<std::int32_t>(buttons.size()))
            throw com::Error(9, "Subscript out of range", "FakeHost");
        *out = com::ComPtr<com::ICommandBarControl>(buttons[i - 1]).Detach();
    });
}

com::HRESULT Button::get_Caption(std::string* out) {
    *out = caption;
    return com::S_OK;
}

com::HRESULT Button::put_Caption(const std::string& text) {
    return com::guarded([&] {
        m_log.record("Caption=" + text);
        caption = text;
    });
}

com::HRESULT Button::Delete(const com::Variant& Temporary) {
    return com::guarded([&] {
        m_log.record("Delete(" + kindName(Temporary) + ")");
        if (!m_owner) throw com::Error(5, "the control was already deleted", "FakeHost");
        auto& list = m_owner->buttons;
        m_owner = nullptr;
        // Erasing may drop the last reference to this very object: keep it alive meanwhile.
        com::ComPtr<Button> self(this);
        std::erase(list, self);
    });
}

com::HRESULT Button::Advise(com::ICommandBarButtonEvents* sink, std::uint32_t* cookie) {
    return com::guarded([&] {
        m_log.record("Advise");
        *cookie = m_nextCookie++;
        m_sinks[*cookie] = sink;
    });
}

com::HRESULT Button::Unadvise(std::uint32_t cookie) {
    m_log.calls.push_back("Unadvise");
    return m_sinks.erase(cookie) ? com::S_OK : com::E_INVALIDARG;
}

com::HRESULT Button::click(com::Bool16* cancelDefault) {
    com::Bool16 cancel = com::vbFalse;
    auto sinks = m_sinks;  // a handler may unsubscribe while it runs
    com::HRESULT first = com::S_OK;
    for (auto& [cookie, sink] : sinks) {
        const auto hr = sink->Click(this, cancelDefault ? cancelDefault : &cancel);
        if (com::failed(hr) && com::succeeded(first)) first = hr;
    }
    return first;
}

std::size_t Button::subscribers() const { return m_sinks.size(); }

Bar::Bar(Log& log, std::string barName)
    : name(std::move(barName)), controls(com::make<Controls>(log)), m_log(log) {}

com::HRESULT Bar::get_Name(std::string* out) {
    *out = name;
    return com::S_OK;
}

com::HRESULT Bar::get_Controls(com::ICommandBarControls** out) {
    return com::guarded([&] {
        m_log.record("Controls");
        *out = com::ComPtr<com::ICommandBarControls>(controls).Detach();
    });
}

com::HRESULT Bars::get_Item(const com::Variant& index, com::ICommandBar** out) {
    return com::guarded([&] {
        m_log.record("CommandBars.Item(" + index.toText() + ")");
        for (auto& bar : bars) {
            if (bar->name == index.toText()) {
                *out = com::ComPtr<com::ICommandBar>(bar).Detach();
                return;
            }
        }
        throw com::Error(-2147024809, "No command bar is named '" + index.toText() + "'",
                         "FakeHost.CommandBars");
    });
}

com::HRESULT Bars::get_Count(std::int32_t* out) {
    *out = static_cast<std::int32_t>(bars.size());
    return com::S_OK;
}

Application::Application(std::vector<std::string> barNames) : bars(com::make<Bars>(log)) {
    for (auto& n : barNames) bars->bars.push_back(com::make<Bar>(log, n));
}

Application::~Application() = default;

com::HRESULT Application::get_CommandBars(com::ICommandBars** out) {
    return com::guarded([&] {
        log.record("CommandBars");
        *out = com::ComPtr<com::ICommandBars>(bars).Detach();
    });
}

com::HRESULT Application::get_ActivePageWindow(com::IPageWindow** out) {
    return com::guarded([&] {
        log.record("ActivePageWindow");
        *out = nullptr;
        if (page.open) *out = com::make<Window>(*this).Detach();
    });
}

Controls* Application::controlsOf(const std::string& barName) const {
    for (auto& bar : bars->bars)
        if (bar->name == barName) return bar->controls.get();
    return nullptr;
}

}  // namespace fakehost
