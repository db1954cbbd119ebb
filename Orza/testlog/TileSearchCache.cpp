#include "Orza/testlog/TileSearchCache.h"

#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/book/SearchDates.h"
#include "GlazeCore/book/SearchFold.h"
#include "GlazeCore/book/TileCode.h"
#include "GlazeCore/text/UnicodeText.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"

#include <QLocale>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>
#include <iterator>
#include <unordered_set>
#include <utility>

namespace Orza {

namespace {

constexpr std::size_t pastSearchesKept = 8;
constexpr auto aheadSlice = std::chrono::microseconds(4000);
constexpr std::string_view deletedRecipeName = "Deleted recipe";

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Material ids match canonically, as the library's names are keyed.
const std::string* nameOf(const GlazeCore::TestSearch::MaterialNames& names, const std::string& id) {
    auto found = names.find(id);
    if (found == names.end() && !isAscii(id)) found = names.find(GlazeCore::UnicodeText::canonicalForm(id));
    return found == names.end() ? nullptr : &found->second;
}

} // namespace

struct TileSearchCache::Entry {
    GlazeCore::Uuid id;
    // Always current: the code's identity and the two filter values.
    std::string cone;       // canonical form, as the cone filter compares
    std::string atmosphere; // canonical form
    std::string foldedCone;
    std::string foldedAtmosphere;
    std::string normalizedCode;
    std::string key; // empty for a blank code
    std::optional<std::int64_t> number;
    // Built on first need and kept until the tile changes: the folded search text without its recipe's part,
    // which all tiles of one recipe share.
    bool built = false;
    std::uint32_t recipeSlot = 0;
    std::string text;
};

/// A recipe's entries of the search text: its folded name (or "Deleted recipe") and its material names.
struct TileSearchCache::RecipePart {
    GlazeCore::Uuid recipeID;
    bool fresh = false;
    std::string name;
    std::string materials;
};

struct TileSearchCache::Query {
    std::vector<std::string> tokens;
    std::vector<std::optional<std::int64_t>> numbers; // each token's tile number, when it names one
    std::optional<std::string> queryCone;
    std::optional<std::string> cone;       // canonical
    std::optional<std::string> atmosphere; // folded

    bool operator==(const Query& other) const {
        return tokens == other.tokens && queryCone == other.queryCone && cone == other.cone &&
               atmosphere == other.atmosphere;
    }
};

struct TileSearchCache::Past {
    Query query;
    Positions positions;
};

/// Which of a query's words each recipe's part holds, worked out once per recipe per search.
class TileSearchCache::PartHits {
public:
    PartHits(TileSearchCache& cache, const Query& query) : m_cache(cache), m_query(query) {}

    const std::uint8_t* of(std::uint32_t slot) {
        const std::size_t width = m_query.tokens.size();
        if (slot >= m_known.size()) {
            m_known.resize(m_cache.m_parts.size(), 0);
            m_hits.resize(m_cache.m_parts.size() * width, 0);
        }
        std::uint8_t* hits = m_hits.data() + slot * width;
        if (!m_known[slot]) {
            const RecipePart& part = m_cache.part(slot);
            for (std::size_t i = 0; i < width; ++i) {
                const std::string& token = m_query.tokens[i];
                hits[i] = part.name.find(token) != std::string::npos || part.materials.find(token) != std::string::npos;
            }
            m_known[slot] = 1;
        }
        return hits;
    }

private:
    TileSearchCache& m_cache;
    const Query& m_query;
    std::vector<std::uint8_t> m_known;
    std::vector<std::uint8_t> m_hits;
};

TileSearchCache& TileSearchCache::of(BookDocument& document) {
    if (auto* cache = document.findChild<TileSearchCache*>(QString(), Qt::FindDirectChildrenOnly)) return *cache;
    return *new TileSearchCache(document);
}

TileSearchCache::TileSearchCache(BookDocument& document)
    : QObject(&document), m_document(document), m_fold(std::make_unique<GlazeCore::SearchFold>()),
      m_ahead(new QTimer(this)) {
    m_ahead->setInterval(0);
    connect(m_ahead, &QTimer::timeout, this, [this] {
        if (!buildAhead(aheadSlice)) m_ahead->stop();
    });
    connectDocument();
    rebuildAll();
}

TileSearchCache::~TileSearchCache() = default;

void TileSearchCache::connectDocument() {
    connect(&m_document, &BookDocument::testsInserted, this, &TileSearchCache::tilesInserted);
    connect(&m_document, &BookDocument::testsRemoved, this, &TileSearchCache::tilesRemoved);
    connect(&m_document, &BookDocument::testsMoved, this, &TileSearchCache::tilesMoved);
    connect(&m_document, &BookDocument::tileChanged, this, &TileSearchCache::tileChanged);
    connect(&m_document, &BookDocument::reset, this, &TileSearchCache::rebuildAll);
    connect(&m_document, &BookDocument::recipeEdited, this, [this](const GlazeCore::Uuid& recipeID) {
        const auto slot = m_slots.find(recipeID);
        if (slot == m_slots.end()) return;
        m_parts[slot->second].fresh = false;
        forgetResults();
    });
    // A recipe coming or going turns its tiles' recipe into "Deleted recipe" or back.
    for (const auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved})
        connect(&m_document, signal, this, [this] {
            forgetParts();
            forgetResults();
        });
    connect(&m_document, &BookDocument::libraryChanged, this, [this] {
        m_names.reset();
        forgetParts();
        forgetResults();
    });
}

