#pragma once

// The writing side of BookDocument, for its undo commands only: nothing but the document and its commands
// includes this.

#include "Orza/document/BookDocument.h"

#include <string>
#include <variant>
#include <vector>

namespace Orza {

/**
 * Finds the items that commands change and tells the document's listeners what changed. Every function
 * expects its item to be in the book: commands run in undo-stack order, so what one changes is there.
 */
struct BookAccess {
    using Document = BookDocument;

    static GlazeCore::GlazeBook& book(BookDocument& document) { return document.m_document.book; }
    static GlazeCore::Recipe& recipe(BookDocument& document, const GlazeCore::Uuid& id);
    static GlazeCore::Material& material(BookDocument& document, const std::string& canonicalID);

    /// Null when the item is not in the book.
    static GlazeCore::Recipe* findRecipe(BookDocument& document, const GlazeCore::Uuid& id);
    static GlazeCore::RecipeLine* findLine(BookDocument& document, const GlazeCore::Uuid& recipeID,
                                           const GlazeCore::Uuid& lineID);
    static GlazeCore::TestTile* findTile(BookDocument& document, const GlazeCore::Uuid& id);
    static GlazeCore::Material* findMaterial(BookDocument& document, const std::string& canonicalID);

    static void recipeChanged(BookDocument& document, const GlazeCore::Uuid& id, RecipeField field);
    static void lineChanged(BookDocument& document, const GlazeCore::Uuid& recipeID, const GlazeCore::Uuid& lineID,
                            LineField field);
    static void tileChanged(BookDocument& document, const GlazeCore::Uuid& id, TileField field);
    static void materialChanged(BookDocument& document, const std::string& canonicalID, MaterialField field);
    static void nextTileNumberChanged(BookDocument& document);

    static void endEditBurst(BookDocument& document) { document.endEditBurst(); }

    /// Sends bookChanged, or, inside a OneBookChange, leaves it for the end of that.
    static void bookChanged(BookDocument& document);

    /// Makes the changes done while it lives one bookChanged, sent as it ends: a change of many rows is
    /// followed once by those who redo everything on any change.
    class OneBookChange {
    public:
        explicit OneBookChange(BookDocument& document) : m_document(document) { ++m_document.m_bookChangeHolds; }
        ~OneBookChange();
        OneBookChange(const OneBookChange&) = delete;
        OneBookChange& operator=(const OneBookChange&) = delete;

    private:
        BookDocument& m_document;
    };

    /// Marks the document as taking a step back or forth for as long as it lives.
    class Replaying {
    public:
        explicit Replaying(BookDocument& document) : m_document(document) { ++m_document.m_replaying; }
        ~Replaying() { --m_document.m_replaying; }
        Replaying(const Replaying&) = delete;
        Replaying& operator=(const Replaying&) = delete;

    private:
        BookDocument& m_document;
    };
};

/// The owner of a list that is not a recipe's lines: the book itself.
struct WholeBook {
    friend bool operator==(const WholeBook&, const WholeBook&) = default;
};

// The four lists of the book, as the row commands move their items in and out. Each keeps the document's
// index of the list and sends the list's signals.

struct RecipeRows {
    using Access = BookAccess;
    using Item = GlazeCore::Recipe;
    using Owner = WholeBook;
    static std::vector<Item>& items(BookDocument& document, const Owner&);
    static void aboutToInsert(BookDocument& document, const Owner&, int first, int last);
    static void inserted(BookDocument& document, const Owner&, int first, int last);
    static void aboutToRemove(BookDocument& document, const Owner&, int first, int last);
    static void removed(BookDocument& document, const Owner&, int first, int last);
    static void aboutToMove(BookDocument& document, const Owner&);
    static void moved(BookDocument& document, const Owner&, const RowMove& move, bool reversed);
};

struct LineRows {
    using Access = BookAccess;
    using Item = GlazeCore::RecipeLine;
    using Owner = GlazeCore::Uuid; // the recipe
    static std::vector<Item>& items(BookDocument& document, const Owner& recipeID);
    static void aboutToInsert(BookDocument& document, const Owner& recipeID, int first, int last);
    static void inserted(BookDocument& document, const Owner& recipeID, int first, int last);
    static void aboutToRemove(BookDocument& document, const Owner& recipeID, int first, int last);
    static void removed(BookDocument& document, const Owner& recipeID, int first, int last);
    static void aboutToReset(BookDocument& document, const Owner& recipeID);
    static void wasReset(BookDocument& document, const Owner& recipeID);
};

struct TileRows {
    using Access = BookAccess;
    using Item = GlazeCore::TestTile;
    using Owner = WholeBook;
    static std::vector<Item>& items(BookDocument& document, const Owner&);
    static void aboutToInsert(BookDocument& document, const Owner&, int first, int last);
    static void inserted(BookDocument& document, const Owner&, int first, int last);
    static void aboutToRemove(BookDocument& document, const Owner&, int first, int last);
    static void removed(BookDocument& document, const Owner&, int first, int last);
};

struct MaterialRows {
    using Access = BookAccess;
    using Item = GlazeCore::Material;
    using Owner = WholeBook;
    static std::vector<Item>& items(BookDocument& document, const Owner&);
    static void aboutToInsert(BookDocument& document, const Owner&, int first, int last);
    static void inserted(BookDocument& document, const Owner&, int first, int last);
    static void aboutToRemove(BookDocument& document, const Owner&, int first, int last);
    static void removed(BookDocument& document, const Owner&, int first, int last);
};

} // namespace Orza
