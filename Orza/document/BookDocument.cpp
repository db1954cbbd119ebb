#include "Orza/document/BookDocument.h"

#include "GlazeCore/book/Edit.h"
#include "GlazeCore/book/GlazeBookValidation.h"
#include "GlazeCore/core/Error.h"
#include "Orza/undo/RecipeCommands.h"
#include "Orza/undo/TestCommands.h"
#include "Orza/document/DocumentError.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QUndoStack>

namespace Orza {

namespace {

constexpr auto maxItems = static_cast<std::size_t>(GlazeCore::GlazeBookValidation::maxItems);

} // namespace

BookDocument::BookDocument(GlazeDocument document, const QString& filePath, QObject* parent)
    : QObject(parent), m_document(std::move(document)), m_filePath(filePath), m_undoStack(new QUndoStack(this)) {
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &BookDocument::updateModified);
}

BookDocument::~BookDocument() {
    // The stack's commands refer to this document; let them go while it is still whole.
    m_undoStack->disconnect(this);
    delete m_undoStack;
}

QString BookDocument::displayName() const {
    if (!m_filePath.isEmpty()) return QFileInfo(m_filePath).fileName();
    return m_untitledName.isEmpty() ? tr("Untitled") : m_untitledName;
}

void BookDocument::markEdited() {
    m_markedEdited = true;
    updateModified();
}

