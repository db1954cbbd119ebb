#include "Orza/testlog/TileSearchCache.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"

#include <QLocale>
#include <QTimeZone>
#include <QTimer>

#include <utility>
#include <variant>

namespace Orza {

namespace {

constexpr auto aheadSlice = std::chrono::microseconds(4000);

} // namespace

struct TileSearchCache::Entry {
    std::string cone;       // canonical form, as the cone filter compares
    std::string atmosphere; // canonical form
    std::string normalizedCode;
    std::string key; // empty for a blank code
};

/// What findByCode and validateCode scan of every tile, kept compact and apart from the entries.
struct TileSearchCache::CodeRef {
    static constexpr std::int64_t noNumber = -1;

    GlazeCore::Uuid id;
    std::int64_t number = noNumber;
    std::size_t codeHash = 0; // of the normalized code
    std::size_t keyHash = 0;
};

TileSearchCache& TileSearchCache::of(BookDocument& document) {
    if (auto* cache = document.findChild<TileSearchCache*>(QString(), Qt::FindDirectChildrenOnly)) return *cache;
    return *new TileSearchCache(document);
}

TileSearchCache::TileSearchCache(BookDocument& document)
    : QObject(&document), m_document(document), m_ahead(new QTimer(this)) {
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
    connect(&m_document, &BookDocument::tileChanged, this, &TileSearchCache::tileChanged);
    connect(&m_document, &BookDocument::reset, this, &TileSearchCache::rebuildAll);
    connect(&m_document, &BookDocument::recipeEdited, this,
            [this](const GlazeCore::Uuid& recipeID) { m_search.recipeChanged(recipeID); });
    // A recipe coming or going turns its tiles' recipe into "Deleted recipe" or back.
    for (const auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved})
        connect(&m_document, signal, this, [this] { m_search.recipesChanged(); });
    connect(&m_document, &BookDocument::libraryChanged, this, [this] {
        m_names.reset();
        m_search.materialNamesChanged();
    });
}

// --- Keeping up with the book -----------------------------------------------------------------------------------

void TileSearchCache::fillCodeLevel(std::size_t position) {
    using GlazeCore::UnicodeText::canonicalForm;
    const GlazeCore::TestTile& tile = m_document.book().tests[position];
    Entry& entry = m_entries[position];
    entry.cone = canonicalForm(tile.cone);
    entry.atmosphere = canonicalForm(tile.atmosphere);
    entry.normalizedCode = GlazeCore::TileCode::normalized(tile.code);
    entry.key = GlazeCore::TileCode::uniquenessKey(tile.code);
    CodeRef& code = m_codes[position];
    code.id = tile.id;
    code.number = GlazeCore::TileCode::number(tile.code).value_or(CodeRef::noNumber);
    code.codeHash = std::hash<std::string>{}(entry.normalizedCode);
    code.keyHash = std::hash<std::string>{}(entry.key);
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
    m_codes.assign(tests.size(), CodeRef{});
    m_keyCounts.clear();
    m_coneCounts.clear();
    m_atmosphereCounts.clear();
    m_sharedKeys = 0;
    for (std::size_t i = 0; i < tests.size(); ++i) {
        fillCodeLevel(i);
        count(m_entries[i], +1);
    }
    m_names.reset();
    m_search.reset();
    m_codesTouched = true;
    m_valuesTouched = true;
    announce();
    startBuildingAhead();
}

void TileSearchCache::tilesInserted(int first, int last) {
    const int sharedBefore = m_sharedKeys;
    const auto added = std::size_t(last - first + 1);
    m_entries.insert(m_entries.begin() + first, added, Entry{});
    m_codes.insert(m_codes.begin() + first, added, CodeRef{});
    for (std::size_t position = std::size_t(first); position <= std::size_t(last); ++position) {
        fillCodeLevel(position);
        count(m_entries[position], +1);
    }
    m_search.tilesInserted(std::size_t(first), added);
    // Shared codes are listed in book order, which rows coming in can change.
    if (sharedBefore > 0 || m_sharedKeys > 0) m_codesTouched = true;
    announce();
    startBuildingAhead();
}

void TileSearchCache::tilesRemoved(int first, int last) {
    const int sharedBefore = m_sharedKeys;
    for (int position = first; position <= last; ++position)
        count(m_entries[std::size_t(position)], -1);
    m_entries.erase(m_entries.begin() + first, m_entries.begin() + last + 1);
    m_codes.erase(m_codes.begin() + first, m_codes.begin() + last + 1);
    m_search.tilesRemoved(std::size_t(first), std::size_t(last - first + 1));
    if (sharedBefore > 0 || m_sharedKeys > 0) m_codesTouched = true;
    announce();
}

