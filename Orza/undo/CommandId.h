#pragma once

namespace Orza {

/// The merge ids of the field commands: edits with one id and one key merge within a typing burst.
enum class CommandId {
    recipeName = 1,
    recipeCone,
    recipeNotes,
    lineMaterial,
    lineAmount,
    lineAddition,
    tileRecipe,
    tileCone,
    tileAtmosphere,
    tileSchedule,
    tileNotes,
    tilePhoto,
    tileDate,
    tileCode,
    materialName,
    materialSource,
    materialLoi,
    materialOxide,
    nextTileNumber,
};

} // namespace Orza
