// IHTMLDocument2, IHTMLElementCollection and IHTMLElement over a PageModel.
#include "host/page/html_document_object.h"

#include <algorithm>
#include <cctype>

#include "com/object.h"
#include "host/page/gumbo_tree.h"
#include "host/page/page_errors.h"
#include "host/page/page_model.h"
#include "host/page/text_position.h"
#include "platform/text/ascii.h"

namespace host {
namespace {

using com::HRESULT;
using page::fail;

constexpr const char* kCollectionSource = "IHTMLElementCollection";
constexpr const char* kElementSource = "IHTMLElement";

com::IDispatch* asDispatch(com::ComPtr<com::IHTMLElement> p) {
    return static_cast<com::IDispatch*>(p.Detach());
}
com::IDispatch* asDispatch(com::ComPtr<com::IHTMLElementCollection> p) {
    return static_cast<com::IDispatch*>(p.Detach());
}

class HtmlElement : public com::Object<com::IHTMLElement> {
public:
    HtmlElement(std::shared_ptr<PageModel> model, ElementRef ref)
        : m_model(std::move(model)), m_ref(std::move(ref)) {}

    HRESULT get_tagName(std::string* out) override {
        return read(out, [&](const GumboNode* e) {
            if (e->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return page::serializedName(e);
            std::string name = page::lowerName(e);
            for (char& c : name) c = platform::text::asciiUpper(c);
            return name;
        });
    }
    HRESULT get_id(std::string* out) override {
        return read(out, [](const GumboNode* e) {
            const char* id = page::attributeValue(e, "id");
            return std::string(id ? id : "");
        });
    }
    HRESULT get_innerHTML(std::string* out) override {
        if (!out) return com::E_POINTER;
        return com::guarded([&] { *out = m_model->innerHtml(m_ref); });
    }
    HRESULT put_innerHTML(const std::string& html) override {
        return com::guarded([&] { m_model->setInnerHtml(m_ref, html); });
    }
    HRESULT insertAdjacentHTML(const std::string& where, const std::string& html) override {
        return com::guarded([&] {
            const auto position = adjacentPositionFromName(where);
            if (!position) {
                fail(com::errc::invalidProcedureCall,
                     "insertAdjacentHTML: \"" + where +
                         "\" is not a position; use BeforeBegin, AfterBegin, BeforeEnd or "
                         "AfterEnd.",
                     "IHTMLElement.insertAdjacentHTML");
            }
            m_model->insertAdjacentHtml(m_ref, *position, html);
        });
    }

    HRESULT GetIDOfName(std::string_view name, com::DispId* id) override {
        return com::dispatchIdOfName(kMembers, name, id);
    }
    HRESULT Invoke(com::DispId id, com::InvokeKind kind, std::span<const com::Variant> args,
                   com::Variant* result) override {
        return com::dispatchInvoke(*this, kMembers, id, kind, args, result);
    }

private:
    template <class Read>
    HRESULT read(std::string* out, Read&& readElement) {
        if (!out) return com::E_POINTER;
        return com::guarded([&] {
            auto snapshot = m_model->snapshot();
            *out = readElement(m_model->resolve(m_ref, *snapshot, kElementSource));
        });
    }
    static void getText(HtmlElement& self, HRESULT (HtmlElement::*getter)(std::string*),
                        com::Variant* result) {
        std::string value;
        com::check((self.*getter)(&value), kElementSource);
        *result = com::Variant(std::move(value));
    }

    // Defined after the class: its entries use members of the class.
    static const com::DispatchMember<HtmlElement> kMembers[4];

    std::shared_ptr<PageModel> m_model;
    ElementRef m_ref;
};

const com::DispatchMember<HtmlElement> HtmlElement::kMembers[4] = {
    {"tagName", 1,
     [](HtmlElement& self, com::InvokeKind, std::span<const com::Variant>, com::Variant* r) {
         getText(self, &HtmlElement::get_tagName, r);
     }},
    {"id", 2,
     [](HtmlElement& self, com::InvokeKind, std::span<const com::Variant>, com::Variant* r) {
         getText(self, &HtmlElement::get_id, r);
     }},
    {"innerHTML", 3,
     [](HtmlElement& self, com::InvokeKind kind, std::span<const com::Variant> args,
        com::Variant* r) {
         if (kind == com::InvokeKind::PropertyPut) {
             com::check(self.put_innerHTML(com::argumentAt(args, 0).toText()), kElementSource);
         } else {
             getText(self, &HtmlElement::get_innerHTML, r);
         }
     }},
    {"insertAdjacentHTML", 4,
     [](HtmlElement& self, com::InvokeKind, std::span<const com::Variant> args, com::Variant*) {
         com::check(self.insertAdjacentHTML(com::argumentAt(args, 0).toText(),
                                            com::argumentAt(args, 1).toText()),
                    kElementSource);
     }},
};

// Which elements a collection holds: all, narrowed by tag name and by id or name.
struct Filter {
    std::optional<std::string> tag;
    std::optional<std::string> name;
};

class ElementCollection : public com::Object<com::IHTMLElementCollection> {
public:
    ElementCollection(std::shared_ptr<PageModel> model, Filter filter)
        : m_model(std::move(model)), m_filter(std::move(filter)) {}

