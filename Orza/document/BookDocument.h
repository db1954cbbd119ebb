#pragma once

#include "Orza/document/BookFieldNames.h"
#include "Orza/document/FileStamp.h"
#include "Orza/document/GlazeDocument.h"
#include "Orza/document/PositionIndex.h"
#include "Orza/undo/RowMove.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QUndoCommand;
class QUndoStack;

namespace Orza {

class BookLibrary;
struct BookAccess;
struct LineRows;
struct MaterialRows;
struct RecipeRows;
struct TileRows;

/**
 * The open document of one book window: owns the GlazeDocument, its undo stack and the book's material
 * library.
 *
 * The book changes only through the edit methods here. Each finds its item by id in constant time, stores
 * one undoable change holding only the field it changes (or nothing when the value is already there), and
 * sends a signal naming what changed: which recipe, line, tile or material, which field, which rows. No
 * edit copies or compares the whole book.
 *
 * Consecutive edits of one field of one item merge into one undo step until the burst ends: an edit of
 * anything else, an undo or redo, or endEditBurst() (a field losing the focus). A merged step whose value
 * is back where it began is dropped. Changes made together go into one step with ChangeGroup.
 *
 * "Modified" follows the undo stack's clean state, plus markEdited() for a change the book does not show
 * (a tile-code ledger ahead of the book).
 */
class BookDocument final : public QObject {
    Q_OBJECT
public:
    explicit BookDocument(GlazeDocument document, const QString& filePath = {}, QObject* parent = nullptr);
    ~BookDocument() override;

    const GlazeDocument& document() const { return m_document; }
    const GlazeCore::GlazeBook& book() const { return m_document.book; }
    bool isSample() const { return m_document.isSample; }
    GlazeCore::TileCodeLedger& tileLedger() const { return *m_document.tileLedger; }
    const std::optional<GlazeCore::TileCode::BackfillNotice>& backfillNotice() const {
        return m_document.backfillNotice;
    }
    /// The book's custom materials over the built-in ones; rebuilt once after its custom materials change.
    const BookLibrary& library() const;

    const QString& filePath() const { return m_filePath; }
    bool isUntitled() const { return m_filePath.isEmpty(); }
    /// The file's name as titles and messages show it (visibleFileName), or the untitled name the application
    /// gave the document.
    QString displayName() const;
    void setUntitledName(const QString& name) { m_untitledName = name; }

    /// The file as this document last read or wrote it; taken from the file when the document is made.
    void setDiskStamp(std::optional<FileStamp> stamp) { m_diskStamp = stamp; }
    /// True when another program wrote the book's file since this document last read or wrote it; false for
    /// a file that has gone, which a save simply writes again.
    bool fileChangedOnDisk() const;

    QUndoStack* undoStack() const { return m_undoStack; }
    bool isModified() const { return m_modified; }
    /// Marks the document edited without a change to the book, so that it gets saved again.
    void markEdited();
    /// How often the document found its tile-code ledger ahead of the book and marked itself edited.
    int ledgerMarks() const { return m_ledgerMarks; }

    /// True while an undo or redo takes its step, so listeners can tell a step taken again from a new edit.
    bool isReplaying() const { return m_replaying > 0; }

    /// Ends the current typing burst: the next edit is a new undo step even of the same field.
    void endEditBurst() { ++m_burst; }
    /// Ends the edit of whichever field is editing the book, exactly as leaving that field ends it, and then
    /// the typing burst. Every command (ActionRegistry::run), saving, reverting and every question about
    /// unsaved changes begin here, so that what is written or weighed is what the potter typed and kept.
    void endFieldEdits();

    /// Makes every change until it ends one undo step named `label`.
    class ChangeGroup {
    public:
        ChangeGroup(BookDocument& document, const QString& label);
        ~ChangeGroup();
        ChangeGroup(const ChangeGroup&) = delete;
        ChangeGroup& operator=(const ChangeGroup&) = delete;

    private:
        BookDocument& m_document;
    };

