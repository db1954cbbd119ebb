#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/search/SearchDates.h"
#include "GlazeCore/search/SearchParts.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace GlazeCore {

/// The test log's search for one book that changes a little between keystrokes; TestSearch::results is a search
/// of a cache made for it alone. The query's words (TestSearch::tokens) must each occur in a tile's search text
/// (SearchParts) or name its code's number; the cone filter compares exactly, the atmosphere filter and a "cone X"
/// pair of the query folded.
///
/// Each tile's folded text is kept until the tile changes, each recipe's until the recipe or the material names
/// change, the dates until the calendar or the locale change. A search then folds nothing but the query and
/// answers with the rows of the matching tiles, not copies of them.
///
/// The owner reports every change of the book's tiles and recipes below, as the book's editor signals them; a
/// change is only noted, and whatever it touched is made again at the next search (or by prepare(), in idle
/// time). The tiles and recipes given to search() are the book the changes were about. A query that refines one
/// asked since the last change (a word typed further) is matched against that one's rows only. One thread at a
/// time.
class TestSearchCache {
public:
    enum class Use {
        manySearches,
        /// No search follows: what only speeds up a later search (the quick checks of SearchParts::Signature) is
        /// not made.
        oneSearch,
    };

    explicit TestSearchCache(Use use = Use::manySearches);
    ~TestSearchCache();
    TestSearchCache(const TestSearchCache&) = delete;
    TestSearchCache& operator=(const TestSearchCache&) = delete;

    void tileChanged(std::size_t row);
    void tilesInserted(std::size_t first, std::size_t count);
    void tilesRemoved(std::size_t first, std::size_t count);
    /// The recipe's name or lines changed.
    void recipeChanged(const Uuid& recipeID);
    /// Recipes were added, removed or moved: which recipe an id names may have changed.
    void recipesChanged();
    void materialNamesChanged();
    /// Forget everything: the book was replaced.
    void reset();

    /// The rows of `tiles` that match the query and the filters, in order.
    std::vector<std::uint32_t> search(const std::vector<TestTile>& tiles, const std::vector<Recipe>& recipes,
                                      const SearchParts::MaterialNames& names, std::string_view query,
                                      const std::optional<std::string>& coneFilter,
                                      const std::optional<std::string>& atmosphereFilter, const std::string& timeZone,
                                      const std::string& locale);
    /// Whether the tile at `row` is among the rows search() gives for the same query and filters.
    bool matches(const std::vector<TestTile>& tiles, const std::vector<Recipe>& recipes,
                 const SearchParts::MaterialNames& names, std::size_t row, std::string_view query,
                 const std::optional<std::string>& coneFilter, const std::optional<std::string>& atmosphereFilter,
                 const std::string& timeZone, const std::string& locale);

    /// Makes the texts of tiles that have none until `deadline`; false once every tile has its text.
    bool prepare(const std::vector<TestTile>& tiles, const std::string& timeZone, const std::string& locale,
                 std::chrono::steady_clock::time_point deadline);
    /// How many tiles have their text, made from the tile as it is.
    std::size_t preparedCount() const { return m_prepared; }

private:
    struct TileEntry;
    struct RecipeEntry;
    struct DayEntry;
    struct Query;
    struct Past;
    class Search;

    /// Makes what is missing, row by row, until `deadline`; false when it stopped before the last.
    bool update(const std::vector<TestTile>& tiles, const std::string& timeZone, const std::string& locale,
                std::chrono::steady_clock::time_point deadline);
    void refresh(TileEntry& entry, const TestTile& tile, SearchDates& dates);
    void markStale(std::size_t first, std::size_t end);
    void forgetAnswers();
    Query parse(std::string_view text, const std::optional<std::string>& coneFilter,
                const std::optional<std::string>& atmosphereFilter);
    /// Keeps the rows whose tiles pass the query's filters and hold all its words.
    void keep(std::vector<std::uint32_t>& rows, const Query& query, const std::vector<TestTile>& tiles,
              const std::vector<Recipe>& recipes, const SearchParts::MaterialNames& names);
    /// The earlier answer, of those remembered, that holds every row of this query's but those a word names by
    /// number; the smallest if several do.
    const Past* refinedFrom(const Query& query) const;
    std::vector<std::uint32_t> refine(const Past& earlier, const Query& query, const std::vector<TestTile>& tiles,
                                      const std::vector<Recipe>& recipes, const SearchParts::MaterialNames& names);
    void indexRecipes(const std::vector<GlazeCore::Recipe>& recipes);
    void build(TileEntry& entry, const TestTile& tile);
    void forget(TileEntry& entry);
    std::uint32_t recipeSlot(const Uuid& recipeID);
    std::uint32_t daySlot(const SearchDates::Texts& texts);
    const RecipeEntry& recipeText(std::uint32_t slot, const std::vector<GlazeCore::Recipe>& recipes,
                                  const SearchParts::MaterialNames& names);

    std::vector<TileEntry> m_tiles;
    bool m_rowsKnown = false; // false until the first search, and after a reset
    // The rows [from, to) hold every tile whose entry is to be made again.
    std::size_t m_staleFrom = 0;
    std::size_t m_staleTo = 0;
    std::size_t m_prepared = 0;                           // tiles whose entry and day are made
    std::unordered_map<std::string, std::size_t> m_cones; // folded cone → tiles with it

    std::vector<RecipeEntry> m_recipes;
    std::unordered_map<Uuid, std::uint32_t> m_recipeSlots;
    std::unordered_map<Uuid, std::size_t> m_recipeRows; // the first recipe of each id
    bool m_recipeRowsKnown = false;

    std::string m_timeZone;
    std::string m_locale;
    bool m_datesKnown = false; // the days are of m_timeZone and m_locale
    // A day's texts, found by the texts of a date without copying them.
    using DayTexts = std::pair<std::string, std::string>;
    using DayView = std::pair<std::string_view, std::string_view>;
    struct DayHash {
        using is_transparent = void;
        std::size_t operator()(const DayView& day) const noexcept;
        std::size_t operator()(const DayTexts& day) const noexcept { return (*this)(DayView(day.first, day.second)); }
    };
    struct DayEqual {
        using is_transparent = void;
        template <class A, class B> bool operator()(const A& a, const B& b) const noexcept {
            return a.first == b.first && a.second == b.second;
        }
    };
    std::vector<DayEntry> m_days;
    std::unordered_map<DayTexts, std::uint32_t, DayHash, DayEqual> m_daySlots;

    bool m_once;
    SearchFold m_fold;
    std::vector<Past> m_past; // newest first; forgotten at any change
};

} // namespace GlazeCore
