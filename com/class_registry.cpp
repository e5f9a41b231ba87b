// The process's table of creatable classes by program id.
#include <map>
#include <mutex>

#include "com/class_factory.h"
#include "com/error.h"

namespace com {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, ClassCreator, std::less<>> creators;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void registerClass(std::string progId, ClassCreator creator) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.creators[std::move(progId)] = std::move(creator);
}

void revokeClass(std::string_view progId) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (auto it = r.creators.find(progId); it != r.creators.end()) r.creators.erase(it);
}

ComPtr<IUnknown> createObject(std::string_view progId) {
    ClassCreator creator;
    {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        auto it = r.creators.find(progId);
        if (it != r.creators.end()) creator = it->second;
    }
    if (!creator) {
        throw Error(errc::cannotCreateObject,
                    "ActiveX component can't create object: no class is registered as '" +
                        std::string(progId) + "'",
                    std::string(progId));
    }
    auto object = creator();
    if (!object) {
        throw Error(errc::cannotCreateObject,
                    "ActiveX component can't create object '" + std::string(progId) + "'",
                    std::string(progId));
    }
    return object;
}

}  // namespace com
