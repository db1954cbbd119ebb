#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/library/MaterialLibrary.h"
#include "GlazeCore/library/OxideTable.h"
#include "GlazeCore/reformulate/Adjustment.h"
#include "GlazeCore/reformulate/ReformulateLeastSquares.h"

#include <string>
#include <vector>

namespace GlazeCore::Reformulate {

/// Moves one oxide's unity value to `target` by changing base amounts only (additions keep their ratio to
/// the input's base) and, when `extraIDs` name library materials, by adding them. The result's base total
/// is 100. Throws, first applicable first: the oxide table's load error, the base chemistry's errors,
/// ReformulateError::noFlux, ::infeasible (target not finite or negative, flux above 1), ::onlyFlux,
/// ::noSource, then the solve's errors (see solveAmounts); CalculationError::resultOutOfRange also when
/// an amount the user would get is not finite or above amountLimit.
Adjustment oxideNudge(const Recipe& recipe, Oxide oxide, double target, const MaterialLibrary& library,
                      const std::vector<std::string>& extraIDs);
/// The same over a given load of the oxide table.
Adjustment oxideNudge(const Recipe& recipe, Oxide oxide, double target, const MaterialLibrary& library,
                      const std::vector<std::string>& extraIDs, const OxideTable::OnceLoad& oxides);

/// The working recipe with the solved amounts: a material on several base lines keeps its split between
/// them, lines are never removed, and candidates not yet on a base line that got an amount above 0 come
/// in as new lines just before the trailing additions.
Recipe newRecipe(const Amounts& amounts, const Recipe& working, const std::vector<std::string>& candidates);

/// Whether the chemistry panel may offer nudge arrows for the oxide: never with additions included or
/// without a unity formula, and not for the only flux.
bool canNudge(Oxide oxide, const Chemistry& chemistry, bool includeAdditions);
bool canNudge(Oxide oxide, const Chemistry& chemistry, bool includeAdditions, const OxideTable::OnceLoad& oxides);

/// Library materials that supply the oxide and that the library gives out by id, best sources first
/// (sourceMaterialOrder), at most `limit` of them.
std::vector<Material> sourceMaterials(Oxide oxide, const MaterialLibrary& library, int limit);

} // namespace GlazeCore::Reformulate
