#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <optional>
#include <string>
#include <vector>

/// Recipe rows that have an amount but no material, which the chemistry leaves out.
namespace GlazeCore::RecipeCheck {

/// The material id is blank (white space and line breaks only) and the amount is not 0; NaN counts
/// as not 0, −0 as 0.
bool isMissingMaterial(const RecipeLine& line);
/// Those lines of the recipe, in line order.
std::vector<RecipeLine> rowsMissingMaterial(const Recipe& recipe);
/// The note shown with the chemistry, or none when every row with an amount has a material.
std::optional<std::string> recipeWarning(const Recipe& recipe);
/// The note shown on the batch sheet, or none.
std::optional<std::string> batchWarning(const Recipe& recipe);

} // namespace GlazeCore::RecipeCheck
