#include "GlazeCore/recipe/Normalize.h"
#include "support/BookBuilders.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace GlazeCore;
using OrzaTest::line;
using OrzaTest::recipe;

TEST(Normalize, scalesBaseAndAdditionsAlikeAndKeepsEverythingElse) {
    Recipe r = recipe("Celadon", {line("silica", 30), line("kaolin", 20), line("red-iron-oxide", 5, true),
                                  line("whiting", 0), line("talc", -4), line("zinc", std::nan(""))});
    r.notes = "Dip 3 s";
    const auto result = Normalize::toBase100(r, 100);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->id, r.id);
    EXPECT_EQ(result->name, "Celadon");
    EXPECT_EQ(result->cone, r.cone);
    EXPECT_EQ(result->notes, "Dip 3 s");
    ASSERT_EQ(result->lines.size(), 6u);
    EXPECT_EQ(result->lines[0].amount, 60);
    EXPECT_EQ(result->lines[1].amount, 40);
    EXPECT_EQ(result->lines[2].amount, 10);
    EXPECT_TRUE(result->lines[2].isAddition);
    // Unusable amounts are left exactly as they were.
    EXPECT_EQ(result->lines[3].amount, 0);
    EXPECT_EQ(result->lines[4].amount, -4);
    EXPECT_TRUE(std::isnan(result->lines[5].amount));
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
        EXPECT_EQ(result->lines[i].id, r.lines[i].id);
        EXPECT_EQ(result->lines[i].materialID, r.lines[i].materialID);
    }
    EXPECT_EQ(result->baseTotal(), 100);
    EXPECT_EQ(Normalize::problem(r, 100), std::nullopt);
    // Another target scales the same way.
    EXPECT_EQ(Normalize::toBase100(r, 250)->lines[2].amount, 25);
}

TEST(Normalize, anAmountMayReachButNotPassOneMillion) {
    // 10 on a base of 0.001 becomes exactly 1,000,000, which a book can still store.
    const Recipe atLimit = recipe("Thin", {line("silica", 0.001), line("stain", 10, true)});
    const auto reached = Normalize::toBase100(atLimit, 100);
    ASSERT_TRUE(reached);
    EXPECT_EQ(reached->lines[1].amount, 1'000'000);
    EXPECT_EQ(Normalize::problem(atLimit, 100), std::nullopt);

    const Recipe beyond = recipe("Thin", {line("silica", 0.001), line("stain", 10.001, true)});
    EXPECT_EQ(Normalize::toBase100(beyond, 100), std::nullopt);
    EXPECT_EQ(Normalize::problem(beyond, 100),
              "The additions are too large for this base. An amount would be above 1000000.");

    // An overflow to infinity fails the whole recipe as well.
    const Recipe overflowing = recipe("Tiny", {line("silica", 1e-300), line("stain", 1e300, true)});
    EXPECT_EQ(Normalize::toBase100(overflowing, 100), std::nullopt);
}

TEST(Normalize, refusesUnusableBaseOrTarget) {
    const Recipe onlyAddition = recipe("Stain", {line("cobalt", 2, true)});
    EXPECT_EQ(Normalize::toBase100(onlyAddition, 100), std::nullopt);
    EXPECT_EQ(Normalize::problem(onlyAddition, 100), "Add base materials to the recipe first.");
    EXPECT_EQ(Normalize::problem(recipe("Empty"), 100), "Add base materials to the recipe first.");

    const Recipe huge = recipe("Huge", {line("silica", 1.5e308), line("kaolin", 1.5e308)});
    EXPECT_EQ(Normalize::toBase100(huge, 100), std::nullopt);
    EXPECT_EQ(Normalize::problem(huge, 100), "The base total is too large to normalize.");

    const Recipe fine = recipe("Fine", {line("silica", 60), line("kaolin", 40)});
    for (double target : {0.0, -100.0, std::nan(""), HUGE_VAL})
        EXPECT_EQ(Normalize::toBase100(fine, target), std::nullopt) << target;
}
