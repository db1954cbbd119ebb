#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/search/SearchDates.h"
#include "GlazeCore/text/Uuid.h"
#include "Orza/document/BookFieldNames.h"
#include "Orza/testlog/TileSearchCache.h"

#include <QAbstractTableModel>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Orza {

class BookDocument;
class WindowModel;

/**
 * The rows of the test log's table: the ids of the tiles that the window model's search text and filters
 * leave, in book order, with the tile's code, date, firing and recipe as columns. Rows are ids, never
 * positions, so a row keeps its tile while others come and go.
 *
 * It follows the window model's search and the document change by change: one tile edited moves only its
 * own row in or out; tiles added or deleted insert or remove their rows; a new search, a revert or moved
 * tiles set the rows anew. The matching itself is the document's TileSearchCache.
 */
class TestLogModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { code, date, firing, recipe, columns };

    TestLogModel(BookDocument& document, WindowModel& model, QObject* parent = nullptr);

    const GlazeCore::Uuid& idAt(int row) const { return m_ids.at(std::size_t(row)); }
    /// The row of the tile, when it is shown.
    std::optional<int> rowOf(const GlazeCore::Uuid& id) const;
    TileSearchCache& cache() const { return m_cache; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The recipe's name as stored (empty included), or "Deleted recipe" when the book has no such recipe.
    QString recipeNameOrDeleted(const GlazeCore::Uuid& recipeID) const;
    /// The date as the Date column writes it: the locale's numeric date of its day in the system time zone.
    QString dateText(GlazeCore::Date date) const;

private:
    QVariant codeCell(const GlazeCore::TestTile& tile, int role) const;
    QVariant dateCell(const GlazeCore::TestTile& tile, int role) const;
    QVariant firingCell(const GlazeCore::TestTile& tile, int role) const;
    QVariant recipeCell(const GlazeCore::TestTile& tile, int role) const;
    TileFilters filters() const;
    /// Matches the search anew; the rows change only when the shown tiles do.
    void refilter();
    void resetRows();
    std::vector<GlazeCore::Uuid> matchingIDs();
    /// The first row whose tile stands at `position` or after it in the book.
    int rowFrom(std::size_t position) const;
    void tileChanged(const GlazeCore::Uuid& id, int position, TileField field);
    void tilesInserted(int first, int last);
    void tilesAboutToBeRemoved(int first, int last);
    void tilesRemoved();
    void recipeNamesChanged();
    void searchedTextChanged();

    BookDocument& m_document;
    WindowModel& m_model;
    TileSearchCache& m_cache;
    std::vector<GlazeCore::Uuid> m_ids;
    /// Dates as the search reads them, for the time zone and locale they were made for.
    mutable std::unique_ptr<GlazeCore::SearchDates> m_dates;
    mutable std::pair<std::string, std::string> m_datesFor;
    /// The rows of the tiles being removed, from testsAboutToBeRemoved to testsRemoved.
    std::optional<std::pair<int, int>> m_removing;
};

} // namespace Orza
