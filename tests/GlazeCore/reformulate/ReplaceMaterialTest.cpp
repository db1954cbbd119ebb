#include "GlazeCore/reformulate/ReplaceMaterial.h"
#include "GlazeCore/book/GlazeError.h"
#include "GlazeCore/chemistry/CalculationError.h"
#include "GlazeCore/reformulate/ReformulateError.h"
#include "GlazeCore/reformulate/ReformulateLeastSquares.h"
#include "ReformulateFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace GlazeCore;
using namespace GlazeCore::Reformulate;
using OrzaTest::line;
using OrzaTest::recipe;

namespace {

Adjustment replace(const Recipe& r, const std::string& oldID, const std::string& newID,
                   const MaterialLibrary& lib = OrzaTest::sharedLibrary()) {
    return replaceMaterial(r, oldID, newID, lib, OrzaTest::reformulateOxides());
}

std::optional<ReformulateError> replaceError(const Recipe& r, const std::string& oldID, const std::string& newID) {
    return OrzaTest::thrown<ReformulateError>([&] { replace(r, oldID, newID); });
}

/// Soda from the feldspar only, lime from wollastonite; base total 100.
Recipe sparRecipe() {
    return recipe("Spar", {line("soda-spar", 40), line("wollastonite", 20), line("kaolin", 15), line("silica", 25),
                           line("titania", 2, true)});
}

} // namespace

TEST(ReplaceMaterial, byItselfChangesNothing) {
    const Recipe r = sparRecipe();
    const Adjustment a = replace(r, "kaolin", "kaolin");
    EXPECT_EQ(a.recipe, r);
    EXPECT_EQ(a.after.umf, a.before.umf);
    EXPECT_EQ(a.target, a.before.umf);
    EXPECT_TRUE(a.isExact() && a.unsupplied.empty() && a.standIn.empty());
}

TEST(ReplaceMaterial, anEquivalentMaterialTakesOverTheAmountsAndTheBaseTotal) {
    // A recipe totalling 250 keeps that total: a replacement is not normalised.
    const Recipe r = recipe("R", {line("kaolin", 50), line("wollastonite", 60), line("silica", 90),
                                  line("soda-spar", 50), line("kaolin", 3, true)});
    const Adjustment a = replace(r, "kaolin", "china-clay");
    EXPECT_TRUE(a.isExact());
    ASSERT_EQ(a.recipe.lines.size(), r.lines.size());
    EXPECT_EQ(a.recipe.lines[0].id, r.lines[0].id);
    EXPECT_EQ(a.recipe.lines[0].materialID, "china-clay");
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(a.recipe.lines[i].amount, r.lines[i].amount, 1e-9);
    EXPECT_EQ(a.recipe.lines[4], r.lines[4]); // an addition of the old material stays
    EXPECT_NEAR(a.recipe.baseTotal(), 250, 1e-9);
}

TEST(ReplaceMaterial, linesOfTheOldMaterialFoldIntoOne) {
    const Recipe twice = recipe("R", {line("kaolin", 10), line("lime", 28), line("kaolin", 5), line("silica", 20)});
    const Adjustment a = replace(twice, "kaolin", "china-clay");
    ASSERT_EQ(a.recipe.lines.size(), 3u);
    EXPECT_EQ(a.recipe.lines[0].id, twice.lines[0].id);
    EXPECT_NEAR(a.recipe.lines[0].amount, 15, 1e-9);
    EXPECT_EQ(a.recipe.lines[2].id, twice.lines[3].id);

    // The new material is already a base material: every old line goes and its line carries the amount.
    const Recipe both = recipe("R", {line("kaolin", 10), line("lime", 28), line("china-clay", 5), line("silica", 20)});
    const Adjustment b = replace(both, "kaolin", "china-clay");
    ASSERT_EQ(b.recipe.lines.size(), 3u);
    EXPECT_EQ(b.recipe.lines[1].id, both.lines[2].id);
    EXPECT_NEAR(b.recipe.lines[1].amount, 15, 1e-9);
    EXPECT_TRUE(b.isExact());
}

TEST(ReplaceMaterial, theNewMaterialsFluxesStandInForMissingOnes) {
    const Recipe r = sparRecipe();
    const Adjustment a = replace(r, "soda-spar", "lime-spar");
    EXPECT_EQ(a.unsupplied, (std::vector<Oxide>{Oxide::Na2O}));
    EXPECT_EQ(a.standIn, (std::vector<Oxide>{Oxide::MgO, Oxide::CaO})); // oxide order, not the analysis's
    EXPECT_EQ(a.target, a.before.umf);
    // Na2O is gone; the new fluxes take its share in their molar proportion 15/56 : 5/40.
    EXPECT_FALSE(a.after.umf.contains(Oxide::Na2O));
    EXPECT_NEAR(a.residual.at(Oxide::Na2O), -a.before.umf.at(Oxide::Na2O), 1e-12);
    const double missing = a.before.umf.at(Oxide::Na2O);
    const double w = 15.0 / 56 + 5.0 / 40;
    EXPECT_NEAR(a.after.umf.at(Oxide::MgO), missing * (5.0 / 40) / w, 1e-6);
    EXPECT_NEAR(a.after.umf.at(Oxide::CaO), a.before.umf.at(Oxide::CaO) + missing * (15.0 / 56) / w, 1e-6);
    EXPECT_GT(a.residual.at(Oxide::MgO), 0);
}

