#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/chemistry/Stull.h"
#include "Orza/models/WindowTypes.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <optional>
#include <unordered_map>

namespace Orza {

class BookDocument;
struct RowMove;

/**
 * The sidebar's two sections: "Recipes" (one row per recipe in book order, or a "No recipes yet" line)
 * and "Book" (the Tests row, then the Materials row). Follows the document's signals row by row, and
 * turns a drag of recipe rows into one move through the document.
 *
 * A recipe row's dot, help text and accessibility label come from its Stull region, which data() works
 * out when a view first asks, so only the rows on screen are ever calculated. Each region is kept until
 * that recipe's lines or the book's custom materials change.
 */
class SidebarModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Section { recipesSection = 0, bookSection = 1, sectionCount };
    enum BookRow { testsRow = 0, materialsRow = 1, bookRowCount };
    enum Role {
        /// A recipe row's StullRegion as an int; nothing when it has no region.
        regionRole = Qt::UserRole + 1,
        /// The Tests row's tile count; nothing when there are no tiles.
        badgeRole,
    };

    explicit SidebarModel(BookDocument& document, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    QModelIndex sectionIndex(Section section) const;
    /// The row that shows the item; invalid for none or a recipe the book does not hold.
    QModelIndex indexFor(const std::optional<SidebarItem>& item) const;
    /// The item a row stands for; none for the section titles and the empty-list line.
    std::optional<SidebarItem> itemAt(const QModelIndex& index) const;

private:
    int recipeCount() const;
    QVariant recipeData(const GlazeCore::Recipe& recipe, int role) const;
    QVariant pageData(BookRow row, int role) const;
    std::optional<GlazeCore::StullRegion> region(const GlazeCore::Recipe& recipe) const;
    void connectRecipes();
    void connectPages();
    void recipeRowChanged(const GlazeCore::Uuid& recipeID);
    void allRegionsChanged();
    void updateTestsRow();
    void beginRecipeInsert(int first, int last);
    void endRecipeRemove();
    void finishMove(const RowMove& move, bool reversed);

    BookDocument& m_document;
    bool m_placeholderShown = false;
    mutable std::unordered_map<GlazeCore::Uuid, std::optional<GlazeCore::StullRegion>> m_regions;
    QString m_testsHelp;
    QIcon m_testsIcon;
    QIcon m_materialsIcon;
};

} // namespace Orza
