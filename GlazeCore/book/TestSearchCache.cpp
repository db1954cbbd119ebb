#include "GlazeCore/book/TestSearchCache.h"

#include "GlazeCore/book/SearchDates.h"
#include "GlazeCore/book/TestSearch.h"
#include "GlazeCore/book/TileCode.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace GlazeCore {

namespace {

constexpr std::int64_t noNumber = std::numeric_limits<std::int64_t>::min();
// A search tests up to this many words at once, one bit each; more are tested in further rounds.
constexpr std::size_t wordsPerRound = 64;

/// One word of the query, with what decides quickly that a text lacks it.
struct Word {
    std::string_view text;
    SearchParts::Signature signature;
    std::int64_t number; // the tile number it names, or noNumber
};

bool contains(const std::string& text, const SearchParts::Signature& signature, const Word& word) {
    return signature.mayContain(word.signature) && SearchParts::contains(text, word.text);
}

} // namespace

struct TestSearchCache::TileEntry {
    SearchParts::TileText own;
    SearchParts::Signature signature;
    std::int64_t number = noNumber;
    std::uint32_t recipe = 0;
    std::uint32_t day = 0;
    bool counted = false; // its cone is in m_cones
    bool current = false; // made from the tile as it is
    bool dated = false;   // its day is for the current calendar and locale
};

struct TestSearchCache::RecipeEntry {
    Uuid id;
    SearchParts::RecipeText text;
    SearchParts::Signature nameSignature;
    SearchParts::Signature materialsSignature;
    bool current = false;
};

struct TestSearchCache::DayEntry {
    std::string yearMonthDay;
    std::string localeDate;
};

/// One round of a search: which of its words each recipe and each day holds, found on first need.
class TestSearchCache::Search {
public:
    Search(TestSearchCache& cache, const std::vector<GlazeCore::Recipe>& recipes,
           const SearchParts::MaterialNames& names, std::vector<Word> words)
        : m_cache(cache), m_recipes(recipes), m_names(names), m_words(std::move(words)),
          m_all(m_words.size() == wordsPerRound ? ~std::uint64_t{0} : (std::uint64_t{1} << m_words.size()) - 1),
          m_recipeWords(cache.m_recipes.size()), m_recipeKnown(cache.m_recipes.size()), m_dayWords(cache.m_days.size()),
          m_dayKnown(cache.m_days.size()) {}

    // The words that the recipe, the day or the tile's number answer cost a lookup; only the rest are looked
    // for in the tile's own text, and the first one missing there rejects the tile.
    bool matches(const TileEntry& tile) {
        std::uint64_t missing = m_all & ~recipeWords(tile.recipe) & ~dayWords(tile.day);
        if (tile.number != noNumber) missing &= ~numberWords(tile.number);
        for (; missing != 0; missing &= missing - 1)
            if (!contains(tile.own.text, tile.signature, m_words[static_cast<std::size_t>(std::countr_zero(missing))]))
                return false;
        return true;
    }

private:
    std::uint64_t recipeWords(std::uint32_t slot) {
        if (m_recipeKnown[slot]) return m_recipeWords[slot];
        const RecipeEntry& recipe = m_cache.recipeText(slot, m_recipes, m_names);
        std::uint64_t found = 0;
        for (std::size_t i = 0; i < m_words.size(); ++i)
            if (contains(recipe.text.name, recipe.nameSignature, m_words[i]) ||
                contains(recipe.text.materials, recipe.materialsSignature, m_words[i]))
                found |= std::uint64_t{1} << i;
        m_recipeKnown[slot] = true;
        return m_recipeWords[slot] = found;
    }

    std::uint64_t numberWords(std::int64_t number) const {
        std::uint64_t found = 0;
        for (std::size_t i = 0; i < m_words.size(); ++i)
            if (m_words[i].number == number) found |= std::uint64_t{1} << i;
        return found;
    }

    std::uint64_t dayWords(std::uint32_t slot) {
        if (m_dayKnown[slot]) return m_dayWords[slot];
        const DayEntry& day = m_cache.m_days[slot];
        std::uint64_t found = 0;
        for (std::size_t i = 0; i < m_words.size(); ++i)
            if (day.yearMonthDay.find(m_words[i].text) != std::string::npos ||
                day.localeDate.find(m_words[i].text) != std::string::npos)
                found |= std::uint64_t{1} << i;
        m_dayKnown[slot] = true;
        return m_dayWords[slot] = found;
    }