// --- Keeping up with the book -----------------------------------------------------------------------------------

void TileSearchCache::fillCodeLevel(Entry& entry, const GlazeCore::TestTile& tile) {
    using GlazeCore::UnicodeText::canonicalForm;
    using GlazeCore::UnicodeText::fold;
    entry.id = tile.id;
    entry.cone = canonicalForm(tile.cone);
    entry.atmosphere = canonicalForm(tile.atmosphere);
    entry.foldedCone = fold(tile.cone);
    entry.foldedAtmosphere = fold(tile.atmosphere);
    entry.normalizedCode = GlazeCore::TileCode::normalized(tile.code);
    entry.key = GlazeCore::TileCode::uniquenessKey(tile.code);
    entry.number = GlazeCore::TileCode::number(tile.code);
}

void TileSearchCache::count(const Entry& entry, int delta) {
    const auto tally = [delta](std::unordered_map<std::string, int>& counts, const std::string& value) {
        const int after = (counts[value] += delta);
        if (after <= 0) counts.erase(value);
        return after;
    };
    if (!entry.key.empty()) {
        const int after = tally(m_keyCounts, entry.key);
        if (delta > 0 && after == 2) ++m_sharedKeys;
        if (delta < 0 && after == 1) --m_sharedKeys;
        if (after >= 2 || after - delta >= 2) m_codesTouched = true;
    }
    for (auto* counts : {&m_coneCounts, &m_atmosphereCounts}) {
        const int after = tally(*counts, counts == &m_coneCounts ? entry.cone : entry.atmosphere);
        if (after == 0 || after - delta == 0) m_valuesTouched = true;
    }
}

void TileSearchCache::announce() {
    const bool codes = std::exchange(m_codesTouched, false);
    const bool values = std::exchange(m_valuesTouched, false);
    if (codes) emit codesChanged();
    if (values) emit valuesChanged();
}

void TileSearchCache::rebuildAll() {
    const auto& tests = m_document.book().tests;
    m_entries.clear();
    m_entries.resize(tests.size());
    m_keyCounts.clear();
    m_coneCounts.clear();
    m_atmosphereCounts.clear();
    m_sharedKeys = 0;
    m_builtCount = 0;
    for (std::size_t i = 0; i < tests.size(); ++i) {
        fillCodeLevel(m_entries[i], tests[i]);
        count(m_entries[i], +1);
    }
    m_slots.clear();
    m_parts.clear();
    m_names.reset();
    forgetResults();
    m_codesTouched = true;
    m_valuesTouched = true;
    announce();
    startBuildingAhead();
}

void TileSearchCache::tilesInserted(int first, int last) {
    const auto& tests = m_document.book().tests;
    const int sharedBefore = m_sharedKeys;
    std::vector<Entry> added(std::size_t(last - first + 1));
    for (std::size_t k = 0; k < added.size(); ++k) {
        fillCodeLevel(added[k], tests[std::size_t(first) + k]);
        count(added[k], +1);
    }
    m_entries.insert(m_entries.begin() + first, std::make_move_iterator(added.begin()),
                     std::make_move_iterator(added.end()));
    // Shared codes are listed in book order, which rows coming in can change.
    if (sharedBefore > 0 || m_sharedKeys > 0) m_codesTouched = true;
    forgetResults();
    announce();
    startBuildingAhead();
}

