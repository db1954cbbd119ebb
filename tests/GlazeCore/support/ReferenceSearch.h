#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class DateFormat;
U_NAMESPACE_END

/// The test log's search written the plain way, as the product's search is checked against: every tile's whole
/// text built and folded, each word looked for in it, nothing kept from one tile or search to the next. It shares
/// no code with the product's search beyond the fold, the canonical text comparison, the tile-code number and the
/// year-month-day text, which have tests of their own.
namespace OrzaTest::ReferenceSearch {

/// Material id → name.
using MaterialNames = std::unordered_map<std::string, std::string>;
/// Recipe id → the first recipe with that id; the recipes must outlive the map.
using RecipesByID = std::unordered_map<GlazeCore::Uuid, const GlazeCore::Recipe*>;

struct Query {
    std::vector<std::string> tokens;
    std::optional<std::string> cone;
};

RecipesByID recipesByID(const std::vector<GlazeCore::Recipe>& recipes);
RecipesByID recipesByID(const std::vector<GlazeCore::Recipe>&& recipes) = delete;

/// The folded query split at white space; "cone" followed by a word of `cones` becomes the query cone.
Query tokens(std::string_view query, const std::vector<std::string>& cones);

/// The locale's numeric date (day, month and year as numbers) in the time zone, folded, straight from ICU.
class LocaleDate {
public:
    LocaleDate(const std::string& timeZone, const std::string& locale);
    ~LocaleDate();
    std::string operator()(GlazeCore::Date date) const;

private:
    std::unique_ptr<icu::DateFormat> m_format;
};

/// Code, code without hyphens, recipe name ("Deleted recipe" without one), "cone", cone, atmosphere, notes,
/// year-month-day, the locale's date, then the recipe's material names, joined by line feeds and folded whole.
std::string tileText(const GlazeCore::TestTile& tile, const GlazeCore::Recipe* recipe, const MaterialNames& names,
                     const std::string& timeZone, const std::string& locale);

/// Each token is a substring of the text or, when the tile's code has a number, a code with that number.
bool allTokensMatch(const std::vector<std::string>& tokens, std::string_view text,
                    std::optional<std::int64_t> tileNumber);

/// One tile against the filters and the query, the conditions in order.
bool matches(const GlazeCore::TestTile& tile, const std::optional<std::string>& coneFilter,
             const std::optional<std::string>& atmosphereFilter, const Query& query, const RecipesByID& recipes,
             const MaterialNames& names, const std::string& timeZone, const std::string& locale);

/// The matching tiles in their order; the cone vocabulary is the cone list and every tile's cone.
std::vector<GlazeCore::TestTile> results(const std::vector<GlazeCore::TestTile>& tiles,
                                         const std::vector<GlazeCore::Recipe>& recipes, const MaterialNames& names,
                                         std::string_view query, const std::optional<std::string>& coneFilter,
                                         const std::optional<std::string>& atmosphereFilter,
                                         const std::string& timeZone, const std::string& locale);

} // namespace OrzaTest::ReferenceSearch