void TileSearchCache::tileChanged(const GlazeCore::Uuid& id, int row, TileField field) {
    if (row < 0 || std::size_t(row) >= m_codes.size() || m_codes[std::size_t(row)].id != id) {
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
    m_search.tileChanged(std::size_t(row));
    announce();
    startBuildingAhead();
}

// --- Searching --------------------------------------------------------------------------------------------------

void TileSearchCache::readEnvironment() {
    // The numeric date in the text follows the user's time zone and locale, as the window model's search does.
    m_timeZone = QTimeZone::systemTimeZoneId().toStdString();
    m_locale = QLocale().name().toStdString();
}

const GlazeCore::TestSearch::MaterialNames& TileSearchCache::materialNames() {
    if (!m_names) m_names = GlazeCore::TestSearch::materialNames(m_document.library());
    return *m_names;
}

void TileSearchCache::startBuildingAhead() {
    if (m_search.preparedCount() >= m_codes.size() || m_ahead->isActive()) return;
    m_ahead->start();
}

bool TileSearchCache::buildAhead(std::chrono::microseconds budget) {
    readEnvironment();
    return m_search.prepare(m_document.book().tests, m_timeZone, m_locale, std::chrono::steady_clock::now() + budget);
}

const GlazeCore::Uuid& TileSearchCache::idAt(std::size_t position) const {
    return m_codes[position].id;
}

TileSearchCache::Positions TileSearchCache::search(const TileFilters& filters) {
    readEnvironment();
    const GlazeCore::GlazeBook& book = m_document.book();
    return m_search.search(book.tests, book.recipes, materialNames(), filters.query, filters.cone, filters.atmosphere,
                           m_timeZone, m_locale);
}

bool TileSearchCache::matches(std::size_t position, const TileFilters& filters) {
    readEnvironment();
    const GlazeCore::GlazeBook& book = m_document.book();
    return m_search.matches(book.tests, book.recipes, materialNames(), position, filters.query, filters.cone,
                            filters.atmosphere, m_timeZone, m_locale);
}

// --- Codes ------------------------------------------------------------------------------------------------------

std::optional<GlazeCore::Uuid> TileSearchCache::findByCode(std::string_view typed) {
    // Only tiles whose code or code number is the typed one can answer; GlazeCore decides among them.
    const std::string wanted = GlazeCore::TileCode::normalized(typed);
    if (wanted.empty()) return std::nullopt;
    const auto& tests = m_document.book().tests;
    const std::size_t hash = std::hash<std::string>{}(wanted);
    std::vector<GlazeCore::TestTile> candidates;
    for (std::size_t i = 0; i < m_codes.size(); ++i)
        if (m_codes[i].codeHash == hash && m_entries[i].normalizedCode == wanted) candidates.push_back(tests[i]);
    if (candidates.empty()) {
        if (const auto number = GlazeCore::TileCode::number(wanted))
            for (std::size_t i = 0; i < m_codes.size(); ++i)
                if (m_codes[i].number == *number) candidates.push_back(tests[i]);
    }
    const auto found = GlazeCore::TestSearch::findByCode(typed, candidates);
    if (!found) return std::nullopt;
    return found->id;
}

std::optional<GlazeCore::TileCode::Problem> TileSearchCache::validateCode(std::string_view typed,
                                                                          const GlazeCore::Uuid& tileID) const {
    auto checked = GlazeCore::TileCode::checkAlone(typed);
    if (const auto* problem = std::get_if<GlazeCore::TileCode::Problem>(&checked)) return *problem;
    const std::string& key = std::get<std::string>(checked);
    const auto holders = m_keyCounts.find(key);
    if (holders == m_keyCounts.end()) return std::nullopt;
    // The key is in use: the first other tile that holds it names the problem, as TileCode::validate says it.
    if (holders->second == 1)
        if (const auto own = m_document.tileIndex(tileID); own && m_entries[*own].key == key) return std::nullopt;
    const std::size_t hash = std::hash<std::string>{}(key);
    for (std::size_t i = 0; i < m_codes.size(); ++i)
        if (m_codes[i].keyHash == hash && m_codes[i].id != tileID && m_entries[i].key == key)
            return GlazeCore::TileCode::Problem::taken(m_document.book().tests[i].code);
    return std::nullopt;
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