void TileSearchCache::tilesRemoved(int first, int last) {
    const int sharedBefore = m_sharedKeys;
    const auto begin = m_entries.begin() + first;
    const auto end = m_entries.begin() + last + 1;
    for (auto entry = begin; entry != end; ++entry) {
        count(*entry, -1);
        if (entry->built) --m_builtCount;
    }
    m_entries.erase(begin, end);
    if (sharedBefore > 0 || m_sharedKeys > 0) m_codesTouched = true;
    forgetResults();
    announce();
}

void TileSearchCache::tilesMoved() {
    std::unordered_map<GlazeCore::Uuid, std::size_t> at;
    at.reserve(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        at.emplace(m_entries[i].id, i);
    const auto& tests = m_document.book().tests;
    std::vector<Entry> ordered;
    ordered.reserve(tests.size());
    for (const GlazeCore::TestTile& tile : tests) {
        const auto found = at.find(tile.id);
        if (found == at.end()) {
            // Never expected: the cache starts over rather than answer for the wrong tiles.
            rebuildAll();
            return;
        }
        ordered.push_back(std::move(m_entries[found->second]));
    }
    m_entries = std::move(ordered);
    if (m_sharedKeys > 0) m_codesTouched = true;
    forgetResults();
    announce();
}

void TileSearchCache::tileChanged(const GlazeCore::Uuid& id, int row, TileField field) {
    if (row < 0 || std::size_t(row) >= m_entries.size() || m_entries[std::size_t(row)].id != id) {
        rebuildAll();
        return;
    }
    Entry& entry = m_entries[std::size_t(row)];
    switch (field) {
    case TileField::code:
    case TileField::cone:
    case TileField::atmosphere:
        count(entry, -1);
        fillCodeLevel(entry, m_document.book().tests[std::size_t(row)]);
        count(entry, +1);
        break;
    case TileField::recipeID:
    case TileField::notes:
    case TileField::date:
        break;
    case TileField::schedule:
    case TileField::photoBookmark:
        return; // not searched
    }
    if (entry.built) {
        entry.built = false;
        --m_builtCount;
    }
    forgetResults();
    announce();
    startBuildingAhead();
}

// --- Search texts -----------------------------------------------------------------------------------------------

void TileSearchCache::ensureEnvironment() {
    // The numeric date in the text follows the user's time zone and locale, as the window model's search does.
    std::string zone = QTimeZone::systemTimeZoneId().toStdString();
    std::string locale = QLocale().name().toStdString();
    if (m_dates && zone == m_timeZone && locale == m_locale) return;
    m_timeZone = std::move(zone);
    m_locale = std::move(locale);
    m_dates = std::make_unique<GlazeCore::SearchDates>(m_timeZone, m_locale);
    forgetTexts();
}

void TileSearchCache::forgetTexts() {
    for (Entry& entry : m_entries)
        entry.built = false;
    m_builtCount = 0;
    // The fold remembers pieces for as long as it lives; a fresh one keeps that memory bounded.
    m_fold = std::make_unique<GlazeCore::SearchFold>();
    forgetParts();
    forgetResults();
    startBuildingAhead();
}

void TileSearchCache::forgetParts() {
    for (RecipePart& part : m_parts)
        part.fresh = false;
}

void TileSearchCache::forgetResults() {
    m_past.clear();
}

void TileSearchCache::buildText(Entry& entry, const GlazeCore::TestTile& tile) {
    // The entries of TestSearch::tileText that belong to the tile, each after the one before it with a line
    // feed between: no query word holds a line feed, so a word is in the whole text exactly when it is in
    // this text or in the recipe's part.
    GlazeCore::SearchFold& fold = *m_fold;
    std::string& text = entry.text;
    text.clear();
    fold.append(text, tile.code);
    text += '\n';
    std::string withoutHyphens = tile.code;
    std::erase(withoutHyphens, '-');
    fold.append(text, withoutHyphens);
    text += "\ncone\n";
    fold.append(text, tile.cone);
    text += '\n';
    fold.append(text, tile.atmosphere);
    text += '\n';
    fold.append(text, tile.notes);
    const GlazeCore::SearchDates::Texts& dates = m_dates->of(tile.date);
    text += '\n';
    fold.append(text, dates.yearMonthDay);
    text += '\n';
    text += dates.localeDateFolded;
    entry.recipeSlot = slotOf(tile.recipeID);
    if (!entry.built) {
        entry.built = true;
        ++m_builtCount;
    }
}

std::uint32_t TileSearchCache::slotOf(const GlazeCore::Uuid& recipeID) {
    const auto [found, added] = m_slots.try_emplace(recipeID, std::uint32_t(m_parts.size()));
    if (added) m_parts.push_back({recipeID, false, {}, {}});
    return found->second;
}

const TileSearchCache::RecipePart& TileSearchCache::part(std::uint32_t slot) {
    RecipePart& part = m_parts[slot];
    if (part.fresh) return part;
    part.name.clear();
    part.materials.clear();
    const GlazeCore::Recipe* recipe = m_document.recipe(part.recipeID);
    if (!recipe) {
        m_fold->append(part.name, deletedRecipeName);
    } else {
        m_fold->append(part.name, recipe->name);
        for (const GlazeCore::RecipeLine& line : recipe->lines) {
            if (line.materialID.empty()) continue;
            const std::string* name = nameOf(materialNames(), line.materialID);
            part.materials += '\n';
            m_fold->append(part.materials, name ? *name : line.materialID);
        }
    }
    part.fresh = true;
    return part;
}

const GlazeCore::TestSearch::MaterialNames& TileSearchCache::materialNames() {
    if (!m_names) m_names = GlazeCore::TestSearch::materialNames(m_document.library());
    return *m_names;
}

void TileSearchCache::startBuildingAhead() {
    if (m_builtCount >= m_entries.size() || m_ahead->isActive()) return;
    m_aheadCursor = 0;
    m_ahead->start();
}

bool TileSearchCache::buildAhead(std::chrono::microseconds budget) {
    ensureEnvironment();
    const auto deadline = std::chrono::steady_clock::now() + budget;
    const auto& tests = m_document.book().tests;
    std::size_t steps = 0;
    while (m_builtCount < m_entries.size()) {
        if (m_aheadCursor >= m_entries.size()) m_aheadCursor = 0;
        Entry& entry = m_entries[m_aheadCursor];
        if (!entry.built) buildText(entry, tests[m_aheadCursor]);
        ++m_aheadCursor;
        if (++steps % 64 == 0 && std::chrono::steady_clock::now() >= deadline) break;
    }
    return m_builtCount < m_entries.size();
}

std::size_t TileSearchCache::builtCount() const {
    return m_builtCount;
}

// --- Searching --------------------------------------------------------------------------------------------------

TileSearchCache::Query TileSearchCache::parse(const TileFilters& filters) {
    using GlazeCore::TestSearch::tokens;
    // The vocabulary of "cone X" pairs is only made when the query has such a pair to test.
    GlazeCore::TestSearch::Query words = tokens(filters.query, {});
    bool hasPair = false;
    for (std::size_t i = 0; i + 1 < words.tokens.size(); ++i)
        hasPair = hasPair || words.tokens[i] == "cone";
    if (hasPair) {
        GlazeCore::TestSearch::ConeVocabulary vocabulary;
        for (const std::string& cone : GlazeCore::OrtonCones::all())
            vocabulary.insert(GlazeCore::UnicodeText::fold(cone));
        for (const auto& [cone, tiles] : m_coneCounts)
            vocabulary.insert(GlazeCore::UnicodeText::fold(cone));
        words = tokens(filters.query, vocabulary);
    }
    Query query;
    query.tokens = std::move(words.tokens);
    query.queryCone = std::move(words.cone);
    for (const std::string& token : query.tokens)
        query.numbers.push_back(GlazeCore::TileCode::number(token));
    if (filters.cone) query.cone = GlazeCore::UnicodeText::canonicalForm(*filters.cone);
    if (filters.atmosphere) query.atmosphere = GlazeCore::UnicodeText::fold(*filters.atmosphere);
    return query;
}

bool TileSearchCache::passes(std::size_t position, const Query& query, PartHits& hits) {
    Entry& entry = m_entries[position];
    if (query.cone && entry.cone != *query.cone) return false;
    if (query.atmosphere && entry.foldedAtmosphere != *query.atmosphere) return false;
    if (query.queryCone && entry.foldedCone != *query.queryCone) return false;
    if (query.tokens.empty()) return true;
    if (!entry.built) buildText(entry, m_document.book().tests[position]);
    const std::uint8_t* inRecipe = hits.of(entry.recipeSlot);
    for (std::size_t i = 0; i < query.tokens.size(); ++i) {
        if (inRecipe[i]) continue;
        if (entry.text.find(query.tokens[i]) != std::string::npos) continue;
        if (query.numbers[i] && entry.number == query.numbers[i]) continue;
        return false;
    }
    return true;
}

const TileSearchCache::Past* TileSearchCache::refinedFrom(const Query& query) const {
    // An earlier search holds every tile of this one when its filters and query cone are the same and each of
    // its words lies inside a word of this one, except tiles that a word of this one names by number.
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
        if (inside && (!best || past.positions.size() < best->positions.size())) best = &past;
    }
    return best;
}