    TestSearchCache& m_cache;
    const std::vector<GlazeCore::Recipe>& m_recipes;
    const SearchParts::MaterialNames& m_names;
    std::vector<Word> m_words;
    std::uint64_t m_all;
    std::vector<std::uint64_t> m_recipeWords;
    std::vector<bool> m_recipeKnown;
    std::vector<std::uint64_t> m_dayWords;
    std::vector<bool> m_dayKnown;
};

TestSearchCache::TestSearchCache() = default;
TestSearchCache::~TestSearchCache() = default;

void TestSearchCache::tileChanged(std::size_t row) {
    if (row >= m_tiles.size()) return;
    m_tiles[row].current = false;
    m_tiles[row].dated = false;
    m_stale = true;
}

void TestSearchCache::tilesInserted(std::size_t first, std::size_t count) {
    if (first > m_tiles.size()) return reset();
    m_tiles.insert(m_tiles.begin() + static_cast<std::ptrdiff_t>(first), count, TileEntry{});
    m_stale = true;
}

void TestSearchCache::tilesRemoved(std::size_t first, std::size_t count) {
    if (first + count > m_tiles.size()) return reset();
    const auto begin = m_tiles.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end = begin + static_cast<std::ptrdiff_t>(count);
    std::for_each(begin, end, [this](TileEntry& entry) { forget(entry); });
    m_tiles.erase(begin, end);
}

void TestSearchCache::tilesMoved(const std::vector<std::size_t>& oldRows) {
    if (oldRows.size() != m_tiles.size()) return reset();
    std::vector<TileEntry> moved;
    moved.reserve(m_tiles.size());
    for (const std::size_t row : oldRows) {
        if (row >= m_tiles.size()) return reset();
        moved.push_back(std::move(m_tiles[row]));
    }
    m_tiles = std::move(moved);
}

void TestSearchCache::recipeChanged(const Uuid& recipeID) {
    if (const auto found = m_recipeSlots.find(recipeID); found != m_recipeSlots.end())
        m_recipes[found->second].current = false;
}

void TestSearchCache::recipesChanged() {
    m_recipeRowsKnown = false;
    materialNamesChanged();
}

void TestSearchCache::materialNamesChanged() {
    for (RecipeEntry& recipe : m_recipes)
        recipe.current = false;
}

void TestSearchCache::reset() {
    m_tiles.clear();
    m_rowsKnown = false;
    m_cones.clear();
    recipesChanged();
}

std::vector<std::uint32_t> TestSearchCache::search(const std::vector<TestTile>& tiles,
                                                   const std::vector<GlazeCore::Recipe>& recipes,
                                                   const SearchParts::MaterialNames& names, std::string_view query,
                                                   const std::optional<std::string>& coneFilter,
                                                   const std::optional<std::string>& atmosphereFilter,
                                                   const std::string& timeZone, const std::string& locale) {
    update(tiles, recipes, timeZone, locale);

    TestSearch::ConeVocabulary cones = TestSearch::foldedOrtonCones();
    for (const auto& entry : m_cones)
        cones.insert(entry.first);
    const TestSearch::Query parsed = TestSearch::tokens(query, cones);
    std::optional<std::string> atmosphere;
    if (atmosphereFilter) atmosphere = m_fold(*atmosphereFilter);

    std::vector<std::uint32_t> rows;
    for (std::uint32_t row = 0; row < tiles.size(); ++row) {
        const TileEntry& entry = m_tiles[row];
        if (coneFilter && !UnicodeText::canonicallyEqual(tiles[row].cone, *coneFilter)) continue;
        if (atmosphere && entry.own.atmosphere() != *atmosphere) continue;
        if (parsed.cone && entry.own.cone() != *parsed.cone) continue;
        rows.push_back(row);
    }
    // Each round keeps the rows that hold all its words.
    for (std::size_t first = 0; first < parsed.tokens.size() && !rows.empty(); first += wordsPerRound) {
        std::vector<Word> words;
        for (std::size_t i = first; i < std::min(first + wordsPerRound, parsed.tokens.size()); ++i) {
            const std::string& text = parsed.tokens[i];
            words.push_back({text, SearchParts::Signature(text), TileCode::number(text).value_or(noNumber)});
        }
        Search round(*this, recipes, names, std::move(words));
        std::erase_if(rows, [&](std::uint32_t row) { return !round.matches(m_tiles[row]); });
    }
    return rows;
}

