#include "GlazeCore/layout/LabelLayout.h"
#include "support/BookBuilders.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace GlazeCore;
using namespace std::chrono;

namespace {

const LabelLayout::Sheet& sheet(const std::string& id) {
    for (const auto& s : LabelLayout::sheets())
        if (s.id == id) return s;
    throw std::runtime_error("no sheet " + id);
}

Date at(year_month_day day, hours hour, minutes minute = minutes(0)) {
    return Date(sys_days(day) + hour + minute);
}

std::vector<std::vector<int>> run(int first, int last) {
    std::vector<int> page;
    for (int i = first; i <= last; ++i)
        page.push_back(i);
    return {page};
}

} // namespace

TEST(LabelSheets, letterIsExactAndA4IsConvertedFromMillimetres) {
    const auto& all = LabelLayout::sheets();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].id, "letter-30");
    EXPECT_EQ(all[0].title, "Letter, 30 labels, 2\u215D \u00D7 1 in");
    EXPECT_EQ(all[1].id, "a4-21");
    EXPECT_EQ(all[1].title, "A4, 21 labels, 63.5 \u00D7 38.1 mm");
    EXPECT_EQ(LabelLayout::defaultSheetID(), "letter-30");
    EXPECT_EQ(LabelLayout::defaultSheet(), all[0]);

    const auto& a4 = all[1];
    EXPECT_EQ(a4.pageWidth, 595.2755905511812);
    EXPECT_EQ(a4.pageHeight, 841.8897637795277);
    EXPECT_EQ(a4.labelWidth, 180.00000000000003);
    EXPECT_EQ(a4.labelHeight, 108.00000000000001);
    EXPECT_EQ(a4.left, 20.551181102362207);
    EXPECT_EQ(a4.top, 42.944881889763785);
    EXPECT_EQ(a4.columnPitch, 187.08661417322836);
    EXPECT_EQ(a4.rowPitch, 108.00000000000001);
    EXPECT_EQ(LabelLayout::labelsPerPage(a4), 21);
    EXPECT_EQ(LabelLayout::labelsPerPage(all[0]), 30);
    // Every label fits inside the paper.
    for (const auto& s : all) {
        const Rect last = LabelLayout::labelOrigin(LabelLayout::labelsPerPage(s) - 1, s);
        EXPECT_LT(last.x + last.width, s.pageWidth) << s.id;
        EXPECT_LT(last.y + last.height, s.pageHeight) << s.id;
    }
}

TEST(LabelSlots, countAcrossThenDownAndClampToTheSheet) {
    const auto& letter = sheet("letter-30");
    EXPECT_EQ(LabelLayout::labelOrigin(0, letter), (Rect{13.5, 36, 189, 72}));
    EXPECT_EQ(LabelLayout::labelOrigin(4, letter), (Rect{211.5, 108, 189, 72}));
    EXPECT_EQ(LabelLayout::labelOrigin(29, letter), (Rect{409.5, 684, 189, 72}));
    EXPECT_EQ(LabelLayout::labelOrigin(40, letter), LabelLayout::labelOrigin(29, letter));
    EXPECT_EQ(LabelLayout::labelOrigin(-3, letter), LabelLayout::labelOrigin(0, letter));

    const auto& a4 = sheet("a4-21");
    const Rect twenty = LabelLayout::labelOrigin(20, a4);
    EXPECT_NEAR(twenty.x, 20.551181102362207 + 2 * 187.08661417322836, 1e-9);
    EXPECT_NEAR(twenty.y, 42.944881889763785 + 6 * 108.00000000000001, 1e-9);
    const double pointsPerMm = 72 / 25.4;
    for (int slot = 0; slot < 21; ++slot) {
        const Rect frame = LabelLayout::labelOrigin(slot, a4);
        EXPECT_NEAR(frame.x, (7.25 + (slot % 3) * 66) * pointsPerMm, 1e-9) << slot;
        EXPECT_NEAR(frame.y, (15.15 + (slot / 3) * 38.1) * pointsPerMm, 1e-9) << slot;
        EXPECT_NEAR(frame.width, 180, 1e-9);
        EXPECT_NEAR(frame.height, 108, 1e-9);
    }

    // Sheets without a grid put everything in the first slot rather than dividing by zero.
    LabelLayout::Sheet odd = letter;
    odd.columns = 0;
    EXPECT_EQ(LabelLayout::labelOrigin(7, odd).origin(), (Point{13.5, 36}));
    odd.columns = 3;
    odd.rows = 0;
    EXPECT_EQ(LabelLayout::labelOrigin(7, odd).origin(), (Point{13.5, 36}));
    odd.columns = 1;
    odd.rows = 1;
    EXPECT_EQ(LabelLayout::labelOrigin(7, odd).origin(), (Point{13.5, 36}));
}

