// The page's HTML document object model as the component sees it.
#pragma once

#include <cstdint>
#include <string>

#include "com/dispatch.h"
#include "com/variant.h"

namespace com {

struct IHTMLElementCollection;

struct IHTMLElement : IDispatch {
    static constexpr Guid iid = Guid::literal("{427605A0-2B32-4680-A15C-7CFD3CBF2456}");
    using Base = IDispatch;
    virtual HRESULT get_tagName(std::string* out) = 0;
    virtual HRESULT get_id(std::string* out) = 0;
    virtual HRESULT get_innerHTML(std::string* out) = 0;
    virtual HRESULT put_innerHTML(const std::string& html) = 0;
    // where: "BeforeBegin", "AfterBegin", "BeforeEnd" or "AfterEnd" (any letter case).
    virtual HRESULT insertAdjacentHTML(const std::string& where, const std::string& html) = 0;

protected:
    ~IHTMLElement() = default;
};

// A collection is also reached by late binding: its members "item", "tags" and "length"
// answer to their names, in any letter case.
struct IHTMLElementCollection : IDispatch {
    static constexpr Guid iid = Guid::literal("{2B99AC2D-E4D2-4677-9D32-161A280E1D9C}");
    using Base = IDispatch;
    virtual HRESULT get_length(std::int32_t* out) = 0;
    // name: an id or name (text) or a 0-based position (integer); index: optional, picks
    // one of several matches. Yields nothing (null, success) when nothing matches, the
    // element when one matches, and a collection when several do.
    virtual HRESULT item(const Variant& name, const Variant& index, IDispatch** out) = 0;
    // The elements with that tag name, as a collection.
    virtual HRESULT tags(const Variant& tagName, IDispatch** out) = 0;

protected:
    ~IHTMLElementCollection() = default;
};

struct IHTMLDocument2 : IUnknown {
    static constexpr Guid iid = Guid::literal("{8D4B3C5A-37CE-4DD5-B02E-E647B38CF96E}");
    using Base = IUnknown;
    virtual HRESULT get_all(IHTMLElementCollection** out) = 0;

protected:
    ~IHTMLDocument2() = default;
};

}  // namespace com
