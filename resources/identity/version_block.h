// The module's version block as read back from its binary form (README.md).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ostrel::identity {

struct VersionBlock {
    std::array<std::uint16_t, 4> fileVersion{};
    std::array<std::uint16_t, 4> productVersion{};
    bool selfRegistering = false;  // the flag; the "OLESelfRegister" entry says the same
    std::vector<std::pair<std::string, std::string>> strings;

    std::optional<std::string> text(std::string_view key) const;
};

// Throws com::Error naming what is damaged and where.
VersionBlock readVersionBlock(std::span<const std::byte> data);

}  // namespace ostrel::identity
