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
#include <utility>

namespace Orza {

namespace {

constexpr std::size_t pastSearchesKept = 8;
constexpr auto aheadSlice = std::chrono::microseconds(4000);
constexpr std::size_t minimumCompactedGarbage = 1 << 20;
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
    std::string cone;       // canonical form, as the cone filter compares
    std::string atmosphere; // canonical form
    std::string foldedCone;
    std::string foldedAtmosphere;
    std::string normalizedCode;
    std::string key; // empty for a blank code
};

/// What a search reads of every tile, kept compact and apart from the entries: where the tile's search text
/// lies in the arena (the entries of TestSearch::tileText that belong to the tile itself, folded; the
/// recipe's entries are its recipe's part, shared by all its tiles), and its code's number and hash.
struct TileSearchCache::TextRef {
    static constexpr std::uint32_t unbuilt = UINT32_MAX;
    static constexpr std::int64_t noNumber = -1;

    std::size_t offset = 0;
    std::uint32_t length = unbuilt;
    std::uint32_t recipeSlot = 0;
    // Always current, like the entry.
    GlazeCore::Uuid id;
    std::int64_t number = noNumber;
    std::size_t codeHash = 0; // of the normalized code

    bool isBuilt() const { return length != unbuilt; }
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

void TileSearchCache::fillCodeLevel(std::size_t position) {
    using GlazeCore::UnicodeText::canonicalForm;
    using GlazeCore::UnicodeText::fold;
    const GlazeCore::TestTile& tile = m_document.book().tests[position];
    Entry& entry = m_entries[position];
    entry.id = tile.id;
    entry.cone = canonicalForm(tile.cone);
    entry.atmosphere = canonicalForm(tile.atmosphere);
    entry.foldedCone = fold(tile.cone);
    entry.foldedAtmosphere = fold(tile.atmosphere);
    entry.normalizedCode = GlazeCore::TileCode::normalized(tile.code);
    entry.key = GlazeCore::TileCode::uniquenessKey(tile.code);
    TextRef& ref = m_texts[position];
    ref.id = tile.id;
    ref.number = GlazeCore::TileCode::number(tile.code).value_or(TextRef::noNumber);
    ref.codeHash = std::hash<std::string>{}(entry.normalizedCode);
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
    m_texts.assign(tests.size(), TextRef{});
    m_arena.clear();
    m_garbage = 0;
    m_keyCounts.clear();
    m_coneCounts.clear();
    m_atmosphereCounts.clear();
    m_sharedKeys = 0;
    m_builtCount = 0;
    for (std::size_t i = 0; i < tests.size(); ++i) {
        fillCodeLevel(i);
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
    const int sharedBefore = m_sharedKeys;
    const auto added = std::size_t(last - first + 1);
    m_entries.insert(m_entries.begin() + first, added, Entry{});
    m_texts.insert(m_texts.begin() + first, added, TextRef{});
    for (std::size_t position = std::size_t(first); position <= std::size_t(last); ++position) {
        fillCodeLevel(position);
        count(m_entries[position], +1);
    }
    // Shared codes are listed in book order, which rows coming in can change.
    if (sharedBefore > 0 || m_sharedKeys > 0) m_codesTouched = true;
    forgetResults();
    announce();
    startBuildingAhead();
}

void TileSearchCache::tilesRemoved(int first, int last) {
    const int sharedBefore = m_sharedKeys;
    for (int position = first; position <= last; ++position) {
        count(m_entries[std::size_t(position)], -1);
        dropText(m_texts[std::size_t(position)]);
    }
    m_entries.erase(m_entries.begin() + first, m_entries.begin() + last + 1);
    m_texts.erase(m_texts.begin() + first, m_texts.begin() + last + 1);
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
    std::vector<TextRef> texts;
    ordered.reserve(tests.size());
    texts.reserve(tests.size());
    for (const GlazeCore::TestTile& tile : tests) {
        const auto found = at.find(tile.id);
        if (found == at.end()) {
            // Never expected: the cache starts over rather than answer for the wrong tiles.
            rebuildAll();
            return;
        }
        ordered.push_back(std::move(m_entries[found->second]));
        texts.push_back(m_texts[found->second]);
    }
    m_entries = std::move(ordered);
    m_texts = std::move(texts);
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
        fillCodeLevel(std::size_t(row));
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
    dropText(m_texts[std::size_t(row)]);
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
    for (TextRef& ref : m_texts)
        ref.length = TextRef::unbuilt;
    m_arena.clear();
    m_garbage = 0;
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

void TileSearchCache::buildText(std::size_t position) {
    // Each entry follows the one before it after a line feed: no query word holds a line feed, so a word is
    // in the whole text of TestSearch::tileText exactly when it is in this text or in the recipe's part.
    const GlazeCore::TestTile& tile = m_document.book().tests[position];
    TextRef& ref = m_texts[position];
    dropText(ref);
    GlazeCore::SearchFold& fold = *m_fold;
    std::string& text = m_arena;
    const std::size_t start = text.size();
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

    ref.offset = start;
    ref.length = std::uint32_t(std::min<std::size_t>(text.size() - start, TextRef::unbuilt - 1));
    ref.recipeSlot = slotOf(tile.recipeID);
    ++m_builtCount;
}

void TileSearchCache::dropText(TextRef& ref) {
    if (!ref.isBuilt()) return;
    m_garbage += ref.length;
    ref.length = TextRef::unbuilt;
    --m_builtCount;
}

void TileSearchCache::compactTexts() {
    std::string arena;
    arena.reserve(m_arena.size() - m_garbage);
    for (TextRef& ref : m_texts) {
        if (!ref.isBuilt()) continue;
        const std::size_t offset = arena.size();
        arena.append(m_arena, ref.offset, ref.length);
        ref.offset = offset;
    }
    m_arena = std::move(arena);
    m_garbage = 0;
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
    if (m_builtCount >= m_texts.size() || m_ahead->isActive()) return;
    m_aheadCursor = 0;
    m_ahead->start();
}

bool TileSearchCache::buildAhead(std::chrono::microseconds budget) {
    ensureEnvironment();
    const auto deadline = std::chrono::steady_clock::now() + budget;
    std::size_t steps = 0;
    while (m_builtCount < m_texts.size()) {
        if (m_aheadCursor >= m_texts.size()) m_aheadCursor = 0;
        if (!m_texts[m_aheadCursor].isBuilt()) buildText(m_aheadCursor);
        ++m_aheadCursor;
        if (++steps % 64 == 0 && std::chrono::steady_clock::now() >= deadline) return true;
    }
    // Texts made again leave their old bytes behind; once that is most of the arena, it is written afresh.
    if (m_garbage > minimumCompactedGarbage && m_garbage > m_arena.size() / 2) compactTexts();
    return false;
}

const GlazeCore::Uuid& TileSearchCache::idAt(std::size_t position) const {
    return m_texts[position].id;
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

bool TileSearchCache::passesFilters(std::size_t position, const Query& query) const {
    const Entry& entry = m_entries[position];
    if (query.cone && entry.cone != *query.cone) return false;
    if (query.atmosphere && entry.foldedAtmosphere != *query.atmosphere) return false;
    if (query.queryCone && entry.foldedCone != *query.queryCone) return false;
    return true;
}

bool TileSearchCache::holdsWords(std::size_t position, const Query& query, PartHits& hits,
                                 const std::vector<std::size_t>& which) {
    if (which.empty()) return true;
    if (!m_texts[position].isBuilt()) buildText(position);
    const TextRef& ref = m_texts[position];
    const std::string_view text(m_arena.data() + ref.offset, ref.length);
    const std::uint8_t* inRecipe = hits.of(ref.recipeSlot);
    for (const std::size_t i : which) {
        if (inRecipe[i]) continue;
        if (text.find(query.tokens[i]) != std::string_view::npos) continue;
        if (query.numbers[i] && ref.number == *query.numbers[i]) continue;
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

    std::vector<std::size_t> allWords(query.tokens.size());
    for (std::size_t i = 0; i < allWords.size(); ++i)
        allWords[i] = i;
    PartHits hits(*this, query);
    Positions found;
    // The entries are read only when a filter asks for them.
    const bool filtered = query.cone || query.atmosphere || query.queryCone;
    const auto check = [&](std::uint32_t position) {
        if ((!filtered || passesFilters(position, query)) && holdsWords(position, query, hits, allWords))
            found.push_back(position);
    };
    if (const Past* earlier = refinedFrom(query)) {
        // The earlier search's tiles passed its filters and words already: only the new words are tried on
        // them. Tiles that a word names by number come in as well and are tried in full.
        std::vector<std::size_t> newWords;
        for (std::size_t i = 0; i < query.tokens.size(); ++i)
            if (std::find(earlier->query.tokens.begin(), earlier->query.tokens.end(), query.tokens[i]) ==
                earlier->query.tokens.end())
                newWords.push_back(i);
        const Positions named = numberedPositions(query);
        const Positions& before = earlier->positions;
        std::size_t b = 0, n = 0;
        while (b < before.size() || n < named.size()) {
            if (n == named.size() || (b < before.size() && before[b] <= named[n])) {
                const std::uint32_t position = before[b++];
                if (n < named.size() && named[n] == position) ++n;
                if (holdsWords(position, query, hits, newWords)) found.push_back(position);
            } else {
                check(named[n++]);
            }
        }
    } else {
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            check(std::uint32_t(i));
    }

    m_past.insert(m_past.begin(), Past{std::move(query), found});
    if (m_past.size() > pastSearchesKept) m_past.pop_back();
    return found;
}

TileSearchCache::Positions TileSearchCache::numberedPositions(const Query& query) const {
    Positions named;
    std::vector<std::int64_t> numbers;
    for (const auto& number : query.numbers)
        if (number) numbers.push_back(*number);
    if (numbers.empty()) return named;
    for (std::size_t i = 0; i < m_texts.size(); ++i)
        if (std::find(numbers.begin(), numbers.end(), m_texts[i].number) != numbers.end())
            named.push_back(std::uint32_t(i));
    return named;
}

bool TileSearchCache::matches(std::size_t position, const TileFilters& filters) {
    if (position >= m_entries.size()) return false;
    ensureEnvironment();
    const Query query = parse(filters);
    std::vector<std::size_t> allWords(query.tokens.size());
    for (std::size_t i = 0; i < allWords.size(); ++i)
        allWords[i] = i;
    PartHits hits(*this, query);
    return passesFilters(position, query) && holdsWords(position, query, hits, allWords);
}

std::optional<GlazeCore::Uuid> TileSearchCache::findByCode(std::string_view typed) {
    // Only tiles whose code or code number is the typed one can answer; GlazeCore decides among them.
    const std::string wanted = GlazeCore::TileCode::normalized(typed);
    if (wanted.empty()) return std::nullopt;
    const auto& tests = m_document.book().tests;
    const std::size_t hash = std::hash<std::string>{}(wanted);
    std::vector<GlazeCore::TestTile> candidates;
    for (std::size_t i = 0; i < m_texts.size(); ++i)
        if (m_texts[i].codeHash == hash && m_entries[i].normalizedCode == wanted) candidates.push_back(tests[i]);
    if (candidates.empty()) {
        if (const auto number = GlazeCore::TileCode::number(wanted))
            for (std::size_t i = 0; i < m_texts.size(); ++i)
                if (m_texts[i].number == *number) candidates.push_back(tests[i]);
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
