// Reads little-endian numbers, ids and length-prefixed texts from embedded bytes, failing
// with the offset when the data ends early.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "com/guid.h"

namespace ostrel::identity {

class ByteReader {
public:
    // what names the data in failures ("type library", "version block").
    ByteReader(std::span<const std::byte> data, std::string_view what)
        : m_data(data), m_what(what) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    com::Guid guid();
    // A u16 byte length followed by that many bytes of UTF-8.
    std::string text();
    // Text up to the next zero byte, which is consumed.
    std::string zeroTerminated();
    std::span<const std::byte> bytes(std::size_t count);

    std::size_t offset() const { return m_offset; }
    std::size_t remaining() const { return m_data.size() - m_offset; }

    // Throws com::Error saying what is wrong at the current offset.
    [[noreturn]] void fail(std::string_view problem) const;

private:
    std::span<const std::byte> m_data;
    std::string_view m_what;
    std::size_t m_offset = 0;
};

// The failure number of damaged identity data: the platform's "error reading the type
// library" status.
inline constexpr std::int32_t kDamagedDataError = static_cast<std::int32_t>(0x80028018u);

}  // namespace ostrel::identity
