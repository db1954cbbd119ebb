#include "GlazeCore/book/Atmosphere.h"

namespace GlazeCore {

const std::array<Atmosphere, 6>& allAtmospheres() {
    static constexpr std::array<Atmosphere, 6> all{Atmosphere::oxidation, Atmosphere::reduction, Atmosphere::neutral,
                                                   Atmosphere::soda,      Atmosphere::salt,      Atmosphere::wood};
    return all;
}

std::string_view rawValue(Atmosphere atmosphere) {
    switch (atmosphere) {
    case Atmosphere::oxidation:
        return "Oxidation";
    case Atmosphere::reduction:
        return "Reduction";
    case Atmosphere::neutral:
        return "Neutral";
    case Atmosphere::soda:
        return "Soda";
    case Atmosphere::salt:
        return "Salt";
    case Atmosphere::wood:
        return "Wood";
    }
    return {};
}

std::optional<std::size_t> atmosphereIndex(std::string_view text) {
    const auto& all = allAtmospheres();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (rawValue(all[i]) == text) return i;
    return std::nullopt;
}

std::optional<Atmosphere> atmosphereFromRaw(std::string_view text) {
    if (const auto index = atmosphereIndex(text)) return allAtmospheres()[*index];
    return std::nullopt;
}

} // namespace GlazeCore
