// The registration records of Connect, built from the identity generated from the IDL.
#include "addin/module/registration.h"

#include <dlfcn.h>

#include "com/error.h"
#include "com/registration/class_registration.h"
#include "resources/identity/identity_table.h"

namespace ostrel {
namespace {

namespace id = identity;
namespace reg = com::registration;

constexpr const char* kSource = "OstrelPlugin";

std::string typeLibVersion() {
    return reg::typeLibVersionName(id::kTypeLibMajor, id::kTypeLibMinor);
}

}  // namespace

void writeRegistration(platform::registry::RegistryTree& tree, const std::filesystem::path& module) {
    const std::string clsid = id::CLSID_Connect.toString();
    const std::string libid = id::LIBID_OstrelPlugin.toString();
    const std::string progId(id::kProgId);
    const std::string classKey = reg::classKey(id::CLSID_Connect);

    tree.setValue(classKey, "", progId);
    tree.setValue(reg::inprocServerKey(id::CLSID_Connect), "", module.string());
    tree.setValue(reg::inprocServerKey(id::CLSID_Connect), reg::kThreadingModelValue,
                  std::string(id::kThreadingModel));
    tree.setValue(classKey + "\\ProgID", "", progId);
    tree.setValue(classKey + "\\TypeLib", "", libid);
    tree.setValue(classKey + "\\VERSION", "", typeLibVersion());

    tree.setValue(reg::progIdKey(progId), "", progId);
    tree.setValue(reg::progIdKey(progId) + "\\" + std::string(reg::kClsidKey), "", clsid);

    const std::string versionKey =
        reg::typeLibVersionKey(id::LIBID_OstrelPlugin, id::kTypeLibMajor, id::kTypeLibMinor);
    tree.setValue(versionKey, "", std::string(id::kTypeLibHelpString));
    // The type library is a resource of the module, so the module is the library's file.
    tree.setValue(reg::typeLibFileKey(id::LIBID_OstrelPlugin, id::kTypeLibMajor, id::kTypeLibMinor,
                                      id::kTypeLibLocale),
                  "", module.string());
    tree.setValue(versionKey + "\\FLAGS", "", std::string("0"));
    tree.setValue(versionKey + "\\HELPDIR", "", module.parent_path().string());

    const std::string interfaceKey = reg::interfaceKey(id::IID__Connect);
    tree.setValue(interfaceKey, "", std::string(id::kDefaultInterfaceName));
    tree.setValue(interfaceKey + "\\TypeLib", "", libid);
    tree.setValue(interfaceKey + "\\TypeLib", "Version", typeLibVersion());

    const std::string addInKey = reg::addInKey(id::kAddInHostKey, progId);
    tree.setValue(addInKey, reg::kFriendlyNameValue, std::string(id::kAddInFriendlyName));
    tree.setValue(addInKey, reg::kDescriptionValue, std::string(id::kAddInDescription));
    tree.setValue(addInKey, reg::kLoadBehaviorValue, id::kAddInLoadBehavior);
}

void removeRegistration(platform::registry::RegistryTree& tree) {
    tree.deleteTree(reg::addInKey(id::kAddInHostKey, id::kProgId));
    tree.deleteTree(reg::classKey(id::CLSID_Connect));
    tree.deleteTree(reg::progIdKey(id::kProgId));
    tree.deleteTree(reg::interfaceKey(id::IID__Connect));
    tree.deleteTree(
        reg::typeLibVersionKey(id::LIBID_OstrelPlugin, id::kTypeLibMajor, id::kTypeLibMinor));
    const std::string libKey = reg::typeLibKey(id::LIBID_OstrelPlugin);
    const auto* lib = tree.key(libKey);
    if (lib && lib->subkeys().empty() && lib->values().empty()) tree.deleteTree(libKey);
}

std::filesystem::path thisModulePath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<const void*>(&thisModulePath), &info) || !info.dli_fname ||
        !*info.dli_fname) {
        throw com::Error(com::SELFREG_E_CLASS, "The module cannot find its own file", kSource);
    }
    std::error_code error;
    auto path = std::filesystem::absolute(info.dli_fname, error);
    if (error) {
        throw com::Error(com::SELFREG_E_CLASS,
                         std::string("The module cannot find its own file: ") + error.message(),
                         kSource);
    }
    path = path.lexically_normal();
    // A module opened by a relative name from another folder would record a wrong server.
    if (!std::filesystem::is_regular_file(path, error)) {
        throw com::Error(com::SELFREG_E_CLASS,
                         "The module cannot find its own file at " + path.string(), kSource);
    }
    return path;
}

}  // namespace ostrel
