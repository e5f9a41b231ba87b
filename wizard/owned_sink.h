// An event sink that calls into its owner without keeping it alive.
#pragma once

#include "com/error.h"
#include "com/object.h"
#include "wizard/module_objects.h"

namespace ostrel {

// Holds no reference to its owner, so the source's subscription cannot keep the owner
// alive; the owner detaches the sink when it goes, and events after that do nothing. It
// counts as one of the module's objects for as long as the source holds it.
template <class Events, class Owner>
class OwnedSink : public com::Object<Events> {
public:
    explicit OwnedSink(Owner* owner) : m_owner(owner) {}
    void detach() { m_owner = nullptr; }

protected:
    // Runs call(owner) while attached; a failure becomes a status naming the event.
    template <class Call>
    com::HRESULT toOwner(Call&& call, com::CallSite where = com::CallSite::current()) {
        return com::guarded(
            [&] {
                if (m_owner) call(*m_owner);
            },
            where);
    }

private:
    Owner* m_owner;
    ModuleObject m_moduleObject;
};

}  // namespace ostrel
