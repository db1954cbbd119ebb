#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/library/OxideTable.h"

#include <map>
#include <string>
#include <vector>

namespace GlazeCore {

/// The outcome of one reformulation. The input recipe is never changed; this holds the new one.
struct Adjustment {
    /// The input with new base amounts; kept lines keep their ids.
    Recipe recipe;
    /// Base-only chemistry of the input and of `recipe`.
    Chemistry before;
    Chemistry after;
    /// The unity formula aimed at: the nudge's goal, or `before.umf` for a replacement.
    std::map<Oxide, double> target;
    /// after − target for every oxide that misses by more than 1e-6, signed.
    std::map<Oxide, double> residual;
    /// Replacement only: oxides of `before.umf` above 0 that no material of the new recipe supplies.
    std::vector<Oxide> unsupplied;
    /// Replacement only: the new material's fluxes that take over the share of missing fluxes.
    std::vector<Oxide> standIn;

    bool isExact() const { return residual.empty(); }

    /// Why an oxide of a nudge ended away from its goal, the miss written with 3 decimals in `locale`
    /// (an ICU locale id).
    static std::string nudgeMissText(Oxide oxide, double value, Oxide nudged, const std::string& locale);
    /// Why an oxide of a replacement ended away from the original, with the reason this adjustment gives.
    static std::string replaceMissText(Oxide oxide, double value, const Adjustment& adjustment,
                                       const std::string& locale);
    /// The same over a given load of the oxide table; a failed load counts no oxide as a flux.
    static std::string replaceMissText(Oxide oxide, double value, const Adjustment& adjustment,
                                       const std::string& locale, const OxideTable::OnceLoad& oxides);
};

namespace Reformulate {

/// A unity value within this of its goal counts as reached.
inline constexpr double tolerance = 1e-6;
/// How far one press of a nudge arrow moves a unity value.
inline constexpr double nudgeStep = 0.05;

} // namespace Reformulate

} // namespace GlazeCore
