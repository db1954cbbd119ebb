#include "Orza/blends/BlendTiles.h"

#include "GlazeCore/book/Atmosphere.h"
#include "GlazeCore/chemistry/GlazeCalculator.h"
#include "GlazeCore/recipe/Blend.h"
#include "GlazeCore/text/UnicodeText.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "Orza/display/TextDisplay.h"

#include <QCoreApplication>

#include <algorithm>

namespace Orza {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("BlendSheet", text);
}

const GlazeCore::Recipe* findRecipe(const std::vector<GlazeCore::Recipe>& recipes, const GlazeCore::Uuid& id) {
    const auto found =
        std::find_if(recipes.begin(), recipes.end(), [&](const GlazeCore::Recipe& recipe) { return recipe.id == id; });
    return found == recipes.end() ? nullptr : &*found;
}

/// The corner as a blend quotes it: every tile's name holds the corner names, so a huge one is cut to its ends
/// before any copy is made. The notes play no part in a blend.
GlazeCore::Recipe quotedCorner(const GlazeCore::Recipe& recipe) {
    return {recipe.id, GlazeCore::UnicodeText::shortened(recipe.name, shownTextLimit), recipe.cone, recipe.lines, {}};
}

std::vector<GlazeCore::Recipe> mixedRecipes(const std::vector<GlazeCore::Recipe>& corners, const BlendChoice& choice) {
    switch (choice.mode) {
    case BlendMode::line:
        return GlazeCore::Blend::line(corners[0], corners[1], choice.steps);
    case BlendMode::triaxial:
        return GlazeCore::Blend::triaxial(corners[0], corners[1], corners[2], choice.divisions);
    case BlendMode::grid:
        return GlazeCore::Blend::grid(corners, choice.rows, choice.columns);
    }
    return {};
}

} // namespace

int blendCornerCount(BlendMode mode) {
    switch (mode) {
    case BlendMode::line:
        return 2;
    case BlendMode::triaxial:
        return 3;
    case BlendMode::grid:
        return 4;
    }
    return 2;
}

QStringList blendCornerLabels(BlendMode mode) {
    switch (mode) {
    case BlendMode::line:
        return {tr("A"), tr("B")};
    case BlendMode::triaxial:
        return {tr("A"), tr("B"), tr("C")};
    case BlendMode::grid:
        return {tr("Top left"), tr("Top right"), tr("Bottom left"), tr("Bottom right")};
    }
    return {};
}

std::array<GlazeCore::Uuid, 4> initialBlendCorners(const std::vector<GlazeCore::Recipe>& recipes,
                                                   const GlazeCore::Uuid& startRecipeID) {
    std::array<GlazeCore::Uuid, 4> corners{};
    std::size_t filled = 0;
    corners[filled++] = startRecipeID;
    for (const GlazeCore::Recipe& recipe : recipes) {
        if (filled == corners.size()) break;
        if (recipe.id != startRecipeID) corners[filled++] = recipe.id;
    }
    for (; filled < corners.size(); ++filled)
        corners[filled] = corners[filled - 1];
    return corners;
}

std::string initialBlendPrefix(const std::vector<GlazeCore::Recipe>& recipes, const GlazeCore::Uuid& startRecipeID) {
    const GlazeCore::Recipe* start = findRecipe(recipes, startRecipeID);
    return start ? start->name : tr("Blend").toStdString();
}

std::vector<GlazeCore::Recipe> blendCornerRecipes(const std::vector<GlazeCore::Recipe>& recipes,
                                                  const BlendChoice& choice) {
    std::vector<GlazeCore::Recipe> corners;
    for (int i = 0; i < blendCornerCount(choice.mode); ++i)
        if (const GlazeCore::Recipe* recipe = findRecipe(recipes, choice.corners[std::size_t(i)]))
            corners.push_back(quotedCorner(*recipe));
    return corners;
}

std::vector<BlendTile> blendTiles(const std::vector<GlazeCore::Recipe>& recipes, const BlendChoice& choice,
                                  const GlazeCore::MaterialLibrary& library) {
    const std::vector<GlazeCore::Recipe> corners = blendCornerRecipes(recipes, choice);
    if (int(corners.size()) != blendCornerCount(choice.mode)) return {};
    std::vector<BlendTile> tiles;
    int number = 0;
    for (GlazeCore::Recipe& recipe : mixedRecipes(corners, choice)) {
        std::optional<GlazeCore::Chemistry> chemistry;
        try {
            // Additions never count here, whatever the recipe pane is set to show.
            chemistry = GlazeCore::GlazeCalculator::chemistry(recipe, library, false);
        } catch (...) {
            // The card says "No chemistry"; the tile can still be added.
        }
        tiles.push_back({++number, std::move(recipe), std::move(chemistry)});
    }
    return tiles;
}

QString blendEmptyDescription(const std::vector<GlazeCore::Recipe>& recipes, const BlendChoice& choice) {
    const std::vector<GlazeCore::Recipe> corners = blendCornerRecipes(recipes, choice);
    const int count = blendCornerCount(choice.mode);
    if (int(corners.size()) == count)
        if (const auto problem = GlazeCore::Blend::cornerProblem(corners)) return QString::fromStdString(*problem);
    return tr("Choose %1 recipes to blend.").arg(count);
}

QString blendTileTitle(const QString& prefix, const BlendTile& tile) {
    return tr("%1 \u2013 %2").arg(prefix.isEmpty() ? tr("Blend") : prefix, QString::fromStdString(tile.recipe.name));
}

GlazeCore::TestTile blendTestTile(const GlazeCore::Recipe& recipe, int number, GlazeCore::Date date) {
    GlazeCore::TestTile tile;
    tile.id = GlazeCore::Uuid::random();
    tile.recipeID = recipe.id;
    tile.cone = recipe.cone;
    tile.atmosphere = std::string(GlazeCore::rawValue(GlazeCore::Atmosphere::oxidation));
    tile.schedule = {{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}};
    tile.notes = tr("Blend tile %1").arg(number).toStdString();
    tile.date = date;
    return tile;
}

QString blendAddedMessage(int count, const std::vector<std::string>& codes) {
    if (codes.empty()) return tr("Added %1 recipes.").arg(count);
    return tr("Added %1 recipes and test tiles %2.")
        .arg(QString::number(count), QString::fromStdString(GlazeCore::TileCode::rangeText(codes)));
}

} // namespace Orza
