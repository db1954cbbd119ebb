#pragma once

#include "GlazeCore/book/BookPage.h"

#include <functional>
#include <optional>

namespace Orza {

/// Rename, duplicate and delete of the recipe selected when the bundle was built.
struct SelectedRecipeActions {
    std::function<void()> rename;
    std::function<void()> duplicate;
    std::function<void()> deleteRecipe;
};

/**
 * The book-level actions a window offers its menus. An optional member is missing when it cannot act:
 * `selected` without a selected recipe, `addTest` in a book without recipes, `printLabels` in a book
 * without test tiles. The actions run on the main thread and act on the book as it is when they run.
 */
struct BookActions {
    std::function<void()> addRecipe;
    std::optional<SelectedRecipeActions> selected;
    std::function<void(GlazeCore::BookPage)> showPage;
    std::optional<std::function<void()>> addTest;
    std::function<void()> findTest;
    std::optional<std::function<void()>> printLabels;
};

} // namespace Orza
