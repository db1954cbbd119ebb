#include "Orza/document/BookAccess.h"

#include "GlazeCore/text/UnicodeText.h"

namespace Orza {

namespace {

template <class T> T& present(T* item) {
    // Commands run in stack order, so the item they change is in the book; anything else is a broken stack.
    Q_ASSERT(item);
    return *item;
}

template <class Index, class Item, class KeyOf>
void indexRows(Index& index, const std::vector<Item>& items, int first, int last, KeyOf keyOf) {
    for (int i = first; i <= last; ++i)
        index.add(keyOf(items[std::size_t(i)]), std::size_t(i));
}

template <class Index, class Item, class KeyOf>
void unindexRows(Index& index, const std::vector<Item>& items, int first, int last, KeyOf keyOf) {
    for (int i = first; i <= last; ++i)
        index.remove(keyOf(items[std::size_t(i)]), std::size_t(i));
}

const GlazeCore::Uuid& idOf(const auto& item) {
    return item.id;
}

std::string canonicalIDOf(const GlazeCore::Material& material) {
    return GlazeCore::UnicodeText::canonicalForm(material.id);
}

} // namespace

GlazeCore::Recipe* BookAccess::findRecipe(BookDocument& document, const GlazeCore::Uuid& id) {
    const auto index = document.recipeIndex(id);
    return index ? &document.m_document.book.recipes[*index] : nullptr;
}

GlazeCore::RecipeLine* BookAccess::findLine(BookDocument& document, const GlazeCore::Uuid& recipeID,
                                            const GlazeCore::Uuid& lineID) {
    const auto line = document.lineIndex(recipeID, lineID);
    return line ? &findRecipe(document, recipeID)->lines[*line] : nullptr;
}

GlazeCore::TestTile* BookAccess::findTile(BookDocument& document, const GlazeCore::Uuid& id) {
    const auto index = document.tileIndex(id);
    return index ? &document.m_document.book.tests[*index] : nullptr;
}

GlazeCore::Material* BookAccess::findMaterial(BookDocument& document, const std::string& canonicalID) {
    // Looked up as it is: its canonical form again would be a copy of an id that may be megabytes long.
    const auto index = document.m_materialIndex.find(canonicalID, book(document).customMaterials, canonicalIDOf);
    return index ? &document.m_document.book.customMaterials[*index] : nullptr;
}

GlazeCore::Recipe& BookAccess::recipe(BookDocument& document, const GlazeCore::Uuid& id) {
    return present(findRecipe(document, id));
}

GlazeCore::Material& BookAccess::material(BookDocument& document, const std::string& canonicalID) {
    return present(findMaterial(document, canonicalID));
}

void BookAccess::recipeChanged(BookDocument& document, const GlazeCore::Uuid& id, RecipeField field) {
    emit document.recipeChanged(id, field);
    emit document.recipeEdited(id);
    BookAccess::bookChanged(document);
}

void BookAccess::lineChanged(BookDocument& document, const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID,
                             LineField field) {
    emit document.lineChanged(recipeID, int(*document.lineIndex(recipeID, lineID)), field);
    emit document.recipeEdited(recipeID);
    BookAccess::bookChanged(document);
}

void BookAccess::tileChanged(BookDocument& document, const GlazeCore::Uuid& id, TileField field) {
    emit document.tileChanged(id, int(*document.tileIndex(id)), field);
    BookAccess::bookChanged(document);
}

void BookAccess::materialChanged(BookDocument& document, const std::string& canonicalID, MaterialField field) {
    emit document.materialChanged(int(*document.m_materialIndex.find(canonicalID, book(document).customMaterials,
                                                                      canonicalIDOf)),
                                  field);
    document.customMaterialsChanged();
    BookAccess::bookChanged(document);
}

void BookAccess::bookChanged(BookDocument& document) {
    if (document.m_bookChangeHolds > 0) {
        document.m_bookChangeWaiting = true;
        return;
    }
    emit document.bookChanged();
}

BookAccess::OneBookChange::~OneBookChange() {
    if (--m_document.m_bookChangeHolds > 0 || !std::exchange(m_document.m_bookChangeWaiting, false)) return;
    emit m_document.bookChanged();
}

void BookAccess::nextTileNumberChanged(BookDocument& document) {
    emit document.nextTileNumberChanged();
    document.syncLedgerMark();
    BookAccess::bookChanged(document);
}

// --- Recipes ---------------------------------------------------------------------------------------------------

std::vector<GlazeCore::Recipe>& RecipeRows::items(BookDocument& document, const Owner&) {
    return BookAccess::book(document).recipes;
}

void RecipeRows::aboutToInsert(BookDocument& document, const Owner&, int first, int last) {
    emit document.recipesAboutToBeInserted(first, last);
}

void RecipeRows::inserted(BookDocument& document, const Owner&, int first, int last) {
    indexRows(document.m_recipeIndex, BookAccess::book(document).recipes, first, last, idOf<GlazeCore::Recipe>);
    emit document.recipesInserted(first, last);
    BookAccess::bookChanged(document);
}

void RecipeRows::aboutToRemove(BookDocument& document, const Owner&, int first, int last) {
    emit document.recipesAboutToBeRemoved(first, last);
    unindexRows(document.m_recipeIndex, BookAccess::book(document).recipes, first, last, idOf<GlazeCore::Recipe>);
}

void RecipeRows::removed(BookDocument& document, const Owner&, int first, int last) {
    emit document.recipesRemoved(first, last);
    BookAccess::bookChanged(document);
}

void RecipeRows::aboutToMove(BookDocument& document, const Owner&) {
    emit document.recipesAboutToBeMoved();
}

void RecipeRows::moved(BookDocument& document, const Owner&, const RowMove& move, bool reversed) {
    document.m_recipeIndex.invalidateFrom(std::min(move.rows.front(), move.start()));
    emit document.recipesMoved(move, reversed);
    BookAccess::bookChanged(document);
}

// --- Lines of one recipe -------------------------------------------------------------------------------------

std::vector<GlazeCore::RecipeLine>& LineRows::items(BookDocument& document, const Owner& recipeID) {
    return BookAccess::recipe(document, recipeID).lines;
}

void LineRows::aboutToInsert(BookDocument& document, const Owner& recipeID, int first, int last) {
    emit document.linesAboutToBeInserted(recipeID, first, last);
}

void LineRows::inserted(BookDocument& document, const Owner& recipeID, int first, int last) {
    if (document.m_lineIndexRecipe == recipeID)
        indexRows(document.m_lineIndex, items(document, recipeID), first, last, idOf<GlazeCore::RecipeLine>);
    emit document.linesInserted(recipeID, first, last);
    emit document.recipeEdited(recipeID);
    BookAccess::bookChanged(document);
}

void LineRows::aboutToRemove(BookDocument& document, const Owner& recipeID, int first, int last) {
    emit document.linesAboutToBeRemoved(recipeID, first, last);
    if (document.m_lineIndexRecipe == recipeID)
        unindexRows(document.m_lineIndex, items(document, recipeID), first, last, idOf<GlazeCore::RecipeLine>);
}

void LineRows::removed(BookDocument& document, const Owner& recipeID, int first, int last) {
    emit document.linesRemoved(recipeID, first, last);
    emit document.recipeEdited(recipeID);
    BookAccess::bookChanged(document);
}

void LineRows::aboutToReset(BookDocument& document, const Owner& recipeID) {
    emit document.linesAboutToBeReset(recipeID);
}

void LineRows::wasReset(BookDocument& document, const Owner& recipeID) {
    if (document.m_lineIndexRecipe == recipeID) document.m_lineIndexRecipe.reset();
    emit document.linesReset(recipeID);
    emit document.recipeEdited(recipeID);
    BookAccess::bookChanged(document);
}

// --- Test tiles ------------------------------------------------------------------------------------------------

std::vector<GlazeCore::TestTile>& TileRows::items(BookDocument& document, const Owner&) {
    return BookAccess::book(document).tests;
}

void TileRows::aboutToInsert(BookDocument& document, const Owner&, int first, int last) {
    emit document.testsAboutToBeInserted(first, last);
}

void TileRows::inserted(BookDocument& document, const Owner&, int first, int last) {
    indexRows(document.m_tileIndex, BookAccess::book(document).tests, first, last, idOf<GlazeCore::TestTile>);
    emit document.testsInserted(first, last);
    BookAccess::bookChanged(document);
}

void TileRows::aboutToRemove(BookDocument& document, const Owner&, int first, int last) {
    emit document.testsAboutToBeRemoved(first, last);
    unindexRows(document.m_tileIndex, BookAccess::book(document).tests, first, last, idOf<GlazeCore::TestTile>);
}

void TileRows::removed(BookDocument& document, const Owner&, int first, int last) {
    emit document.testsRemoved(first, last);
    BookAccess::bookChanged(document);
}

// --- Custom materials ------------------------------------------------------------------------------------------

std::vector<GlazeCore::Material>& MaterialRows::items(BookDocument& document, const Owner&) {
    return BookAccess::book(document).customMaterials;
}

void MaterialRows::aboutToInsert(BookDocument& document, const Owner&, int first, int last) {
    emit document.materialsAboutToBeInserted(first, last);
}

void MaterialRows::inserted(BookDocument& document, const Owner&, int first, int last) {
    indexRows(document.m_materialIndex, BookAccess::book(document).customMaterials, first, last, canonicalIDOf);
    emit document.materialsInserted(first, last);
    document.customMaterialsChanged();
    BookAccess::bookChanged(document);
}

void MaterialRows::aboutToRemove(BookDocument& document, const Owner&, int first, int last) {
    emit document.materialsAboutToBeRemoved(first, last);
    unindexRows(document.m_materialIndex, BookAccess::book(document).customMaterials, first, last, canonicalIDOf);
}

void MaterialRows::removed(BookDocument& document, const Owner&, int first, int last) {
    emit document.materialsRemoved(first, last);
    document.customMaterialsChanged();
    BookAccess::bookChanged(document);
}

} // namespace Orza
