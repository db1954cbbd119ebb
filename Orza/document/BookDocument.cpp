#include "Orza/document/BookDocument.h"

#include "GlazeCore/book/Atmosphere.h"
#include "GlazeCore/book/GlazeBookValidation.h"
#include "GlazeCore/text/UnicodeText.h"
#include "Orza/document/BookCommands.h"
#include "Orza/document/BookFields.h"
#include "Orza/document/BookItems.h"
#include "Orza/document/DocumentError.h"
#include "Orza/document/VisibleFileName.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/undo/RowCommands.h"
#include "Orza/undo/SetField.h"

#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <chrono>

namespace Orza {

namespace {

namespace Limits = GlazeCore::GlazeBookValidation;
constexpr auto maxItems = std::size_t(Limits::maxItems);
constexpr auto maxLines = std::size_t(Limits::maxLinesPerRecipe);
// Below this many lines a scan is as quick as keeping an index.
constexpr std::size_t indexedLineCount = 32;

const GlazeCore::Uuid& idOf(const GlazeCore::Recipe& recipe) {
    return recipe.id;
}
const GlazeCore::Uuid& idOfLine(const GlazeCore::RecipeLine& line) {
    return line.id;
}
const GlazeCore::Uuid& idOfTile(const GlazeCore::TestTile& tile) {
    return tile.id;
}
std::string canonicalIDOf(const GlazeCore::Material& material) {
    return GlazeCore::UnicodeText::canonicalForm(material.id);
}

std::vector<GlazeCore::FiringSegment> defaultSchedule() {
    return {{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}};
}

/// The sorted, distinct positions of the ids `find` knows; the others are left out.
template <class Find> std::vector<std::size_t> positionsOf(const std::vector<GlazeCore::Uuid>& ids, Find find) {
    std::vector<std::size_t> positions;
    for (const GlazeCore::Uuid& id : ids)
        if (const auto position = find(id)) positions.push_back(*position);
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

bool scheduleFits(const std::vector<GlazeCore::FiringSegment>& schedule) {
    if (schedule.size() > std::size_t(Limits::maxSegmentsPerTile)) return false;
    return std::all_of(schedule.begin(), schedule.end(), [](const GlazeCore::FiringSegment& s) {
        return Limits::withinLimit(s.ratePerHour, Limits::maxFiringValue) &&
               Limits::withinLimit(s.targetC, Limits::maxFiringValue) &&
               Limits::withinLimit(s.holdMinutes, Limits::maxFiringValue);
    });
}

} // namespace

BookDocument::BookDocument(GlazeDocument document, const QString& filePath, QObject* parent)
    : QObject(parent), m_document(std::move(document)), m_filePath(filePath), m_undoStack(new QUndoStack(this)) {
    if (!m_filePath.isEmpty()) m_diskStamp = FileStamp::ofPath(m_filePath);
    rebuildIndexes();
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &BookDocument::updateModified);
    // Codes given on opening live only in memory until saved: the book is edited, so closing asks.
    m_markedEdited = m_document.backfillNotice.has_value();
    m_modified = m_markedEdited;
}

BookDocument::~BookDocument() {
    // The stack's commands refer to this document; let them go while it is still whole.
    m_undoStack->disconnect(this);
    delete m_undoStack;
    delete m_group;
}

const BookLibrary& BookDocument::library() const {
    if (!m_library) m_library = std::make_shared<const BookLibrary>(m_document.book.customMaterials);
    return *m_library;
}

QString BookDocument::displayName() const {
    if (!m_filePath.isEmpty()) return visibleFileName(m_filePath);
    return m_untitledName.isEmpty() ? tr("Untitled") : m_untitledName;
}

bool BookDocument::fileChangedOnDisk() const {
    if (m_filePath.isEmpty() || !m_diskStamp) return false;
    const std::optional<FileStamp> now = FileStamp::ofPath(m_filePath);
    return now && now->isWrittenSince(*m_diskStamp);
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

void BookDocument::syncLedgerMark() {
    if (!m_document.tileLedger->isAhead(m_document.book)) return;
    ++m_ledgerMarks;
    // Marked on the main queue, after the change that lowered the book's number has settled.
    QTimer::singleShot(0, this, &BookDocument::markEdited);
}

void BookDocument::customMaterialsChanged() {
    m_library.reset();
    emit libraryChanged();
}

void BookDocument::rebuildIndexes() {
    const GlazeCore::GlazeBook& book = m_document.book;
    m_recipeIndex.rebuild(book.recipes, idOf);
    m_tileIndex.rebuild(book.tests, idOfTile);
    m_materialIndex.rebuild(book.customMaterials, canonicalIDOf);
    m_lineIndexRecipe.reset();
    m_library.reset();
}

void BookDocument::push(QUndoCommand* command) {
    if (m_group) {
        command->redo(); // made as a child of the group, which the stack takes as one step
        return;
    }
    m_undoStack->push(command);
}

BookDocument::ChangeGroup::ChangeGroup(BookDocument& document, const QString& label) : m_document(document) {
    if (m_document.m_groupDepth++ == 0) m_document.m_group = new ChangeGroupCommand(label);
    m_document.endEditBurst();
}

BookDocument::ChangeGroup::~ChangeGroup() {
    m_document.endEditBurst();
    if (--m_document.m_groupDepth > 0) return;
    QUndoCommand* group = std::exchange(m_document.m_group, nullptr);
    if (group->childCount() > 0)
        m_document.m_undoStack->push(group);
    else
        delete group;
}

template <class Field> bool BookDocument::setField(const typename Field::Key& key, typename Field::Value value) {
    const std::optional<typename Field::Value> now = Field::current(*this, key);
    if (!now || Field::same(*now, value)) return false;
    push(new SetField<Field>(*this, key, std::move(value), m_burst, m_group));
    return true;
}

// --- Recipes ---------------------------------------------------------------------------------------------------

std::optional<std::size_t> BookDocument::recipeIndex(const GlazeCore::Uuid& id) const {
    return m_recipeIndex.find(id, m_document.book.recipes, idOf);
}

const GlazeCore::Recipe* BookDocument::recipe(const GlazeCore::Uuid& id) const {
    const auto index = recipeIndex(id);
    return index ? &m_document.book.recipes[*index] : nullptr;
}

bool BookDocument::canAddRecipe() const {
    return m_document.book.recipes.size() < maxItems;
}

std::optional<GlazeCore::Uuid> BookDocument::addNewRecipe() {
    const std::size_t number = m_document.book.recipes.size() + 1;
    GlazeCore::RecipeLine blank{GlazeCore::Uuid::random(), std::string(), 0, false};
    GlazeCore::Recipe recipe{
        GlazeCore::Uuid::random(), tr("New recipe %1").arg(number).toStdString(), "6", {blank}, std::string()};
    const GlazeCore::Uuid id = recipe.id;
    if (!insertRecipe(m_document.book.recipes.size(), std::move(recipe), tr("Add Recipe"))) return std::nullopt;
    return id;
}

std::optional<GlazeCore::Uuid> BookDocument::duplicateRecipe(const GlazeCore::Uuid& id) {
    const auto index = recipeIndex(id);
    if (!index) return std::nullopt;
    GlazeCore::Recipe copy = Orza::duplicateRecipe(m_document.book.recipes[*index]);
    const GlazeCore::Uuid copyID = copy.id;
    if (!insertRecipe(*index + 1, std::move(copy), tr("Duplicate Recipe"))) return std::nullopt;
    return copyID;
}

bool BookDocument::insertRecipe(std::size_t index, GlazeCore::Recipe recipe, const QString& label) {
    if (!canAddRecipe() || recipeIndex(recipe.id)) return false;
    index = std::min(index, m_document.book.recipes.size());
    std::vector<GlazeCore::Recipe> items;
    items.push_back(std::move(recipe));
    push(new InsertRows<RecipeRows>(*this, {}, index, std::move(items), label, m_group));
    return true;
}

bool BookDocument::removeRecipe(const GlazeCore::Uuid& id) {
    const auto index = recipeIndex(id);
    if (!index) return false;
    push(new RemoveRows<RecipeRows>(*this, {}, {*index}, tr("Delete Recipe"), m_group));
    return true;
}

bool BookDocument::moveRecipes(const RowMove& move) {
    const RowMove checked = RowMove::make(move.rows, move.destination, m_document.book.recipes.size());
    if (checked.rows.empty() || checked.isNoOp()) return false;
    push(new MoveRows<RecipeRows>(*this, {}, checked, checked.rows.size() == 1 ? tr("Move Recipe") : tr("Move Recipes"),
                                  m_group));
    return true;
}

bool BookDocument::renameRecipe(const GlazeCore::Uuid& id, const std::string& text) {
    const std::string trimmed = GlazeCore::UnicodeText::trimWhitespaceAndNewlines(text);
    if (trimmed.empty()) return false;
    // A rename from the dialog is a step of its own, never part of a typing burst.
    endEditBurst();
    const bool changed = setRecipeName(id, trimmed);
    endEditBurst();
    return changed;
}

bool BookDocument::setRecipeName(const GlazeCore::Uuid& id, std::string name) {
    return setField<BookFields::RecipeName>({id}, std::move(name));
}

bool BookDocument::setRecipeCone(const GlazeCore::Uuid& id, std::string cone) {
    return setField<BookFields::RecipeCone>({id}, std::move(cone));
}

bool BookDocument::setRecipeNotes(const GlazeCore::Uuid& id, std::string notes) {
    return setField<BookFields::RecipeNotes>({id}, std::move(notes));
}

// --- Lines -----------------------------------------------------------------------------------------------------

std::optional<std::size_t> BookDocument::lineIndex(const GlazeCore::Uuid& recipeID,
                                                   const GlazeCore::Uuid& lineID) const {
    const GlazeCore::Recipe* owner = recipe(recipeID);
    if (!owner) return std::nullopt;
    const auto& lines = owner->lines;
    if (lines.size() <= indexedLineCount) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].id == lineID) return i;
        return std::nullopt;
    }
    if (m_lineIndexRecipe != recipeID) {
        m_lineIndex.rebuild(lines, idOfLine);
        m_lineIndexRecipe = recipeID;
    }
    return m_lineIndex.find(lineID, lines, idOfLine);
}

