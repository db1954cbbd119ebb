#include "GlazeCore/book/RecipeCheck.h"

#include "GlazeCore/text/PlainNumberText.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <cstdint>

namespace GlazeCore::RecipeCheck {

namespace {

std::int64_t missingCount(const Recipe& recipe) {
    return std::count_if(recipe.lines.begin(), recipe.lines.end(), isMissingMaterial);
}

std::string rowsHave(std::int64_t n) {
    return n == 1 ? "1 row has" : integerText(n) + " rows have";
}

} // namespace

bool isMissingMaterial(const RecipeLine& line) {
    return line.amount != 0 && UnicodeText::trimWhitespaceAndNewlines(line.materialID).empty();
}

std::vector<RecipeLine> rowsMissingMaterial(const Recipe& recipe) {
    std::vector<RecipeLine> rows;
    std::copy_if(recipe.lines.begin(), recipe.lines.end(), std::back_inserter(rows), isMissingMaterial);
    return rows;
}

std::optional<std::string> recipeWarning(const Recipe& recipe) {
    const std::int64_t n = missingCount(recipe);
    if (n == 0) return std::nullopt;
    return rowsHave(n) + " an amount but no material. The chemistry leaves " + (n == 1 ? "it" : "them") + " out. " +
           "Choose a material or remove the row.";
}

std::optional<std::string> batchWarning(const Recipe& recipe) {
    const std::int64_t n = missingCount(recipe);
    if (n == 0) return std::nullopt;
    return rowsHave(n) + " an amount but no material. Choose a material or remove the row " +
           "before you print or export the batch sheet.";
}

} // namespace GlazeCore::RecipeCheck
