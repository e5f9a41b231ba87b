// An event-bound reference: holding a source subscribes a sink to its events; assigning
// another source or nothing moves or ends the subscription.
#pragma once

#include <cstdint>

#include "com/com_ptr.h"
#include "com/error.h"

namespace com {

// Source must offer Advise(Sink*, uint32_t* cookie) and Unadvise(uint32_t cookie).
template <class Source, class Sink>
class EventBinding {
public:
    explicit EventBinding(Sink* sink) : m_sink(sink) {}
    EventBinding(const EventBinding&) = delete;
    EventBinding& operator=(const EventBinding&) = delete;
    ~EventBinding() { unbindQuietly(); }

    // Subscribes to source (after ending any earlier subscription); nothing just ends it.
    void assign(Source* source) {
        unbindQuietly();
        if (!source) return;
        std::uint32_t cookie = 0;
        check(source->Advise(m_sink, &cookie), "Advise");
        m_source = source;
        m_cookie = cookie;
    }

    Source* get() const { return m_source.get(); }
    const ComPtr<Source>& pointer() const { return m_source; }
    explicit operator bool() const { return static_cast<bool>(m_source); }

private:
    void unbindQuietly() {
        if (!m_source) return;
        // A source that refuses to let go cannot be helped here; the reference goes anyway.
        (void)m_source->Unadvise(m_cookie);
        clearErrorInfo();
        m_source = nullptr;
        m_cookie = 0;
    }

    Sink* m_sink;
    ComPtr<Source> m_source;
    std::uint32_t m_cookie = 0;
};

}  // namespace com
