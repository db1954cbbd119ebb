#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace GlazeCore {

/// Kiln atmospheres, in menu order. Tiles store the atmosphere as free text, so not every tile has one.
enum class Atmosphere { oxidation, reduction, neutral, soda, salt, wood };

const std::array<Atmosphere, 6>& allAtmospheres();
std::string_view rawValue(Atmosphere atmosphere);
/// Exact, case-sensitive match of a raw value; anything else gives none.
std::optional<Atmosphere> atmosphereFromRaw(std::string_view text);
/// The position of the matching case in allAtmospheres(), or none.
std::optional<std::size_t> atmosphereIndex(std::string_view text);

} // namespace GlazeCore
