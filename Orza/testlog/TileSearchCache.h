#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/search/TestSearchCache.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "Orza/document/BookFieldNames.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QTimer;

namespace Orza {

class BookDocument;

/// The test log's search text and its two filters, as the window model holds them.
struct TileFilters {
    std::string query;
    std::optional<std::string> cone;
    std::optional<std::string> atmosphere;
};

/**
 * What the test log needs of every tile of one book, kept between keystrokes so that a search of 100,000
 * tiles stays instant: the search itself (GlazeCore's TestSearchCache, told of every change of the book),
 * each tile's code uniqueness key and number, and the cone and atmosphere texts the tiles use.
 *
 * The answers are GlazeCore's answers for the same book: search() gives the tiles that TestSearch::results
 * gives, findByCode() the tile of TestSearch::findByCode, duplicateCodes() the codes of
 * TileCode::duplicateCodes, validateCode() the problem of TileCode::validate. Search texts are built on first
 * need and, in idle time, ahead of it.
 *
 * One per document (of()), connected to the document before any view, so it is current when a view hears
 * of a change. Main thread only.
 */
class TileSearchCache final : public QObject {
    Q_OBJECT
public:
    /// Positions in the book's tiles, ascending.
    using Positions = std::vector<std::uint32_t>;

    /// The document's cache, made on first use and living as long as the document.
    static TileSearchCache& of(BookDocument& document);
    explicit TileSearchCache(BookDocument& document);
    ~TileSearchCache() override;

    /// The tiles the search text and filters leave, as positions in book order.
    Positions search(const TileFilters& filters);
    /// The id of the tile at `position`, read without touching the book.
    const GlazeCore::Uuid& idAt(std::size_t position) const;
    /// Whether the one tile at `position` passes the search text and filters.
    bool matches(std::size_t position, const TileFilters& filters);
    /// The one tile that the typed text names by its code.
    std::optional<GlazeCore::Uuid> findByCode(std::string_view typed);
    /// The codes two or more tiles share, each once, in the order TileCode::duplicateCodes gives them.
    std::vector<std::string> duplicateCodes() const;
    /// The cone (atmosphere) texts of the book's tiles, each once in canonical form, in no particular order.
    std::vector<std::string> cones() const;
    std::vector<std::string> atmospheres() const;
    /// Whether the tile `tileID` may take the typed code, answered from the codes' keys without reading the tiles.
    std::optional<GlazeCore::TileCode::Problem> validateCode(std::string_view typed,
                                                             const GlazeCore::Uuid& tileID) const;

    /// Builds search texts ahead of need for about `budget`; false once every tile has its text.
    bool buildAhead(std::chrono::microseconds budget);

signals:
    /// The codes that tiles share may read differently.
    void codesChanged();
    /// A cone or atmosphere text came into use or went out of use.
    void valuesChanged();

private:
    struct Entry;
    struct CodeRef;

    void connectDocument();
    void rebuildAll();
    /// The entry and the code's number and hashes of the tile at `position`, from the book.
    void fillCodeLevel(std::size_t position);
    void count(const Entry& entry, int delta);
    /// Sends the change signals that the handler just run calls for.
    void announce();
    const GlazeCore::TestSearch::MaterialNames& materialNames();
    /// The user's time zone and locale, which the dates in the search text follow.
    void readEnvironment();
    void startBuildingAhead();

    void tilesInserted(int first, int last);
    void tilesRemoved(int first, int last);
    void tileChanged(const GlazeCore::Uuid& id, int row, TileField field);

    BookDocument& m_document;
    std::vector<Entry> m_entries; // one per tile, in book order
    std::vector<CodeRef> m_codes; // one per tile, in book order: what findByCode and validateCode scan
    // Uniqueness key → tiles with it; how many keys two or more tiles share.
    std::unordered_map<std::string, int> m_keyCounts;
    int m_sharedKeys = 0;
    bool m_codesTouched = false;
    bool m_valuesTouched = false;
    // Canonical cone and atmosphere texts → tiles with them.
    std::unordered_map<std::string, int> m_coneCounts;
    std::unordered_map<std::string, int> m_atmosphereCounts;

    GlazeCore::TestSearchCache m_search;
    std::optional<GlazeCore::TestSearch::MaterialNames> m_names;
    std::string m_timeZone;
    std::string m_locale;
    QTimer* m_ahead;
};

} // namespace Orza
