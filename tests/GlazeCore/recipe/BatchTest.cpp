#include "GlazeCore/recipe/Batch.h"
#include "support/BookBuilders.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace GlazeCore;
using OrzaTest::line;
using OrzaTest::recipe;

namespace {

std::vector<double> grams(const std::vector<Batch::Row>& rows) {
    std::vector<double> out;
    for (const auto& row : rows)
        out.push_back(row.grams);
    return out;
}

double total(const std::vector<Batch::Row>& rows) {
    double sum = 0;
    for (const auto& row : rows)
        sum += row.grams;
    return sum;
}

std::string problemOf(const Recipe& r, double weight, double step) {
    try {
        Batch::weights(r, weight, step);
    } catch (const Batch::BatchProblem& problem) {
        return problem.message();
    }
    return "no problem";
}

} // namespace

TEST(BatchWeights, roundToTheStepAndItsDecimals) {
    EXPECT_EQ(grams(Batch::weights(recipe("Two", {line("silica", 60), line("kaolin", 40)}), 1000, 0.1)),
              (std::vector<double>{600, 400}));

    const Recipe thirds = recipe("Thirds", {line("silica", 1), line("kaolin", 1), line("whiting", 1)});
    EXPECT_EQ(grams(Batch::weights(thirds, 1000, 1)), (std::vector<double>{333, 333, 333}));
    EXPECT_EQ(grams(Batch::weights(thirds, 1000, 0.1)), (std::vector<double>{333.3, 333.3, 333.3}));
    EXPECT_EQ(grams(Batch::weights(thirds, 1000, 0.01)), (std::vector<double>{333.33, 333.33, 333.33}));
    EXPECT_EQ(grams(Batch::weights(thirds, 1000, 0.5)), (std::vector<double>{333.5, 333.5, 333.5}));
    // A quarter step has two decimals: 333.33… lies nearest 333.25.
    EXPECT_EQ(grams(Batch::weights(thirds, 1000, 0.25)), (std::vector<double>{333.25, 333.25, 333.25}));
    // Each weight is rounded on its own, so the total may miss the batch by a step.
    EXPECT_EQ(total(Batch::weights(thirds, 1000, 1)), 999);

    // Three steps of 0.1 are written 0.3, not 0.30000000000000004.
    EXPECT_EQ(grams(Batch::weights(recipe("Trace", {line("silica", 97), line("rutile", 3)}), 10, 0.1)),
              (std::vector<double>{9.7, 0.3}));

    // Halves round away from zero, and both halves rounding up overshoots by a step.
    const auto halves = Batch::weights(recipe("Quarters", {line("silica", 1), line("kaolin", 3)}), 10, 1);
    EXPECT_EQ(grams(halves), (std::vector<double>{3, 8}));
    EXPECT_EQ(total(halves), 11);
}

TEST(BatchWeights, unusableStepLeavesGramsUnrounded) {
    const Recipe thirds = recipe("Thirds", {line("silica", 1), line("kaolin", 1), line("whiting", 1)});
    for (double step : {0.0, -0.1, std::nan(""), HUGE_VAL}) {
        const auto rows = Batch::weights(thirds, 1000, step);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0].grams, 1.0 / 3 * 1000) << step;
    }
}

TEST(BatchWeights, keepsLineOrderAdditionsAndBlankIdsDropsUnusableAmounts) {
    const Recipe r = recipe("Mixed", {line("cobalt", 1, true), line("silica", 60), line("talc", -5), line("", 40),
                                      line("whiting", 0), line("zinc", INFINITY), line("rutile", std::nan(""))});
    const auto rows = Batch::weights(r, 500, 1);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].materialID, "cobalt");
    EXPECT_TRUE(rows[0].isAddition);
    EXPECT_EQ(rows[0].grams, 5);
    EXPECT_EQ(rows[1].materialID, "silica");
    EXPECT_FALSE(rows[1].isAddition);
    EXPECT_EQ(rows[1].grams, 300);
    EXPECT_EQ(rows[2].materialID, "");
    EXPECT_EQ(rows[2].grams, 200);
}

TEST(BatchWeights, problemsComeInCheckOrder) {
    const Recipe good = recipe("Good", {line("silica", 60), line("kaolin", 40)});
    const Recipe hugeBase = recipe("Huge", {line("silica", 1.5e308), line("kaolin", 1.5e308)});
    const Recipe onlyAddition = recipe("Stain", {line("cobalt", 2, true)});

    EXPECT_EQ(problemOf(hugeBase, 0, 1), "The base total is too large to scale.");
    EXPECT_EQ(problemOf(onlyAddition, std::nan(""), 1), "Add base materials to the recipe first.");
    for (double weight : {0.0, -100.0, std::nan(""), HUGE_VAL})
        EXPECT_EQ(problemOf(good, weight, 1), "Enter a batch weight above 0 g.") << weight;

    const std::string notFinite =
        "The additions are too large for this base, so a weight would not be a finite number.";
    // One weight overflows.
    EXPECT_EQ(problemOf(recipe("Tiny", {line("silica", 1e-300), line("stain", 1e300, true)}), 100, 1), notFinite);
    // Every weight is finite but their sum is not.
    EXPECT_EQ(problemOf(recipe("Even", {line("silica", 1), line("stain", 1, true)}), 1e308, 0), notFinite);
}

TEST(BatchWeights, orEmptyAndProblemTextWrapTheSameResult) {
    const Recipe good = recipe("Good", {line("silica", 60), line("kaolin", 40)});
    EXPECT_EQ(Batch::weightsOrEmpty(good, 1000, 1).size(), 2u);
    EXPECT_EQ(Batch::problemText(good, 1000, 1), std::nullopt);

    EXPECT_TRUE(Batch::weightsOrEmpty(good, 0, 1).empty());
    EXPECT_EQ(Batch::problemText(good, 0, 1), "Enter a batch weight above 0 g.");
    const Recipe onlyAddition = recipe("Stain", {line("cobalt", 2, true)});
    EXPECT_TRUE(Batch::weightsOrEmpty(onlyAddition, 1000, 1).empty());
    EXPECT_EQ(Batch::problemText(onlyAddition, 1000, 1), "Add base materials to the recipe first.");
}
