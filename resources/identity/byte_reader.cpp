// Bounds-checked reading of the embedded identity data.
#include "resources/identity/byte_reader.h"

#include <array>
#include <cstring>

#include "com/error.h"

namespace ostrel::identity {

std::span<const std::byte> ByteReader::bytes(std::size_t count) {
    if (count > remaining()) fail("the data ends early");
    auto out = m_data.subspan(m_offset, count);
    m_offset += count;
    return out;
}

std::uint8_t ByteReader::u8() {
    return std::to_integer<std::uint8_t>(bytes(1)[0]);
}

std::uint16_t ByteReader::u16() {
    const auto b = bytes(2);
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(b[0]) |
                                      std::to_integer<unsigned>(b[1]) << 8);
}

std::uint32_t ByteReader::u32() {
    const auto b = bytes(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | std::to_integer<std::uint32_t>(b[i]);
    return v;
}

com::Guid ByteReader::guid() {
    std::array<std::uint8_t, 16> raw{};
    std::memcpy(raw.data(), bytes(16).data(), raw.size());
    return com::Guid::fromBytes(raw);
}

std::string ByteReader::text() {
    const std::size_t length = u16();
    const auto b = bytes(length);
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

std::string ByteReader::zeroTerminated() {
    const auto rest = m_data.subspan(m_offset);
    const void* end = std::memchr(rest.data(), 0, rest.size());
    if (!end) fail("a text has no end");
    const auto length = static_cast<std::size_t>(static_cast<const std::byte*>(end) - rest.data());
    const auto b = bytes(length + 1);
    return std::string(reinterpret_cast<const char*>(b.data()), length);
}

void ByteReader::fail(std::string_view problem) const {
    throw com::Error(kDamagedDataError,
                     "The " + std::string(m_what) + " is damaged: " + std::string(problem) +
                         " at byte " + std::to_string(m_offset),
                     "OstrelPlugin");
}

}  // namespace ostrel::identity
