#include "GlazeCore/layout/LabelLayout.h"

#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace GlazeCore::LabelLayout {

namespace {

// The factor is formed first so every A4 length rounds the same way.
constexpr double pointsPerMillimetre = 72.0 / 25.4;

constexpr double mm(double millimetres) {
    return millimetres * pointsPerMillimetre;
}

std::vector<Sheet> makeSheets() {
    return {
        {"letter-30", "Letter, 30 labels, 2\u215D \u00D7 1 in", 612, 792, 3, 10, 189, 72, 13.5, 36, 198, 72},
        {"a4-21", "A4, 21 labels, 63.5 \u00D7 38.1 mm", mm(210), mm(297), 3, 7, mm(63.5), mm(38.1), mm(7.25), mm(15.15),
         mm(66), mm(38.1)},
    };
}

} // namespace

bool operator==(const Sheet& a, const Sheet& b) {
    using UnicodeText::canonicallyEqual;
    return canonicallyEqual(a.id, b.id) && canonicallyEqual(a.title, b.title) && a.pageWidth == b.pageWidth &&
           a.pageHeight == b.pageHeight && a.columns == b.columns && a.rows == b.rows && a.labelWidth == b.labelWidth &&
           a.labelHeight == b.labelHeight && a.left == b.left && a.top == b.top && a.columnPitch == b.columnPitch &&
           a.rowPitch == b.rowPitch;
}

bool operator==(const Text& a, const Text& b) {
    using UnicodeText::canonicallyEqual;
    return canonicallyEqual(a.code, b.code) && canonicallyEqual(a.recipe, b.recipe) &&
           canonicallyEqual(a.details, b.details);
}

const std::vector<Sheet>& sheets() {
    static const std::vector<Sheet> all = makeSheets();
    return all;
}

std::string defaultSheetID() {
    return "letter-30";
}

const Sheet& defaultSheet() {
    return sheets().front();
}

int labelsPerPage(const Sheet& sheet) {
    return sheet.columns * sheet.rows;
}

Rect labelOrigin(int slot, const Sheet& sheet) {
    // 64-bit so a malformed sheet cannot overflow the slot count.
    std::int64_t s = std::max(slot, 0);
    const std::int64_t last = std::int64_t{sheet.columns} * sheet.rows - 1;
    if (last > 0)
        s = std::min(s, last);
    else if (sheet.columns > 0)
        s = 0;
    std::int64_t column = 0, row = 0;
    if (sheet.columns > 0) {
        row = s / sheet.columns;
        column = s % sheet.columns;
    }
    return {sheet.left + static_cast<double>(column) * sheet.columnPitch,
            sheet.top + static_cast<double>(row) * sheet.rowPitch, sheet.labelWidth, sheet.labelHeight};
}

std::vector<std::vector<int>> pages(int labelCount, int columns, int rows, int skip) {
    if (labelCount < 1 || columns < 1 || columns > 1000 || rows < 1 || rows > 1000) return {};
    const int perPage = columns * rows;
    int capacity = perPage - std::min(perPage - 1, std::max(skip, 0));
    std::vector<std::vector<int>> result;
    for (int next = 0; next < labelCount;) {
        const int end = next + std::min(capacity, labelCount - next);
        std::vector<int>& page = result.emplace_back();
        page.reserve(end - next);
        for (; next < end; ++next)
            page.push_back(next);
        capacity = perPage;
    }
    return result;
}

int slot(int position, int pageIndex, int skip, int perPage) {
    if (perPage < 1) return 0;
    if (pageIndex > 0) return position;
    return position + std::min(perPage - 1, std::max(skip, 0));
}

Tile labelTile(const TestTile& tile) {
    return {tile.id, tile.recipeID, tile.code, tile.cone, tile.atmosphere, tile.date};
}

RecipeNames recipeNames(const std::vector<Recipe>& recipes, const std::vector<Tile>& tiles) {
    std::unordered_set<Uuid> named;
    for (const Tile& tile : tiles)
        named.insert(tile.recipeID);
    RecipeNames names;
    for (const Recipe& recipe : recipes)
        if (named.contains(recipe.id)) names.try_emplace(recipe.id, recipe.name);
    return names;
}

Text text(const Tile& tile, const RecipeNames& recipes, const std::string& timeZone) {
    Text label;
    label.code = tile.code.empty() ? "No code" : tile.code;

    const auto recipe = recipes.find(tile.recipeID);
    if (recipe == recipes.end())
        label.recipe = "Deleted recipe";
    else
        label.recipe = recipe->second.empty() ? "Untitled recipe" : recipe->second;

    // Entries are kept as written; only a blank one is left out. The cone entry never is blank.
    for (const std::string& entry : {"Cone " + tile.cone, tile.atmosphere, TestSearch::dateText(tile.date, timeZone)}) {
        if (UnicodeText::trimSpacesAndTabs(entry).empty()) continue;
        if (!label.details.empty()) label.details += " \u00B7 ";
        label.details += entry;
    }
    return label;
}

} // namespace GlazeCore::LabelLayout
