// Reading the compact binary type library, checking its signature, size and checksum.
#include "resources/identity/type_library.h"

#include <array>

#include "resources/identity/byte_reader.h"

namespace ostrel::identity {
namespace {

constexpr std::uint16_t kFormatMajor = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::uint16_t kNoImport = 0xFFFF;

std::uint32_t crc32(std::span<const std::byte> data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::byte b : data) c = table[(c ^ std::to_integer<std::uint32_t>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

TypeVersion readVersion(ByteReader& in) {
    TypeVersion v;
    v.major = in.u16();
    v.minor = in.u16();
    return v;
}

void readDispatch(ByteReader& in, TypeInfo& type) {
    type.base = in.text();
    const std::size_t members = in.u16();
    for (std::size_t i = 0; i < members; ++i) {
        Member m;
        m.id = in.i32();
        m.invokeKind = in.u16();
        m.name = in.text();
        m.resultType = in.text();
        const std::size_t params = in.u16();
        for (std::size_t k = 0; k < params; ++k) {
            Parameter p;
            p.flags = in.u16();
            p.type = in.text();
            p.name = in.text();
            m.parameters.push_back(std::move(p));
        }
        type.members.push_back(std::move(m));
    }
}

void readCoClass(ByteReader& in, TypeInfo& type) {
    const std::size_t count = in.u16();
    for (std::size_t i = 0; i < count; ++i) {
        ImplementedInterface itf;
        itf.name = in.text();
        itf.flags = in.u32();
        type.interfaces.push_back(std::move(itf));
    }
}

TypeInfo readType(ByteReader& in, std::size_t importCount) {
    TypeInfo type;
    const auto kind = in.u8();
    if (kind != static_cast<std::uint8_t>(TypeKind::Dispatch) &&
        kind != static_cast<std::uint8_t>(TypeKind::CoClass) &&
        kind != static_cast<std::uint8_t>(TypeKind::Imported)) {
        in.fail("unknown type kind " + std::to_string(kind));
    }
    type.kind = static_cast<TypeKind>(kind);
    type.name = in.text();
    type.id = in.guid();
    type.version = readVersion(in);
    type.flags = in.u32();
    const std::uint16_t import = in.u16();
    if (type.kind == TypeKind::Imported) {
        if (import >= importCount) in.fail("a type refers to a library that is not imported");
        type.importIndex = import;
    } else if (import != kNoImport) {
        in.fail("a type defined here names an imported library");
    }
    if (type.kind == TypeKind::Dispatch) readDispatch(in, type);
    if (type.kind == TypeKind::CoClass) readCoClass(in, type);
    return type;
}

}  // namespace

const TypeInfo* TypeLibrary::find(std::string_view typeName) const {
    for (const auto& t : types) {
        if (t.name == typeName) return &t;
    }
    return nullptr;
}

TypeLibrary readTypeLibrary(std::span<const std::byte> data) {
    ByteReader header(data, "type library");
    const auto magic = header.bytes(4);
    if (std::string_view(reinterpret_cast<const char*>(magic.data()), 4) != "OTLB") {
        header.fail("the signature is not OTLB");
    }
    if (header.u16() != kFormatMajor) header.fail("the format version is not supported");
    header.u16();  // minor: additions a reader of this version may skip
    const std::uint32_t size = header.u32();
    if (size != data.size() || size < kHeaderSize) header.fail("the recorded size is wrong");
    const std::uint32_t checksum = header.u32();
    const auto body = data.subspan(kHeaderSize);
    if (crc32(body) != checksum) header.fail("the checksum does not match");

    ByteReader in(data, "type library");
    in.bytes(kHeaderSize);
    TypeLibrary lib;
    lib.id = in.guid();
    lib.version = readVersion(in);
    lib.locale = in.u32();
    lib.flags = in.u16();
    lib.name = in.text();
    lib.helpString = in.text();
    lib.helpFile = in.text();
    const std::size_t imports = in.u16();
    for (std::size_t i = 0; i < imports; ++i) {
        ImportedLibrary imp;
        imp.id = in.guid();
        imp.version = readVersion(in);
        imp.name = in.text();
        imp.file = in.text();
        lib.imports.push_back(std::move(imp));
    }
    const std::size_t types = in.u16();
    for (std::size_t i = 0; i < types; ++i) lib.types.push_back(readType(in, imports));
    if (in.remaining() != 0) in.fail("unexpected bytes after the last type");
    return lib;
}

}  // namespace ostrel::identity