    HRESULT get_length(std::int32_t* out) override {
        if (!out) return com::E_POINTER;
        return com::guarded([&] {
            auto snapshot = m_model->snapshot();
            *out = static_cast<std::int32_t>(members(*snapshot).size());
        });
    }

    HRESULT item(const com::Variant& name, const com::Variant& index,
                 com::IDispatch** out) override {
        if (!out) return com::E_POINTER;
        *out = nullptr;
        return com::guarded([&] { *out = itemOf(name, index); });
    }

    HRESULT tags(const com::Variant& tagName, com::IDispatch** out) override {
        if (!out) return com::E_POINTER;
        *out = nullptr;
        return com::guarded([&] {
            if (tagName.kind() != com::Variant::Kind::Text) {
                fail(com::errc::typeMismatch, "tags needs a tag name (text).",
                     "IHTMLElementCollection.tags");
            }
            Filter narrower = m_filter;
            narrower.tag = tagName.toText();
            *out = asDispatch(com::make<ElementCollection>(m_model, std::move(narrower)));
        });
    }

    HRESULT GetIDOfName(std::string_view name, com::DispId* id) override {
        return com::dispatchIdOfName(kMembers, name, id);
    }
    HRESULT Invoke(com::DispId id, com::InvokeKind kind, std::span<const com::Variant> args,
                   com::Variant* result) override {
        return com::dispatchInvoke(*this, kMembers, id, kind, args, result);
    }

    // Several elements found by one id come back as a collection; a caller that wanted the
    // one element learns which elements share the id and where, so the page can be mended.
    HRESULT QueryInterface(const com::Guid& id, void** out) override {
        const HRESULT hr = Object::QueryInterface(id, out);
        if (hr == com::E_NOINTERFACE && id == com::IHTMLElement::iid && m_filter.name) {
            try {
                describeSharedName();
            } catch (...) {
                com::clearErrorInfo();  // the plain failure still stands
            }
        }
        return hr;
    }

private:
    void describeSharedName() {
        const auto snapshot = m_model->snapshot();
        const auto list = members(*snapshot);
        std::string where;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i > 0) where += i + 1 == list.size() ? " and " : ", ";
            where += page::placeOf(snapshot->parse(), list[i]);
        }
        com::setErrorInfo({com::numberOf(com::E_NOINTERFACE),
                           "the page holds " + std::to_string(list.size()) +
                               " elements with the id or name \"" + *m_filter.name + "\" (" +
                               where +
                               "), where one element is expected. Remove or rename all but one "
                               "of them; the page was not changed.",
                           kCollectionSource});
    }

    std::vector<const GumboNode*> members(const PageSnapshot& s) const {
        // Narrowed by name first: few elements have one.
        if (m_filter.name) {
            auto named = PageModel::elementsNamed(s, *m_filter.name);
            return m_filter.tag ? PageModel::elementsWithTag(named, *m_filter.tag) : named;
        }
        return m_filter.tag ? PageModel::elementsWithTag(s.elements(), *m_filter.tag)
                            : s.elements();
    }

    com::IDispatch* elementObject(const PageSnapshot& s, const GumboNode* e) const {
        return asDispatch(com::make<HtmlElement>(m_model, m_model->refOf(s, e)));
    }

    // A frameset page: its <frameset> stands where the body would.
    [[noreturn]] static void failNoBody(const PageSnapshot& s, std::int32_t position,
                                        const char* source) {
        std::string where = "it is a frameset page";
        for (const GumboNode* e : s.elements()) {
            if (page::isHtml(e, GUMBO_TAG_FRAMESET)) {
                where += ", and " + page::placeOf(s.parse(), e) + " takes the body's place";
                break;
            }
        }
        fail(com::errc::subscriptOutOfRange,
             "This page has no <body> to add HTML to (no item " + std::to_string(position) +
                 "): " + where +
                 ". Add the HTML to a page that one of its frames shows, and try again. The "
                 "page was not changed.",
             source);
    }

