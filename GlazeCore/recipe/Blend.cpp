#include "GlazeCore/recipe/Blend.h"

#include "GlazeCore/core/Rounding.h"
#include "GlazeCore/text/PlainNumberText.h"
#include "GlazeCore/text/UnicodeText.h"

#include <charconv>
#include <cmath>
#include <map>
#include <utility>

namespace GlazeCore::Blend {

namespace {

// A mixed line: the same material as base and as addition stays two lines. Ids compare canonically,
// like every other text of the book.
struct Key {
    std::string canonicalID;
    bool isAddition;
    friend auto operator<=>(const Key&, const Key&) = default;
};

struct MergedLine {
    std::string materialID;
    bool isAddition;
    double amount;
};

constexpr double maximumPercent = 1'000'000;

std::string displayName(const Recipe& recipe) {
    return recipe.name.empty() ? "Untitled recipe" : recipe.name;
}

// Written from the rounded double so that no weight, however odd, goes through an integer cast.
std::string percentText(double weight) {
    const double percent = roundHalfAwayFromZero(weight * 100);
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, percent, std::chars_format::fixed, 0);
    if (result.ec != std::errc()) return "0";
    std::string text(buffer, result.ptr);
    return text == "-0" ? "0" : text;
}

Recipe alone(const Recipe& a) {
    return mix({{a, 1}}, a.name + " 100%", a);
}

} // namespace

std::optional<std::string> checkCorner(const Recipe& recipe) {
    const std::string name = displayName(recipe);
    const double base = recipe.baseTotal();
    if (!std::isfinite(base)) return "\u201C" + name + "\u201D has a base total too large to blend.";
    if (!(base > 0))
        return "\u201C" + name + "\u201D has no base materials. Each recipe in a blend needs a base total above 0.";
    for (const RecipeLine& line : recipe.lines) {
        const double magnitude = std::fabs(line.amount);
        const double percent = magnitude / base * 100;
        if (!std::isfinite(magnitude) || !std::isfinite(percent) || percent > maximumPercent)
            return "\u201C" + name + "\u201D has additions too large for its base to blend.";
    }
    return std::nullopt;
}

std::optional<std::string> cornerProblem(const std::vector<Recipe>& corners) {
    for (const Recipe& corner : corners)
        if (auto problem = checkCorner(corner)) return problem;
    return std::nullopt;
}

std::string weightsText(const std::vector<Part>& parts) {
    std::string text;
    for (const Part& part : parts) {
        if (!(part.weight > 0)) continue;
        if (!text.empty()) text += ", ";
        text += percentText(part.weight) + "% " + part.recipe.name;
    }
    return text;
}

Recipe mix(const std::vector<Part>& parts, const std::string& name, const Recipe& firstCorner) {
    std::vector<MergedLine> merged;
    std::map<Key, std::size_t> slotOfKey;
    for (const Part& part : parts) {
        if (!(part.weight > 0) || part.recipe.lines.empty()) continue;
        const double base = part.recipe.baseTotal();
        const double factor = 100 / base;
        for (const RecipeLine& line : part.recipe.lines) {
            // A base so small that 100 / base overflows can still scale its lines one by one.
            const double contribution =
                std::isfinite(factor) ? line.amount * factor * part.weight : line.amount / base * 100 * part.weight;
            Key key{UnicodeText::canonicalForm(line.materialID), line.isAddition};
            const auto [found, isNew] = slotOfKey.try_emplace(std::move(key), merged.size());
            if (isNew)
                merged.push_back({line.materialID, line.isAddition, contribution});
            else
                merged[found->second].amount += contribution;
        }
    }

    Recipe tile;
    tile.id = Uuid::random();
    tile.name = name;
    tile.cone = firstCorner.cone;
    for (const MergedLine& line : merged)
        if (line.amount != 0) tile.lines.push_back({Uuid::random(), line.materialID, line.amount, line.isAddition});
    return tile;
}

std::vector<Recipe> line(const Recipe& a, const Recipe& b, int steps) {
    if (steps <= 0 || checkCorner(a) || checkCorner(b)) return {};
    if (steps == 1) return {alone(a)};
    std::vector<Recipe> tiles;
    const std::string count = integerText(steps);
    for (int i = 0; i < steps; ++i) {
        const double t = static_cast<double>(i) / (steps - 1);
        const std::vector<Part> parts{{a, 1 - t}, {b, t}};
        tiles.push_back(mix(parts, "Line " + integerText(i + 1) + "/" + count + ": " + weightsText(parts), a));
    }
    return tiles;
}

std::vector<Recipe> triaxial(const Recipe& a, const Recipe& b, const Recipe& c, int divisions) {
    if (divisions < 0 || checkCorner(a) || checkCorner(b) || checkCorner(c)) return {};
    if (divisions == 0) return {alone(a)};
    std::vector<Recipe> tiles;
    const double d = divisions;
    std::int64_t number = 1;
    for (int i = 0; i <= divisions; ++i) {
        for (int k = 0; k <= i; ++k) {
            const std::vector<Part> parts{{a, (divisions - i) / d}, {b, (i - k) / d}, {c, k / d}};
            tiles.push_back(mix(parts, "Tri " + integerText(number) + ": " + weightsText(parts), a));
            ++number;
        }
    }
    return tiles;
}

std::vector<Recipe> grid(const std::vector<Recipe>& corners, int rows, int columns) {
    if (corners.size() != 4 || rows <= 0 || columns <= 0 || cornerProblem(corners)) return {};
    std::vector<Recipe> tiles;
    for (int i = 0; i < rows; ++i) {
        const double v = rows == 1 ? 0 : static_cast<double>(i) / (rows - 1);
        for (int j = 0; j < columns; ++j) {
            const double u = columns == 1 ? 0 : static_cast<double>(j) / (columns - 1);
            const std::vector<Part> parts{{corners[0], (1 - v) * (1 - u)},
                                          {corners[1], (1 - v) * u},
                                          {corners[2], v * (1 - u)},
                                          {corners[3], v * u}};
            const std::string name =
                "Grid r" + integerText(i + 1) + " c" + integerText(j + 1) + ": " + weightsText(parts);
            tiles.push_back(mix(parts, name, corners[0]));
        }
    }
    return tiles;
}

} // namespace GlazeCore::Blend