void TestSearchCache::update(const std::vector<TestTile>& tiles, const std::vector<GlazeCore::Recipe>& recipes,
                             const std::string& timeZone, const std::string& locale) {
    // A book that does not have the rows the changes told of is taken afresh.
    if (!m_rowsKnown || m_tiles.size() != tiles.size()) {
        reset();
        m_tiles.resize(tiles.size());
        m_rowsKnown = true;
        m_stale = true;
    }
    if (!m_dates || timeZone != m_timeZone || locale != m_locale) {
        m_timeZone = timeZone;
        m_locale = locale;
        m_dates = std::make_unique<SearchDates>(timeZone, locale);
        m_days.clear();
        m_daySlots.clear();
        for (TileEntry& entry : m_tiles)
            entry.dated = false;
        m_stale = true;
    }
    indexRecipes(recipes);
    if (!m_stale) return;
    m_stale = false;
    for (std::size_t row = 0; row < tiles.size(); ++row) {
        TileEntry& entry = m_tiles[row];
        if (!entry.current) build(entry, tiles[row]);
        if (!entry.dated) {
            entry.day = daySlot(tiles[row].date);
            entry.dated = true;
        }
    }
}

void TestSearchCache::indexRecipes(const std::vector<GlazeCore::Recipe>& recipes) {
    if (m_recipeRowsKnown) return;
    m_recipeRows.clear();
    m_recipeRows.reserve(recipes.size());
    for (std::size_t row = 0; row < recipes.size(); ++row)
        m_recipeRows.emplace(recipes[row].id, row);
    m_recipeRowsKnown = true;
}

void TestSearchCache::build(TileEntry& entry, const TestTile& tile) {
    forget(entry);
    SearchParts::tileText(entry.own, tile, m_fold);
    entry.signature = SearchParts::Signature(entry.own.text);
    entry.number = TileCode::number(tile.code).value_or(noNumber);
    entry.recipe = recipeSlot(tile.recipeID);
    ++m_cones[std::string(entry.own.cone())];
    entry.counted = true;
    entry.current = true;
}

void TestSearchCache::forget(TileEntry& entry) {
    if (!entry.counted) return;
    const auto found = m_cones.find(std::string(entry.own.cone()));
    if (found != m_cones.end() && --found->second == 0) m_cones.erase(found);
    entry.counted = false;
}

std::uint32_t TestSearchCache::recipeSlot(const Uuid& recipeID) {
    const auto [found, added] = m_recipeSlots.emplace(recipeID, static_cast<std::uint32_t>(m_recipes.size()));
    if (added) m_recipes.push_back({recipeID, {}, {}, {}, false});
    return found->second;
}

std::uint32_t TestSearchCache::daySlot(Date date) {
    const SearchDates::Texts& texts = m_dates->of(date);
    std::string key = texts.yearMonthDay;
    key += '\n';
    key += texts.localeDateFolded;
    const auto [found, added] = m_daySlots.emplace(std::move(key), static_cast<std::uint32_t>(m_days.size()));
    if (added) m_days.push_back({texts.yearMonthDay, texts.localeDateFolded});
    return found->second;
}

const TestSearchCache::RecipeEntry& TestSearchCache::recipeText(std::uint32_t slot,
                                                                const std::vector<GlazeCore::Recipe>& recipes,
                                                                const SearchParts::MaterialNames& names) {
    RecipeEntry& entry = m_recipes[slot];
    if (entry.current) return entry;
    auto row = m_recipeRows.find(entry.id);
    // Recipes that moved without a word are found again rather than read at a stale row.
    if (row != m_recipeRows.end() && (row->second >= recipes.size() || recipes[row->second].id != entry.id)) {
        m_recipeRowsKnown = false;
        indexRecipes(recipes);
        row = m_recipeRows.find(entry.id);
    }
    entry.text = SearchParts::recipeText(row == m_recipeRows.end() ? nullptr : &recipes[row->second], names, m_fold);
    entry.nameSignature = SearchParts::Signature(entry.text.name);
    entry.materialsSignature = SearchParts::Signature(entry.text.materials);
    entry.current = true;
    return entry;
}

} // namespace GlazeCore
