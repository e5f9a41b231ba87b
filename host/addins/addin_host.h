// What the Add-ins dialog needs of the editor that has the add-ins loaded.
#pragma once

#include <QString>

#include "com/guid.h"

namespace host {

class AddInHost {
public:
    virtual ~AddInHost() = default;
    virtual bool isConnected(const com::Guid& classId) const = 0;
    // Why the add-in's last load in this run failed, or how a previous run ended in it;
    // empty when nothing went wrong.
    virtual QString lastFailure(const com::Guid& classId) const = 0;
    // Loads and connects the add-in now. A failure is shown to the author and remembered.
    virtual bool connectAddIn(const QString& module, const com::Guid& classId,
                              const QString& progId) = 0;
    // Disconnects the add-in now and unloads its module.
    virtual void disconnectAddIn(const com::Guid& classId) = 0;
};

}  // namespace host
