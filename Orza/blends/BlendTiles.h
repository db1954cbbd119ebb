#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/library/MaterialLibrary.h"
#include "Orza/models/WindowTypes.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string>
#include <vector>

// What the blend sheet makes of its choices: the corners, the tiles, their titles and the entries it adds.
namespace Orza {

/// One tile of a blend: its 1-based place in the blend, its recipe as the blend mixed it and its chemistry
/// (base only), none when that could not be calculated.
struct BlendTile {
    int number = 0;
    GlazeCore::Recipe recipe;
    std::optional<GlazeCore::Chemistry> chemistry;
};

/// What the blend sheet's controls hold. All four corners are kept whatever the mode, so going back to a
/// mode with more corners brings back the earlier choices.
struct BlendChoice {
    BlendMode mode = BlendMode::line;
    std::array<GlazeCore::Uuid, 4> corners{};
    int steps = 5;
    int divisions = 5;
    int rows = 5;
    int columns = 5;
};

inline constexpr int blendStepsRange[2] = {2, 21};
inline constexpr int blendDivisionsRange[2] = {1, 10};
inline constexpr int blendSidesRange[2] = {2, 10};

/// The modes in the order the picker offers them.
inline constexpr std::array<BlendMode, 3> allBlendModes{BlendMode::line, BlendMode::triaxial, BlendMode::grid};

/// 2, 3 or 4.
int blendCornerCount(BlendMode mode);
/// "A", "B" …, or "Top left" … for the grid.
QStringList blendCornerLabels(BlendMode mode);

/// The start recipe, then the book's other recipes in order; the last one repeated up to four, the rest
/// left out.
std::array<GlazeCore::Uuid, 4> initialBlendCorners(const std::vector<GlazeCore::Recipe>& recipes,
                                                   const GlazeCore::Uuid& startRecipeID);
/// The start recipe's whole name, or "Blend" when the book does not hold it.
std::string initialBlendPrefix(const std::vector<GlazeCore::Recipe>& recipes, const GlazeCore::Uuid& startRecipeID);

/// The recipes of the mode's corners, in corner order; a corner whose recipe is gone is left out. A name too long
/// to show is quoted by its ends (shownText), so the tiles' names and the sentences about a corner never hold
/// copies of it; the book keeps it whole.
std::vector<GlazeCore::Recipe> blendCornerRecipes(const std::vector<GlazeCore::Recipe>& recipes,
                                                  const BlendChoice& choice);
/// The tiles of the blend, each with its base chemistry; none unless every corner of the mode has its recipe
/// and the blend accepts them.
std::vector<BlendTile> blendTiles(const std::vector<GlazeCore::Recipe>& recipes, const BlendChoice& choice,
                                  const GlazeCore::MaterialLibrary& library);
/// Why there are no tiles: a corner the blend refuses, else "Choose N recipes to blend.".
QString blendEmptyDescription(const std::vector<GlazeCore::Recipe>& recipes, const BlendChoice& choice);

/// The card's title and the added recipe's name: the prefix ("Blend" when empty), " – ", the tile's name. The
/// sheet hands a prefix too long to show by its ends.
QString blendTileTitle(const QString& prefix, const BlendTile& tile);

/// The test-log entry of an added tile: oxidation, the default cone 6 schedule, dated `date`, "Blend tile N",
/// no code yet (the ledger gives it one).
GlazeCore::TestTile blendTestTile(const GlazeCore::Recipe& recipe, int number, GlazeCore::Date date);

/// "Added 5 recipes." or "Added 5 recipes and test tiles T-004 to T-008.".
QString blendAddedMessage(int count, const std::vector<std::string>& codes);

} // namespace Orza
