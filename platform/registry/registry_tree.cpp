// The per-user registry in memory.
#include "platform/registry/registry_tree.h"

#include <algorithm>
#include <utility>

#include "platform/text/utf8.h"
#include "platform/text/ascii.h"
#include "platform/failure/failure.h"
#include "platform/text/text_format.h"

namespace platform::registry {
namespace {

using platform::text::equalsIgnoringAsciiCase;

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> names;
    if (path.empty()) return names;
    for (;;) {
        const std::size_t slash = path.find('\\');
        names.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return names;
}

void requireKeyPath(std::string_view path) {
    if (path.empty()) {
        throw platform::Error(platform::errc::invalidProcedureCall, "A registry key path must not be empty",
                         "Registry");
    }
    if (const std::string problem = keyPathProblem(path); !problem.empty()) {
        throw platform::Error(platform::errc::invalidProcedureCall,
                         "Invalid registry key \"" + std::string(path) + "\": " + problem,
                         "Registry");
    }
}

}  // namespace

std::string keyPathProblem(std::string_view path) {
    const std::size_t depth =
        static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\')) + 1;
    if (depth > kMaxKeyDepth) {
        return "the key is nested " + std::to_string(depth) + " levels deep; keys nest at most " +
               std::to_string(kMaxKeyDepth) + " levels";
    }
    for (std::string_view name : splitPath(path)) {
        if (name.empty()) return "a key name is empty (doubled, leading or trailing backslash)";
        const bool control = std::any_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
        if (control) return "a key name holds a control character";
        if (!platform::text::isValidUtf8(name)) return "a key name is not UTF-8 text";
    }
    return {};
}

std::size_t NameIndex::FoldedHash::operator()(std::string_view name) const {
    std::size_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool NameIndex::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    return equalsIgnoringAsciiCase(a, b);
}

std::optional<std::size_t> NameIndex::find(std::string_view name) const {
    const auto it = m_positions.find(name);
    if (it == m_positions.end()) return std::nullopt;
    return it->second;
}

const RegistryValue* RegistryKey::findValue(std::string_view name) const {
    const auto at = m_valueIndex.find(name);
    return at ? &m_values[*at] : nullptr;
}

const RegistryKey* RegistryKey::findSubkey(std::string_view name) const {
    const auto at = m_subkeyIndex.find(name);
    return at ? &m_subkeys[*at] : nullptr;
}

RegistryKey* RegistryKey::findSubkey(std::string_view name) {
    return const_cast<RegistryKey*>(std::as_const(*this).findSubkey(name));
}

const RegistryKey* RegistryTree::key(std::string_view path) const {
    const RegistryKey* current = &m_root;
    for (std::string_view name : splitPath(path)) {
        current = current->findSubkey(name);
        if (!current) return nullptr;
    }
    return current;
}

std::optional<RegistryData> RegistryTree::value(std::string_view path,
                                                std::string_view name) const {
    const RegistryKey* k = key(path);
    if (!k || k == &m_root) return std::nullopt;
    const RegistryValue* v = k->findValue(name);
    if (!v) return std::nullopt;
    return v->data;
}

std::optional<std::string> RegistryTree::text(std::string_view path, std::string_view name) const {
    auto data = value(path, name);
    if (!data || !std::holds_alternative<std::string>(*data)) return std::nullopt;
    return std::get<std::string>(std::move(*data));
}

std::optional<std::uint32_t> RegistryTree::number(std::string_view path,
                                                  std::string_view name) const {
    const auto data = value(path, name);
    if (!data || !std::holds_alternative<std::uint32_t>(*data)) return std::nullopt;
    return std::get<std::uint32_t>(*data);
}

std::vector<std::string> RegistryTree::subkeys(std::string_view path) const {
    std::vector<std::string> names;
    if (const RegistryKey* k = key(path)) {
        for (const RegistryKey& sub : k->subkeys()) names.push_back(sub.name());
    }
    return names;
}

RegistryKey* RegistryTree::mutableKey(std::string_view path) {
    return const_cast<RegistryKey*>(std::as_const(*this).key(path));
}

RegistryKey& RegistryTree::createKeyAt(std::string_view path) {
    requireKeyPath(path);
    RegistryKey* current = &m_root;
    for (std::string_view name : splitPath(path)) {
        RegistryKey* next = current->findSubkey(name);
        if (!next) {
            RegistryKey fresh;
            fresh.m_name = std::string(name);
            current->m_subkeyIndex.add(name, current->m_subkeys.size());
            current->m_subkeys.push_back(std::move(fresh));
            next = &current->m_subkeys.back();
        }
        current = next;
    }
    return *current;
}

void RegistryTree::createKey(std::string_view path) {
    createKeyAt(path);
}

void RegistryTree::setValue(std::string_view path, std::string_view name, RegistryData data) {
    RegistryKey& k = createKeyAt(path);
    if (const auto at = k.m_valueIndex.find(name)) {
        k.m_values[*at].data = std::move(data);
        return;
    }
    k.m_valueIndex.add(name, k.m_values.size());
    k.m_values.push_back({std::string(name), std::move(data)});
}

bool RegistryTree::deleteValue(std::string_view path, std::string_view name) {
    RegistryKey* k = mutableKey(path);
    if (!k || k == &m_root) return false;
    const auto at = k->m_valueIndex.find(name);
    if (!at) return false;
    k->m_values.erase(k->m_values.begin() + static_cast<std::ptrdiff_t>(*at));
    k->m_valueIndex.rebuild(k->m_values, [](const RegistryValue& v) { return v.name; });
    return true;
}

bool RegistryTree::deleteTree(std::string_view path) {
    requireKeyPath(path);
    const std::size_t slash = path.rfind('\\');
    const std::string_view parentPath =
        slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    RegistryKey* parent = mutableKey(parentPath);
    if (!parent) return false;
    const auto at = parent->m_subkeyIndex.find(name);
    if (!at) return false;
    parent->m_subkeys.erase(parent->m_subkeys.begin() + static_cast<std::ptrdiff_t>(*at));
    parent->m_subkeyIndex.rebuild(parent->m_subkeys, [](const RegistryKey& k) { return k.m_name; });
    return true;
}

}  // namespace platform::registry
