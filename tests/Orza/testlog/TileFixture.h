#pragma once

#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"

#include <QUndoStack>
#include <QWidget>

#include <memory>

// A document over a book and the actions of a window around it: what the tile editor is made from.
namespace OrzaTest {

struct TileFixture {
    explicit TileFixture(GlazeCore::GlazeBook book)
        : document(Orza::GlazeDocument::make(std::move(book), false)), actions(&window, document) {}

    const GlazeCore::TestTile& tile(std::size_t index = 0) const { return document.book().tests.at(index); }
    int steps() const { return document.undoStack()->count(); }

    QWidget window;
    Orza::BookDocument document;
    Orza::ActionRegistry actions;
};

} // namespace OrzaTest
