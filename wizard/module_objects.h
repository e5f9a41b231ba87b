// Counts the add-in module's own live objects, so the module knows when it may be unloaded.
#pragma once

namespace ostrel {

// A member of every counted class of the module: alive exactly as long as its owner.
class ModuleObject {
public:
    ModuleObject();
    ModuleObject(const ModuleObject&);
    ModuleObject& operator=(const ModuleObject&) = default;
    ~ModuleObject();
};

long moduleObjectCount();

}  // namespace ostrel
