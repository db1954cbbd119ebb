#include "GlazeCore/reformulate/OxideNudge.h"
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

Adjustment nudge(const Recipe& r, Oxide oxide, double target, const std::vector<std::string>& extras = {}) {
    return oxideNudge(r, oxide, target, OrzaTest::sharedLibrary(), extras, OrzaTest::reformulateOxides());
}

std::optional<ReformulateError> nudgeError(const Recipe& r, Oxide oxide, double target,
                                           const std::vector<std::string>& extras = {}) {
    return OrzaTest::thrown<ReformulateError>([&] { nudge(r, oxide, target, extras); });
}

/// 0.1 mol Na2O, 0.2 CaO, 0.1 Al2O3, 1 SiO2 (base 87.6), with an addition: Na2O 1/3, CaO 2/3 in the UMF.
Recipe pureOxideRecipe() {
    return recipe("Pure", {line("soda", 6.2), line("lime", 11.2), line("alumina", 10.2), line("silica", 60),
                           line("titania", 2, true)});
}

/// Five materials for four oxides, base total 100.
Recipe redundantRecipe() {
    return recipe("Redundant", {line("soda-spar", 30), line("wollastonite", 20), line("kaolin", 15), line("silica", 25),
                                line("lime", 10)});
}

} // namespace

TEST(OxideNudge, reachesAnAttainableTargetExactly) {
    const Recipe input = pureOxideRecipe();
    const Adjustment a = nudge(input, Oxide::CaO, 0.5);
    // The other flux makes room: Na2O 1/3 × (1 − 0.5) / (1 − 2/3) = 0.5.
    EXPECT_NEAR(a.target.at(Oxide::Na2O), 0.5, 1e-12);
    EXPECT_EQ(a.target.at(Oxide::CaO), 0.5);
    EXPECT_TRUE(a.isExact());
    EXPECT_NEAR(a.after.umf.at(Oxide::CaO), 0.5, 1e-9);
    EXPECT_NEAR(a.after.umf.at(Oxide::Na2O), 0.5, 1e-9);

    // Flux moles stay at 0.3: soda 9.3, lime 8.4, alumina 10.2, silica 60, then scaled to a base of 100.
    ASSERT_EQ(a.recipe.lines.size(), input.lines.size());
    const double solvedBase = 9.3 + 8.4 + 10.2 + 60;
    const double expected[] = {9.3, 8.4, 10.2, 60};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(a.recipe.lines[i].id, input.lines[i].id);
        EXPECT_NEAR(a.recipe.lines[i].amount, expected[i] * 100 / solvedBase, 1e-9);
    }
    EXPECT_NEAR(a.recipe.baseTotal(), 100, 1e-9);
    // The addition keeps its ratio to the input's base.
    EXPECT_NEAR(a.recipe.lines[4].amount, 2 * 100 / 87.6, 1e-12);
}

TEST(OxideNudge, targetAtTheCurrentValueGivesTheCurrentAmountsBack) {
    const Recipe input = redundantRecipe();
    const Recipe copy = input;
    const double current =
        baseChemistry(input, OrzaTest::sharedLibrary(), OrzaTest::reformulateTable()).umf.at(Oxide::CaO);
    const Adjustment a = nudge(input, Oxide::CaO, current);
    EXPECT_TRUE(a.isExact());
    ASSERT_EQ(a.recipe.lines.size(), input.lines.size());
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        EXPECT_EQ(a.recipe.lines[i].id, input.lines[i].id);
        EXPECT_EQ(a.recipe.lines[i].materialID, input.lines[i].materialID);
        EXPECT_NEAR(a.recipe.lines[i].amount, input.lines[i].amount, 1e-9);
    }
    EXPECT_EQ(input, copy);
}

TEST(OxideNudge, goalOfAFluxScalesTheOtherFluxes) {
    // CaO 0.5, Na2O 0.3, K2O 0.2; nudging CaO to 0.3 scales the others by 0.7 / 0.5.
    const Recipe r = recipe("R", {line("lime", 28), line("soda", 18.6), line("potash", 18.8), line("silica", 120)});
    const Adjustment a = nudge(r, Oxide::CaO, 0.3);
    EXPECT_EQ(a.target.at(Oxide::CaO), 0.3);
    EXPECT_NEAR(a.target.at(Oxide::Na2O), 0.42, 1e-12);
    EXPECT_NEAR(a.target.at(Oxide::K2O), 0.28, 1e-12);
    EXPECT_EQ(a.target.at(Oxide::SiO2), a.before.umf.at(Oxide::SiO2)); // not a flux: unchanged
    EXPECT_TRUE(a.isExact());

    // A flux the UMF does not hold yet, from an extra: the others give up a tenth.
    const Adjustment m = nudge(r, Oxide::MgO, 0.1, {"magnesia"});
    EXPECT_NEAR(m.target.at(Oxide::CaO), 0.45, 1e-12);
    EXPECT_NEAR(m.target.at(Oxide::K2O), 0.18, 1e-12);
    EXPECT_TRUE(m.isExact());
}