TEST(ReplaceMaterial, twoMissingFluxesNamedTogether) {
    const Recipe r = recipe("R", {line("mixed-spar", 40), line("wollastonite", 20), line("silica", 25)});
    const Adjustment a = replace(r, "mixed-spar", "wollastonite");
    EXPECT_EQ(a.unsupplied, (std::vector<Oxide>{Oxide::Na2O, Oxide::K2O, Oxide::Al2O3}));
    EXPECT_EQ(a.standIn, (std::vector<Oxide>{Oxide::CaO}));
    ASSERT_EQ(a.recipe.lines.size(), 2u); // the old line went, wollastonite's own line carries the amount
    EXPECT_EQ(Adjustment::replaceMissText(Oxide::CaO, 0.5, a, "en_US", OrzaTest::reformulateOxides()),
              "CaO ends 0.500 above the original. The new material's CaO takes the place of the missing Na\u2082O "
              "and K\u2082O as a flux.");
}

TEST(ReplaceMaterial, anUnsuppliedNonFluxStaysInTheGoal) {
    const Recipe r = recipe("R", {line("titan-spar", 30), line("lime", 10), line("silica", 20)});
    const Adjustment a = replace(r, "titan-spar", "soda-spar");
    EXPECT_EQ(a.unsupplied, (std::vector<Oxide>{Oxide::TiO2}));
    EXPECT_TRUE(a.standIn.empty());
    EXPECT_NEAR(a.residual.at(Oxide::TiO2), -a.before.umf.at(Oxide::TiO2), 1e-12);
    // The new material brings Al2O3 the original did not have; every miss is measured against the original.
    EXPECT_GT(a.residual.at(Oxide::Al2O3), 0);
    OrzaTest::expectResidualAgainst(a, a.before.umf);
    EXPECT_EQ(
        Adjustment::replaceMissText(Oxide::TiO2, a.residual.at(Oxide::TiO2), a, "en_US", OrzaTest::reformulateOxides())
            .substr(std::string("TiO\u2082 ends 0.000 below the original").size()),
        ". No material in the new recipe supplies it.");
}

TEST(ReplaceMaterial, aNewMaterialWithoutFluxSolvesWithoutTheUnityRow) {
    const Recipe r = sparRecipe();
    const Adjustment a = replace(r, "soda-spar", "calcined-clay");
    EXPECT_EQ(a.unsupplied, (std::vector<Oxide>{Oxide::Na2O}));
    EXPECT_TRUE(a.standIn.empty());
    // The other oxides keep their moles per mole of the old flux, so CaO becomes the whole flux.
    const double cao = a.before.umf.at(Oxide::CaO);
    EXPECT_NEAR(a.after.umf.at(Oxide::CaO), 1, 1e-12);
    EXPECT_NEAR(a.after.umf.at(Oxide::Al2O3), a.before.umf.at(Oxide::Al2O3) / cao, 1e-6);
    EXPECT_NEAR(a.after.umf.at(Oxide::SiO2), a.before.umf.at(Oxide::SiO2) / cao, 1e-6);
}

// A replacement that supplies none of the recipe's oxides gets every amount 0 from a valid solve: that is
// an answer with its misses, not a target that cannot be reached.
TEST(ReplaceMaterial, aReplacementSupplyingNothingAnswersWithItsMisses) {
    const Recipe r = recipe("Lime", {line("lime", 40), line("boria", 2, true)});
    const Adjustment a = replace(r, "lime", "titania");
    ASSERT_EQ(a.recipe.lines.size(), 2u);
    EXPECT_EQ(a.recipe.lines[0].id, r.lines[0].id);
    EXPECT_EQ(a.recipe.lines[0].materialID, "titania");
    EXPECT_EQ(a.recipe.lines[0].amount, 0);
    EXPECT_EQ(a.recipe.lines[1], r.lines[1]);
    EXPECT_EQ(a.unsupplied, (std::vector<Oxide>{Oxide::CaO}));
    EXPECT_TRUE(a.after.umf.empty());
    EXPECT_EQ(a.residual, (std::map<Oxide, double>{{Oxide::CaO, -1.0}}));
    EXPECT_EQ(Adjustment::replaceMissText(Oxide::CaO, -1, a, "en_US", OrzaTest::reformulateOxides()),
              "CaO ends 1.000 below the original. No material in the new recipe supplies it.");
}

TEST(ReplaceMaterial, errorsInTheirOrder) {
    const Recipe r = sparRecipe();
    EXPECT_EQ(OrzaTest::thrown<GlazeError>([&] {
                  replaceMaterial(r, "nowhere", "nothing", OrzaTest::sharedLibrary(), OrzaTest::missingOxides());
              }),
              GlazeError::resourceMissing("oxides.json"));
    EXPECT_EQ(replaceError(r, "nowhere", "nothing"), ReformulateError::notInRecipe("nowhere"));
    EXPECT_EQ(replaceError(r, "titania", "silica"), ReformulateError::notInRecipe("titania")); // addition only
    EXPECT_EQ(replaceError(r, "kaolin", "nothing"), ReformulateError::unknownMaterial("nothing"));
    EXPECT_THROW(replace(recipe("R", {line("kaolin", 5), line("lime", std::nan(""))}), "kaolin", "nothing"),
                 ReformulateError);
    EXPECT_THROW(replace(recipe("R", {line("kaolin", 5), line("lime", std::nan(""))}), "kaolin", "silica"), GlazeError);
    const Recipe noFlux = recipe("N", {line("silica", 60), line("alumina", 10)});
    EXPECT_EQ(replaceError(noFlux, "silica", "sand"), ReformulateError::noFlux());
    // Twice the sand for 900,000 of silica is more than a line may hold.
    const Recipe big = recipe("B", {line("lime", 100'000), line("silica", 900'000)});
    EXPECT_THROW(replace(big, "silica", "sand"), CalculationError);
    EXPECT_NEAR(
        replace(recipe("S", {line("lime", 100), line("silica", 400'000)}), "silica", "sand").recipe.lines[1].amount,
        800'000, 1e-3);
}
