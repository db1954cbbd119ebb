#pragma once

// Commands of the test log. Made only by BookDocument; see BookCommand.

#include "Orza/undo/BookCommand.h"

namespace Orza {

/**
 * A tile the ledger has already appended: the ledger must add it under its lock, so the document applies
 * it before pushing and the first redo does nothing. Undo takes the tile out and lowers the book's next
 * tile number again; the ledger's floor stays, so the number is not handed out twice.
 */
class AddTestTile final : public BookCommand {
public:
    AddTestTile(BookDocument& document, std::size_t index, std::int64_t oldNextTileNumber,
                std::int64_t newNextTileNumber, const QString& text);
    void redo() override;
    void undo() override;

private:
    std::size_t m_index;
    std::int64_t m_oldNext;
    std::int64_t m_newNext;
    bool m_applied = true;
    GlazeCore::TestTile m_tile; // held while the tile is out of the book
};

} // namespace Orza
