#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/layout/Geometry.h"

#include <string>
#include <unordered_map>
#include <vector>

/// Geometry of the supported self-adhesive label sheets, the split of labels into pages and the
/// three printed lines of a tile's label. Lengths in points from the page's top-left corner.
namespace GlazeCore::LabelLayout {

struct Sheet {
    std::string id;
    std::string title;
    double pageWidth = 0;
    double pageHeight = 0;
    int columns = 0;
    int rows = 0;
    double labelWidth = 0;
    double labelHeight = 0;
    double left = 0;
    double top = 0;
    double columnPitch = 0;
    double rowPitch = 0;
};

/// The lines of one label, top to bottom.
struct Text {
    std::string code;
    std::string recipe;
    std::string details;
};

bool operator==(const Sheet& a, const Sheet& b);
bool operator==(const Text& a, const Text& b);

/// Letter 30 ("letter-30") then A4 21 ("a4-21"), built once.
const std::vector<Sheet>& sheets();
/// Default of the per-user setting "labelSheetID".
std::string defaultSheetID();
/// The sheet named by `defaultSheetID`, for a stored id that names no sheet.
const Sheet& defaultSheet();

int labelsPerPage(const Sheet& sheet);
/// Frame of a slot, counting across then down; the slot is clamped to the sheet.
Rect labelOrigin(int slot, const Sheet& sheet);
/// Label indices 0 … count − 1 cut into pages; the first page leaves its first `skip` slots
/// (at most all but one) unused. No pages for no labels or an unreasonable sheet.
std::vector<std::vector<int>> pages(int labelCount, int columns, int rows, int skip);
/// Slot of the label at `position` on page `pageIndex`: after the skipped slots on the first page.
int slot(int position, int pageIndex, int skip, int perPage);

/// What a label shows of a test tile: never its notes, schedule or photo, which a large book fills with
/// megabytes that labels have no use for.
struct Tile {
    Uuid id;
    Uuid recipeID;
    std::string code;
    std::string cone;
    std::string atmosphere;
    Date date{};
};

/// Recipe names by recipe id.
using RecipeNames = std::unordered_map<Uuid, std::string>;

Tile labelTile(const TestTile& tile);
/// The names of the recipes `tiles` were made from, and of no other; of two recipes with one id, the first.
RecipeNames recipeNames(const std::vector<Recipe>& recipes, const std::vector<Tile>& tiles);

/// Code ("No code" when empty), recipe name ("Untitled recipe", "Deleted recipe") and the details
/// "Cone …", atmosphere and fired date, joined with " · ". The user's calendar is given as its ICU
/// time zone id, as for the test search.
Text text(const Tile& tile, const RecipeNames& recipes, const std::string& timeZone);

} // namespace GlazeCore::LabelLayout
