#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace GlazeCore {

/// The 22 oxides in their fixed order; every oxide list shown or built follows it.
enum class Oxide {
    Li2O,
    Na2O,
    K2O,
    MgO,
    CaO,
    SrO,
    BaO,
    ZnO,
    PbO,
    B2O3,
    Al2O3,
    SiO2,
    TiO2,
    ZrO2,
    Fe2O3,
    MnO,
    CoO,
    CuO,
    Cr2O3,
    NiO,
    SnO2,
    P2O5,
};

inline constexpr std::size_t oxideCount = 22;

enum class OxideRole { flux, stabilizer, glassFormer, colorant };

namespace OxideNames {

const std::array<Oxide, oxideCount>& allCases();
std::string_view rawValue(Oxide oxide);
/// Exact, case-sensitive match of a formula; anything else gives none.
std::optional<Oxide> fromRaw(std::string_view text);
inline std::size_t index(Oxide oxide) {
    return static_cast<std::size_t>(oxide);
}

std::string_view rawValue(OxideRole role);
std::optional<OxideRole> roleFromRaw(std::string_view text);

} // namespace OxideNames

/// One row of the built-in oxide table; read, never edited.
struct OxideInfo {
    Oxide oxide{};
    double molarMass = 0;
    OxideRole role{};
    std::optional<double> expansionCoefficient;
};

} // namespace GlazeCore
