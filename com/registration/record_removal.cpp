// Finding and deleting what a class's self-registration recorded.
#include "com/registration/record_removal.h"

#include "platform/text/ascii.h"
#include "com/error.h"
#include "platform/text/text_format.h"
#include "com/registration/class_registration.h"

namespace com::registration {
namespace {

using platform::text::equalsIgnoringAsciiCase;

// Where the host add-in lists of this platform's office applications live.
constexpr std::string_view kOfficeKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Office";

class Deleter {
public:
    explicit Deleter(platform::registry::RegistryTree& tree) : m_tree(tree) {}
    void remove(const std::string& key) {
        if (m_tree.deleteTree(key)) m_deleted.push_back(key);
    }
    std::vector<std::string> deleted() && { return std::move(m_deleted); }

private:
    platform::registry::RegistryTree& m_tree;
    std::vector<std::string> m_deleted;
};

bool sameText(const std::optional<std::string>& value, std::string_view wanted) {
    return value && !wanted.empty() && equalsIgnoringAsciiCase(*value, wanted);
}

// Program ids that name the class: its own ProgID record and every program id key whose
// Clsid is the class.
std::vector<std::string> progIdsOf(const platform::registry::RegistryTree& tree, const std::string& clsid) {
    std::vector<std::string> found;
    for (const std::string& name : tree.subkeys(kClassesRoot)) {
        if (equalsIgnoringAsciiCase(name, "CLSID") || equalsIgnoringAsciiCase(name, "Interface") ||
            equalsIgnoringAsciiCase(name, "TypeLib")) {
            continue;
        }
        if (sameText(tree.text(progIdKey(name) + "\\" + std::string(kClsidKey), ""), clsid))
            found.push_back(name);
    }
    return found;
}

void removeTypeLibrary(const platform::registry::RegistryTree& before, platform::registry::RegistryTree& tree,
                       Deleter& deleter, const std::string& libid, const std::string& module) {
    const auto id = com::Guid::parse(libid);
    if (!id || module.empty()) return;
    const std::string libKey = typeLibKey(*id);
    for (const std::string& version : before.subkeys(libKey)) {
        const std::string versionKey = libKey + "\\" + version;
        bool namesModule = false;
        for (const std::string& locale : before.subkeys(versionKey)) {
            for (const std::string& platform : before.subkeys(versionKey + "\\" + locale)) {
                namesModule |=
                    before.text(versionKey + "\\" + locale + "\\" + platform, "") == module;
            }
        }
        if (namesModule) deleter.remove(versionKey);
    }
    const auto* lib = tree.key(libKey);
    if (lib && lib->subkeys().empty() && lib->values().empty()) deleter.remove(libKey);
    if (tree.hasKey(libKey)) return;
    const std::string interfaces = std::string(kClassesRoot) + "\\Interface";
    for (const std::string& iid : before.subkeys(interfaces)) {
        if (sameText(before.text(interfaces + "\\" + iid + "\\TypeLib", ""), libid))
            deleter.remove(interfaces + "\\" + iid);
    }
}

void removeClass(platform::registry::RegistryTree& tree, Deleter& deleter, const com::Guid& clsid) {
    const platform::registry::RegistryTree before = tree;
    const std::string id = clsid.toString();
    const std::string key = classKey(clsid);
    // Only program ids whose Clsid is this class: the class's own ProgID value may name a
    // program id that now belongs to another class (a stale class of an older version), and
    // that add-in's entry must stay.
    const std::vector<std::string> progIds = progIdsOf(before, id);
    for (const std::string& host : before.subkeys(kOfficeKey)) {
        const std::string hostKey = std::string(kOfficeKey) + "\\" + host;
        for (const std::string& progId : progIds) deleter.remove(addInKey(hostKey, progId));
    }
    for (const std::string& progId : progIds) deleter.remove(progIdKey(progId));
    removeTypeLibrary(before, tree, deleter, before.text(key + "\\TypeLib", "").value_or(""),
                      before.text(inprocServerKey(clsid), "").value_or(""));
    deleter.remove(key);
}

}  // namespace

std::vector<std::string> removeRecords(platform::registry::RegistryTree& tree, std::string_view target) {
    Deleter deleter(tree);
    if (const auto clsid = com::Guid::parse(target)) {
        removeClass(tree, deleter, *clsid);
        return std::move(deleter).deleted();
    }
    const std::string classes = std::string(kClassesRoot) + "\\CLSID";
    for (const std::string& name : tree.subkeys(classes)) {
        const auto clsid = com::Guid::parse(name);
        if (clsid && tree.text(inprocServerKey(*clsid), "") == target)
            removeClass(tree, deleter, *clsid);
    }
    return std::move(deleter).deleted();
}

std::vector<std::string> removeAddInRecords(platform::registry::RegistryTree& tree, std::string_view hostKey,
                                            std::string_view progId) {
    std::vector<std::string> deleted;
    const auto clsidText = tree.text(progIdKey(progId) + "\\" + std::string(kClsidKey), "");
    if (const auto clsid = clsidText ? com::Guid::parse(*clsidText) : std::nullopt) {
        deleted = removeRecords(tree, clsid->toString());
    } else if (tree.deleteTree(progIdKey(progId))) {
        // A program id key that names no class goes with its entry.
        deleted.push_back(progIdKey(progId));
    }
    if (tree.deleteTree(addInKey(hostKey, progId))) deleted.push_back(addInKey(hostKey, progId));
    return deleted;
}

}  // namespace com::registration
