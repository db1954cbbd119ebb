#include "GlazeCore/book/TestSearch.h"

#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/book/TileCode.h"
#include "GlazeCore/text/UnicodeText.h"

#include "GlazeCore/book/SearchDates.h"
#include "GlazeCore/book/SearchFold.h"
#include "GlazeCore/book/SearchParts.h"

#include <algorithm>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace GlazeCore::TestSearch {

namespace {

bool isWhiteSpace(UChar32 c) {
    if (c < 0x80) return c == ' ' || (c >= '\t' && c <= '\r');
    return u_hasBinaryProperty(c, UCHAR_WHITE_SPACE) != 0;
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> found;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    for (int32_t i = 0; i < length;) {
        const int32_t at = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (!isWhiteSpace(c)) continue;
        if (at > start)
            found.emplace_back(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(at - start)));
        start = i;
    }
    if (length > start) found.emplace_back(text.substr(static_cast<std::size_t>(start)));
    return found;
}

template <class IsCone> Query splitQuery(std::string_view query, bool vocabularyEmpty, IsCone isCone) {
    const std::vector<std::string> all = words(UnicodeText::fold(query));
    Query result;
    for (std::size_t i = 0; i < all.size();) {
        if (all[i] == "cone" && i + 1 < all.size() && !vocabularyEmpty && isCone(all[i + 1])) {
            result.cone = all[i + 1];
            i += 2;
        } else {
            result.tokens.push_back(all[i]);
            i += 1;
        }
    }
    return result;
}

// The tile's number is asked for only when a token with a number is no substring of the text.
template <class TileNumber>
bool tokensMatch(const std::vector<std::string>& tokens, const std::vector<std::optional<std::int64_t>>& tokenNumbers,
                 std::string_view text, TileNumber tileNumber) {
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (text.find(tokens[i]) != std::string_view::npos) continue;
        if (tokenNumbers[i]) {
            const std::optional<std::int64_t> number = tileNumber();
            if (number && *number == *tokenNumbers[i]) continue;
        }
        return false;
    }
    return true;
}

std::vector<std::optional<std::int64_t>> numbersOf(const std::vector<std::string>& tokens) {
    std::vector<std::optional<std::int64_t>> numbers;
    numbers.reserve(tokens.size());
    for (const std::string& token : tokens)
        numbers.push_back(TileCode::number(token));
    return numbers;
}

/// One search: the filters folded and the token numbers read once; recipe and date parts made on first
/// use and reused for every tile.
///
/// A tile's search text is its own entries, its recipe's entries and its date entries joined by line
/// feeds. No token holds a line feed (the query is split at white space), so a token occurs in that
/// text exactly when it occurs in one of the parts. The recipe's part is searched once per recipe, the
/// tile's own part once per tile, and the dates only while a token is still missing.
class Matcher {
public:
    Matcher(const std::optional<std::string>& coneFilter, const std::optional<std::string>& atmosphereFilter,
            const std::vector<std::string>& tokens, const std::optional<std::string>& queryCone,
            const RecipesByID& recipes, const MaterialNames& names, const std::string& timeZone,
            const std::string& locale)
        : m_coneFilter(coneFilter), m_tokens(tokens), m_tokenNumbers(numbersOf(tokens)), m_queryCone(queryCone),
          m_recipes(recipes), m_names(names), m_timeZone(timeZone), m_locale(locale) {
        if (atmosphereFilter) m_atmosphere = m_fold(*atmosphereFilter);
    }

    bool operator()(const TestTile& tile) {
        if (m_coneFilter && !UnicodeText::canonicallyEqual(tile.cone, *m_coneFilter)) return false;
        if (m_atmosphere && !m_fold.foldsTo(tile.atmosphere, *m_atmosphere, m_scratch)) return false;
        if (m_queryCone && !m_fold.foldsTo(tile.cone, *m_queryCone, m_scratch)) return false;
        if (m_tokens.empty()) return true;

        const std::vector<bool>& inRecipe = recipeHits(tile.recipeID);
        bool ownBuilt = false;
        const SearchDates::Texts* dates = nullptr;
        std::optional<std::optional<std::int64_t>> tileNumber;
        for (std::size_t i = 0; i < m_tokens.size(); ++i) {
            const std::string& token = m_tokens[i];
            if (inRecipe[i]) continue;
            if (!ownBuilt) {
                SearchParts::tileText(m_text, tile, m_fold);
                ownBuilt = true;
            }
            if (m_text.text.find(token) != std::string::npos) continue;
            if (dates == nullptr) {
                if (!m_dates) m_dates = &SearchDates::forThread(m_timeZone, m_locale);
                dates = &m_dates->of(tile.date);
            }
            if (dates->yearMonthDay.find(token) != std::string::npos) continue;
            if (dates->localeDateFolded.find(token) != std::string::npos) continue;
            if (m_tokenNumbers[i]) {
                if (!tileNumber) tileNumber = TileCode::number(tile.code);
                if (*tileNumber == m_tokenNumbers[i]) continue;
            }
            return false;
        }
        return true;
    }

private:
    /// Which tokens occur in the recipe's entries (its name and material names, or "Deleted recipe").
    const std::vector<bool>& recipeHits(const Uuid& recipeID) {
        if (auto known = m_recipeHits.find(recipeID); known != m_recipeHits.end()) return known->second;
        const auto recipe = m_recipes.find(recipeID);
        const SearchParts::RecipeText parts =
            SearchParts::recipeText(recipe == m_recipes.end() ? nullptr : recipe->second, m_names, m_fold);
        std::vector<bool> hits;
        for (const std::string& token : m_tokens)
            hits.push_back(parts.name.find(token) != std::string::npos ||
                           parts.materials.find(token) != std::string::npos);
        return m_recipeHits.emplace(recipeID, std::move(hits)).first->second;
    }

