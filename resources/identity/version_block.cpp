// Reading the version block: its numbers, its flags and its key/value texts.
#include "resources/identity/version_block.h"

#include "resources/identity/byte_reader.h"

namespace ostrel::identity {
namespace {
constexpr std::uint32_t kSelfRegisterFlag = 0x1;
}

std::optional<std::string> VersionBlock::text(std::string_view key) const {
    for (const auto& [k, v] : strings) {
        if (k == key) return v;
    }
    return std::nullopt;
}

VersionBlock readVersionBlock(std::span<const std::byte> data) {
    ByteReader in(data, "version block");
    const auto magic = in.bytes(4);
    if (std::string_view(reinterpret_cast<const char*>(magic.data()), 4) != "OVER") {
        in.fail("the signature is not OVER");
    }
    VersionBlock block;
    for (auto& n : block.fileVersion) n = in.u16();
    for (auto& n : block.productVersion) n = in.u16();
    block.selfRegistering = (in.u32() & kSelfRegisterFlag) != 0;
    for (;;) {
        std::string key = in.zeroTerminated();
        if (key.empty()) break;
        std::string value = in.zeroTerminated();
        block.strings.emplace_back(std::move(key), std::move(value));
    }
    if (in.remaining() != 0) in.fail("unexpected bytes after the last entry");
    return block;
}

}  // namespace ostrel::identity