    // --- Recipes -----------------------------------------------------------------------------------------------
    std::optional<std::size_t> recipeIndex(const GlazeCore::Uuid& id) const;
    const GlazeCore::Recipe* recipe(const GlazeCore::Uuid& id) const;
    /// False once the book holds as many recipes as a book file may.
    bool canAddRecipe() const;
    /// Appends "New recipe N" (N: the number of recipes after it) with cone 6 and one blank line.
    std::optional<GlazeCore::Uuid> addNewRecipe();
    /// Inserts a copy named "<name> copy" with fresh ids right after the recipe.
    std::optional<GlazeCore::Uuid> duplicateRecipe(const GlazeCore::Uuid& id);
    /// Inserts at `index` (clamped); refused at the recipe limit or when the id is already in the book.
    bool insertRecipe(std::size_t index, GlazeCore::Recipe recipe, const QString& label);
    /// Removes the recipe; tiles that name it keep their recipe id.
    bool removeRecipe(const GlazeCore::Uuid& id);
    bool moveRecipes(const RowMove& move);
    /// Renames to the text trimmed of white space and line breaks; an empty result leaves the name.
    bool renameRecipe(const GlazeCore::Uuid& id, const std::string& text);
    bool setRecipeName(const GlazeCore::Uuid& id, std::string name);
    bool setRecipeCone(const GlazeCore::Uuid& id, std::string cone);
    bool setRecipeNotes(const GlazeCore::Uuid& id, std::string notes);

    // --- Lines of a recipe -------------------------------------------------------------------------------------
    std::optional<std::size_t> lineIndex(const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID) const;
    /// False for a recipe that is not in the book or holds as many lines as a book file allows.
    bool canAddLine(const GlazeCore::Uuid& recipeID) const;
    /// Appends a blank line: no material, amount 0, not an addition.
    std::optional<GlazeCore::Uuid> addLine(const GlazeCore::Uuid& recipeID);
    bool insertLine(const GlazeCore::Uuid& recipeID, std::size_t index, GlazeCore::RecipeLine line,
                    const QString& label);
    bool removeLines(const GlazeCore::Uuid& recipeID, const std::vector<GlazeCore::Uuid>& lineIDs);
    /// Replaces all the lines at once (a normalised base, an applied reformulation): one step named `label`.
    bool setLines(const GlazeCore::Uuid& recipeID, std::vector<GlazeCore::RecipeLine> lines, const QString& label);
    /// A step of its own: two picks on one line are two steps.
    bool setLineMaterial(const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID, std::string materialID);
    /// Refused for an amount a book file may not hold (not finite, or beyond its limit).
    bool setLineAmount(const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID, double amount);
    bool setLineAddition(const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID, bool isAddition);

    // --- Test tiles --------------------------------------------------------------------------------------------
    std::optional<std::size_t> tileIndex(const GlazeCore::Uuid& id) const;
    const GlazeCore::TestTile* tile(const GlazeCore::Uuid& id) const;
    bool canAddTest() const;
    /// A new tile of the given recipe (else the first recipe) with the default schedule, dated now, coded by
    /// the ledger. None in a book without recipes or at the tile limit.
    std::optional<GlazeCore::Uuid> addNewTestTile(const std::optional<GlazeCore::Uuid>& recipeID);
    /// Appends the tile through the document's ledger, which gives it the next default code; refused at the
    /// tile limit.
    bool addTestTile(GlazeCore::TestTile tile);
    bool removeTests(const std::vector<GlazeCore::Uuid>& tileIDs);
    bool setTileRecipe(const GlazeCore::Uuid& id, const GlazeCore::Uuid& recipeID);
    bool setTileCone(const GlazeCore::Uuid& id, std::string cone);
    bool setTileAtmosphere(const GlazeCore::Uuid& id, std::string atmosphere);
    bool setTileSchedule(const GlazeCore::Uuid& id, std::vector<GlazeCore::FiringSegment> schedule);
    bool setTileNotes(const GlazeCore::Uuid& id, std::string notes);
    bool setTilePhoto(const GlazeCore::Uuid& id, std::optional<GlazeCore::Bytes> bookmark);
    bool setTileDate(const GlazeCore::Uuid& id, GlazeCore::Date date);
    bool setTileCode(const GlazeCore::Uuid& id, std::string code);

    /// Appends the recipes, then the tiles coded by the document's ledger, as one change of the book: one undo
    /// step named `label`, heard once through bookChanged. Returns the codes the tiles got; none, and nothing
    /// changed, when the book cannot take them all.
    std::optional<std::vector<std::string>> appendRecipesAndTiles(std::vector<GlazeCore::Recipe> recipes,
                                                                  std::vector<GlazeCore::TestTile> tiles,
                                                                  const QString& label);

    // --- Custom materials --------------------------------------------------------------------------------------
    /// By canonical id, as ids match everywhere in the book.
    std::optional<std::size_t> materialIndex(std::string_view id) const;
    bool canAddMaterial() const;
    /// Refused at the limit or when a custom material already has the id.
    bool insertMaterial(std::size_t index, GlazeCore::Material material, const QString& label);
    bool removeMaterial(std::string_view id);
    bool setMaterialName(std::string_view id, std::string name);
    bool setMaterialSource(std::string_view id, std::string source);
    bool setMaterialLoi(std::string_view id, double loi);
    /// Sets one oxide's weight percent; none takes the oxide out of the analysis.
    bool setMaterialOxide(std::string_view id, GlazeCore::Oxide oxide, std::optional<double> percent);

