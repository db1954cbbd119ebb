#include "Orza/undo/RecipeCommands.h"

namespace Orza {

SetRecipe::SetRecipe(BookDocument& document, std::size_t index, GlazeCore::Recipe newValue, const QString& text)
    : BookCommand(document, text), m_index(index), m_other(std::move(newValue)) {}

InsertRecipe::InsertRecipe(BookDocument& document, std::size_t index, GlazeCore::Recipe recipe, const QString& text)
    : BookCommand(document, text), m_index(index), m_recipe(std::move(recipe)) {}

void InsertRecipe::redo() {
    insertRecipeAt(m_index, std::move(m_recipe));
}

void InsertRecipe::undo() {
    m_recipe = takeRecipeAt(m_index);
}

RemoveRecipes::RemoveRecipes(BookDocument& document, std::vector<std::size_t> indices, const QString& text)
    : BookCommand(document, text), m_indices(std::move(indices)), m_removed(m_indices.size()) {}

void RemoveRecipes::redo() {
    // From the back, so the positions still to take stay where they were.
    for (std::size_t j = m_indices.size(); j-- > 0;)
        m_removed[j] = takeRecipeAt(m_indices[j]);
}

void RemoveRecipes::undo() {
    for (std::size_t j = 0; j < m_indices.size(); ++j)
        insertRecipeAt(m_indices[j], std::move(m_removed[j]));
}

MoveRecipes::MoveRecipes(BookDocument& document, RowMove move, const QString& text)
    : BookCommand(document, text), m_move(std::move(move)) {}

} // namespace Orza
