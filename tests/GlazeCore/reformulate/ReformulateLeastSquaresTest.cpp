#include "GlazeCore/reformulate/ReformulateLeastSquares.h"
#include "GlazeCore/book/GlazeError.h"
#include "GlazeCore/chemistry/CalculationError.h"
#include "GlazeCore/reformulate/ReformulateError.h"
#include "ReformulateFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace GlazeCore;
using namespace GlazeCore::Reformulate;
using OrzaTest::line;
using OrzaTest::recipe;

using OrzaTest::inf;
using OrzaTest::notANumber;

namespace {

const OxideTable::Map& table() {
    static const OxideTable::Map t = OrzaTest::reformulateTable();
    return t;
}

Chemistry chemistryOf(const Recipe& r) {
    return baseChemistry(r, OrzaTest::sharedLibrary(), table());
}

Amounts solve(const Recipe& working, const std::map<Oxide, double>& target, const Recipe* reference = nullptr,
              bool unityRow = true) {
    return solveAmounts(working, baseMaterialIDs(working, OrzaTest::sharedLibrary(), {}), target,
                        OrzaTest::sharedLibrary(), table(), reference, {}, unityRow);
}

template <class F> std::optional<ReformulateError> reformulateErrorOf(F&& f) {
    return OrzaTest::thrown<ReformulateError>(f);
}

} // namespace

TEST(ReformulateCandidates, baseLinesThatCanBeSolvedThenKnownExtrasOnce) {
    const Recipe r =
        recipe("R", {line("silica", 0), line("lime", 10, true), line("soda", -1), line("kaolin", inf),
                     line("alumina", notANumber), line("unknown", 5), line("silica", 3), line("wollastonite", 2)});
    EXPECT_EQ(baseMaterialIDs(r, OrzaTest::sharedLibrary(), {}), (std::vector<std::string>{"silica", "wollastonite"}));
    EXPECT_EQ(baseMaterialIDs(r, OrzaTest::sharedLibrary(), {"lime", "nowhere", "silica", "lime", "boria"}),
              (std::vector<std::string>{"silica", "wollastonite", "lime", "boria"}));
}

TEST(ReformulateCandidates, baseChemistryDropsOnlyEmptyIdsAndAdditions) {
    const Recipe r = recipe("R", {line("lime", 56), line("", 100), line("silica", 60), line("soda", 62, true)});
    const Chemistry c = chemistryOf(r);
    ASSERT_EQ(c.umf.size(), 2u); // neither the empty id nor the soda addition counts
    EXPECT_NEAR(c.umf.at(Oxide::SiO2), 1, 1e-15);
    EXPECT_TRUE(c.warnings.size() == 1 && c.warnings[0].find("Al2O3") != std::string::npos);
    // A single space is an id like any other: the calculator reports it as unknown.
    const Chemistry spaced = chemistryOf(recipe("R", {line("lime", 56), line(" ", 10)}));
    ASSERT_FALSE(spaced.warnings.empty());
    EXPECT_EQ(spaced.warnings[0].find("Unknown material \" \""), 0u);
}

TEST(ReformulateSolve, referenceSetsTheScaleAndTheWorkingRecipeTheStart) {
    const Recipe working = recipe("W", {line("lime", 10), line("silica", 40)});
    const Recipe reference = recipe("Ref", {line("lime", 20), line("silica", 80)});
    const auto target = chemistryOf(working).umf;
    const Amounts scaled = solve(working, target, &reference);
    EXPECT_NEAR(scaled.at("lime"), 20, 1e-9);
    EXPECT_NEAR(scaled.at("silica"), 80, 1e-9);
    const Amounts own = solve(working, target);
    EXPECT_NEAR(own.at("lime"), 10, 1e-9);
    EXPECT_NEAR(own.at("silica"), 40, 1e-9);
}

TEST(ReformulateSolve, candidatesThatCannotMoveTheFitKeepTheirAmounts) {
    // "inert" supplies nothing; "ghost" is unknown to the library. Neither has a row to move it.
    const Recipe r = recipe("R", {line("lime", 28), line("silica", 60), line("inert", 5), line("ghost", 7)});
    const Amounts amounts = solveAmounts(r, {"lime", "silica", "inert", "ghost"}, {{Oxide::CaO, 1}, {Oxide::SiO2, 1}},
                                         OrzaTest::sharedLibrary(), table(), nullptr, {}, true);
    EXPECT_NEAR(amounts.at("inert"), 5, 1e-9);
    EXPECT_NEAR(amounts.at("ghost"), 7, 1e-9);
    EXPECT_NEAR(amounts.at("lime"), 28, 1e-9);
    // SiO2 from 2 to 1 mol per mol of CaO: half the silica.
    EXPECT_NEAR(amounts.at("silica"), 30, 1e-9);
}