bool BookDocument::canAddLine(const GlazeCore::Uuid& recipeID) const {
    const GlazeCore::Recipe* owner = recipe(recipeID);
    return owner && owner->lines.size() < maxLines;
}

std::optional<GlazeCore::Uuid> BookDocument::addLine(const GlazeCore::Uuid& recipeID) {
    const GlazeCore::Recipe* owner = recipe(recipeID);
    if (!owner) return std::nullopt;
    GlazeCore::RecipeLine blank{GlazeCore::Uuid::random(), std::string(), 0, false};
    const GlazeCore::Uuid id = blank.id;
    if (!insertLine(recipeID, owner->lines.size(), std::move(blank), tr("Add Material"))) return std::nullopt;
    return id;
}

bool BookDocument::insertLine(const GlazeCore::Uuid& recipeID, std::size_t index, GlazeCore::RecipeLine line,
                              const QString& label) {
    if (!canAddLine(recipeID) || lineIndex(recipeID, line.id)) return false;
    if (!Limits::withinLimit(line.amount, Limits::maxAmount)) return false;
    index = std::min(index, recipe(recipeID)->lines.size());
    std::vector<GlazeCore::RecipeLine> items;
    items.push_back(std::move(line));
    push(new InsertRows<LineRows>(*this, recipeID, index, std::move(items), label, m_group));
    return true;
}

