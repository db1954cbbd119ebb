#pragma once

// The book's own undo commands, beside the field and row commands of undo/ that it uses with BookAccess.
// Commands are made by BookDocument's edit methods only.

#include "Orza/document/BookAccess.h"
#include "Orza/undo/EditCommand.h"

#include <cstdint>
#include <vector>

namespace Orza {

using BookCommand = EditCommand<BookAccess>;

/**
 * A tile the ledger has already appended: the ledger must add it under its lock, so the document applies
 * it before pushing and the first redo does nothing. Undo takes the tile out and lowers the book's next
 * tile number again; the ledger's floor stays, so the number is not handed out twice.
 */
class AddTestTile final : public BookCommand {
public:
    AddTestTile(BookDocument& document, std::size_t index, std::int64_t oldNextTileNumber,
                std::int64_t newNextTileNumber, const QString& text, QUndoCommand* parent)
        : BookCommand(document, text, parent), m_index(index), m_oldNext(oldNextTileNumber),
          m_newNext(newNextTileNumber) {}

private:
    void apply() override;
    void revert() override;

    std::size_t m_index;
    std::int64_t m_oldNext;
    std::int64_t m_newNext;
    bool m_appended = true;
    std::vector<GlazeCore::TestTile> m_held; // while the tile is out of the book
};

/**
 * Recipes and test tiles appended to the end of their lists together, the tiles already coded, as one change
 * of the book (a blend added to it). Undo takes both out and gives the book its next tile number back; the
 * ledger's floor stays, so no code is handed out twice.
 */
class AppendRecipesAndTiles final : public BookCommand {
public:
    AppendRecipesAndTiles(BookDocument& document, std::vector<GlazeCore::Recipe> recipes,
                          std::vector<GlazeCore::TestTile> tiles, std::int64_t newNextTileNumber, const QString& text,
                          QUndoCommand* parent);

private:
    void apply() override;
    void revert() override;

    std::size_t m_firstRecipe;
    std::size_t m_recipeCount;
    std::size_t m_firstTile;
    std::size_t m_tileCount;
    std::int64_t m_oldNext;
    std::int64_t m_newNext;
    // While they are out of the book.
    std::vector<GlazeCore::Recipe> m_recipes;
    std::vector<GlazeCore::TestTile> m_tiles;
};

} // namespace Orza
