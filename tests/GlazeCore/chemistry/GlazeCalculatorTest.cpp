#include "GlazeCore/chemistry/GlazeCalculator.h"
#include "GlazeCore/book/GlazeError.h"
#include "GlazeCore/book/SampleBook.h"
#include "GlazeCore/chemistry/CalculationError.h"
#include "GlazeCore/chemistry/Stull.h"
#include "GlazeCore/library/BundledLibrary.h"
#include "support/BookBuilders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using namespace GlazeCore;
using OrzaTest::line;
using OrzaTest::recipe;

using OrzaTest::inf;
using OrzaTest::notANumber;

namespace {

// Molar masses chosen so one unit of amount per molar mass is one mole: the expected values are exact fractions.
OxideTable::Map smallTable() {
    return {
        {Oxide::Na2O, {Oxide::Na2O, 62, OxideRole::flux, 395}},
        {Oxide::K2O, {Oxide::K2O, 94, OxideRole::flux, 420}},
        {Oxide::CaO, {Oxide::CaO, 56, OxideRole::flux, 130}},
        {Oxide::Al2O3, {Oxide::Al2O3, 102, OxideRole::stabilizer, -30}},
        {Oxide::SiO2, {Oxide::SiO2, 60, OxideRole::glassFormer, 38}},
        {Oxide::Cr2O3, {Oxide::Cr2O3, 152, OxideRole::colorant, std::nullopt}},
        {Oxide::MnO, {Oxide::MnO, 0, OxideRole::colorant, 105}},
    };
}

Material pure(std::string id, Oxide oxide) {
    return {id, "Pure " + id, {{oxide, 100}}, 0, ""};
}

BundledLibrary smallLibrary() {
    return BundledLibrary({
        pure("soda", Oxide::Na2O),
        pure("potash", Oxide::K2O),
        pure("lime", Oxide::CaO),
        pure("alumina", Oxide::Al2O3),
        pure("silica", Oxide::SiO2),
        pure("chrome", Oxide::Cr2O3),
        pure("manganese", Oxide::MnO),
        // A 0 and a negative analysis entry for oxides the table lacks: neither may be looked up.
        {"odd-silica", "Odd silica", {{Oxide::SiO2, 100}, {Oxide::ZnO, 0}, {Oxide::BaO, -3}}, 0, ""},
        {"ghost", "Ghost", {{Oxide::ZrO2, 50}}, 0, ""},
    });
}

Chemistry calc(const Recipe& r, bool includeAdditions = false) {
    return GlazeCalculator::compute(r, smallLibrary(), includeAdditions, smallTable());
}

} // namespace

TEST(GlazeCalculatorResult, umfPercentagesAndRatiosOfAKnownGlaze) {
    // 1 mol Na2O, 2 mol CaO, 1 mol Al2O3, 9 mol SiO2: flux sum 3, total 13, mass 62 + 112 + 102 + 540 = 816.
    const Chemistry c =
        calc(recipe("R", {line("soda", 62), line("lime", 112), line("alumina", 102), line("silica", 540)}));
    EXPECT_TRUE(c.warnings.empty());
    ASSERT_EQ(c.umf.size(), 4u);
    EXPECT_NEAR(c.umf.at(Oxide::Na2O), 1.0 / 3, 1e-15);
    EXPECT_NEAR(c.umf.at(Oxide::CaO), 2.0 / 3, 1e-15);
    EXPECT_NEAR(c.umf.at(Oxide::Na2O) + c.umf.at(Oxide::CaO), 1.0, 1e-15);
    EXPECT_NEAR(c.umf.at(Oxide::SiO2), 3.0, 1e-14);
    EXPECT_EQ(c.r2oRatio, c.umf.at(Oxide::Na2O));
    EXPECT_NEAR(c.siAlRatio, 9.0, 1e-14);
    EXPECT_NEAR(c.molePercent.at(Oxide::SiO2), 900.0 / 13, 1e-12);
    EXPECT_NEAR(c.weightPercent.at(Oxide::Al2O3), 10200.0 / 816, 1e-12);
    // Na2O 395, CaO 130, Al2O3 -30; SiO2 at 900/13 mol % (above 67) takes 105 - SiO2.
    EXPECT_NEAR(*c.expansion, (395 * 1 + 130 * 2 - 30 * 1) / 13.0 + (105 - 900.0 / 13) * 9 / 13, 1e-12);
    EXPECT_FALSE(c.expansionIsPartial());
    EXPECT_FALSE(c.umf.contains(Oxide::K2O)); // absent, not stored as 0
}

