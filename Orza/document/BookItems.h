#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <optional>
#include <string>

// New items a window makes for its book; the caller adds them and selects them.
namespace Orza {

/// A copy with fresh ids for the recipe and every line; named `name`, or the stored name + " copy".
GlazeCore::Recipe duplicateRecipe(const GlazeCore::Recipe& recipe, const std::optional<std::string>& name = {});

/// A custom material not yet in the book: "New material N" by the book's custom names, and an id that no
/// custom material, built-in material or recipe line uses.
GlazeCore::Material newCustomMaterial(const GlazeCore::GlazeBook& book);

} // namespace Orza
