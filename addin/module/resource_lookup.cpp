// The module's resource lookup over the resources generated from its IDL file.
#include <string_view>

#include "addin/module/module_exports.h"
#include "com/dispatch.h"
#include "resources/identity/embedded_resources.h"
#include "platform/text/ascii.h"

OSTREL_EXPORT com::HRESULT OstrelGetResource(const char* type, int id, const void** data,
                                             std::size_t* size) {
    if (data) *data = nullptr;
    if (size) *size = 0;
    if (!data || !size) return com::E_POINTER;
    if (!type) return com::E_INVALIDARG;
    bool typeFound = false;
    for (const auto& resource : ostrel::identity::embeddedResources()) {
        if (!platform::text::equalsIgnoringAsciiCase(resource.type, std::string_view(type))) continue;
        typeFound = true;
        if (resource.id != id) continue;
        *data = resource.data;
        *size = resource.size;
        return com::S_OK;
    }
    return typeFound ? ostrel::kResourceNotFound : ostrel::kResourceTypeNotFound;
}
