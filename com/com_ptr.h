// The one smart pointer for counted references.
#pragma once

#include <cstddef>
#include "com/call_site.h"
#include <string>
#include <string_view>
#include <utility>

#include "com/error.h"
#include "com/unknown.h"

namespace com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(T* p) : m_p(p) { addRef(); }  // implicit, like an assignment
    ComPtr(const ComPtr& other) : m_p(other.m_p) { addRef(); }
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    template <class U>
        requires std::is_convertible_v<U*, T*>
    ComPtr(const ComPtr<U>& other) : m_p(other.get()) {
        addRef();
    }
    ~ComPtr() { release(); }

    ComPtr& operator=(const ComPtr& other) { return assign(other.m_p); }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(m_p, std::exchange(other.m_p, nullptr));
            if (old) old->Release();
        }
        return *this;
    }
    ComPtr& operator=(T* p) { return assign(p); }
    // Assigning nothing clears the reference.
    ComPtr& operator=(std::nullptr_t) {
        T* old = std::exchange(m_p, nullptr);
        if (old) old->Release();
        return *this;
    }

    // Takes over a reference the caller already owns.
    void Attach(T* p) {
        T* old = std::exchange(m_p, p);
        if (old) old->Release();
    }
    // Hands the reference to the caller, who must release it.
    [[nodiscard]] T* Detach() { return std::exchange(m_p, nullptr); }

    // For out-parameters: clears the current reference and exposes the slot.
    T** put() {
        *this = nullptr;
        return &m_p;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.m_p == nullptr; }

private:
    ComPtr& assign(T* p) {
        if (p) p->AddRef();
        T* old = std::exchange(m_p, p);
        if (old) old->Release();
        return *this;
    }
    void addRef() {
        if (m_p) m_p->AddRef();
    }
    void release() {
        if (m_p) std::exchange(m_p, nullptr)->Release();
    }

    T* m_p = nullptr;
};

// The source a failure raised by the caller names: the one it gave, else its function.
inline std::string sourceOrCaller(std::string_view source, const CallSite& where) {
    return source.empty() ? sourceOfFunction(where.function_name()) : std::string(source);
}

// Asks p for interface I. An empty p fails as "Object variable not set"; a p without the
// interface fails as "Type mismatch", as an assignment to a typed reference would, with the
// object's own reason added when it gave one.
template <class I, class T>
ComPtr<I> query(T* p, std::string_view source = {},
                CallSite where = CallSite::current()) {
    if (!p) throw Error(errc::objectNotSet, "Object variable or With block variable not set",
                        sourceOrCaller(source, where));
    ComPtr<I> out;
    clearErrorInfo();
    const HRESULT hr = p->QueryInterface(I::iid, out.putVoid());
    if (failed(hr) || !out) {
        const auto reason = failed(hr) ? takeErrorInfo() : std::nullopt;
        throw Error(errc::typeMismatch,
                    reason && !reason->description.empty() ? "Type mismatch: " + reason->description
                                                           : std::string("Type mismatch"),
                    sourceOrCaller(source, where));
    }
    return out;
}
template <class I, class T>
ComPtr<I> query(const ComPtr<T>& p, std::string_view source = {},
                CallSite where = CallSite::current()) {
    return query<I>(p.get(), source, where);
}

// Dereference guard: a member used while empty fails like an unset object variable.
template <class T>
T* require(const ComPtr<T>& p, std::string_view source = {},
           CallSite where = CallSite::current()) {
    if (!p) throw Error(errc::objectNotSet, "Object variable or With block variable not set",
                        sourceOrCaller(source, where));
    return p.get();
}

}  // namespace com
