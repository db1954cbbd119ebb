#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace GlazeCore {

/// A 128-bit identifier of a recipe, line or tile; written as 36 upper-case characters.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    static Uuid random();
    /// Five hex groups of 8-4-4-4-12 digits in either case; anything else gives none.
    static std::optional<Uuid> parse(std::string_view text);
    std::string uppercaseText() const;

    friend bool operator==(const Uuid&, const Uuid&) = default;
    friend auto operator<=>(const Uuid&, const Uuid&) = default;
};

} // namespace GlazeCore

template <> struct std::hash<GlazeCore::Uuid> { std::size_t operator()(const GlazeCore::Uuid& id) const noexcept; };
