#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <optional>
#include <string>
#include <vector>

/// Test-tile recipes mixed from two to four corner recipes in graded proportions. Every corner is
/// brought to a base of 100 first, so the proportions are proportions of base glaze. Nothing here
/// throws: corners that cannot be blended give no tiles.
namespace GlazeCore::Blend {

/// A corner recipe and its share of a tile, a fraction of 1. The recipe must outlive the part.
struct Part {
    const Recipe& recipe;
    double weight;
};

/// `steps` tiles from all a to all b; one step gives a alone.
std::vector<Recipe> line(const Recipe& a, const Recipe& b, int steps);
/// (divisions + 1)(divisions + 2) / 2 tiles over the triangle a, b, c, row by row from a.
std::vector<Recipe> triaxial(const Recipe& a, const Recipe& b, const Recipe& c, int divisions);
/// rows × columns tiles, row by row, bilinear between exactly four corners given as top left,
/// top right, bottom left, bottom right.
std::vector<Recipe> grid(const std::vector<Recipe>& corners, int rows, int columns);

/// The sentence of the first corner, in list order, that cannot be blended; none when all can.
std::optional<std::string> cornerProblem(const std::vector<Recipe>& corners);
/// Why this recipe cannot be a corner of a blend; none when it can.
std::optional<std::string> checkCorner(const Recipe& recipe);

/// "75% First, 25% Second": the parts above 0 in order, percentages rounded half away from zero.
std::string weightsText(const std::vector<Part>& parts);
/// One tile recipe: lines of the parts merged by material and base/addition in first-seen order,
/// each corner scaled to a base of 100 and by its weight; fresh ids, the cone of `firstCorner`.
Recipe mix(const std::vector<Part>& parts, const std::string& name, const Recipe& firstCorner);

} // namespace GlazeCore::Blend
