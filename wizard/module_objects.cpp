// The module's live-object counter.
#include "wizard/module_objects.h"

#include <atomic>

namespace ostrel {
namespace {
std::atomic<long> g_objects{0};
}

ModuleObject::ModuleObject() { ++g_objects; }
ModuleObject::ModuleObject(const ModuleObject&) { ++g_objects; }
ModuleObject::~ModuleObject() { --g_objects; }

long moduleObjectCount() { return g_objects.load(); }

}  // namespace ostrel
