#include "GlazeCore/search/TestSearchCache.h"

#include "GlazeCore/search/SearchDates.h"
#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/text/UnicodeText.h"
#include "GlazeCore/tilecode/TileCode.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <iterator>
#include <limits>
#include <numeric>

namespace GlazeCore {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t noNumber = std::numeric_limits<std::int64_t>::min();
// A search tests up to this many words at once, one bit each; more are tested in further rounds.
constexpr std::size_t wordsPerRound = 64;
constexpr std::size_t pastSearchesKept = 8;

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

// The year, month and day name the day alone; the locale's date of it only takes part in the comparison.
std::size_t TestSearchCache::DayHash::operator()(const DayView& day) const noexcept {
    return std::hash<std::string_view>{}(day.first);
}

struct TestSearchCache::Query {
    std::vector<std::string> tokens;
    std::vector<std::int64_t> numbers; // the tile number each token names, or noNumber
    std::optional<std::string> queryCone;
    std::optional<std::string> cone;       // the cone filter, canonical
    std::optional<std::string> atmosphere; // the atmosphere filter, folded

    bool operator==(const Query& other) const {
        return tokens == other.tokens && queryCone == other.queryCone && cone == other.cone &&
               atmosphere == other.atmosphere;
    }
};

struct TestSearchCache::Past {
    Query query;
    std::vector<std::uint32_t> rows;
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

TestSearchCache::TestSearchCache(Use use) : m_once(use == Use::oneSearch) {}
TestSearchCache::~TestSearchCache() = default;

void TestSearchCache::tileChanged(std::size_t row) {
    if (row >= m_tiles.size()) return;
    TileEntry& entry = m_tiles[row];
    if (entry.current && entry.dated) --m_prepared;
    entry.current = false;
    entry.dated = false;
    markStale(row, row + 1);
    forgetAnswers();
}

void TestSearchCache::tilesInserted(std::size_t first, std::size_t count) {
    if (first > m_tiles.size()) return reset();
    m_tiles.insert(m_tiles.begin() + static_cast<std::ptrdiff_t>(first), count, TileEntry{});
    if (m_staleFrom < m_staleTo) {
        if (m_staleFrom >= first) m_staleFrom += count;
        if (m_staleTo > first) m_staleTo += count;
    }
    markStale(first, first + count);
    forgetAnswers();
}

void TestSearchCache::tilesRemoved(std::size_t first, std::size_t count) {
    if (first + count > m_tiles.size()) return reset();
    const auto begin = m_tiles.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end = begin + static_cast<std::ptrdiff_t>(count);
    std::for_each(begin, end, [this](TileEntry& entry) {
        forget(entry);
        if (entry.current && entry.dated) --m_prepared;
    });
    m_tiles.erase(begin, end);
    // The rows after the removed ones move up; stale rows among the removed ones are gone.
    const auto moved = [&](std::size_t row) { return row <= first ? row : std::max(first, row - count); };
    m_staleFrom = moved(m_staleFrom);
    m_staleTo = moved(m_staleTo);
    if (m_staleFrom >= m_staleTo) m_staleFrom = m_staleTo = 0;
    forgetAnswers();
}

void TestSearchCache::recipeChanged(const Uuid& recipeID) {
    if (const auto found = m_recipeSlots.find(recipeID); found != m_recipeSlots.end())
        m_recipes[found->second].current = false;
    forgetAnswers();
}

void TestSearchCache::recipesChanged() {
    m_recipeRowsKnown = false;
    materialNamesChanged();
}

void TestSearchCache::materialNamesChanged() {
    for (RecipeEntry& recipe : m_recipes)
        recipe.current = false;
    forgetAnswers();
}

void TestSearchCache::reset() {
    m_tiles.clear();
    m_rowsKnown = false;
    m_staleFrom = m_staleTo = 0;
    m_prepared = 0;
    m_cones.clear();
    recipesChanged();
}

void TestSearchCache::markStale(std::size_t first, std::size_t end) {
    if (first >= end) return;
    if (m_staleFrom >= m_staleTo) {
        m_staleFrom = first;
        m_staleTo = end;
        return;
    }
    m_staleFrom = std::min(m_staleFrom, first);
    m_staleTo = std::max(m_staleTo, end);
}

void TestSearchCache::forgetAnswers() {
    m_past.clear();
}

std::vector<std::uint32_t> TestSearchCache::search(const std::vector<TestTile>& tiles,
                                                   const std::vector<GlazeCore::Recipe>& recipes,
                                                   const SearchParts::MaterialNames& names, std::string_view query,
                                                   const std::optional<std::string>& coneFilter,
                                                   const std::optional<std::string>& atmosphereFilter,
                                                   const std::string& timeZone, const std::string& locale) {
    update(tiles, timeZone, locale, Clock::time_point::max());
    indexRecipes(recipes);
    Query parsed = parse(query, coneFilter, atmosphereFilter);
    for (const Past& past : m_past)
        if (past.query == parsed) return past.rows;

    std::vector<std::uint32_t> rows;
    if (const Past* earlier = refinedFrom(parsed)) {
        rows = refine(*earlier, parsed, tiles, recipes, names);
    } else {
        rows.resize(tiles.size());
        std::iota(rows.begin(), rows.end(), 0u);
        keep(rows, parsed, tiles, recipes, names);
    }
    m_past.insert(m_past.begin(), Past{std::move(parsed), rows});
    if (m_past.size() > pastSearchesKept) m_past.pop_back();
    return rows;
}

bool TestSearchCache::matches(const std::vector<TestTile>& tiles, const std::vector<Recipe>& recipes,
                              const SearchParts::MaterialNames& names, std::size_t row, std::string_view query,
                              const std::optional<std::string>& coneFilter,
                              const std::optional<std::string>& atmosphereFilter, const std::string& timeZone,
                              const std::string& locale) {
    if (row >= tiles.size()) return false;
    // Every tile's cone is known before a query is read: "cone X" is a pair only when some tile has cone X.
    update(tiles, timeZone, locale, Clock::time_point::max());
    indexRecipes(recipes);
    std::vector<std::uint32_t> rows{static_cast<std::uint32_t>(row)};
    keep(rows, parse(query, coneFilter, atmosphereFilter), tiles, recipes, names);
    return !rows.empty();
}

bool TestSearchCache::prepare(const std::vector<TestTile>& tiles, const std::string& timeZone,
                              const std::string& locale, Clock::time_point deadline) {
    return !update(tiles, timeZone, locale, deadline);
}

TestSearchCache::Query TestSearchCache::parse(std::string_view text, const std::optional<std::string>& coneFilter,
                                              const std::optional<std::string>& atmosphereFilter) {
    TestSearch::Query words = TestSearch::tokens(text, {});
    // The vocabulary of "cone X" pairs is only made when the query has such a pair to test.
    bool hasPair = false;
    for (std::size_t i = 0; i + 1 < words.tokens.size(); ++i)
        hasPair = hasPair || words.tokens[i] == "cone";
    if (hasPair) {
        TestSearch::ConeVocabulary cones = TestSearch::foldedOrtonCones();
        for (const auto& entry : m_cones)
            cones.insert(entry.first);
        words = TestSearch::tokens(text, cones);
    }
    Query query;
    query.tokens = std::move(words.tokens);
    query.queryCone = std::move(words.cone);
    for (const std::string& token : query.tokens)
        query.numbers.push_back(TileCode::number(token).value_or(noNumber));
    if (coneFilter) query.cone = UnicodeText::canonicalForm(*coneFilter);
    if (atmosphereFilter) query.atmosphere = m_fold(*atmosphereFilter);
    return query;
}

void TestSearchCache::keep(std::vector<std::uint32_t>& rows, const Query& query, const std::vector<TestTile>& tiles,
                           const std::vector<Recipe>& recipes, const SearchParts::MaterialNames& names) {
    if (query.cone || query.atmosphere || query.queryCone)
        std::erase_if(rows, [&](std::uint32_t row) {
            const TileEntry& entry = m_tiles[row];
            return (query.cone && !UnicodeText::canonicallyEqual(tiles[row].cone, *query.cone)) ||
                   (query.atmosphere && entry.own.atmosphere() != *query.atmosphere) ||
                   (query.queryCone && entry.own.cone() != *query.queryCone);
        });
    // Each round keeps the rows that hold all its words.
    for (std::size_t first = 0; first < query.tokens.size() && !rows.empty(); first += wordsPerRound) {
        std::vector<Word> words;
        for (std::size_t i = first; i < std::min(first + wordsPerRound, query.tokens.size()); ++i)
            words.push_back({query.tokens[i], SearchParts::Signature(query.tokens[i]), query.numbers[i]});
        Search round(*this, recipes, names, std::move(words));
        std::erase_if(rows, [&](std::uint32_t row) { return !round.matches(m_tiles[row]); });
    }
}

const TestSearchCache::Past* TestSearchCache::refinedFrom(const Query& query) const {
    // An earlier answer holds every row of this one when its filters and query cone are the same and each of its
    // words lies inside a word of this one, except rows that a word of this one names by number.
    const Past* best = nullptr;
    for (const Past& past : m_past) {
        const Query& earlier = past.query;
        if (earlier.cone != query.cone || earlier.atmosphere != query.atmosphere ||
            earlier.queryCone != query.queryCone)
            continue;
        const bool inside = std::all_of(earlier.tokens.begin(), earlier.tokens.end(), [&](const std::string& word) {
            return std::any_of(query.tokens.begin(), query.tokens.end(),
                               [&](const std::string& now) { return now.find(word) != std::string::npos; });
        });
        if (inside && (!best || past.rows.size() < best->rows.size())) best = &past;
    }
    return best;
}

std::vector<std::uint32_t> TestSearchCache::refine(const Past& earlier, const Query& query,
                                                   const std::vector<TestTile>& tiles,
                                                   const std::vector<Recipe>& recipes,
                                                   const SearchParts::MaterialNames& names) {
    // The earlier rows passed the same filters and hold the earlier words: only the words new to this query are
    // tried on them.
    Query newWords;
    for (std::size_t i = 0; i < query.tokens.size(); ++i)
        if (std::find(earlier.query.tokens.begin(), earlier.query.tokens.end(), query.tokens[i]) ==
            earlier.query.tokens.end()) {
            newWords.tokens.push_back(query.tokens[i]);
            newWords.numbers.push_back(query.numbers[i]);
        }
    std::vector<std::uint32_t> rows = earlier.rows;
    keep(rows, newWords, tiles, recipes, names);
    // Rows that a word names by number may be new to this answer: they are tried in full.
    std::vector<std::int64_t> numbers;
    for (const std::int64_t number : query.numbers)
        if (number != noNumber) numbers.push_back(number);
    if (numbers.empty()) return rows;
    std::vector<std::uint32_t> named;
    for (std::uint32_t row = 0; row < m_tiles.size(); ++row)
        if (std::find(numbers.begin(), numbers.end(), m_tiles[row].number) != numbers.end() &&
            !std::binary_search(earlier.rows.begin(), earlier.rows.end(), row))
            named.push_back(row);
    keep(named, query, tiles, recipes, names);
    std::vector<std::uint32_t> both;
    both.reserve(rows.size() + named.size());
    std::merge(rows.begin(), rows.end(), named.begin(), named.end(), std::back_inserter(both));
    return both;
}

bool TestSearchCache::update(const std::vector<TestTile>& tiles, const std::string& timeZone, const std::string& locale,
                             Clock::time_point deadline) {
    // A book that does not have the rows the changes told of is taken afresh.
    if (!m_rowsKnown || m_tiles.size() != tiles.size()) {
        reset();
        m_tiles.resize(tiles.size());
        m_rowsKnown = true;
        markStale(0, tiles.size());
    }
    if (!m_datesKnown || timeZone != m_timeZone || locale != m_locale) {
        m_timeZone = timeZone;
        m_locale = locale;
        m_datesKnown = true;
        m_days.clear();
        m_daySlots.clear();
        for (TileEntry& entry : m_tiles)
            entry.dated = false;
        m_prepared = 0;
        markStale(0, tiles.size());
        forgetAnswers();
    }
    const std::size_t end = std::min(m_staleTo, tiles.size());
    std::size_t row = m_staleFrom;
    // The thread's dates are shared with every other search on it, so a search of a book met for the first
    // time does not make its own calendar and format.
    SearchDates* dates = nullptr;
    for (std::size_t made = 0; row < end; ++row) {
        TileEntry& entry = m_tiles[row];
        if (entry.current && entry.dated) continue;
        if (++made % 64 == 0 && deadline != Clock::time_point::max() && Clock::now() >= deadline) break;
        if (dates == nullptr) dates = &SearchDates::forThread(timeZone, locale);
        refresh(entry, tiles[row], *dates);
    }
    m_staleFrom = row;
    if (row < end) return false;
    m_staleFrom = m_staleTo = 0;
    return true;
}

void TestSearchCache::refresh(TileEntry& entry, const TestTile& tile, SearchDates& dates) {
    if (!entry.current) build(entry, tile);
    if (!entry.dated) {
        entry.day = daySlot(dates.of(tile.date));
        entry.dated = true;
    }
    ++m_prepared;
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
    entry.signature = m_once ? SearchParts::Signature::anyText() : SearchParts::Signature(entry.own.text);
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

std::uint32_t TestSearchCache::daySlot(const SearchDates::Texts& texts) {
    if (const auto found = m_daySlots.find(DayView(texts.yearMonthDay, texts.localeDateFolded));
        found != m_daySlots.end())
        return found->second;
    const auto slot = static_cast<std::uint32_t>(m_days.size());
    m_days.push_back({texts.yearMonthDay, texts.localeDateFolded});
    m_daySlots.emplace(DayTexts(texts.yearMonthDay, texts.localeDateFolded), slot);
    return slot;
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
    entry.nameSignature = m_once ? SearchParts::Signature::anyText() : SearchParts::Signature(entry.text.name);
    entry.materialsSignature =
        m_once ? SearchParts::Signature::anyText() : SearchParts::Signature(entry.text.materials);
    entry.current = true;
    return entry;
}

} // namespace GlazeCore