bool BookDocument::removeLines(const GlazeCore::Uuid& recipeID, const std::vector<GlazeCore::Uuid>& lineIDs) {
    const auto positions = positionsOf(lineIDs, [&](const GlazeCore::Uuid& id) { return lineIndex(recipeID, id); });
    if (positions.empty()) return false;
    push(new RemoveRows<LineRows>(*this, recipeID, positions,
                                  positions.size() == 1 ? tr("Remove Material") : tr("Remove Materials"), m_group));
    return true;
}

bool BookDocument::setLines(const GlazeCore::Uuid& recipeID, std::vector<GlazeCore::RecipeLine> lines,
                            const QString& label) {
    const GlazeCore::Recipe* owner = recipe(recipeID);
    if (!owner || lines.size() > maxLines || owner->lines == lines) return false;
    for (const GlazeCore::RecipeLine& line : lines)
        if (!Limits::withinLimit(line.amount, Limits::maxAmount)) return false;
    push(new ReplaceRows<LineRows>(*this, recipeID, std::move(lines), label, m_group));
    return true;
}

bool BookDocument::setLineMaterial(const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID,
                                   std::string materialID) {
    // A material is picked, never typed: each pick is a step of its own.
    endEditBurst();
    const bool changed = setField<BookFields::LineMaterial>({recipeID, lineID}, std::move(materialID));
    endEditBurst();
    return changed;
}

bool BookDocument::setLineAmount(const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID, double amount) {
    if (!Limits::withinLimit(amount, Limits::maxAmount)) return false;
    return setField<BookFields::LineAmount>({recipeID, lineID}, amount);
}

bool BookDocument::setLineAddition(const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID, bool isAddition) {
    return setField<BookFields::LineAddition>({recipeID, lineID}, isAddition);
}

// --- Test tiles ------------------------------------------------------------------------------------------------

std::optional<std::size_t> BookDocument::tileIndex(const GlazeCore::Uuid& id) const {
    return m_tileIndex.find(id, m_document.book.tests, idOfTile);
}

