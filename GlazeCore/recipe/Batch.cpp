#include "GlazeCore/recipe/Batch.h"

#include "GlazeCore/core/Rounding.h"

#include <cmath>

namespace GlazeCore::Batch {

namespace {

bool isPositive(double value) {
    return std::isfinite(value) && value > 0;
}

// Decimals a step is written with: 0.5 → 1, 0.25 → 2. Repeated multiplication, as a scale's display
// would shift the point, rather than a power that rounds differently.
int decimalCount(double step) {
    double scaled = step;
    for (int k = 0; k <= 9; ++k) {
        if (std::fabs(scaled - roundHalfAwayFromZero(scaled)) <= 1e-9) return k;
        scaled *= 10;
    }
    return 10;
}

} // namespace

std::vector<Row> weights(const Recipe& recipe, double batchWeight, double step) {
    const double base = recipe.baseTotal();
    if (!std::isfinite(base)) throw BatchProblem("The base total is too large to scale.");
    if (!(base > 0)) throw BatchProblem("Add base materials to the recipe first.");
    if (!isPositive(batchWeight)) throw BatchProblem("Enter a batch weight above 0 g.");

    const bool rounds = isPositive(step);
    const double decimalScale = rounds ? std::pow(10.0, decimalCount(step)) : 1;

    std::vector<Row> rows;
    for (const RecipeLine& line : recipe.lines) {
        if (!isPositive(line.amount)) continue;
        double grams = line.amount / base * batchWeight;
        // Rounding to the step leaves noise such as 0.30000000000000004; the second rounding to the
        // step's own decimals writes it as the scale shows it.
        if (rounds)
            grams = roundHalfAwayFromZero(roundHalfAwayFromZero(grams / step) * step * decimalScale) / decimalScale;
        rows.push_back({line.materialID, grams, line.isAddition});
    }

    double sum = 0;
    bool allFinite = true;
    for (const Row& row : rows) {
        sum += row.grams;
        allFinite = allFinite && std::isfinite(row.grams);
    }
    if (!allFinite || !std::isfinite(sum))
        throw BatchProblem("The additions are too large for this base, so a weight would not be a finite number.");
    return rows;
}

std::optional<int> roundingDecimals(double step) {
    if (!isPositive(step)) return std::nullopt;
    return decimalCount(step);
}

std::vector<Row> weightsOrEmpty(const Recipe& recipe, double batchWeight, double step) {
    try {
        return weights(recipe, batchWeight, step);
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<std::string> problemText(const Recipe& recipe, double batchWeight, double step) {
    try {
        weights(recipe, batchWeight, step);
        return std::nullopt;
    } catch (const Error& error) {
        return error.message();
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
}

} // namespace GlazeCore::Batch