TEST(ReformulateSolve, aCandidateOutsideTheRecipeEntersOnlyWhenItHelps) {
    const Recipe r = recipe("R", {line("lime", 56), line("silica", 120)});
    const std::vector<std::string> withExtra = {"lime", "silica", "alumina"};
    const Amounts same =
        solveAmounts(r, withExtra, chemistryOf(r).umf, OrzaTest::sharedLibrary(), table(), nullptr, {}, true);
    EXPECT_EQ(same.at("alumina"), 0);
    const Amounts more = solveAmounts(r, withExtra, {{Oxide::CaO, 1}, {Oxide::SiO2, 2}, {Oxide::Al2O3, 0.25}},
                                      OrzaTest::sharedLibrary(), table(), nullptr, {}, true);
    EXPECT_NEAR(more.at("alumina"), 25.5, 1e-9);
}

TEST(ReformulateSolve, errorsInTheirOrder) {
    const Recipe r = recipe("R", {line("lime", 56), line("silica", 60)});
    const std::map<Oxide, double> goal = {{Oxide::CaO, 1}, {Oxide::SiO2, 1}};
    const auto run = [&](const Recipe& working, const std::vector<std::string>& candidates,
                         const std::map<Oxide, double>& target) {
        return reformulateErrorOf(
            [&] { solveAmounts(working, candidates, target, OrzaTest::sharedLibrary(), table(), nullptr, {}, true); });
    };
    // Unusable base, then no candidates, before any chemistry is looked at.
    EXPECT_EQ(run(recipe("E", {line("lime", 5, true)}), {"lime"}, goal), ReformulateError::infeasible());
    EXPECT_EQ(run(recipe("E", {line("lime", inf)}), {"lime"}, goal), ReformulateError::infeasible());
    EXPECT_EQ(run(r, {}, goal), ReformulateError::infeasible());
    // No flux in the scale recipe.
    EXPECT_EQ(run(recipe("E", {line("silica", 60), line("alumina", 10)}), {"silica", "alumina"}, goal),
              ReformulateError::noFlux());
    // A candidate naming an oxide the table lacks.
    EXPECT_EQ(OrzaTest::thrown<GlazeError>([&] {
                  solveAmounts(r, {"lime", "zircon"}, goal, OrzaTest::sharedLibrary(), table(), nullptr, {}, true);
              }),
              GlazeError::missingOxideData(Oxide::ZrO2));
    // An amount above the line limit; the rescaling variant leaves that check to its caller.
    const Recipe big = recipe("B", {line("lime", 100'000), line("silica", 900'000)});
    const std::map<Oxide, double> moreSilica = {{Oxide::CaO, 1}, {Oxide::SiO2, 2 * 9.0 * 56 / 60}};
    EXPECT_THROW(
        solveAmounts(big, {"lime", "silica"}, moreSilica, OrzaTest::sharedLibrary(), table(), nullptr, {}, true),
        CalculationError);
    EXPECT_NEAR(solveAmountsToRescale(big, {"lime", "silica"}, moreSilica, OrzaTest::sharedLibrary(), table(), nullptr,
                                      {}, true)
                    .at("silica"),
                1'800'000, 1e-3);
}

TEST(ReformulateSolve, nonFiniteSystemIsInfeasibleNotARecipeOfZeros) {
    const Recipe r = recipe("R", {line("lime", 56), line("silica", 60)});
    EXPECT_EQ(reformulateErrorOf([&] {
                  solve(r, {{Oxide::CaO, 1}, {Oxide::SiO2, inf}});
              }),
              ReformulateError::infeasible());
    EXPECT_EQ(reformulateErrorOf([&] { solve(r, {{Oxide::CaO, notANumber}}); }), ReformulateError::infeasible());
    // Flux moles so small that base / F overflows every coefficient.
    const Recipe tiny = recipe("T", {line("soda", 1e-318), line("silica", 1e5)});
    EXPECT_EQ(reformulateErrorOf([&] { solve(tiny, {{Oxide::Na2O, 1}}); }), ReformulateError::infeasible());
}