TileSearchCache::Positions TileSearchCache::search(const TileFilters& filters) {
    ensureEnvironment();
    Query query = parse(filters);
    for (const Past& past : m_past)
        if (past.query == query) return past.positions;

    PartHits hits(*this, query);
    Positions found;
    if (const Past* earlier = refinedFrom(query)) {
        Positions candidates = earlier->positions;
        std::unordered_set<std::int64_t> numbers;
        for (const auto& number : query.numbers)
            if (number) numbers.insert(*number);
        if (!numbers.empty()) {
            Positions named;
            for (std::size_t i = 0; i < m_entries.size(); ++i)
                if (m_entries[i].number && numbers.contains(*m_entries[i].number)) named.push_back(std::uint32_t(i));
            Positions both;
            std::set_union(candidates.begin(), candidates.end(), named.begin(), named.end(), std::back_inserter(both));
            candidates = std::move(both);
        }
        for (const std::uint32_t position : candidates)
            if (passes(position, query, hits)) found.push_back(position);
    } else {
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (passes(i, query, hits)) found.push_back(std::uint32_t(i));
    }

    m_past.insert(m_past.begin(), Past{std::move(query), found});
    if (m_past.size() > pastSearchesKept) m_past.pop_back();
    return found;
}

bool TileSearchCache::matches(std::size_t position, const TileFilters& filters) {
    if (position >= m_entries.size()) return false;
    ensureEnvironment();
    const Query query = parse(filters);
    PartHits hits(*this, query);
    return passes(position, query, hits);
}

