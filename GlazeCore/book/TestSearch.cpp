#include "GlazeCore/book/TestSearch.h"

#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/book/TileCode.h"
#include "GlazeCore/text/UnicodeText.h"

#include "GlazeCore/book/SearchDates.h"
#include "GlazeCore/book/SearchFold.h"
#include "GlazeCore/book/SearchParts.h"
#include "GlazeCore/book/TestSearchCache.h"

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
    TestSearchCache cache;
    std::vector<TestTile> found;
    for (const std::uint32_t row :
         cache.search(tiles, recipes, names, query, coneFilter, atmosphereFilter, timeZone, locale))
        found.push_back(tiles[row]);
    return found;
}

Query tokens(std::string_view query, const ConeVocabulary& vocabulary) {
    return splitQuery(query, vocabulary.empty(), [&](const std::string& word) { return vocabulary.contains(word); });
}

bool matches(const TestTile& tile, const std::optional<std::string>& coneFilter,
             const std::optional<std::string>& atmosphereFilter, const std::vector<std::string>& tokens,
             const std::optional<std::string>& queryCone, const RecipesByID& recipes, const MaterialNames& names,
             const std::string& timeZone, const std::string& locale) {
    if (coneFilter && !UnicodeText::canonicallyEqual(tile.cone, *coneFilter)) return false;
    if (atmosphereFilter && UnicodeText::fold(tile.atmosphere) != UnicodeText::fold(*atmosphereFilter)) return false;
    if (queryCone && UnicodeText::fold(tile.cone) != *queryCone) return false;
    if (tokens.empty()) return true;
    const auto recipe = recipes.find(tile.recipeID);
    const std::string text =
        tileText(tile, recipe == recipes.end() ? nullptr : recipe->second, names, timeZone, locale);
    return allTokensMatch(tokens, text, TileCode::number(tile.code));
}

std::string tileText(const TestTile& tile, const Recipe* recipe, const MaterialNames& names,
                     const std::string& timeZone, const std::string& locale) {
    SearchFold fold;
    SearchParts::TileText own;
    SearchParts::tileText(own, tile, fold);
    const SearchParts::RecipeText recipeParts = SearchParts::recipeText(recipe, names, fold);
    SearchDates dates(timeZone, locale);
    const SearchDates::Texts& day = dates.of(tile.date);
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