TEST(GlazeCalculatorResult, nothingToCalculate) {
    for (const Recipe& r : {recipe("Empty"), recipe("Zeros", {line("silica", 0), line("soda", -0.0)})}) {
        const Chemistry c = calc(r);
        EXPECT_EQ(c.warnings, std::vector<std::string>{"The recipe has no materials to calculate."});
        EXPECT_TRUE(c.umf.empty() && c.molePercent.empty() && c.weightPercent.empty());
        EXPECT_EQ(c.siAlRatio, 0);
        EXPECT_EQ(c.r2oRatio, 0);
        EXPECT_FALSE(c.expansion);
        EXPECT_FALSE(c.expansionIsPartial());
    }
}

TEST(GlazeCalculatorResult, noFluxAndNoAlumina) {
    const Chemistry silica = calc(recipe("Silica", {line("silica", 30)}));
    EXPECT_EQ(silica.warnings, (std::vector<std::string>{
                                   "No flux oxides: the UMF cannot be normalized (flux sum is 0).",
                                   "No Al2O3: the SiO2:Al2O3 ratio is not defined (shown as 0).",
                               }));
    EXPECT_TRUE(silica.umf.empty());
    EXPECT_EQ(silica.molePercent.at(Oxide::SiO2), 100);
    EXPECT_EQ(silica.weightPercent.at(Oxide::SiO2), 100);
    EXPECT_EQ(silica.expansion, 5); // 105 - 100 mol %

    // The ratio comes from moles, so it is there without flux.
    const Chemistry clay = calc(recipe("Clay", {line("silica", 120), line("alumina", 102)}));
    EXPECT_EQ(clay.warnings, std::vector<std::string>{"No flux oxides: the UMF cannot be normalized (flux sum is 0)."});
    EXPECT_NEAR(clay.siAlRatio, 2.0, 1e-15);
    EXPECT_EQ(clay.r2oRatio, 0);
}

TEST(GlazeCalculatorResult, lineWarningsComeFirstInLineOrderThenTheRest) {
    const Chemistry c = calc(recipe("R", {
                                             line("nowhere", 10),
                                             line("soda", -5),
                                             line("lime", 56),
                                             line("", 10),
                                             line("nowhere", -2.5),
                                             line("chrome", 1.52),
                                             line("soda", -1.23456),
                                         }));
    EXPECT_EQ(c.warnings, (std::vector<std::string>{
                              "Unknown material \"nowhere\" (not in the library or the book): line ignored.",
                              "Negative amount for Pure soda (-5): line ignored.",
                              "Unknown material \"\" (not in the library or the book): line ignored.",
                              "Negative amount for nowhere (-2.5): line ignored.",
                              "Negative amount for Pure soda (-1.235): line ignored.",
                              "No Al2O3: the SiO2:Al2O3 ratio is not defined (shown as 0).",
                              "Expansion estimate is partial: it does not count Cr2O3 (no Appen coefficient).",
                          }));
    EXPECT_EQ(c.expansionNotCounted, std::vector<Oxide>{Oxide::Cr2O3});
    EXPECT_TRUE(c.expansionIsPartial());
    EXPECT_FALSE(c.umf.contains(Oxide::Na2O));
    EXPECT_NEAR(c.umf.at(Oxide::Cr2O3), 0.01, 1e-15);
}

TEST(GlazeCalculatorResult, additionsCountOnlyWhenAsked) {
    const Recipe r = recipe("R", {line("lime", 56), line("silica", 60), line("potash", 94, true)});
    const Chemistry base = calc(r, false);
    const Chemistry all = calc(r, true);
    EXPECT_FALSE(base.umf.contains(Oxide::K2O));
    EXPECT_EQ(base.umf.at(Oxide::CaO), 1);
    EXPECT_NEAR(all.umf.at(Oxide::K2O), 0.5, 1e-15);
    EXPECT_EQ(all.r2oRatio, all.umf.at(Oxide::K2O));

    // An uncounted addition's amount is never examined.
    const Recipe bad = recipe("Bad", {line("lime", 56), line("potash", inf, true)});
    EXPECT_NO_THROW(calc(bad, false));
    EXPECT_EQ(calc(recipe("Neg", {line("lime", 56), line("potash", -1, true)}), false).warnings,
              std::vector<std::string>{"No Al2O3: the SiO2:Al2O3 ratio is not defined (shown as 0)."});
    try {
        calc(bad, true);
        FAIL() << "expected a throw";
    } catch (const GlazeError& e) {
        EXPECT_EQ(e, GlazeError::nonFiniteAmount("potash"));
    }
}

