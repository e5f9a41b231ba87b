// 128-bit identifiers of classes, interfaces and type libraries, in registry form.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace com {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    // Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits in either case).
    static constexpr std::optional<Guid> parse(std::string_view text);
    // Like parse, for identifiers written in the source; a malformed one stops the build.
    static consteval Guid literal(std::string_view text);

    // Registry form, upper-case hex.
    std::string toString() const;
    // The 16 bytes as laid out in memory on the original platform: the first three
    // fields little-endian, the last eight in order.
    std::array<std::uint8_t, 16> toBytes() const;
    static Guid fromBytes(const std::array<std::uint8_t, 16>& bytes);

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
    friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
};

namespace detail {
constexpr int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace detail

constexpr std::optional<Guid> Guid::parse(std::string_view text) {
    constexpr std::string_view shape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    if (text.size() != shape.size()) return std::nullopt;
    std::array<std::uint8_t, 16> nibbles{};  // pairs of hex digits, in text order
    std::size_t digit = 0;
    std::uint8_t high = 0;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] != 'X') {
            if (text[i] != shape[i]) return std::nullopt;
            continue;
        }
        const int v = detail::hexValue(text[i]);
        if (v < 0) return std::nullopt;
        if (digit % 2 == 0) {
            high = static_cast<std::uint8_t>(v);
        } else {
            nibbles[digit / 2] = static_cast<std::uint8_t>(high << 4 | v);
        }
        ++digit;
    }
    Guid g;
    g.data1 = std::uint32_t(nibbles[0]) << 24 | std::uint32_t(nibbles[1]) << 16 |
              std::uint32_t(nibbles[2]) << 8 | nibbles[3];
    g.data2 = static_cast<std::uint16_t>(nibbles[4] << 8 | nibbles[5]);
    g.data3 = static_cast<std::uint16_t>(nibbles[6] << 8 | nibbles[7]);
    for (std::size_t i = 0; i < 8; ++i) g.data4[i] = nibbles[8 + i];
    return g;
}

consteval Guid Guid::literal(std::string_view text) {
    const auto g = parse(text);
    if (!g) throw "malformed identifier";  // not a constant expression: fails the build
    return *g;
}

}  // namespace com
