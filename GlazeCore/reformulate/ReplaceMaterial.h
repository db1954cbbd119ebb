#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/library/MaterialLibrary.h"
#include "GlazeCore/library/OxideTable.h"
#include "GlazeCore/reformulate/Adjustment.h"

#include <string>

namespace GlazeCore::Reformulate {

/// Puts `newID` on the first base line of `oldID` (dropping the other base lines of it) and re-solves the
/// base amounts to keep the unity formula of the input as closely as the new materials allow. Fluxes that
/// nothing supplies any more hand their share to the new material's fluxes (`standIn`). The result keeps
/// the input's base total. Throws, first applicable first: the oxide table's load error,
/// ReformulateError::notInRecipe, ::unknownMaterial, the base chemistry's errors, ::noFlux, then the
/// solve's errors (see solveAmounts).
Adjustment replaceMaterial(const Recipe& recipe, const std::string& oldID, const std::string& newID,
                           const MaterialLibrary& library);
/// The same over a given load of the oxide table.
Adjustment replaceMaterial(const Recipe& recipe, const std::string& oldID, const std::string& newID,
                           const MaterialLibrary& library, const OxideTable::OnceLoad& oxides);

} // namespace GlazeCore::Reformulate