    const std::optional<std::string>& m_coneFilter;
    std::optional<std::string> m_atmosphere;
    const std::vector<std::string>& m_tokens;
    std::vector<std::optional<std::int64_t>> m_tokenNumbers;
    const std::optional<std::string>& m_queryCone;
    const RecipesByID& m_recipes;
    const MaterialNames& m_names;
    const std::string& m_timeZone;
    const std::string& m_locale;
    SearchFold m_fold;
    SearchDates* m_dates = nullptr;
    std::unordered_map<Uuid, std::vector<bool>> m_recipeHits;
    SearchParts::TileText m_text;
    std::string m_scratch;
};

} // namespace

MaterialNames materialNames(const MaterialLibrary& library) {
    MaterialNames names;
    for (const Material& material : library.all())
        names.emplace(UnicodeText::canonicalForm(material.id), material.name);
    return names;
}

RecipesByID recipesByID(const std::vector<Recipe>& recipes) {
    RecipesByID byID;
    byID.reserve(recipes.size());
    for (const Recipe& recipe : recipes)
        byID.emplace(recipe.id, &recipe);
    return byID;
}

const ConeVocabulary& foldedOrtonCones() {
    static const ConeVocabulary cones = [] {
        ConeVocabulary folded;
        for (const std::string& cone : OrtonCones::all())
            folded.insert(UnicodeText::fold(cone));
        return folded;
    }();
    return cones;
}

std::vector<TestTile> results(const std::vector<TestTile>& tiles, const std::vector<Recipe>& recipes,
                              const MaterialNames& names, std::string_view query,
                              const std::optional<std::string>& coneFilter,
                              const std::optional<std::string>& atmosphereFilter, const std::string& timeZone,
                              const std::string& locale) {
    // The tiles' own cones join the vocabulary only when the query has a "cone X" pair to test.
    std::optional<ConeVocabulary> tileCones;
    const auto isCone = [&](const std::string& word) {
        if (foldedOrtonCones().contains(word)) return true;
        if (!tileCones) {
            tileCones.emplace();
            for (const TestTile& tile : tiles)
                tileCones->insert(UnicodeText::fold(tile.cone));
        }
        return tileCones->contains(word);
    };
    const Query parsed = splitQuery(query, foldedOrtonCones().empty() && tiles.empty(), isCone);
    const RecipesByID byID = recipesByID(recipes);

    Matcher matches(coneFilter, atmosphereFilter, parsed.tokens, parsed.cone, byID, names, timeZone, locale);
    std::vector<TestTile> found;
    for (const TestTile& tile : tiles)
        if (matches(tile)) found.push_back(tile);
    return found;
}

Query tokens(std::string_view query, const ConeVocabulary& vocabulary) {
    return splitQuery(query, vocabulary.empty(), [&](const std::string& word) { return vocabulary.contains(word); });
}

bool matches(const TestTile& tile, const std::optional<std::string>& coneFilter,
             const std::optional<std::string>& atmosphereFilter, const std::vector<std::string>& tokens,
             const std::optional<std::string>& queryCone, const RecipesByID& recipes, const MaterialNames& names,
             const std::string& timeZone, const std::string& locale) {
    Matcher matcher(coneFilter, atmosphereFilter, tokens, queryCone, recipes, names, timeZone, locale);
    return matcher(tile);
}

std::string tileText(const TestTile& tile, const Recipe* recipe, const MaterialNames& names,
                     const std::string& timeZone, const std::string& locale) {
    SearchFold fold;
    SearchParts::TileText own;
    SearchParts::tileText(own, tile, fold);
    const SearchParts::RecipeText recipeParts = SearchParts::recipeText(recipe, names, fold);
    const SearchDates::Texts& day = SearchDates::forThread(timeZone, locale).of(tile.date);
    // The recipe's name goes between the codes and "cone"; each part is folded on its own, which is the fold of
    // the whole text since the fold never joins characters across a line feed.
    const std::size_t coneWord = own.coneStart - std::string_view("cone\n").size();
    std::string text = own.text.substr(0, coneWord);
    text += recipeParts.name;
    text += '\n';
    text += std::string_view(own.text).substr(coneWord);
    text += '\n';
    text += day.yearMonthDay;
    text += '\n';
    text += day.localeDateFolded;
    text += recipeParts.materials;
    return text;
}

bool allTokensMatch(const std::vector<std::string>& tokens, std::string_view text,
                    std::optional<std::int64_t> tileNumber) {
    return tokensMatch(tokens, numbersOf(tokens), text, [&] { return tileNumber; });
}

std::optional<TestTile> findByCode(std::string_view typed, const std::vector<TestTile>& tiles) {
    const std::string wanted = TileCode::normalized(typed);
    if (wanted.empty()) return std::nullopt;

    const TestTile* byCode = nullptr;
    int codeMatches = 0;
    for (const TestTile& tile : tiles) {
        if (TileCode::normalized(tile.code) != wanted) continue;
        byCode = &tile;
        if (++codeMatches > 1) return std::nullopt;
    }
    if (byCode != nullptr) return *byCode;

    const auto number = TileCode::number(wanted);
    if (!number) return std::nullopt;
    const TestTile* byNumber = nullptr;
    for (const TestTile& tile : tiles) {
        if (TileCode::number(tile.code) != number) continue;
        if (byNumber != nullptr) return std::nullopt;
        byNumber = &tile;
    }
    if (byNumber == nullptr) return std::nullopt;
    return *byNumber;
}

std::string dateText(Date date, const std::string& timeZone) {
    return yearMonthDayText(date, timeZone);
}

} // namespace GlazeCore::TestSearch