    /// Ends the field edits (endFieldEdits), then writes the book to `path` through a temporary file, so a
    /// failure leaves any old file whole. On success the document is clean and belongs to `path`. Throws
    /// DocumentError, changing nothing.
    void save(const QString& path);
    /// Ends the field edits, then reads the file again and drops every unsaved change and the undo history.
    /// Throws DocumentError, changing nothing.
    void revert();

signals:
    /// A field editing the book ends its edit now, as leaving it would (endFieldEdits()).
    void fieldEditsEnding();

    void recipeChanged(const GlazeCore::Uuid& recipeID, Orza::RecipeField field);
    void lineChanged(const GlazeCore::Uuid& recipeID, int row, Orza::LineField field);
    void linesAboutToBeInserted(const GlazeCore::Uuid& recipeID, int first, int last);
    void linesInserted(const GlazeCore::Uuid& recipeID, int first, int last);
    void linesAboutToBeRemoved(const GlazeCore::Uuid& recipeID, int first, int last);
    void linesRemoved(const GlazeCore::Uuid& recipeID, int first, int last);
    void linesAboutToBeReset(const GlazeCore::Uuid& recipeID);
    void linesReset(const GlazeCore::Uuid& recipeID);
    /// After any change of one recipe's name, cone, notes or lines.
    void recipeEdited(const GlazeCore::Uuid& recipeID);

    void recipesAboutToBeInserted(int first, int last);
    void recipesInserted(int first, int last);
    void recipesAboutToBeRemoved(int first, int last);
    void recipesRemoved(int first, int last);
    void recipesAboutToBeMoved();
    /// `reversed`: the move was undone, so rows go from the moved order back to the original one.
    void recipesMoved(const Orza::RowMove& move, bool reversed);

    void tileChanged(const GlazeCore::Uuid& tileID, int row, Orza::TileField field);
    void testsAboutToBeInserted(int first, int last);
    void testsInserted(int first, int last);
    void testsAboutToBeRemoved(int first, int last);
    void testsRemoved(int first, int last);

    void materialChanged(int row, Orza::MaterialField field);
    void materialsAboutToBeInserted(int first, int last);
    void materialsInserted(int first, int last);
    void materialsAboutToBeRemoved(int first, int last);
    void materialsRemoved(int first, int last);
    /// The custom materials changed, so library() is a new library now.
    void libraryChanged();

    void nextTileNumberChanged();
    void aboutToReset();
    void reset();
    /// After every change of the book, whatever its kind.
    void bookChanged();
    void modifiedChanged(bool modified);
    void filePathChanged();

private:
    friend struct BookAccess;
    friend struct RecipeRows;
    friend struct LineRows;
    friend struct TileRows;
    friend struct MaterialRows;

    template <class Field> bool setField(const typename Field::Key& key, typename Field::Value value);
    /// Onto the stack, or into the open change group.
    void push(QUndoCommand* command);
    void updateModified();
    void rebuildIndexes();
    void syncLedgerMark();
    void customMaterialsChanged();

    GlazeDocument m_document;
    QString m_filePath;
    QString m_untitledName;
    std::optional<FileStamp> m_diskStamp;
    QUndoStack* m_undoStack;
    quint64 m_burst = 0;
    QUndoCommand* m_group = nullptr;
    int m_replaying = 0;
    int m_groupDepth = 0;
    bool m_markedEdited = false;
    bool m_modified = false;
    int m_ledgerMarks = 0;
    /// While above 0, bookChanged waits; it is sent once when the hold ends (BookAccess::OneBookChange).
    int m_bookChangeHolds = 0;
    bool m_bookChangeWaiting = false;

    mutable PositionIndex<GlazeCore::Uuid> m_recipeIndex;
    mutable PositionIndex<GlazeCore::Uuid> m_tileIndex;
    mutable PositionIndex<std::string> m_materialIndex; // by canonical id
    /// The lines of one recipe at a time: the one being edited.
    mutable std::optional<GlazeCore::Uuid> m_lineIndexRecipe;
    mutable PositionIndex<GlazeCore::Uuid> m_lineIndex;
    mutable std::shared_ptr<const BookLibrary> m_library;
};

} // namespace Orza