std::optional<GlazeCore::Uuid> TileSearchCache::findByCode(std::string_view typed) {
    // Only tiles whose code or code number is the typed one can answer; GlazeCore decides among them.
    const std::string wanted = GlazeCore::TileCode::normalized(typed);
    if (wanted.empty()) return std::nullopt;
    const auto& tests = m_document.book().tests;
    std::vector<GlazeCore::TestTile> candidates;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].normalizedCode == wanted) candidates.push_back(tests[i]);
    if (candidates.empty()) {
        if (const auto number = GlazeCore::TileCode::number(wanted))
            for (std::size_t i = 0; i < m_entries.size(); ++i)
                if (m_entries[i].number == number) candidates.push_back(tests[i]);
    }
    const auto found = GlazeCore::TestSearch::findByCode(typed, candidates);
    if (!found) return std::nullopt;
    return found->id;
}

std::vector<std::string> TileSearchCache::duplicateCodes() const {
    std::vector<std::string> shared;
    if (m_sharedKeys == 0) return shared;
    // The code of the tile that makes a key shared, in book order, as TileCode::duplicateCodes lists them.
    const auto& tests = m_document.book().tests;
    std::unordered_map<std::string_view, int> seen;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const std::string& key = m_entries[i].key;
        if (key.empty()) continue;
        const auto total = m_keyCounts.find(key);
        if (total == m_keyCounts.end() || total->second < 2) continue;
        if (++seen[key] == 2) shared.push_back(tests[i].code);
    }
    return shared;
}

std::vector<std::string> TileSearchCache::cones() const {
    std::vector<std::string> values;
    values.reserve(m_coneCounts.size());
    for (const auto& [cone, tiles] : m_coneCounts)
        values.push_back(cone);
    return values;
}

std::vector<std::string> TileSearchCache::atmospheres() const {
    std::vector<std::string> values;
    values.reserve(m_atmosphereCounts.size());
    for (const auto& [atmosphere, tiles] : m_atmosphereCounts)
        values.push_back(atmosphere);
    return values;
}

} // namespace Orza
