#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/library/MaterialLibrary.h"
#include "GlazeCore/library/OxideTable.h"
#include "GlazeCore/reformulate/Solver.h"

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

/// The shared core of Oxide Nudge and Replace Material: which non-negative amounts of the candidate
/// materials come closest to a target unity formula. Everything here is stateless and synchronous.
namespace GlazeCore::Reformulate {

/// New amount of each candidate, keyed by the canonical (NFC) form of its material id.
using Amounts = std::map<std::string, double>;

/// The most candidate materials one solve takes on; a larger solve would hold the window up for minutes.
inline constexpr std::size_t materialLimit = 200;
/// The largest amount a recipe line may hold.
inline constexpr double amountLimit = 1'000'000;

/// Moles of each oxide per unit amount of the material (weight % / 100 / molar mass); empty for an id the
/// library does not know. Throws GlazeError::missingOxideData for an oxide without a usable molar mass.
std::map<Oxide, double> materialMoles(std::string_view materialID, const MaterialLibrary& library,
                                      const OxideTable::Map& table);

/// The candidates of a solve: material ids of the base lines with a finite amount of 0 or more that the
/// library knows, then the known extra ids; each id once, first appearance kept.
std::vector<std::string> baseMaterialIDs(const Recipe& recipe, const MaterialLibrary& library,
                                         const std::vector<std::string>& extraIDs);

/// The chemistry of the recipe's base without lines whose material id is empty; the calculator's errors
/// pass through.
Chemistry baseChemistry(const Recipe& recipe, const MaterialLibrary& library);
Chemistry baseChemistry(const Recipe& recipe, const MaterialLibrary& library, const OxideTable::Map& table);

/// New amounts of the candidates that bring the unity formula closest to `target`: a weighted non-negative
/// fit, then a second fit that keeps what the first reached while staying closest to the working recipe's
/// amounts, then an unweighted polish. `reference` (may be null, then the working recipe) sets the base
/// total and the flux moles the amounts are scaled by; `priority` oxides weigh 1000 times more; `unityRow`
/// asks that the flux moles stay those of the reference.
///
/// Throws ReformulateError::infeasible (unusable base, no candidates, or a system with non-finite numbers),
/// ReformulateError::tooManyMaterials (more than materialLimit candidates), ReformulateError::noFlux,
/// GlazeError::missingOxideData, and CalculationError::resultOutOfRange for an amount that is not finite or
/// above amountLimit.
Amounts solveAmounts(const Recipe& working, const std::vector<std::string>& candidates,
                     const std::map<Oxide, double>& target, const MaterialLibrary& library,
                     const OxideTable::Map& table, const Recipe* reference, const std::set<Oxide>& priority,
                     bool unityRow);

/// solveAmounts without the amountLimit check, for a caller that rescales the amounts and checks the ones
/// the user gets. Amounts that are not finite still throw CalculationError::resultOutOfRange.
Amounts solveAmountsToRescale(const Recipe& working, const std::vector<std::string>& candidates,
                              const std::map<Oxide, double>& target, const MaterialLibrary& library,
                              const OxideTable::Map& table, const Recipe* reference, const std::set<Oxide>& priority,
                              bool unityRow);

/// y_i − Σ_{j<n} A_i,j · x_j for the rows first ..< end of the row-major A.
Solver::Vector residuals(std::size_t first, std::size_t end, const Solver::Vector& y, std::size_t n,
                         const Solver::Matrix& a, const Solver::Vector& x);

/// The columns of the row-major A picked by `indices`, in their order.
Solver::Matrix columns(const std::vector<std::size_t>& indices, const Solver::Matrix& a);

/// The oxides of `s` that are not in `t` and whose value in `values` is present and above 0, in `s`'s order.
std::vector<Oxide> presentOxidesNotIn(const std::set<Oxide>& s, const std::set<Oxide>& t,
                                      const std::map<Oxide, double>& values);

/// True when `a` comes before `b` in the fixed oxide order, never the alphabetical one.
bool oxideOrder(Oxide a, Oxide b);

/// True when `a` is the better source of `wanted`: fewer analysis oxides above 0, then more weight % of
/// `wanted`, then the name by Unicode scalars of its canonical form.
bool sourceMaterialOrder(const Material& a, const Material& b, Oxide wanted);

} // namespace GlazeCore::Reformulate