const GlazeCore::TestTile* BookDocument::tile(const GlazeCore::Uuid& id) const {
    const auto index = tileIndex(id);
    return index ? &m_document.book.tests[*index] : nullptr;
}

bool BookDocument::canAddTest() const {
    return m_document.book.tests.size() < maxItems;
}

std::optional<GlazeCore::Uuid> BookDocument::addNewTestTile(const std::optional<GlazeCore::Uuid>& recipeID) {
    const GlazeCore::Recipe* chosen = recipeID ? recipe(*recipeID) : nullptr;
    if (!chosen && !m_document.book.recipes.empty()) chosen = &m_document.book.recipes.front();
    if (!chosen) return std::nullopt;
    GlazeCore::TestTile tile;
    tile.id = GlazeCore::Uuid::random();
    tile.recipeID = chosen->id;
    tile.cone = chosen->cone;
    tile.atmosphere = std::string(GlazeCore::rawValue(GlazeCore::Atmosphere::oxidation));
    tile.schedule = defaultSchedule();
    // Whole seconds, as the file keeps dates: the tile reads back exactly as it was made.
    tile.date = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const GlazeCore::Uuid id = tile.id;
    if (!addTestTile(std::move(tile))) return std::nullopt;
    return id;
}

bool BookDocument::addTestTile(GlazeCore::TestTile tile) {
    if (!canAddTest() || tileIndex(tile.id) || !scheduleFits(tile.schedule)) return false;
    GlazeCore::GlazeBook& book = m_document.book;
    const std::size_t index = book.tests.size();
    const std::int64_t oldNext = book.nextTileNumber;
    // The ledger appends under its own lock; the command records what it did.
    TileRows::aboutToInsert(*this, {}, int(index), int(index));
    m_document.tileLedger->addTile(std::move(tile), book);
    TileRows::inserted(*this, {}, int(index), int(index));
    if (book.nextTileNumber != oldNext) BookAccess::nextTileNumberChanged(*this);
    push(new AddTestTile(*this, index, oldNext, book.nextTileNumber, tr("Add Test Tile"), m_group));
    return true;
}

bool BookDocument::removeTests(const std::vector<GlazeCore::Uuid>& tileIDs) {
    const auto positions = positionsOf(tileIDs, [&](const GlazeCore::Uuid& id) { return tileIndex(id); });
    if (positions.empty()) return false;
    push(new RemoveRows<TileRows>(*this, {}, positions,
                                  positions.size() == 1 ? tr("Delete Test Tile") : tr("Delete Test Tiles"), m_group));
    return true;
}

bool BookDocument::setTileRecipe(const GlazeCore::Uuid& id, const GlazeCore::Uuid& recipeID) {
    return setField<BookFields::TileRecipe>({id}, recipeID);
}

bool BookDocument::setTileCone(const GlazeCore::Uuid& id, std::string cone) {
    return setField<BookFields::TileCone>({id}, std::move(cone));
}

bool BookDocument::setTileAtmosphere(const GlazeCore::Uuid& id, std::string atmosphere) {
    return setField<BookFields::TileAtmosphere>({id}, std::move(atmosphere));
}

bool BookDocument::setTileSchedule(const GlazeCore::Uuid& id, std::vector<GlazeCore::FiringSegment> schedule) {
    if (!scheduleFits(schedule)) return false;
    return setField<BookFields::TileSchedule>({id}, std::move(schedule));
}

bool BookDocument::setTileNotes(const GlazeCore::Uuid& id, std::string notes) {
    return setField<BookFields::TileNotes>({id}, std::move(notes));
}

bool BookDocument::setTilePhoto(const GlazeCore::Uuid& id, std::optional<GlazeCore::Bytes> bookmark) {
    return setField<BookFields::TilePhoto>({id}, std::move(bookmark));
}

bool BookDocument::setTileDate(const GlazeCore::Uuid& id, GlazeCore::Date date) {
    return setField<BookFields::TileDate>({id}, date);
}

bool BookDocument::setTileCode(const GlazeCore::Uuid& id, std::string code) {
    return setField<BookFields::TileCode>({id}, std::move(code));
}

