#pragma once

#include "GlazeCore/text/Uuid.h"
#include "Orza/document/BookFieldNames.h"

#include <QAbstractTableModel>

#include <optional>
#include <string>
#include <vector>

namespace GlazeCore {
struct Recipe;
struct RecipeLine;
} // namespace GlazeCore

namespace Orza {

class BookDocument;

/**
 * The material lines of one recipe as a table: material, amount, share of the base, addition. Reads the
 * book through the document and writes every edit through the document's line edits by id, so a typing
 * burst in an amount is one undo step. Follows the document's signals line by line: an amount typed
 * changes its row, the percent column and the totals, and nothing else.
 *
 * The base and additions totals are kept and worked out again only when an amount, a flag or the lines
 * change, never per drawn cell.
 */
class RecipeLinesModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { materialColumn, amountColumn, percentColumn, additionColumn, totalColumns };
    enum Role {
        /// The line's material id, as stored.
        materialIDRole = Qt::UserRole + 1,
        /// The material is chosen, known to the book's library and its analysis is valid.
        materialUsableRole,
        /// The line has an amount but no material.
        missingMaterialRole,
        /// The line's id, as text.
        lineIDRole,
    };

    RecipeLinesModel(BookDocument& document, const GlazeCore::Uuid& recipeID, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    const GlazeCore::Uuid& recipeID() const { return m_recipeID; }
    /// The line at `row`; null past the end or when the recipe has left the book.
    const GlazeCore::RecipeLine* line(int row) const;
    std::optional<int> rowOf(const GlazeCore::Uuid& lineID) const;

    /// Every amount of the lines that are not additions, whatever it is; 0 without such lines.
    double baseTotal() const { return m_baseTotal; }
    double additionsTotal() const { return m_additionsTotal; }
    /// "60.0 %" of the base in the user's locale, or "–" without a base.
    QString percentText(double amount) const;

signals:
    /// The totals read differently now.
    void totalsChanged();

private:
    const GlazeCore::Recipe* recipe() const;
    QString materialName(const std::string& materialID) const;
    bool isUsable(const std::string& materialID) const;
    void followLine(const GlazeCore::Uuid& recipeID, int row, LineField field);
    void followPresence();
    void updateTotals();
    void percentsChanged();

    BookDocument& m_document;
    GlazeCore::Uuid m_recipeID;
    bool m_present;
    double m_baseTotal = 0;
    double m_additionsTotal = 0;
};

} // namespace Orza
