#include "support/ReferenceSearch.h"

#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/text/UnicodeText.h"
#include "GlazeCore/tilecode/TileCode.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace OrzaTest::ReferenceSearch {

using namespace GlazeCore;

namespace {

std::vector<std::string> words(const std::string& text) {
    const icu::UnicodeString whole = icu::UnicodeString::fromUTF8(text);
    std::vector<std::string> found;
    icu::UnicodeString word;
    const auto flush = [&] {
        if (word.isEmpty()) return;
        found.emplace_back();
        word.toUTF8String(found.back());
        word.remove();
    };
    for (int32_t i = 0; i < whole.length(); i = whole.moveIndex32(i, 1)) {
        const UChar32 c = whole.char32At(i);
        if (u_hasBinaryProperty(c, UCHAR_WHITE_SPACE))
            flush();
        else
            word.append(c);
    }
    flush();
    return found;
}

std::string nameOf(const MaterialNames& names, const std::string& id) {
    for (const std::string& key : {id, UnicodeText::canonicalForm(id)})
        if (const auto found = names.find(key); found != names.end()) return found->second;
    return id;
}

std::string textOf(const TestTile& tile, const Recipe* recipe, const MaterialNames& names, const std::string& timeZone,
                   const LocaleDate& localeDate) {
    std::string withoutHyphens = tile.code;
    std::erase(withoutHyphens, '-');
    std::vector<std::string> entries{tile.code,
                                     withoutHyphens,
                                     recipe != nullptr ? recipe->name : "Deleted recipe",
                                     "cone",
                                     tile.cone,
                                     tile.atmosphere,
                                     tile.notes,
                                     TestSearch::dateText(tile.date, timeZone),
                                     localeDate(tile.date)};
    if (recipe != nullptr)
        for (const RecipeLine& line : recipe->lines)
            if (!line.materialID.empty()) entries.push_back(nameOf(names, line.materialID));
    std::string text;
    for (std::size_t i = 0; i < entries.size(); ++i)
        text += (i == 0 ? "" : "\n") + entries[i];
    return UnicodeText::fold(text);
}

// Making the ICU format is most of the time of a search over a small book; its answers do not change.
const LocaleDate& keptLocaleDate(const std::string& timeZone, const std::string& locale) {
    thread_local std::map<std::pair<std::string, std::string>, LocaleDate> formats;
    return formats.try_emplace({timeZone, locale}, timeZone, locale).first->second;
}

bool matchesWith(const TestTile& tile, const std::optional<std::string>& coneFilter,
                 const std::optional<std::string>& atmosphereFilter, const Query& query, const RecipesByID& recipes,
                 const MaterialNames& names, const std::string& timeZone, const LocaleDate& localeDate) {
    if (coneFilter && !UnicodeText::canonicallyEqual(tile.cone, *coneFilter)) return false;
    if (atmosphereFilter && UnicodeText::fold(tile.atmosphere) != UnicodeText::fold(*atmosphereFilter)) return false;
    if (query.cone && UnicodeText::fold(tile.cone) != *query.cone) return false;
    if (query.tokens.empty()) return true;
    const auto recipe = recipes.find(tile.recipeID);
    const std::string text =
        textOf(tile, recipe == recipes.end() ? nullptr : recipe->second, names, timeZone, localeDate);
    return allTokensMatch(query.tokens, text, TileCode::number(tile.code));
}

} // namespace

RecipesByID recipesByID(const std::vector<Recipe>& recipes) {
    RecipesByID byID;
    for (const Recipe& recipe : recipes)
        byID.emplace(recipe.id, &recipe);
    return byID;
}

Query tokens(std::string_view query, const std::vector<std::string>& cones) {
    const std::vector<std::string> all = words(UnicodeText::fold(query));
    Query parsed;
    for (std::size_t i = 0; i < all.size();) {
        const bool pair =
            all[i] == "cone" && i + 1 < all.size() && std::find(cones.begin(), cones.end(), all[i + 1]) != cones.end();
        if (pair) {
            parsed.cone = all[i + 1];
            i += 2;
        } else {
            parsed.tokens.push_back(all[i]);
            i += 1;
        }
    }
    return parsed;
}

LocaleDate::LocaleDate(const std::string& timeZone, const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    m_format.reset(
        icu::DateFormat::createInstanceForSkeleton(icu::UnicodeString(u"yMd"), icu::Locale(locale.c_str()), status));
    if (U_FAILURE(status)) {
        m_format.reset();
        return;
    }
    const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone)));
    m_format->setTimeZone(*zone);
}

LocaleDate::~LocaleDate() = default;

std::string LocaleDate::operator()(Date date) const {
    if (!m_format) return "";
    icu::UnicodeString text;
    m_format->format(std::chrono::duration<double, std::milli>(date.time_since_epoch()).count(), text);
    std::string utf8;
    text.toUTF8String(utf8);
    return UnicodeText::fold(utf8);
}

std::string tileText(const TestTile& tile, const Recipe* recipe, const MaterialNames& names,
                     const std::string& timeZone, const std::string& locale) {
    return textOf(tile, recipe, names, timeZone, keptLocaleDate(timeZone, locale));
}

bool allTokensMatch(const std::vector<std::string>& tokens, std::string_view text,
                    std::optional<std::int64_t> tileNumber) {
    return std::all_of(tokens.begin(), tokens.end(), [&](const std::string& token) {
        if (text.find(token) != std::string_view::npos) return true;
        const auto number = TileCode::number(token);
        return number && tileNumber && *number == *tileNumber;
    });
}

bool matches(const TestTile& tile, const std::optional<std::string>& coneFilter,
             const std::optional<std::string>& atmosphereFilter, const Query& query, const RecipesByID& recipes,
             const MaterialNames& names, const std::string& timeZone, const std::string& locale) {
    return matchesWith(tile, coneFilter, atmosphereFilter, query, recipes, names, timeZone,
                       keptLocaleDate(timeZone, locale));
}

std::vector<TestTile> results(const std::vector<TestTile>& tiles, const std::vector<Recipe>& recipes,
                              const MaterialNames& names, std::string_view query,
                              const std::optional<std::string>& coneFilter,
                              const std::optional<std::string>& atmosphereFilter, const std::string& timeZone,
                              const std::string& locale) {
    std::vector<std::string> cones;
    for (const std::string& cone : OrtonCones::all())
        cones.push_back(UnicodeText::fold(cone));
    for (const TestTile& tile : tiles)
        cones.push_back(UnicodeText::fold(tile.cone));
    const Query parsed = tokens(query, cones);
    const RecipesByID byID = recipesByID(recipes);
    const LocaleDate& localeDate = keptLocaleDate(timeZone, locale);
    std::vector<TestTile> found;
    for (const TestTile& tile : tiles)
        if (matchesWith(tile, coneFilter, atmosphereFilter, parsed, byID, names, timeZone, localeDate))
            found.push_back(tile);
    return found;
}

} // namespace OrzaTest::ReferenceSearch
