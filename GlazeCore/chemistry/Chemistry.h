#pragma once

#include "GlazeCore/book/Oxide.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace GlazeCore {

/// A value per oxide. Only values above 0 are stored; an absent oxide counts as 0.
using OxideValues = std::map<Oxide, double>;

/// The oxide's value, 0 when absent. Reading never inserts.
inline double oxideValue(const OxideValues& values, Oxide oxide) {
    const auto it = values.find(oxide);
    return it == values.end() ? 0.0 : it->second;
}

/// The chemistry of one recipe, as the calculator leaves it.
struct Chemistry {
    /// Moles per mole of flux; empty when nothing was calculated or there is no flux.
    OxideValues umf;
    OxideValues molePercent;
    OxideValues weightPercent;
    /// Moles of SiO2 over moles of Al2O3; 0 when there is no Al2O3.
    double siAlRatio = 0;
    /// UMF of Li2O + Na2O + K2O; 0 when the UMF is empty.
    double r2oRatio = 0;
    /// Appen estimate; absent only when the recipe has no moles.
    std::optional<double> expansion;
    /// Oxides the estimate could not count, in oxide order.
    std::vector<Oxide> expansionNotCounted;
    std::vector<std::string> warnings;

    bool expansionIsPartial() const { return expansion.has_value() && !expansionNotCounted.empty(); }
};

} // namespace GlazeCore
