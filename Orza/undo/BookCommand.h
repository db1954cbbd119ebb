#pragma once

#include "Orza/document/BookDocument.h"

#include <QUndoCommand>

namespace Orza {

/**
 * Base of the document's undo commands. A command keeps only what it changes (one recipe, one tile,
 * the rows of a move) and applies it through the document's private setters, which send the signals
 * views follow. Removed elements live inside the command, by value, until they are put back.
 *
 * Commands are made by BookDocument's edit methods only; nothing else includes the command headers.
 */
class BookCommand : public QUndoCommand {
public:
    BookCommand(BookDocument& document, const QString& text) : QUndoCommand(text), m_document(document) {}

protected:
    void replaceRecipeAt(std::size_t index, GlazeCore::Recipe& recipe) { m_document.replaceRecipeAt(index, recipe); }
    void insertRecipeAt(std::size_t index, GlazeCore::Recipe recipe) {
        m_document.insertRecipeAt(index, std::move(recipe));
    }
    GlazeCore::Recipe takeRecipeAt(std::size_t index) { return m_document.takeRecipeAt(index); }
    void applyMove(const RowMove& move, bool reversed) { m_document.applyMove(move, reversed); }
    void insertTestAt(std::size_t index, GlazeCore::TestTile tile) { m_document.insertTestAt(index, std::move(tile)); }
    GlazeCore::TestTile takeTestAt(std::size_t index) { return m_document.takeTestAt(index); }
    void setNextTileNumber(std::int64_t value) { m_document.setNextTileNumber(value); }

private:
    BookDocument& m_document;
};

} // namespace Orza