TEST(OxideNudge, theOnlyFluxStaysAtOne) {
    const Recipe r = recipe("R", {line("lime", 56), line("silica", 120)});
    // Within 1e-9 of 1 the goal keeps every other value; the upper bound of a flux still applies first.
    const Adjustment a = nudge(r, Oxide::CaO, 0.9999999995);
    EXPECT_EQ(a.target.at(Oxide::CaO), 0.9999999995);
    EXPECT_EQ(a.target.at(Oxide::SiO2), a.before.umf.at(Oxide::SiO2));
    EXPECT_EQ(a.target.size(), 2u);
    EXPECT_EQ(nudgeError(r, Oxide::CaO, 1.0000000005), ReformulateError::infeasible());
    EXPECT_EQ(nudgeError(r, Oxide::CaO, 0.9), ReformulateError::onlyFlux(Oxide::CaO));
}

TEST(OxideNudge, aZeroTargetKeepsItsGoalEntryAndNeedsNoSource) {
    const Recipe r = pureOxideRecipe();
    const Adjustment a = nudge(r, Oxide::Al2O3, 0);
    ASSERT_TRUE(a.target.contains(Oxide::Al2O3));
    EXPECT_EQ(a.target.at(Oxide::Al2O3), 0);
    EXPECT_FALSE(a.after.umf.contains(Oxide::Al2O3));
    EXPECT_EQ(a.recipe.lines[2].amount, 0);    // the alumina line stays, at 0
    EXPECT_NO_THROW(nudge(r, Oxide::B2O3, 0)); // nothing supplies B2O3
}

TEST(OxideNudge, anExtraMaterialSuppliesAMissingOxide) {
    const Recipe r = pureOxideRecipe();
    EXPECT_EQ(nudgeError(r, Oxide::B2O3, 0.2), ReformulateError::noSource(Oxide::B2O3));
    EXPECT_EQ(nudgeError(r, Oxide::B2O3, 0.2, {"nowhere"}), ReformulateError::noSource(Oxide::B2O3));
    const Adjustment a = nudge(r, Oxide::B2O3, 0.2, {"boria"});
    EXPECT_TRUE(a.isExact());
    ASSERT_EQ(a.recipe.lines.size(), 6u);
    EXPECT_EQ(a.recipe.lines[4].materialID, "boria"); // just before the trailing addition
    EXPECT_FALSE(a.recipe.lines[4].isAddition);
    EXPECT_TRUE(a.recipe.lines[5].isAddition);
    EXPECT_NEAR(a.after.umf.at(Oxide::B2O3), 0.2, 1e-9);
}

TEST(OxideNudge, missesAreReportedAgainstTheGoal) {
    // Al2O3 comes only with soda-spar, which also brings Na2O: Al2O3 cannot fall alone.
    const Recipe r = recipe("R", {line("soda-spar", 50), line("wollastonite", 20), line("silica", 30)});
    const Adjustment a = nudge(r, Oxide::Al2O3, 0.05);
    EXPECT_FALSE(a.isExact());
    OrzaTest::expectResidualAgainst(a, a.target);
    // The priority oxide is met before the others.
    EXPECT_NEAR(a.after.umf.at(Oxide::Al2O3), 0.05, 1e-3);
}

TEST(OxideNudge, errorsInTheirOrder) {
    const Recipe noFlux = recipe("N", {line("silica", 60), line("alumina", 10)});
    // The table's load error comes first of all.
    EXPECT_EQ(OrzaTest::thrown<GlazeError>([&] {
                  oxideNudge(noFlux, Oxide::CaO, notANumber, OrzaTest::sharedLibrary(), {}, OrzaTest::missingOxides());
              }),
              GlazeError::resourceMissing("oxides.json"));
    // The base chemistry's errors, then no flux, both before the target is looked at.
    EXPECT_THROW(nudge(recipe("R", {line("lime", notANumber)}), Oxide::CaO, notANumber), GlazeError);
    EXPECT_EQ(nudgeError(noFlux, Oxide::CaO, notANumber), ReformulateError::noFlux());
    const Recipe r = recipe("R", {line("lime", 56), line("silica", 120)});
    EXPECT_EQ(nudgeError(r, Oxide::SiO2, notANumber), ReformulateError::infeasible());
    EXPECT_EQ(nudgeError(r, Oxide::SiO2, inf), ReformulateError::infeasible());
    EXPECT_EQ(nudgeError(r, Oxide::SiO2, -0.001), ReformulateError::infeasible());
    // The upper bound of a flux, just above 1, comes before the only-flux check; SiO2 has none.
    EXPECT_EQ(nudgeError(r, Oxide::CaO, 1.00001), ReformulateError::infeasible());
    EXPECT_NO_THROW(nudge(pureOxideRecipe(), Oxide::CaO, 1.0000000000005));
    EXPECT_NO_THROW(nudge(r, Oxide::SiO2, 50));
    EXPECT_EQ(nudgeError(r, Oxide::CaO, 0.5), ReformulateError::onlyFlux(Oxide::CaO));
    EXPECT_EQ(nudgeError(r, Oxide::Na2O, 0.5), ReformulateError::noSource(Oxide::Na2O));
    // Then the solve's errors.
    EXPECT_THROW(nudge(r, Oxide::SiO2, 1, {"zircon"}), GlazeError);
}

