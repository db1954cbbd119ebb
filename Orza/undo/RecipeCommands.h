#pragma once

// Commands of the recipe list. Made only by BookDocument; see BookCommand.

#include "Orza/undo/BookCommand.h"

#include <vector>

namespace Orza {

/// Replaces one recipe; undo and redo are the same swap.
class SetRecipe final : public BookCommand {
public:
    SetRecipe(BookDocument& document, std::size_t index, GlazeCore::Recipe newValue, const QString& text);
    void redo() override { replaceRecipeAt(m_index, m_other); }
    void undo() override { replaceRecipeAt(m_index, m_other); }

private:
    std::size_t m_index;
    GlazeCore::Recipe m_other; // the value that is not in the book right now
};

class InsertRecipe final : public BookCommand {
public:
    InsertRecipe(BookDocument& document, std::size_t index, GlazeCore::Recipe recipe, const QString& text);
    void redo() override;
    void undo() override;

private:
    std::size_t m_index;
    GlazeCore::Recipe m_recipe; // held while the recipe is out of the book
};

/// Removes the recipes at the given positions (ascending) and puts them back in place on undo.
class RemoveRecipes final : public BookCommand {
public:
    RemoveRecipes(BookDocument& document, std::vector<std::size_t> indices, const QString& text);
    void redo() override;
    void undo() override;

private:
    std::vector<std::size_t> m_indices;
    std::vector<GlazeCore::Recipe> m_removed;
};

class MoveRecipes final : public BookCommand {
public:
    MoveRecipes(BookDocument& document, RowMove move, const QString& text);
    void redo() override { applyMove(m_move, false); }
    void undo() override { applyMove(m_move, true); }

private:
    RowMove m_move;
};

} // namespace Orza
