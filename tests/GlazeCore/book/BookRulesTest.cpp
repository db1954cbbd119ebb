#include "GlazeCore/book/BookPage.h"
#include "GlazeCore/book/Edit.h"
#include "GlazeCore/book/FirstLaunch.h"
#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/book/RecipeCheck.h"
#include "GlazeCore/book/RecipeSelection.h"
#include "support/BookBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

using namespace GlazeCore;
using OrzaTest::line;
using OrzaTest::recipe;

TEST(BookPageRules, rawValuesTitlesAndKeysFollowTheOrderOfAllCases) {
    const auto& pages = BookPage::allCases();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], BookPage::recipes);
    EXPECT_EQ(pages[1], BookPage::tests);
    EXPECT_EQ(pages[2], BookPage::materials);
    for (BookPage page : pages)
        EXPECT_EQ(BookPage::fromRaw(page.rawValue()), page);
    EXPECT_EQ(BookPage(BookPage::recipes).shortcutKey(), "1");
    EXPECT_EQ(BookPage(BookPage::materials).shortcutKey(), "3");
    EXPECT_EQ(BookPage(BookPage::tests).title(), "Tests");
    EXPECT_EQ(BookPage(BookPage::materials).title(), "Materials");

    EXPECT_EQ(BookPage::fromRaw("tests"), BookPage::tests);
    EXPECT_FALSE(BookPage::fromRaw("Recipes"));
    EXPECT_FALSE(BookPage::fromRaw(" tests"));
    EXPECT_FALSE(BookPage::fromRaw(""));

    std::unordered_set<BookPage> seen(pages.begin(), pages.end());
    EXPECT_EQ(seen.size(), 3u);
}

TEST(OrtonConesRules, thirtySevenConesInFiringOrder) {
    const auto& cones = OrtonCones::all();
    ASSERT_EQ(cones.size(), 37u);
    EXPECT_EQ(cones.front(), "022");
    EXPECT_EQ(cones.back(), "14");
    const auto at = [&](const std::string& cone) {
        return std::find(cones.begin(), cones.end(), cone) - cones.begin();
    };
    EXPECT_EQ(at("05\u00BD"), at("06") + 1);
    EXPECT_EQ(at("05"), at("05\u00BD") + 1);
    EXPECT_EQ(at("1"), at("01") + 1);
    EXPECT_EQ(at("10"), at("9") + 1);
    EXPECT_EQ(std::unordered_set<std::string>(cones.begin(), cones.end()).size(), 37u);
    EXPECT_EQ(&OrtonCones::all(), &cones); // built once, shared
}

TEST(FirstLaunchRules, onlyAFreshUntitledEmptyBookGetsTheSample) {
    const GlazeBook empty;
    EXPECT_TRUE(FirstLaunch::shouldOpenSample(false, true, empty));
    EXPECT_FALSE(FirstLaunch::shouldOpenSample(true, true, empty));
    EXPECT_FALSE(FirstLaunch::shouldOpenSample(false, false, empty));

    GlazeBook withMaterial;
    withMaterial.customMaterials.push_back({"custom-1", "Local clay", {}, 0, ""});
    EXPECT_FALSE(FirstLaunch::shouldOpenSample(false, true, withMaterial));
    GlazeBook withRecipe;
    withRecipe.recipes.push_back(recipe("A"));
    EXPECT_FALSE(FirstLaunch::shouldOpenSample(false, true, withRecipe));
    GlazeBook withTile;
    withTile.tests.push_back(OrzaTest::tile());
    EXPECT_FALSE(FirstLaunch::shouldOpenSample(false, true, withTile));
    EXPECT_EQ(FirstLaunch::key, "firstLaunchSampleShown");
}

TEST(EditRules, assignIfDifferentWritesOnlyChanges) {
    Recipe target = recipe("Gloss", {line("silica", 20)});
    const Recipe copy = target;
    EXPECT_FALSE(Edit::assignIfDifferent(target, copy));
    EXPECT_EQ(target, copy);

    Recipe renamed = copy;
    renamed.name = "Satin";
    EXPECT_TRUE(Edit::assignIfDifferent(target, renamed));
    EXPECT_EQ(target.name, "Satin");

    // Canonically equal text is no change; NaN never equals itself, so it is always written.
    std::string name = "Caf\u00e9";
    EXPECT_FALSE(Edit::assignIfDifferent(name, std::string("Cafe\u0301")));
    double amount = std::nan("");
    EXPECT_TRUE(Edit::assignIfDifferent(amount, std::nan("")));
}

