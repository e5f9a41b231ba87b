// The per-user registry in memory: keys spelled as on the original platform
// ("HKEY_CURRENT_USER\Software\..."), each holding typed values and subkeys.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

namespace platform::registry {

// A value's data: text, or a 32-bit number.
using RegistryData = std::variant<std::string, std::uint32_t>;

struct RegistryValue {
    std::string name;  // "" names the key's default value
    RegistryData data;
};

// Positions of names in a list, found without regard to the case of A-Z. A registry read
// at start holds tens of thousands of sibling keys; searching the list for each one would
// make reading it quadratic.
class NameIndex {
public:
    std::optional<std::size_t> find(std::string_view name) const;
    void add(std::string_view name, std::size_t position) { m_positions.emplace(name, position); }
    // After an erase: every later position has moved.
    template <class List, class NameOf>
    void rebuild(const List& list, NameOf nameOf) {
        m_positions.clear();
        for (std::size_t i = 0; i < list.size(); ++i) m_positions.emplace(nameOf(list[i]), i);
    }

private:
    struct FoldedHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::unordered_map<std::string, std::size_t, FoldedHash, FoldedEqual> m_positions;
};

// One key. Names of keys and values compare without regard to the case of A-Z and keep the
// spelling they were created with; keys and values stay in the order they were added.
class RegistryKey {
public:
    const std::string& name() const { return m_name; }
    const std::vector<RegistryValue>& values() const { return m_values; }
    const std::vector<RegistryKey>& subkeys() const { return m_subkeys; }
    const RegistryValue* findValue(std::string_view name) const;
    const RegistryKey* findSubkey(std::string_view name) const;

private:
    friend class RegistryTree;
    RegistryKey* findSubkey(std::string_view name);

    std::string m_name;
    std::vector<RegistryValue> m_values;
    std::vector<RegistryKey> m_subkeys;
    NameIndex m_valueIndex;
    NameIndex m_subkeyIndex;
};

// A whole registry. Paths are key names joined by backslashes; the first name is the hive,
// e.g. "HKEY_CURRENT_USER". Reading a key that does not exist is not an error; changing one
// through an ill-formed path (an empty name, a control character) throws platform::Error.
class RegistryTree {
public:
    // The key at path, or nullptr; "" is the unnamed root whose subkeys are the hives.
    const RegistryKey* key(std::string_view path) const;
    bool hasKey(std::string_view path) const { return key(path) != nullptr; }
    std::optional<RegistryData> value(std::string_view path, std::string_view name) const;
    // The value when it exists and has that type.
    std::optional<std::string> text(std::string_view path, std::string_view name) const;
    std::optional<std::uint32_t> number(std::string_view path, std::string_view name) const;
    // Names of the key's subkeys; none when the key does not exist.
    std::vector<std::string> subkeys(std::string_view path) const;
    bool empty() const { return m_root.m_subkeys.empty(); }
    const RegistryKey& root() const { return m_root; }

    // Creates the key and its missing parents.
    void createKey(std::string_view path);
    // Creates the key as needed and sets the value, replacing one of the same name.
    void setValue(std::string_view path, std::string_view name, RegistryData data);
    // False when there was nothing to delete.
    bool deleteValue(std::string_view path, std::string_view name);
    // Deletes the key with all its subkeys and values; false when it did not exist.
    bool deleteTree(std::string_view path);

private:
    RegistryKey& createKeyAt(std::string_view path);
    RegistryKey* mutableKey(std::string_view path);

    RegistryKey m_root;
};

// How deep keys may nest, the hive counting as the first level. The original platform's
// registry stops at 512 levels, so no registration ever written for it goes deeper; the
// deepest key this system writes is 7 levels down. The bound keeps every walk over a tree
// (writing it, comparing snapshots, copying, destroying) from recursing without end on a
// file that nests keys 100,000 deep.
inline constexpr std::size_t kMaxKeyDepth = 512;

// Why path cannot name a key, or "" when it can.
std::string keyPathProblem(std::string_view path);

}  // namespace platform::registry