    std::string describe() const {
        if (m_filter.tag) return "<" + *m_filter.tag + "> elements";
        return "elements";
    }

    com::IDispatch* itemOf(const com::Variant& name, const com::Variant& index) {
        constexpr const char* source = "IHTMLElementCollection.item";
        auto snapshot = m_model->snapshot();
        using Kind = com::Variant::Kind;
        if (name.kind() == Kind::Int16 || name.kind() == Kind::Int32) {
            const auto list = members(*snapshot);
            const std::int32_t position = name.toInt32();
            if (position < 0 || static_cast<std::size_t>(position) >= list.size()) {
                if (list.empty() && m_filter.tag &&
                    platform::text::asciiLowered(*m_filter.tag) == "body") {
                    failNoBody(*snapshot, position, source);
                }
                if (list.empty() && m_filter.tag) {
                    fail(com::errc::subscriptOutOfRange,
                         "The page has no " + describe() + ", so there is no item " +
                             std::to_string(position) + ".",
                         source);
                }
                fail(com::errc::subscriptOutOfRange,
                     "There is no item " + std::to_string(position) + " among the " +
                         std::to_string(list.size()) + " " + describe() + " of the page.",
                     source);
            }
            return elementObject(*snapshot, list[static_cast<std::size_t>(position)]);
        }
        if (name.kind() != Kind::Text) {
            fail(com::errc::typeMismatch,
                 "item needs an id or name (text) or a position (integer).", source);
        }
        Filter narrower = m_filter;
        narrower.name = name.toText();
        std::vector<const GumboNode*> matches =
            ElementCollection(m_model, narrower).members(*snapshot);
        if (!index.isMissing() && !index.isEmpty()) {
            const std::int32_t i = index.toInt32();
            if (i < 0 || static_cast<std::size_t>(i) >= matches.size()) return nullptr;
            return elementObject(*snapshot, matches[static_cast<std::size_t>(i)]);
        }
        if (matches.empty()) return nullptr;
        if (matches.size() == 1) return elementObject(*snapshot, matches.front());
        return asDispatch(com::make<ElementCollection>(m_model, std::move(narrower)));
    }

    static com::Variant objectVariant(com::IDispatch* p) {
        com::ComPtr<com::IUnknown> object;
        object.Attach(p);
        return com::Variant(std::move(object));
    }

    // Defined after the class: its entries use members of the class.
    static const com::DispatchMember<ElementCollection> kMembers[3];

    std::shared_ptr<PageModel> m_model;
    Filter m_filter;
};

const com::DispatchMember<ElementCollection> ElementCollection::kMembers[3] = {
    {"item", 0,
     [](ElementCollection& self, com::InvokeKind, std::span<const com::Variant> args,
        com::Variant* r) {
         com::IDispatch* found = nullptr;
         com::check(self.item(com::argumentAt(args, 0), com::argumentAt(args, 1), &found),
                    kCollectionSource);
         *r = objectVariant(found);
     }},
    {"tags", 1,
     [](ElementCollection& self, com::InvokeKind, std::span<const com::Variant> args,
        com::Variant* r) {
         com::IDispatch* found = nullptr;
         com::check(self.tags(com::argumentAt(args, 0), &found), kCollectionSource);
         *r = objectVariant(found);
     }},
    {"length", 2,
     [](ElementCollection& self, com::InvokeKind, std::span<const com::Variant>, com::Variant* r) {
         std::int32_t n = 0;
         com::check(self.get_length(&n), kCollectionSource);
         *r = com::Variant(n);
     }},
};

class HtmlDocument : public com::Object<com::IHTMLDocument2> {
public:
    explicit HtmlDocument(std::shared_ptr<PageModel> model) : m_model(std::move(model)) {}

    HRESULT get_all(com::IHTMLElementCollection** out) override {
        if (!out) return com::E_POINTER;
        *out = nullptr;
        return com::guarded(
            [&] { *out = com::make<ElementCollection>(m_model, Filter{}).Detach(); });
    }

private:
    std::shared_ptr<PageModel> m_model;
};

}  // namespace

com::ComPtr<com::IHTMLDocument2> createHtmlDocument(std::shared_ptr<PageText> text) {
    return createHtmlDocument(std::make_shared<PageModel>(std::move(text)));
}

com::ComPtr<com::IHTMLDocument2> createHtmlDocument(std::shared_ptr<PageModel> model) {
    if (!model)
        throw com::Error(com::errc::objectNotSet, "No page text for the document.",
                         page::kDocumentSource);
    return com::make<HtmlDocument>(std::move(model));
}

}  // namespace host