std::optional<std::vector<std::string>> BookDocument::appendRecipesAndTiles(std::vector<GlazeCore::Recipe> recipes,
                                                                            std::vector<GlazeCore::TestTile> tiles,
                                                                            const QString& label) {
    const GlazeCore::GlazeBook& book = m_document.book;
    if (recipes.empty() && tiles.empty()) return std::nullopt;
    if (book.recipes.size() + recipes.size() > maxItems || book.tests.size() + tiles.size() > maxItems)
        return std::nullopt;
    for (const GlazeCore::Recipe& recipe : recipes)
        if (recipeIndex(recipe.id)) return std::nullopt;
    for (const GlazeCore::TestTile& tile : tiles)
        if (tileIndex(tile.id) || !scheduleFits(tile.schedule)) return std::nullopt;
    // The ledger codes the tiles on a working copy of the tests, so that the book changes in one step.
    GlazeCore::GlazeBook working;
    working.nextTileNumber = book.nextTileNumber;
    std::vector<std::string> codes;
    std::vector<GlazeCore::TestTile> coded;
    if (!tiles.empty()) {
        working.tests = book.tests;
        codes = m_document.tileLedger->addTiles(std::move(tiles), working);
        coded.assign(std::make_move_iterator(working.tests.begin() + std::ptrdiff_t(book.tests.size())),
                     std::make_move_iterator(working.tests.end()));
    }
    endEditBurst();
    push(
        new AppendRecipesAndTiles(*this, std::move(recipes), std::move(coded), working.nextTileNumber, label, m_group));
    endEditBurst();
    return codes;
}

// --- Custom materials ------------------------------------------------------------------------------------------

std::optional<std::size_t> BookDocument::materialIndex(std::string_view id) const {
    return m_materialIndex.find(GlazeCore::UnicodeText::canonicalForm(id), m_document.book.customMaterials,
                                canonicalIDOf);
}

bool BookDocument::canAddMaterial() const {
    return m_document.book.customMaterials.size() < maxItems;
}

bool BookDocument::insertMaterial(std::size_t index, GlazeCore::Material material, const QString& label) {
    if (!canAddMaterial() || materialIndex(material.id)) return false;
    index = std::min(index, m_document.book.customMaterials.size());
    std::vector<GlazeCore::Material> items;
    items.push_back(std::move(material));
    push(new InsertRows<MaterialRows>(*this, {}, index, std::move(items), label, m_group));
    return true;
}

bool BookDocument::removeMaterial(std::string_view id) {
    const auto index = materialIndex(id);
    if (!index) return false;
    push(new RemoveRows<MaterialRows>(*this, {}, {*index}, tr("Delete Material"), m_group));
    return true;
}

bool BookDocument::setMaterialName(std::string_view id, std::string name) {
    return setField<BookFields::MaterialName>({GlazeCore::UnicodeText::canonicalForm(id)}, std::move(name));
}

bool BookDocument::setMaterialSource(std::string_view id, std::string source) {
    return setField<BookFields::MaterialSource>({GlazeCore::UnicodeText::canonicalForm(id)}, std::move(source));
}

bool BookDocument::setMaterialLoi(std::string_view id, double loi) {
    if (!Limits::withinLimit(loi, Limits::maxPercent)) return false;
    return setField<BookFields::MaterialLoi>({GlazeCore::UnicodeText::canonicalForm(id)}, loi);
}

bool BookDocument::setMaterialOxide(std::string_view id, GlazeCore::Oxide oxide, std::optional<double> percent) {
    if (percent && !Limits::withinLimit(*percent, Limits::maxPercent)) return false;
    return setField<BookFields::MaterialOxide>({GlazeCore::UnicodeText::canonicalForm(id), oxide}, percent);
}

// --- Files -----------------------------------------------------------------------------------------------------

void BookDocument::endFieldEdits() {
    // Inside the field's burst, so a refused text's take-back drops the step its typing merged into.
    emit fieldEditsEnding();
    endEditBurst();
}

void BookDocument::save(const QString& path) {
    endFieldEdits();
    m_diskStamp = m_document.save(path);

    const bool moved = path != m_filePath;
    m_filePath = path;
    m_markedEdited = false;
    endEditBurst();
    m_undoStack->setClean();
    updateModified();
    if (moved) emit filePathChanged();
}

void BookDocument::revert() {
    if (m_filePath.isEmpty()) return;
    endFieldEdits();
    std::optional<FileStamp> stamp;
    GlazeDocument reread = GlazeDocument::read(m_filePath, &stamp);
    // The ledger lives as long as the document: a code handed out before the revert may be on a label already.
    reread.tileLedger = m_document.tileLedger;
    emit aboutToReset();
    m_undoStack->clear();
    m_document = std::move(reread);
    m_diskStamp = stamp;
    rebuildIndexes();
    m_markedEdited = m_document.backfillNotice.has_value();
    endEditBurst();
    emit reset();
    emit libraryChanged();
    emit nextTileNumberChanged();
    emit bookChanged();
    updateModified();
    // The book read again may be behind the ledger: the numbers handed out since must still be saved.
    syncLedgerMark();
}

} // namespace Orza
