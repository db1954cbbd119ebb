#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/TestSearch.h"
#include "Orza/document/BookFieldNames.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QTimer;

namespace GlazeCore {
class SearchDates;
class SearchFold;
} // namespace GlazeCore

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
 * tiles stays instant: each tile's folded search text until that tile changes, its code's uniqueness key
 * and number, and the cone and atmosphere texts the tiles use.
 *
 * The answers are GlazeCore's TestSearch answers for the same book: search() gives the tiles that
 * TestSearch::results gives, findByCode() the tile of TestSearch::findByCode, duplicateCodes() the codes of
 * TileCode::duplicateCodes. A query that refines one asked a moment ago (a word typed further) is matched
 * against that one's tiles only. Search texts are built on first need and, in idle time, ahead of it.
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

    /// Builds search texts ahead of need for about `budget`; false once every tile has its text.
    bool buildAhead(std::chrono::microseconds budget);
    /// How many tiles have their search text now.
    std::size_t builtCount() const;

signals:
    /// The codes that tiles share may read differently.
    void codesChanged();
    /// A cone or atmosphere text came into use or went out of use.
    void valuesChanged();

private:
    struct Entry;
    struct TextRef;
    struct RecipePart;
    struct Query;
    struct Past;
    class PartHits;

    void connectDocument();
    void rebuildAll();
    /// The entry and the code's number and hash of the tile at `position`, from the book.
    void fillCodeLevel(std::size_t position);
    void count(const Entry& entry, int delta);
    /// Sends the change signals that the handler just run calls for.
    void announce();
    void buildText(std::size_t position);
    void dropText(TextRef& ref);
    /// Writes the texts again one after another, without the space that replaced texts left behind.
    void compactTexts();
    std::uint32_t slotOf(const GlazeCore::Uuid& recipeID);
    const RecipePart& part(std::uint32_t slot);
    const GlazeCore::TestSearch::MaterialNames& materialNames();
    void ensureEnvironment();
    void forgetTexts();
    void forgetParts();
    void forgetResults();
    void startBuildingAhead();

    void tilesInserted(int first, int last);
    void tilesRemoved(int first, int last);
    void tilesMoved();
    void tileChanged(const GlazeCore::Uuid& id, int row, TileField field);

    Query parse(const TileFilters& filters);
    bool passesFilters(std::size_t position, const Query& query) const;
    /// Whether the tile's text (or its recipe's part, or its code's number) holds the words `which`.
    bool holdsWords(std::size_t position, const Query& query, PartHits& hits, const std::vector<std::size_t>& which);
    const Past* refinedFrom(const Query& query) const;
    /// The tiles whose code has the number that a word of the query names.
    Positions numberedPositions(const Query& query) const;

    BookDocument& m_document;
    std::vector<Entry> m_entries; // one per tile, in book order
    std::vector<TextRef> m_texts; // one per tile, in book order: where its search text lies in the arena
    std::string m_arena;          // the search texts, back to back, mostly in book order
    std::size_t m_garbage = 0;    // bytes of the arena no text refers to any more
    // Uniqueness key → tiles with it; how many keys two or more tiles share.
    std::unordered_map<std::string, int> m_keyCounts;
    int m_sharedKeys = 0;
    bool m_codesTouched = false;
    bool m_valuesTouched = false;
    // Canonical cone and atmosphere texts → tiles with them.
    std::unordered_map<std::string, int> m_coneCounts;
    std::unordered_map<std::string, int> m_atmosphereCounts;

    std::unordered_map<GlazeCore::Uuid, std::uint32_t> m_slots;
    std::vector<RecipePart> m_parts;
    std::optional<GlazeCore::TestSearch::MaterialNames> m_names;

    std::string m_timeZone;
    std::string m_locale;
    std::unique_ptr<GlazeCore::SearchDates> m_dates;
    std::unique_ptr<GlazeCore::SearchFold> m_fold;
    std::vector<Past> m_past; // newest first
    std::size_t m_builtCount = 0;
    std::size_t m_aheadCursor = 0;
    QTimer* m_ahead;
};

} // namespace Orza
