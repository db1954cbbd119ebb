#pragma once

#include "Orza/undo/RowMove.h"
#include "Orza/document/GlazeDocument.h"

#include <QObject>
#include <QString>

#include <optional>

class QUndoStack;

namespace Orza {

class BookCommand;

/**
 * The open document of one book window: owns the GlazeDocument and its undo stack.
 *
 * The book changes only through the edit methods here. Each stores one undoable change, or nothing when
 * the book would stay as it is, and touches only the element it changes: an edit in a book of 100,000
 * recipes compares one recipe and keeps one old and one new value. "Modified" follows the undo stack's
 * clean state, plus markEdited() for a change the book does not show (a ledger ahead of the book).
 *
 * Signals come in about-to / done pairs around structural changes, so that item models can follow.
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

    const QString& filePath() const { return m_filePath; }
    bool isUntitled() const { return m_filePath.isEmpty(); }
    /// The file's name, or the untitled name the application gave the document.
    QString displayName() const;
    void setUntitledName(const QString& name) { m_untitledName = name; }

    QUndoStack* undoStack() const { return m_undoStack; }
    bool isModified() const { return m_modified; }
    /// Marks the document edited without a change to the book, so that it gets saved again.
    void markEdited();

    std::optional<std::size_t> recipeIndex(const GlazeCore::Uuid& id) const;
    /// False once the book holds as many recipes (or tiles) as a book file may.
    bool canAddRecipe() const;
    bool canAddTest() const;

    /// Writes the recipe over the one with its id; nothing when there is none or it is equal.
    bool setRecipe(const GlazeCore::Recipe& recipe, const QString& label = {});
    /// Inserts at `index` (clamped); refused at the recipe limit.
    bool insertRecipe(std::size_t index, GlazeCore::Recipe recipe, const QString& label);
    /// Removes every recipe with the id; tiles that name it keep their recipe id.
    bool removeRecipe(const GlazeCore::Uuid& id);
    bool moveRecipes(const RowMove& move);
    /// Appends the tile through the document's ledger, which gives it the next default code; refused at the
    /// tile limit.
    bool addTestTile(GlazeCore::TestTile tile);

    /// Writes the book to `path` through a temporary file, so a failure leaves any old file whole.
    /// On success the document is clean and belongs to `path`. Throws DocumentError, changing nothing.
    void save(const QString& path);
    /// Reads the file again and drops every unsaved change and the undo history. Throws DocumentError,
    /// changing nothing.
    void revert();

signals:
    void recipeChanged(int index);
    void recipesAboutToBeInserted(int first, int last);
    void recipesInserted(int first, int last);
    void recipesAboutToBeRemoved(int first, int last);
    void recipesRemoved(int first, int last);
    void recipesAboutToBeMoved();
    /// `reversed`: the move was undone, so rows go from the moved order back to the original one.
    void recipesMoved(const Orza::RowMove& move, bool reversed);
    void testsAboutToBeInserted(int first, int last);
    void testsInserted(int first, int last);
    void testsAboutToBeRemoved(int first, int last);
    void testsRemoved(int first, int last);
    void nextTileNumberChanged();
    void aboutToReset();
    void reset();
    /// After every change of the book, whatever its kind.
    void bookChanged();
    void modifiedChanged(bool modified);
    void filePathChanged();

private:
    friend class BookCommand;

    void updateModified();
    void replaceRecipeAt(std::size_t index, GlazeCore::Recipe& recipe);
    void insertRecipeAt(std::size_t index, GlazeCore::Recipe recipe);
    GlazeCore::Recipe takeRecipeAt(std::size_t index);
    void applyMove(const RowMove& move, bool reversed);
    void insertTestAt(std::size_t index, GlazeCore::TestTile tile);
    GlazeCore::TestTile takeTestAt(std::size_t index);
    void setNextTileNumber(std::int64_t value);

    GlazeDocument m_document;
    QString m_filePath;
    QString m_untitledName;
    QUndoStack* m_undoStack;
    bool m_markedEdited = false;
    bool m_modified = false;
};

} // namespace Orza