TEST(GlazeCalculatorErrors, nonFiniteAmountsAndMissingOxideData) {
    for (double amount : {notANumber, inf, -inf}) {
        try {
            calc(recipe("R", {line("lime", 56), line("nowhere", amount)}));
            FAIL() << "expected a throw";
        } catch (const GlazeError& e) {
            EXPECT_EQ(e, GlazeError::nonFiniteAmount("nowhere"));
        }
    }
    // A table row with molar mass 0, and an oxide the table lacks.
    for (const char* id : {"manganese", "ghost"}) {
        try {
            calc(recipe("R", {line("lime", 56), line(id, 1)}));
            FAIL() << "expected a throw";
        } catch (const GlazeError& e) {
            EXPECT_EQ(e, GlazeError::missingOxideData(std::string(id) == "ghost" ? Oxide::ZrO2 : Oxide::MnO));
        }
    }
    // Analysis entries at 0 or below need no table row.
    EXPECT_EQ(calc(recipe("R", {line("odd-silica", 60)})).molePercent, (OxideValues{{Oxide::SiO2, 100}}));
    // An empty table cannot give any molar mass.
    EXPECT_THROW(GlazeCalculator::compute(recipe("R", {line("silica", 1)}), smallLibrary(), false, OxideTable::Map{}),
                 GlazeError);
}

TEST(GlazeCalculatorErrors, overflowIsOutOfRange) {
    const auto throwsOutOfRange = [](const Recipe& r) {
        try {
            calc(r);
        } catch (const CalculationError& e) {
            return e == CalculationError::resultOutOfRange();
        }
        return false;
    };
    EXPECT_TRUE(throwsOutOfRange(recipe("Huge", {line("silica", 1e308), line("alumina", 1e308)})));
    // A trace of flux makes the UMF overflow.
    EXPECT_TRUE(throwsOutOfRange(recipe("Tiny flux", {line("lime", 1e-300), line("silica", 1e10)})));
    EXPECT_EQ(CalculationError::resultOutOfRange().message(),
              "A result is too large or too small to calculate. Check for very large amounts or a very small base.");
}

TEST(GlazeCalculatorErrors, failedOxideTableLoadComesBeforeTheRecipe) {
    const OxideTable::OnceLoad failing([]() -> OxideTable::Map { throw GlazeError::resourceMissing("oxides.json"); });
    // Even a line that would throw on its own is never reached.
    const Recipe r = recipe("R", {line("lime", notANumber)});
    try {
        GlazeCalculator::compute(r, smallLibrary(), false, failing);
        FAIL() << "expected a throw";
    } catch (const GlazeError& e) {
        EXPECT_EQ(e, GlazeError::resourceMissing("oxides.json"));
    }
}

// ---------------------------------------------------------------------------------------------------------------
// The shipped data. Expected values were worked out beforehand outside this code, from materials.json and
// oxides.json, with the sample book's recipes as its table lists them.

namespace {

Recipe sample(std::string_view name) {
    for (Recipe& r : SampleBook::makeBook().recipes)
        if (r.name == name) return r;
    throw std::runtime_error("no sample recipe " + std::string(name));
}

Recipe ashfieldDolomiteSatin() {
    return sample("Ashfield Dolomite Satin");
}
Recipe quarryStone() {
    return sample("Quarry Stone");
}
Recipe tidewaterFeldsparGloss() {
    return sample("Tidewater Feldspar Gloss");
}

void expectClose(const OxideValues& actual, const OxideValues& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (const auto& [oxide, value] : expected) {
        ASSERT_TRUE(actual.contains(oxide)) << OxideNames::rawValue(oxide);
        EXPECT_NEAR(actual.at(oxide), value, value * 1e-9) << OxideNames::rawValue(oxide);
    }
}

} // namespace