void BookDocument::updateModified() {
    const bool modified = m_markedEdited || !m_undoStack->isClean();
    if (modified == m_modified) return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

std::optional<std::size_t> BookDocument::recipeIndex(const GlazeCore::Uuid& id) const {
    const auto& recipes = m_document.book.recipes;
    for (std::size_t i = 0; i < recipes.size(); ++i)
        if (recipes[i].id == id) return i;
    return std::nullopt;
}

bool BookDocument::canAddRecipe() const {
    return m_document.book.recipes.size() < maxItems;
}

bool BookDocument::canAddTest() const {
    return m_document.book.tests.size() < maxItems;
}

bool BookDocument::setRecipe(const GlazeCore::Recipe& recipe, const QString& label) {
    const auto index = GlazeCore::Edit::replaceByID(m_document.book.recipes, recipe);
    if (!index) return false;
    m_undoStack->push(new SetRecipe(*this, *index, recipe, label.isEmpty() ? tr("Edit Recipe") : label));
    return true;
}

bool BookDocument::insertRecipe(std::size_t index, GlazeCore::Recipe recipe, const QString& label) {
    if (!canAddRecipe()) return false;
    index = std::min(index, m_document.book.recipes.size());
    m_undoStack->push(new InsertRecipe(*this, index, std::move(recipe), label));
    return true;
}

bool BookDocument::removeRecipe(const GlazeCore::Uuid& id) {
    std::vector<std::size_t> indices;
    const auto& recipes = m_document.book.recipes;
    for (std::size_t i = 0; i < recipes.size(); ++i)
        if (recipes[i].id == id) indices.push_back(i);
    if (indices.empty()) return false;
    m_undoStack->push(new RemoveRecipes(*this, std::move(indices), tr("Delete Recipe")));
    return true;
}

bool BookDocument::moveRecipes(const RowMove& move) {
    const RowMove checked = RowMove::make(move.rows, move.destination, m_document.book.recipes.size());
    if (checked.rows.empty() || checked.isNoOp()) return false;
    m_undoStack->push(
        new MoveRecipes(*this, checked, checked.rows.size() == 1 ? tr("Move Recipe") : tr("Move Recipes")));
    return true;
}

bool BookDocument::addTestTile(GlazeCore::TestTile tile) {
    if (!canAddTest()) return false;
    GlazeCore::GlazeBook& book = m_document.book;
    const std::size_t index = book.tests.size();
    const std::int64_t oldNext = book.nextTileNumber;
    // The ledger appends under its own lock; the command records what it did.
    emit testsAboutToBeInserted(int(index), int(index));
    m_document.tileLedger->addTile(std::move(tile), book);
    emit testsInserted(int(index), int(index));
    if (book.nextTileNumber != oldNext) emit nextTileNumberChanged();
    emit bookChanged();
    m_undoStack->push(new AddTestTile(*this, index, oldNext, book.nextTileNumber, tr("Add Test Tile")));
    return true;
}

void BookDocument::save(const QString& path) {
    std::string bytes;
    try {
        bytes = m_document.fileBytes();
    } catch (const GlazeCore::Error& error) {
        throw DocumentError(QString::fromStdString(error.message()));
    } catch (const std::exception& error) {
        throw DocumentError(QString::fromUtf8(error.what()));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DocumentError(
            tr("The file could not be written: %1. The file on disk was not changed.").arg(file.errorString()));
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw DocumentError(tr("The file could not be written: %1. The file on disk was not changed.").arg(reason));
    }
    if (!file.commit())
        throw DocumentError(
            tr("The file could not be written: %1. The file on disk was not changed.").arg(file.errorString()));

    const bool moved = path != m_filePath;
    m_filePath = path;
    m_markedEdited = false;
    m_undoStack->setClean();
    updateModified();
    if (moved) emit filePathChanged();
}

void BookDocument::revert() {
    if (m_filePath.isEmpty()) return;
    GlazeDocument reread = GlazeDocument::read(m_filePath);
    // The ledger lives as long as the document: a code handed out before the revert may be on a label already.
    reread.tileLedger = m_document.tileLedger;
    emit aboutToReset();
    m_undoStack->clear();
    m_document = std::move(reread);
    m_markedEdited = false;
    emit reset();
    emit nextTileNumberChanged();
    emit bookChanged();
    updateModified();
}

void BookDocument::replaceRecipeAt(std::size_t index, GlazeCore::Recipe& recipe) {
    std::swap(m_document.book.recipes[index], recipe);
    emit recipeChanged(int(index));
    emit bookChanged();
}

void BookDocument::insertRecipeAt(std::size_t index, GlazeCore::Recipe recipe) {
    auto& recipes = m_document.book.recipes;
    emit recipesAboutToBeInserted(int(index), int(index));
    recipes.insert(recipes.begin() + static_cast<std::ptrdiff_t>(index), std::move(recipe));
    emit recipesInserted(int(index), int(index));
    emit bookChanged();
}

GlazeCore::Recipe BookDocument::takeRecipeAt(std::size_t index) {
    auto& recipes = m_document.book.recipes;
    emit recipesAboutToBeRemoved(int(index), int(index));
    GlazeCore::Recipe taken = std::move(recipes[index]);
    recipes.erase(recipes.begin() + static_cast<std::ptrdiff_t>(index));
    emit recipesRemoved(int(index), int(index));
    emit bookChanged();
    return taken;
}

void BookDocument::applyMove(const RowMove& move, bool reversed) {
    emit recipesAboutToBeMoved();
    if (reversed)
        move.revert(m_document.book.recipes);
    else
        move.apply(m_document.book.recipes);
    emit recipesMoved(move, reversed);
    emit bookChanged();
}

void BookDocument::insertTestAt(std::size_t index, GlazeCore::TestTile tile) {
    auto& tests = m_document.book.tests;
    emit testsAboutToBeInserted(int(index), int(index));
    tests.insert(tests.begin() + static_cast<std::ptrdiff_t>(index), std::move(tile));
    emit testsInserted(int(index), int(index));
    emit bookChanged();
}

GlazeCore::TestTile BookDocument::takeTestAt(std::size_t index) {
    auto& tests = m_document.book.tests;
    emit testsAboutToBeRemoved(int(index), int(index));
    GlazeCore::TestTile taken = std::move(tests[index]);
    tests.erase(tests.begin() + static_cast<std::ptrdiff_t>(index));
    emit testsRemoved(int(index), int(index));
    emit bookChanged();
    return taken;
}

void BookDocument::setNextTileNumber(std::int64_t value) {
    if (m_document.book.nextTileNumber == value) return;
    m_document.book.nextTileNumber = value;
    emit nextTileNumberChanged();
    emit bookChanged();
}

} // namespace Orza
