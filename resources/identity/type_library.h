// The component's type library as read back from its compact binary form (README.md).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "com/guid.h"

namespace ostrel::identity {

// Values of the original platform's type information, so that readers know them.
namespace typeflags {
constexpr std::uint32_t canCreate = 0x2;
constexpr std::uint32_t hidden = 0x10;
constexpr std::uint32_t dual = 0x40;
constexpr std::uint32_t nonExtensible = 0x80;
constexpr std::uint32_t oleAutomation = 0x100;
constexpr std::uint32_t dispatchable = 0x1000;
}  // namespace typeflags
namespace paramflags {
constexpr std::uint16_t in = 0x1;
constexpr std::uint16_t out = 0x2;
constexpr std::uint16_t retval = 0x8;
}  // namespace paramflags
constexpr std::uint32_t kImplTypeDefault = 0x1;

enum class TypeKind : std::uint8_t {
    Dispatch = 4,
    CoClass = 5,
    Imported = 0x80,  // a type of an imported library, known here by name
};

struct TypeVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    friend bool operator==(const TypeVersion&, const TypeVersion&) = default;
};

struct ImportedLibrary {
    com::Guid id;
    TypeVersion version;
    std::string name;
    std::string file;
};

struct Parameter {
    std::uint16_t flags = 0;
    std::string type;
    std::string name;
};

struct Member {
    std::int32_t id = 0;
    std::uint16_t invokeKind = 0;  // the values of com::InvokeKind
    std::string name;
    std::string resultType;
    std::vector<Parameter> parameters;
};

struct ImplementedInterface {
    std::string name;
    std::uint32_t flags = 0;
};

struct TypeInfo {
    TypeKind kind = TypeKind::Dispatch;
    std::string name;
    com::Guid id;  // all zero for an imported type whose id the library does not record
    TypeVersion version;
    std::uint32_t flags = 0;
    std::optional<std::size_t> importIndex;        // Imported: which of the imports
    std::string base;                              // Dispatch
    std::vector<Member> members;                   // Dispatch
    std::vector<ImplementedInterface> interfaces;  // CoClass
};

struct TypeLibrary {
    com::Guid id;
    TypeVersion version;
    std::uint32_t locale = 0;
    std::uint16_t flags = 0;
    std::string name;
    std::string helpString;
    std::string helpFile;
    std::vector<ImportedLibrary> imports;
    std::vector<TypeInfo> types;

    const TypeInfo* find(std::string_view typeName) const;
};

// Reads a whole type library. Throws com::Error naming what is damaged and where.
TypeLibrary readTypeLibrary(std::span<const std::byte> data);

}  // namespace ostrel::identity