TEST(EditRules, replaceByIDFindsTheStoredElementOnlyWhenItDiffers) {
    const std::vector<RecipeLine> lines{line("silica", 20), line("kaolin", 10), line("whiting", 5)};
    RecipeLine edited = lines[1];
    edited.amount = 12;
    EXPECT_EQ(Edit::replaceByID(lines, edited), 1u);
    EXPECT_EQ(Edit::replaceByID(edited, lines), 1u);
    EXPECT_FALSE(Edit::replaceByID(lines, lines[1]));
    EXPECT_FALSE(Edit::replaceByID(lines, line("silica", 20))); // unknown id: nothing appended
    EXPECT_FALSE(Edit::replaceByID(std::vector<RecipeLine>{}, edited));

    // The first element with the id answers, even when a later one would differ too.
    std::vector<RecipeLine> twice{lines[0], lines[0]};
    RecipeLine changed = lines[0];
    changed.materialID = "talc";
    EXPECT_EQ(Edit::replaceByID(twice, changed), 0u);

    // Materials are identified by their text id, canonically.
    const std::vector<Material> materials{{"custom-caf\u00e9", "Caf\u00e9 clay", {}, 0, ""}};
    const Material renamed{"custom-cafe\u0301", "Renamed", {}, 0, ""};
    EXPECT_EQ(Edit::replaceByID(materials, renamed), 0u);
}

TEST(RecipeCheckRules, rowsWithAnAmountButNoMaterial) {
    EXPECT_FALSE(RecipeCheck::isMissingMaterial(line("", 0)));
    EXPECT_FALSE(RecipeCheck::isMissingMaterial(line("", -0.0)));
    EXPECT_TRUE(RecipeCheck::isMissingMaterial(line("", 5)));
    EXPECT_TRUE(RecipeCheck::isMissingMaterial(line(" \n\t", 5)));
    EXPECT_TRUE(RecipeCheck::isMissingMaterial(line("\u3000", 5)));
    EXPECT_TRUE(RecipeCheck::isMissingMaterial(line("", std::nan(""))));
    EXPECT_TRUE(RecipeCheck::isMissingMaterial(line("", -2, true)));
    EXPECT_FALSE(RecipeCheck::isMissingMaterial(line("silica", 5)));

    const Recipe clean = recipe("Clean", {line("silica", 20), line("", 0)});
    EXPECT_FALSE(RecipeCheck::recipeWarning(clean));
    EXPECT_FALSE(RecipeCheck::batchWarning(clean));
    EXPECT_TRUE(RecipeCheck::rowsMissingMaterial(clean).empty());

    const Recipe one = recipe("One", {line("silica", 20), line(" ", 5)});
    EXPECT_EQ(RecipeCheck::rowsMissingMaterial(one), std::vector<RecipeLine>{one.lines[1]});
    EXPECT_EQ(RecipeCheck::recipeWarning(one),
              "1 row has an amount but no material. The chemistry leaves it out. Choose a material or remove the row.");
    EXPECT_EQ(RecipeCheck::batchWarning(one), "1 row has an amount but no material. Choose a material or remove the "
                                              "row before you print or export the batch sheet.");

    const Recipe two = recipe("Two", {line("", 3), line("silica", 20), line("", 4, true), line("", 0)});
    const auto rows = RecipeCheck::rowsMissingMaterial(two);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, two.lines[0].id);
    EXPECT_EQ(rows[1].id, two.lines[2].id);
    EXPECT_EQ(RecipeCheck::recipeWarning(two), "2 rows have an amount but no material. The chemistry leaves them "
                                               "out. Choose a material or remove the row.");
    EXPECT_EQ(RecipeCheck::batchWarning(two), "2 rows have an amount but no material. Choose a material or remove "
                                              "the row before you print or export the batch sheet.");
}

TEST(RecipeSelectionRules, vanishedSelectionMovesToItsNeighbour) {
    const Uuid a = Uuid::random(), b = Uuid::random(), c = Uuid::random(), x = Uuid::random(), y = Uuid::random();
    EXPECT_EQ(RecipeSelection::afterChange(b, {a, b, c}, {a, c}), c);
    EXPECT_EQ(RecipeSelection::afterChange(c, {a, b, c}, {a, b}), b);
    EXPECT_EQ(RecipeSelection::afterChange(b, {a, b, c}, {}), std::nullopt);
    EXPECT_EQ(RecipeSelection::afterChange(Uuid::random(), {a, b, c}, {x, y}), x);
    EXPECT_EQ(RecipeSelection::afterChange(std::nullopt, {a, b}, {a, b}), std::nullopt);
    EXPECT_EQ(RecipeSelection::afterChange(b, {a, b, c}, {c, b, a}), b); // reordered, still there
    EXPECT_EQ(RecipeSelection::afterChange(c, {a, b, c}, {x}), x);       // index clamped to the new last
}
