#pragma once

#include "GlazeCore/text/Uuid.h"

#include <optional>
#include <vector>

namespace GlazeCore::RecipeSelection {

/// The recipe to select after the recipe list changed (both lists in book order). A selection that
/// vanished moves to the recipe now standing in its place, or to the new last recipe.
std::optional<Uuid> afterChange(const std::optional<Uuid>& selected, const std::vector<Uuid>& before,
                                const std::vector<Uuid>& after);

} // namespace GlazeCore::RecipeSelection