TEST(LabelPages, firstPageStartsAfterTheSkippedLabels) {
    auto pages = LabelLayout::pages(35, 3, 10, 25);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], run(0, 4)[0]);
    EXPECT_EQ(pages[1], run(5, 34)[0]);
    // On page 1 the five labels take the last five slots, the bottom rows' right side first…
    const auto& letter = sheet("letter-30");
    std::vector<int> slots;
    for (int position = 0; position < 5; ++position)
        slots.push_back(LabelLayout::slot(position, 0, 25, 30));
    EXPECT_EQ(slots, (std::vector<int>{25, 26, 27, 28, 29}));
    EXPECT_EQ(LabelLayout::labelOrigin(slots[0], letter).origin(), (Point{211.5, 612}));
    // …and page 2 starts at the top.
    EXPECT_EQ(LabelLayout::slot(0, 1, 25, 30), 0);
    EXPECT_EQ(LabelLayout::slot(29, 1, 25, 30), 29);

    EXPECT_EQ(LabelLayout::pages(1, 3, 10, 29), run(0, 0));
    EXPECT_EQ(LabelLayout::slot(0, 0, 29, 30), 29);
    EXPECT_EQ(LabelLayout::pages(1, 3, 10, 40), run(0, 0));
    EXPECT_EQ(LabelLayout::slot(0, 0, 40, 30), 29);
    EXPECT_EQ(LabelLayout::pages(2, 3, 10, 40).size(), 2u) << "one slot left on the first page";
    EXPECT_EQ(LabelLayout::slot(3, 0, -5, 30), 3);
    EXPECT_EQ(LabelLayout::slot(3, 0, 2, 0), 0);

    pages = LabelLayout::pages(61, 3, 10, 0);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], run(0, 29)[0]);
    EXPECT_EQ(pages[1], run(30, 59)[0]);
    EXPECT_EQ(pages[2], run(60, 60)[0]);
    EXPECT_EQ(LabelLayout::pages(61, 3, 10, -7), pages);

    EXPECT_TRUE(LabelLayout::pages(0, 3, 10, 0).empty());
    EXPECT_TRUE(LabelLayout::pages(-1, 3, 10, 0).empty());
    EXPECT_TRUE(LabelLayout::pages(5, 0, 10, 0).empty());
    EXPECT_TRUE(LabelLayout::pages(5, 3, 1001, 0).empty());
    EXPECT_EQ(LabelLayout::pages(3, 1000, 1000, 0).size(), 1u);
}

namespace {

/// A tile's label as the label sheet makes it: from what it takes of the tile and the recipes' names.
LabelLayout::Text labelText(const TestTile& tile, const std::vector<Recipe>& recipes, const std::string& timeZone) {
    const LabelLayout::Tile taken = LabelLayout::labelTile(tile);
    return LabelLayout::text(taken, LabelLayout::recipeNames(recipes, {taken}), timeZone);
}

} // namespace

TEST(LabelText, codeRecipeAndDetails) {
    const std::string utc = "UTC";
    TestTile tile = OrzaTest::tile("T-004");
    tile.cone = "6";
    tile.atmosphere = "Reduction";
    tile.date = at(2026y / March / 5, hours(12));
    EXPECT_EQ(labelText(tile, {}, utc),
              (LabelLayout::Text{"T-004", "Deleted recipe", "Cone 6 \u00B7 Reduction \u00B7 2026-03-05"}));

    Recipe first = OrzaTest::recipe("Celadon");
    first.id = tile.recipeID;
    Recipe second = OrzaTest::recipe("Same id, later");
    second.id = tile.recipeID;
    EXPECT_EQ(labelText(tile, {OrzaTest::recipe("Other"), first, second}, utc).recipe, "Celadon");
    // Only the names the tiles need are taken.
    EXPECT_EQ(LabelLayout::recipeNames({OrzaTest::recipe("Other"), first, second}, {LabelLayout::labelTile(tile)}),
              (LabelLayout::RecipeNames{{tile.recipeID, "Celadon"}}));
    first.name = "";
    EXPECT_EQ(labelText(tile, {first, second}, utc).recipe, "Untitled recipe");

    tile.code = "";
    EXPECT_EQ(labelText(tile, {}, utc).code, "No code");
    tile.code = "  ";
    EXPECT_EQ(labelText(tile, {}, utc).code, "  ");

    tile.atmosphere = "";
    EXPECT_EQ(labelText(tile, {}, utc).details, "Cone 6 \u00B7 2026-03-05");
    tile.atmosphere = " \t ";
    EXPECT_EQ(labelText(tile, {}, utc).details, "Cone 6 \u00B7 2026-03-05");
    // Kept entries are printed as written, and the cone entry always stays.
    tile.atmosphere = " Oxidation";
    tile.cone = "";
    EXPECT_EQ(labelText(tile, {}, utc).details, "Cone  \u00B7  Oxidation \u00B7 2026-03-05");
}

TEST(LabelText, dateIsReadInTheCalendarsOwnTimeZone) {
    TestTile tile = OrzaTest::tile("T-001");
    tile.date = at(2026y / March / 5, hours(23), minutes(30));
    EXPECT_EQ(labelText(tile, {}, "UTC").details, "Cone 6 \u00B7 Oxidation \u00B7 2026-03-05");
    EXPECT_EQ(labelText(tile, {}, "Pacific/Auckland").details, "Cone 6 \u00B7 Oxidation \u00B7 2026-03-06");
    tile.date = at(2026y / January / 1, hours(2));
    EXPECT_EQ(labelText(tile, {}, "America/New_York").details, "Cone 6 \u00B7 Oxidation \u00B7 2025-12-31");
}
