#include "GlazeCore/recipe/Normalize.h"

#include "GlazeCore/text/PlainNumberText.h"

#include <cmath>

namespace GlazeCore::Normalize {

namespace {

// The largest amount a book file accepts; a normalised line must stay storable.
constexpr double maximumAmount = 1'000'000;

bool isPositive(double value) {
    return std::isfinite(value) && value > 0;
}

} // namespace

std::optional<Recipe> toBase100(const Recipe& recipe, double target) {
    const double base = recipe.baseTotal();
    if (!isPositive(base) || !isPositive(target)) return std::nullopt;
    Recipe copy = recipe;
    for (RecipeLine& line : copy.lines) {
        if (!isPositive(line.amount)) continue;
        const double amount = line.amount / base * target;
        if (!std::isfinite(amount) || amount > maximumAmount) return std::nullopt;
        line.amount = amount;
    }
    return copy;
}

std::optional<std::string> problem(const Recipe& recipe, double target) {
    const double base = recipe.baseTotal();
    if (!std::isfinite(base)) return "The base total is too large to normalize.";
    if (!(base > 0)) return "Add base materials to the recipe first.";
    if (!toBase100(recipe, target))
        return "The additions are too large for this base. An amount would be above " + plainNumberText(maximumAmount) +
               ".";
    return std::nullopt;
}

} // namespace GlazeCore::Normalize
