#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/library/MaterialLibrary.h"
#include "GlazeCore/library/OxideTable.h"

#include <string>
#include <string_view>

/// Recipe → chemistry. Stateless and uncached: callers run it on every redraw or solve.
///
/// Throws the oxide table's load error, GlazeError::nonFiniteAmount for a counted line whose amount is
/// not finite, GlazeError::missingOxideData for an analysis oxide without a usable molar mass, and
/// CalculationError::resultOutOfRange when a result overflows. Everything else is a warning in the result.
namespace GlazeCore::GlazeCalculator {

/// What the user interface calls; the same as compute().
Chemistry chemistry(const Recipe& recipe, const MaterialLibrary& library, bool includeAdditions);

/// The calculation over the process-wide oxide table.
Chemistry compute(const Recipe& recipe, const MaterialLibrary& library, bool includeAdditions);
/// The calculation over a given load of the oxide table; its kept error is rethrown before any line is read.
Chemistry compute(const Recipe& recipe, const MaterialLibrary& library, bool includeAdditions,
                  const OxideTable::OnceLoad& oxides);
/// The calculation over a given oxide table.
Chemistry compute(const Recipe& recipe, const MaterialLibrary& library, bool includeAdditions,
                  const OxideTable::Map& table);

/// The warning of a counted line whose material the library does not return.
std::string unknownMaterialWarning(std::string_view materialID);

} // namespace GlazeCore::GlazeCalculator
