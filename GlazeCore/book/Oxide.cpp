#include "GlazeCore/book/Oxide.h"

namespace GlazeCore::OxideNames {

namespace {

constexpr std::array<std::string_view, oxideCount> formulas = {
    "Li2O", "Na2O", "K2O",  "MgO",   "CaO", "SrO", "BaO", "ZnO",   "PbO", "B2O3", "Al2O3",
    "SiO2", "TiO2", "ZrO2", "Fe2O3", "MnO", "CoO", "CuO", "Cr2O3", "NiO", "SnO2", "P2O5",
};

constexpr std::array<std::string_view, 4> roleNames = {"flux", "stabilizer", "glassFormer", "colorant"};

} // namespace

const std::array<Oxide, oxideCount>& allCases() {
    static const auto cases = [] {
        std::array<Oxide, oxideCount> all{};
        for (std::size_t i = 0; i < oxideCount; ++i)
            all[i] = static_cast<Oxide>(i);
        return all;
    }();
    return cases;
}

std::string_view rawValue(Oxide oxide) {
    return formulas[index(oxide)];
}

std::optional<Oxide> fromRaw(std::string_view text) {
    for (std::size_t i = 0; i < oxideCount; ++i)
        if (formulas[i] == text) return static_cast<Oxide>(i);
    return std::nullopt;
}

std::string_view rawValue(OxideRole role) {
    return roleNames[static_cast<std::size_t>(role)];
}

std::optional<OxideRole> roleFromRaw(std::string_view text) {
    for (std::size_t i = 0; i < roleNames.size(); ++i)
        if (roleNames[i] == text) return static_cast<OxideRole>(i);
    return std::nullopt;
}

} // namespace GlazeCore::OxideNames
