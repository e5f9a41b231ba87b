// The one reference-count and QueryInterface helper that every counted class derives from.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

#include "com/com_ptr.h"
#include "com/error.h"
#include "com/unknown.h"

namespace com {

// Object<I1, I2, ...> implements IUnknown for a class that offers the interfaces I1, I2, ...
// (and every interface they extend). The class is created with make<>() and goes with its
// last Release. Each live instance is counted for liveObjectCount().
template <class First, class... Rest>
class Object : public First, public Rest... {
public:
    Object() { detail::objectCreated(); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    HRESULT QueryInterface(const Guid& id, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        void* found = findInterface(id);
        if (!found) return E_NOINTERFACE;
        AddRef();
        *out = found;
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override {
        const std::uint32_t left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~Object() { detail::objectDestroyed(); }

    // A class that offers interfaces beyond its bases answers them here.
    virtual void* findExtraInterface(const Guid&) { return nullptr; }

private:
    void* findInterface(const Guid& id) {
        if (id == IUnknown::iid) return static_cast<IUnknown*>(static_cast<First*>(this));
        if (interfaceMatches<First>(id)) return static_cast<First*>(this);
        void* found = nullptr;
        ((found = found ? found : (interfaceMatches<Rest>(id) ? static_cast<Rest*>(this) : nullptr)),
         ...);
        return found ? found : findExtraInterface(id);
    }

    std::atomic<std::uint32_t> m_refs{0};
};

// Creates a counted object and returns the first reference to it.
template <class T, class... Args>
ComPtr<T> make(Args&&... args) {
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace com
