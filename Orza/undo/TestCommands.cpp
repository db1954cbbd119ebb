#include "Orza/undo/TestCommands.h"

namespace Orza {

AddTestTile::AddTestTile(BookDocument& document, std::size_t index, std::int64_t oldNextTileNumber,
                         std::int64_t newNextTileNumber, const QString& text)
    : BookCommand(document, text), m_index(index), m_oldNext(oldNextTileNumber), m_newNext(newNextTileNumber) {}

void AddTestTile::redo() {
    if (m_applied) {
        m_applied = false;
        return;
    }
    insertTestAt(m_index, std::move(m_tile));
    setNextTileNumber(m_newNext);
}

void AddTestTile::undo() {
    m_tile = takeTestAt(m_index);
    setNextTileNumber(m_oldNext);
}

} // namespace Orza
