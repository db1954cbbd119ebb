#include "Orza/document/BookCommands.h"

#include "Orza/undo/RowCommands.h"

namespace Orza {

// --- A tile added through the ledger ---------------------------------------------------------------------------

void AddTestTile::apply() {
    if (m_appended) {
        m_appended = false; // the ledger appended it before the push
        return;
    }
    RowEdit::insert<TileRows>(document(), {}, m_index, m_held);
    BookAccess::book(document()).nextTileNumber = m_newNext;
    BookAccess::nextTileNumberChanged(document());
}

void AddTestTile::revert() {
    m_held = RowEdit::take<TileRows>(document(), {}, m_index, 1);
    BookAccess::book(document()).nextTileNumber = m_oldNext;
    BookAccess::nextTileNumberChanged(document());
}

// --- Recipes and tiles appended together ---------------------------------------------------------------------

AppendRecipesAndTiles::AppendRecipesAndTiles(BookDocument& document, std::vector<GlazeCore::Recipe> recipes,
                                             std::vector<GlazeCore::TestTile> tiles, std::int64_t newNextTileNumber,
                                             const QString& text, QUndoCommand* parent)
    : BookCommand(document, text, parent), m_firstRecipe(BookAccess::book(document).recipes.size()),
      m_recipeCount(recipes.size()), m_firstTile(BookAccess::book(document).tests.size()), m_tileCount(tiles.size()),
      m_oldNext(BookAccess::book(document).nextTileNumber), m_newNext(newNextTileNumber), m_recipes(std::move(recipes)),
      m_tiles(std::move(tiles)) {}

void AppendRecipesAndTiles::apply() {
    const BookAccess::OneBookChange once(document());
    if (m_recipeCount > 0) RowEdit::insert<RecipeRows>(document(), {}, m_firstRecipe, m_recipes);
    if (m_tileCount > 0) RowEdit::insert<TileRows>(document(), {}, m_firstTile, m_tiles);
    if (m_newNext == m_oldNext) return;
    BookAccess::book(document()).nextTileNumber = m_newNext;
    BookAccess::nextTileNumberChanged(document());
}

void AppendRecipesAndTiles::revert() {
    const BookAccess::OneBookChange once(document());
    if (m_tileCount > 0) m_tiles = RowEdit::take<TileRows>(document(), {}, m_firstTile, m_tileCount);
    if (m_recipeCount > 0) m_recipes = RowEdit::take<RecipeRows>(document(), {}, m_firstRecipe, m_recipeCount);
    if (m_newNext == m_oldNext) return;
    BookAccess::book(document()).nextTileNumber = m_oldNext;
    BookAccess::nextTileNumberChanged(document());
}

} // namespace Orza
