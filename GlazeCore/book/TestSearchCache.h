#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/SearchParts.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace GlazeCore {

class SearchDates;

/// The test log's search (TestSearch::results) for one book that changes a little between keystrokes: each
/// tile's folded text is kept until the tile changes, each recipe's until the recipe or the material names
/// change, the dates until the calendar or the locale change. A search then folds nothing but the query and
/// answers with the rows of the matching tiles, not copies of them.
///
/// The owner reports every change of the book's tiles and recipes below, as the book's editor signals them; a
/// change is only noted, and whatever it touched is made again at the next search. The tiles and recipes given
/// to search() are the book the changes were about. One thread at a time.
class TestSearchCache {
public:
    TestSearchCache();
    ~TestSearchCache();
    TestSearchCache(const TestSearchCache&) = delete;
    TestSearchCache& operator=(const TestSearchCache&) = delete;

    void tileChanged(std::size_t row);
    void tilesInserted(std::size_t first, std::size_t count);
    void tilesRemoved(std::size_t first, std::size_t count);
    /// After a move: `oldRows[i]` is the row before the move of the tile now at row i.
    void tilesMoved(const std::vector<std::size_t>& oldRows);
    /// The recipe's name or lines changed.
    void recipeChanged(const Uuid& recipeID);
    /// Recipes were added, removed or moved: which recipe an id names may have changed.
    void recipesChanged();
    void materialNamesChanged();
    /// Forget everything: the book was replaced.
    void reset();

    /// The rows of `tiles` that match the query and the filters, in order; the same tiles, in the same order,
    /// as TestSearch::results gives.
    std::vector<std::uint32_t> search(const std::vector<TestTile>& tiles, const std::vector<Recipe>& recipes,
                                      const SearchParts::MaterialNames& names, std::string_view query,
                                      const std::optional<std::string>& coneFilter,
                                      const std::optional<std::string>& atmosphereFilter, const std::string& timeZone,
                                      const std::string& locale);

private:
    struct TileEntry;
    struct RecipeEntry;
    struct DayEntry;
    class Search;

    void update(const std::vector<TestTile>& tiles, const std::vector<GlazeCore::Recipe>& recipes,
                const std::string& timeZone, const std::string& locale);
    void indexRecipes(const std::vector<GlazeCore::Recipe>& recipes);
    void build(TileEntry& entry, const TestTile& tile);
    void forget(TileEntry& entry);
    std::uint32_t recipeSlot(const Uuid& recipeID);
    std::uint32_t daySlot(Date date);
    const RecipeEntry& recipeText(std::uint32_t slot, const std::vector<GlazeCore::Recipe>& recipes,
                                  const SearchParts::MaterialNames& names);

    std::vector<TileEntry> m_tiles;
    bool m_rowsKnown = false;                             // false until the first search, and after a reset
    bool m_stale = false;                                 // some tile's entry is to be made again
    std::unordered_map<std::string, std::size_t> m_cones; // folded cone → tiles with it

    std::vector<RecipeEntry> m_recipes;
    std::unordered_map<Uuid, std::uint32_t> m_recipeSlots;
    std::unordered_map<Uuid, std::size_t> m_recipeRows; // the first recipe of each id
    bool m_recipeRowsKnown = false;

    std::string m_timeZone;
    std::string m_locale;
    std::unique_ptr<SearchDates> m_dates;
    std::vector<DayEntry> m_days;
    std::unordered_map<std::string, std::uint32_t> m_daySlots;

    SearchFold m_fold;
};

} // namespace GlazeCore
