#include "GlazeCore/search/TestSearch.h"

#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/search/SearchDates.h"
#include "GlazeCore/search/TestSearchCache.h"
#include "GlazeCore/text/UnicodeText.h"
#include "GlazeCore/tilecode/TileCode.h"

#include <cstdint>
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

} // namespace

MaterialNames materialNames(const MaterialLibrary& library) {
    MaterialNames names;
    for (const Material& material : library.all())
        names.emplace(UnicodeText::canonicalForm(material.id), material.name);
    return names;
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
    TestSearchCache search(TestSearchCache::Use::oneSearch);
    std::vector<TestTile> found;
    for (const std::uint32_t row :
         search.search(tiles, recipes, names, query, coneFilter, atmosphereFilter, timeZone, locale))
        found.push_back(tiles[row]);
    return found;
}

Query tokens(std::string_view query, const ConeVocabulary& vocabulary) {
    const std::vector<std::string> all = words(UnicodeText::fold(query));
    Query result;
    for (std::size_t i = 0; i < all.size();) {
        if (all[i] == "cone" && i + 1 < all.size() && vocabulary.contains(all[i + 1])) {
            result.cone = all[i + 1];
            i += 2;
        } else {
            result.tokens.push_back(all[i]);
            i += 1;
        }
    }
    return result;
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
