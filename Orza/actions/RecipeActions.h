#pragma once

#include "Orza/models/WindowTypes.h"

#include <functional>

namespace Orza {

/**
 * The actions a recipe pane offers the menus, published through its window while the pane is on screen.
 * Each acts on the recipe and window of the pane that made it, on the main thread.
 */
struct RecipeActions {
    std::function<void()> addMaterial;
    std::function<void(BlendMode)> blend;
    std::function<void()> batchSheet;
    std::function<void()> printBatchSheet;
    std::function<void()> nudge;
    std::function<void()> replaceMaterial;
};

} // namespace Orza
