#include "GlazeCore/book/GlazeBookValidation.h"

#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <compare>
#include <cstring>
#include <optional>
#include <unordered_set>

namespace GlazeCore::GlazeBookValidation {

namespace {

bool outOfRange(double value, double limit) {
    return !withinLimit(value, limit);
}

void checkCount(std::size_t count, std::int64_t limit, const std::string& kind) {
    if (count > static_cast<std::size_t>(limit))
        throw GlazeBookError::tooManyItems(kind, static_cast<std::int64_t>(count), limit);
}

void checkNumber(double value, double limit, const char* field) {
    if (outOfRange(value, limit)) throw GlazeBookError::numberOutOfRange(field, value, limit);
}

// An id as two words, compared without a call per pair.
struct IDWords {
    std::uint64_t high;
    std::uint64_t low;
    friend bool operator==(const IDWords&, const IDWords&) = default;
    friend auto operator<=>(const IDWords&, const IDWords&) = default;
};

IDWords wordsOf(const Uuid& id) {
    IDWords words;
    std::memcpy(&words.high, id.bytes.data(), 8);
    std::memcpy(&words.low, id.bytes.data() + 8, 8);
    return words;
}

// Same outcome as comparing the upper-case texts, without making a text per id: the item reported is the first
// whose id an earlier item has. A recipe's few lines are compared pairwise; long lists are sorted by id (and
// place), where each id's second place is its first repeat.
template <class Item, class KindText> void checkUniqueUuids(const std::vector<Item>& items, KindText kind) {
    constexpr std::size_t fewItems = 16;
    std::optional<std::size_t> repeat;
    if (items.size() <= fewItems) {
        std::array<IDWords, fewItems> ids;
        for (std::size_t i = 0; i < items.size() && !repeat; ++i) {
            ids[i] = wordsOf(items[i].id);
            for (std::size_t j = 0; j < i; ++j)
                if (ids[j] == ids[i]) {
                    repeat = i;
                    break;
                }
        }
    } else {
        std::vector<std::pair<IDWords, std::size_t>> ids;
        ids.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            ids.emplace_back(wordsOf(items[i].id), i);
        std::sort(ids.begin(), ids.end());
        for (std::size_t i = 1; i < ids.size(); ++i)
            if (ids[i].first == ids[i - 1].first && (i < 2 || ids[i - 2].first != ids[i].first))
                repeat = std::min(repeat.value_or(ids[i].second), ids[i].second);
    }
    if (repeat) throw GlazeBookError::duplicateID(std::string(kind()), items[*repeat].id.uppercaseText());
}

std::string recipeLabel(const Recipe& recipe) {
    return recipe.name.empty() ? "Untitled recipe" : recipe.name;
}

} // namespace

void validate(const GlazeBook& book) {
    validate(book, book.version, book.nextTileNumber);
}

void validate(const GlazeBook& book, std::int64_t version, std::int64_t nextTileNumber) {
    if (version >= 3) throw GlazeBookError::unsupportedVersion(version, supportedVersion);
    if (version <= 0) throw GlazeBookError::invalidVersion(version);
    checkCount(book.recipes.size(), maxItems, "recipes");
    checkCount(book.customMaterials.size(), maxItems, "custom materials");
    checkCount(book.tests.size(), maxItems, "test tiles");
    // Read as unsigned, so every negative number fails too.
    if (static_cast<std::uint64_t>(nextTileNumber) > static_cast<std::uint64_t>(maxNextTileNumber))
        throw GlazeBookError::numberOutOfRange("the next tile number", static_cast<double>(nextTileNumber),
                                               static_cast<double>(maxNextTileNumber));
    checkUniqueUuids(book.recipes, [] { return "recipe"; });
    std::vector<std::string> materialIDs;
    materialIDs.reserve(book.customMaterials.size());
    for (const Material& material : book.customMaterials)
        materialIDs.push_back(material.id);
    checkUniqueIDs(materialIDs, "material");
    checkUniqueUuids(book.tests, [] { return "test tile"; });
    for (const Recipe& recipe : book.recipes)
        checkRecipe(recipe);
    for (const Material& material : book.customMaterials)
        checkMaterial(material);
    for (const TestTile& tile : book.tests)
        checkTile(tile);
}

void checkUniqueIDs(const std::vector<std::string>& ids, const std::string& kind) {
    std::unordered_set<std::string> seen;
    seen.reserve(ids.size());
    // Ids compare by canonical equivalence everywhere else, so two spellings of one id are one id here too.
    for (const std::string& id : ids)
        if (!seen.insert(UnicodeText::canonicalForm(id)).second) throw GlazeBookError::duplicateID(kind, id);
}

void checkRecipe(const Recipe& recipe) {
    // Messages are built only on failure: this runs for every recipe of a large book.
    if (recipe.lines.size() > static_cast<std::size_t>(maxLinesPerRecipe))
        checkCount(recipe.lines.size(), maxLinesPerRecipe, "lines in recipe " + recipeLabel(recipe));
    checkUniqueUuids(recipe.lines, [&] { return "line in recipe " + recipeLabel(recipe); });
    for (const RecipeLine& line : recipe.lines)
        if (outOfRange(line.amount, maxAmount))
            throw GlazeBookError::numberOutOfRange("an amount in recipe " + recipeLabel(recipe), line.amount,
                                                   maxAmount);
}

void checkMaterial(const Material& material) {
    for (const auto& [oxide, percent] : material.analysis)
        if (outOfRange(percent, maxPercent))
            throw GlazeBookError::numberOutOfRange(
                std::string(OxideNames::rawValue(oxide)) + " in material " + material.name, percent, maxPercent);
    if (outOfRange(material.loi, maxPercent))
        throw GlazeBookError::numberOutOfRange("the LOI of material " + material.name, material.loi, maxPercent);
}

void checkTile(const TestTile& tile) {
    checkCount(tile.schedule.size(), maxSegmentsPerTile, "firing segments in a test tile");
    for (const FiringSegment& segment : tile.schedule) {
        checkNumber(segment.ratePerHour, maxFiringValue, "a firing rate");
        checkNumber(segment.targetC, maxFiringValue, "a firing temperature");
        checkNumber(segment.holdMinutes, maxFiringValue, "a firing hold");
    }
}

} // namespace GlazeCore::GlazeBookValidation
