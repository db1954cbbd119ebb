#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/library/MaterialLibrary.h"
#include "GlazeCore/search/SearchParts.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

/// The test log's search: free text, the cone and atmosphere menus, and Find Test by tile code.
///
/// Every fold here is TileCode's fold (case, diacritics, width; no locale), without trimming. The user's
/// calendar is given as an ICU time zone id ("Europe/Berlin"), the locale as an ICU locale id ("de_DE");
/// an unknown time zone reads as UTC.
namespace GlazeCore::TestSearch {

/// Material id → name.
using MaterialNames = SearchParts::MaterialNames;
/// Folded cone names that "cone X" in a query may name.
using ConeVocabulary = std::unordered_set<std::string>;

/// A query split into folded words, with the cone that a "cone X" pair asked for.
struct Query {
    std::vector<std::string> tokens;
    std::optional<std::string> cone;
    friend bool operator==(const Query&, const Query&) = default;
};

/// Every material of the library by id; when an id comes twice the first name wins.
MaterialNames materialNames(const MaterialLibrary& library);
/// The folded names of the cone list, which "cone X" in a query may always name.
const ConeVocabulary& foldedOrtonCones();

/// The tiles that match, in their given order. The cone filter compares exactly, the atmosphere filter
/// folded; the query's words must each occur in a tile's search text (or name its code's number). This is
/// TestSearchCache's search of a book it has not met before: every tile's text is folded for this one search.
std::vector<TestTile> results(const std::vector<TestTile>& tiles, const std::vector<Recipe>& recipes,
                              const MaterialNames& names, std::string_view query,
                              const std::optional<std::string>& coneFilter,
                              const std::optional<std::string>& atmosphereFilter, const std::string& timeZone,
                              const std::string& locale);

/// The folded query split at white space; "cone" followed by a word of a non-empty vocabulary becomes
/// the query cone (the last such pair wins) and leaves the tokens.
Query tokens(std::string_view query, const ConeVocabulary& vocabulary);

/// Find Test: the one tile whose code the typed text is (folded, trimmed), else the one tile whose code
/// has the typed default-style number; none when nothing or more than one tile answers.
std::optional<TestTile> findByCode(std::string_view typed, const std::vector<TestTile>& tiles);

/// "%04d-%02d-%02d" of the date's Gregorian year, month and day in the time zone.
std::string dateText(Date date, const std::string& timeZone);

} // namespace GlazeCore::TestSearch