TEST(OxideNudge, refusesMoreThanTheMaterialLimitCountingExtras) {
    std::vector<Material> many = OrzaTest::sharedLibrary().all();
    Recipe r = recipe("Many");
    for (int i = 0; i < 200; ++i) {
        const std::string id = "m" + std::to_string(i);
        many.push_back(OrzaTest::material(id, {{Oxide::CaO, 10.0 + i % 7}, {Oxide::SiO2, 50}}));
        r.lines.push_back(line(id, 1));
    }
    const BundledLibrary lib(many);
    EXPECT_EQ(OrzaTest::thrown<ReformulateError>(
                  [&] { oxideNudge(r, Oxide::SiO2, 3, lib, {"silica"}, OrzaTest::reformulateOxides()); }),
              ReformulateError::tooManyMaterials(201, 200));
}

TEST(OxideNudge, lineLimitAppliesToWhatTheUserGets) {
    // A base of 1,600,000: the solved silica passes 1,000,000 before it is scaled down to a base of 100.
    const Recipe big = recipe("Big", {line("lime", 400'000), line("soda", 300'000), line("silica", 900'000)});
    const double silica =
        baseChemistry(big, OrzaTest::sharedLibrary(), OrzaTest::reformulateTable()).umf.at(Oxide::SiO2);
    const Adjustment a = nudge(big, Oxide::SiO2, silica * 1.5);
    EXPECT_TRUE(a.isExact());
    EXPECT_NEAR(a.recipe.baseTotal(), 100, 1e-9);
    // An addition scaled to the new base beyond the limit cannot be handed out.
    const Recipe heavy = recipe("Heavy", {line("lime", 0.3), line("silica", 0.5), line("titania", 1'000'000, true)});
    EXPECT_THROW(nudge(heavy, Oxide::SiO2, 1), CalculationError);
}

TEST(OxideNudgeNewRecipe, keepsSplitsLinesAndOrder) {
    const Recipe r = recipe("R", {line("silica", 30), line("lime", 5, true), line("silica", 10), line("kaolin", 0),
                                  line("kaolin", 0), line("soda", -2), line("lime", 4, true)});
    const Amounts amounts = {{"silica", 60}, {"kaolin", 12}, {"soda", 9}, {"boria", 3}, {"alumina", 0}};
    const Recipe out = newRecipe(amounts, r, {"silica", "kaolin", "soda", "alumina", "boria"});
    ASSERT_EQ(out.lines.size(), 9u);
    EXPECT_EQ(out.lines[0].amount, 45); // 30 : 10 of 60
    EXPECT_EQ(out.lines[1].amount, 5);  // additions are never touched
    EXPECT_EQ(out.lines[2].amount, 15);
    EXPECT_EQ(out.lines[3].amount, 12); // no old total above 0: the first line takes it all
    EXPECT_EQ(out.lines[4].amount, 0);
    EXPECT_EQ(out.lines[5].amount, -2); // a negative line stays as it was, so soda counts as not placed
    // New lines, in candidate order, before the trailing addition; nothing for a material solved to 0.
    EXPECT_EQ(out.lines[6].materialID, "soda");
    EXPECT_EQ(out.lines[7].materialID, "boria");
    EXPECT_EQ(out.lines[7].amount, 3);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(out.lines[i].id, r.lines[i].id);
    EXPECT_EQ(out.lines[8], r.lines[6]);
}

TEST(OxideNudgeCanNudge, onlyOnBaseChemistryAndNeverTheOnlyFlux) {
    const auto& oxides = OrzaTest::reformulateOxides();
    Chemistry two;
    two.umf = {{Oxide::Na2O, 0.4}, {Oxide::CaO, 0.6}, {Oxide::SiO2, 3}};
    Chemistry one;
    one.umf = {{Oxide::CaO, 1}, {Oxide::K2O, 1e-13}, {Oxide::ZrO2, 0.5}, {Oxide::SiO2, 3}};
    for (const Oxide oxide : {Oxide::CaO, Oxide::SiO2})
        EXPECT_FALSE(canNudge(oxide, two, true, oxides));
    EXPECT_FALSE(canNudge(Oxide::SiO2, Chemistry{}, false, oxides));
    EXPECT_TRUE(canNudge(Oxide::CaO, two, false, oxides));
    EXPECT_TRUE(canNudge(Oxide::SiO2, one, false, oxides));
    EXPECT_TRUE(canNudge(Oxide::ZrO2, one, false, oxides)); // no table row: not a flux
    EXPECT_FALSE(canNudge(Oxide::CaO, one, false, oxides)); // K2O at 1e-13 does not count
    EXPECT_TRUE(canNudge(Oxide::CaO, one, false, OrzaTest::missingOxides()));
}