TEST(GlazeCalculatorShippedData, sampleRecipesMatchHandCheckedValues) {
    const BundledLibrary library = BundledLibrary::load();

    const Chemistry tidewater = GlazeCalculator::chemistry(tidewaterFeldsparGloss(), library, false);
    expectClose(tidewater.umf, {{Oxide::Na2O, 0.154806455979},
                                {Oxide::K2O, 0.101718726831},
                                {Oxide::MgO, 0.159700306188},
                                {Oxide::CaO, 0.583774511002},
                                {Oxide::B2O3, 0.218673626669},
                                {Oxide::Al2O3, 0.347726108203},
                                {Oxide::SiO2, 3.44209260125},
                                {Oxide::TiO2, 0.00259168409137},
                                {Oxide::Fe2O3, 0.00451576214425},
                                {Oxide::P2O5, 0.000658553285566}});
    EXPECT_NEAR(tidewater.siAlRatio, 9.89886154661, 1e-9);
    EXPECT_NEAR(tidewater.r2oRatio, 0.25652518281, 1e-9);
    EXPECT_NEAR(*tidewater.expansion, 60.7017049863, 1e-8);
    EXPECT_TRUE(tidewater.warnings.empty());

    const Chemistry ashfield = GlazeCalculator::chemistry(ashfieldDolomiteSatin(), library, false);
    expectClose(ashfield.umf, {{Oxide::Na2O, 0.113852129034},
                               {Oxide::K2O, 0.0909817128996},
                               {Oxide::MgO, 0.243253321997},
                               {Oxide::CaO, 0.551912836069},
                               {Oxide::B2O3, 0.146082699153},
                               {Oxide::Al2O3, 0.345540487974},
                               {Oxide::SiO2, 2.64495980416},
                               {Oxide::TiO2, 0.0026807973368},
                               {Oxide::Fe2O3, 0.00372433224064},
                               {Oxide::P2O5, 0.000754182591969}});
    expectClose(ashfield.weightPercent, {{Oxide::Na2O, 2.6972652254},
                                         {Oxide::K2O, 3.27581895474},
                                         {Oxide::MgO, 3.74752779104},
                                         {Oxide::CaO, 11.8302302848},
                                         {Oxide::B2O3, 3.88733547023},
                                         {Oxide::Al2O3, 13.4670031144},
                                         {Oxide::SiO2, 60.7447316375},
                                         {Oxide::TiO2, 0.0818386414786},
                                         {Oxide::Fe2O3, 0.227329559663},
                                         {Oxide::P2O5, 0.0409193207393}});
    EXPECT_NEAR(ashfield.molePercent.at(Oxide::MgO), 5.8703776486, 1e-9);
    EXPECT_NEAR(*ashfield.expansion, 62.7734120225, 1e-8);

    // The titanium addition counts only on request; it raises TiO2 and leaves the rest of the UMF alone.
    const Chemistry quarry = GlazeCalculator::chemistry(quarryStone(), library, false);
    const Chemistry quarryAll = GlazeCalculator::chemistry(quarryStone(), library, true);
    EXPECT_NEAR(quarry.umf.at(Oxide::TiO2), 0.00206362143845, 1e-12);
    EXPECT_NEAR(quarryAll.umf.at(Oxide::TiO2), 0.144382341331, 1e-10);
    EXPECT_NEAR(quarryAll.umf.at(Oxide::SiO2), 2.60978277892, 1e-9);
    EXPECT_NEAR(quarryAll.molePercent.at(Oxide::TiO2), 3.38102523294, 1e-9);
    EXPECT_NEAR(*quarry.expansion, 61.301007462, 1e-8);
    EXPECT_NEAR(*quarryAll.expansion, 59.7037852994, 1e-8);
}

TEST(GlazeCalculatorShippedData, satinAndStoneSamplesPlotInTheGlossArea) {
    const BundledLibrary library = BundledLibrary::load();
    for (const Recipe& r : {ashfieldDolomiteSatin(), quarryStone()}) {
        for (bool includeAdditions : {false, true}) {
            const Chemistry c = GlazeCalculator::chemistry(r, library, includeAdditions);
            EXPECT_EQ(Stull::region(c.umf.at(Oxide::SiO2), c.umf.at(Oxide::Al2O3)), StullRegion::gloss) << r.name;
        }
    }
}
