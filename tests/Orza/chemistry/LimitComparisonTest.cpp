#include "Orza/chemistry/LimitComparison.h"
#include "GlazeCore/chemistry/Limits.h"

#include <QTest>

using namespace Orza;
using GlazeCore::Chemistry;
using GlazeCore::LimitRange;
using GlazeCore::LimitSet;
using GlazeCore::Oxide;

namespace {

/// A chemistry with only a unity formula; the rules read nothing else unless it is empty.
Chemistry withUmf(GlazeCore::OxideValues umf) {
    Chemistry chemistry;
    chemistry.umf = std::move(umf);
    return chemistry;
}

/// Two ranges shaped like the built-in sets: KNaO first, then single oxides.
LimitSet testSet() {
    LimitSet set;
    set.id = "test";
    set.name = "Test";
    set.ranges = {{Oxide::K2O, 0.1, 0.3, std::vector<Oxide>{Oxide::Na2O}},
                  {Oxide::CaO, 0.2, 0.6, std::nullopt},
                  {Oxide::MgO, 0, 0.3, std::nullopt},
                  {Oxide::SiO2, 2.5, 4.0, std::nullopt}};
    return set;
}

/// The default grouping, so that these cases do not depend on the oxide table's file.
OxideGroup byDefault(Oxide oxide) {
    return OxideGroups::defaultOf(oxide);
}

/// A glaze whose every compared oxide is within the test set.
GlazeCore::OxideValues balanced() {
    return {{Oxide::K2O, 0.1}, {Oxide::Na2O, 0.1}, {Oxide::CaO, 0.5}, {Oxide::MgO, 0.2}, {Oxide::SiO2, 3.0}};
}

} // namespace

class LimitComparisonTest : public QObject {
    Q_OBJECT
private slots:
    void anEmptyOrUnknownIdFallsBackToTheFirstSet() {
        const auto& sets = GlazeCore::Limits::referenceSets();
        QCOMPARE(chosenLimitSet(sets, "")->id, std::string("hr-cone6"));
        QCOMPARE(chosenLimitSet(sets, "no-such-set")->id, std::string("hr-cone6"));
        QCOMPARE(chosenLimitSet(sets, "cushing-c9-10-matt")->id, std::string("cushing-c9-10-matt"));
        // The comparison is exact: no trimming or case folding.
        QCOMPARE(chosenLimitSet(sets, "Cushing-c9-10-matt ")->id, std::string("hr-cone6"));
        QVERIFY(chosenLimitSet({}, "hr-cone6") == nullptr);
    }

    void theToleranceWidensOnlyTheWithinTest() {
        const LimitSet set = testSet();
        const auto statusAt = [&](double cao) {
            GlazeCore::OxideValues umf = balanced();
            umf[Oxide::CaO] = cao;
            const Chemistry chemistry = withUmf(umf);
            return LimitComparison(chemistry, &set, byDefault).rangeStatus(Oxide::CaO);
        };
        QCOMPARE(statusAt(0.6 + 0.5e-9), RangeStatus::inRange);
        QCOMPARE(statusAt(0.6 + 2e-9), RangeStatus::above);
        QCOMPARE(statusAt(0.2 - 0.5e-9), RangeStatus::inRange);
        QCOMPARE(statusAt(0.2 - 2e-9), RangeStatus::below);
        QCOMPARE(statusAt(0.4), RangeStatus::inRange);
    }

    void anOxideMissingFromTheGlazeIsListedOnlyWhenItsRangeAsksForIt() {
        // Against the cone 6 set: CaO's range starts at 0.2, MgO's, ZnO's and SrO's at 0.
        const LimitSet& cone6 = GlazeCore::Limits::referenceSets().front();
        const Chemistry chemistry = withUmf(
            {{Oxide::K2O, 0.2}, {Oxide::Al2O3, 0.3}, {Oxide::B2O3, 0.2}, {Oxide::SiO2, 3.0}, {Oxide::BaO, 0.8}});
        const LimitComparison comparison(chemistry, &cone6, byDefault);
        QCOMPARE(comparison.rangeStatus(Oxide::CaO), RangeStatus::below);
        QVERIFY(comparison.isListed(Oxide::CaO));
        QCOMPARE(comparison.rangeStatus(Oxide::MgO), RangeStatus::inRange);
        QVERIFY(!comparison.isListed(Oxide::MgO));
        // Na2O shares the KNaO range that K2O alone meets.
        QCOMPARE(comparison.notListedOxides(), (std::vector<Oxide>{Oxide::Na2O, Oxide::MgO, Oxide::SrO, Oxide::ZnO}));
        // BaO has no range in this set: listed for its amount, with no comparison.
        QCOMPARE(comparison.rangeStatus(Oxide::BaO), RangeStatus::none);
        QVERIFY(comparison.isListed(Oxide::BaO));
        QCOMPARE(comparison.outsideRangeCount(), 1);
        QCOMPARE(comparison.groupRows(OxideGroup::flux), (std::vector<Oxide>{Oxide::K2O, Oxide::CaO, Oxide::BaO}));
    }

    void aboutZeroGetsARowOnlyWhenOutsideItsRange() {
        const LimitSet set = testSet();
        // MgO at 0.00005 is about 0 and within 0–0.3: no row, named as not listed.
        GlazeCore::OxideValues umf = balanced();
        umf[Oxide::MgO] = 0.00005;
        Chemistry chemistry = withUmf(umf);
        QVERIFY(!LimitComparison(chemistry, &set, byDefault).isListed(Oxide::MgO));
        // The same amount of an oxide with no range is simply left out, and named nowhere.
        umf[Oxide::ZnO] = 0.00005;
        chemistry = withUmf(umf);
        QVERIFY(!LimitComparison(chemistry, &set, byDefault).isListed(Oxide::ZnO));
        QCOMPARE(LimitComparison(chemistry, &set, byDefault).notListedOxides(), std::vector<Oxide>{Oxide::MgO});
        // 0.00006 always gets a row.
        umf[Oxide::ZnO] = 0.00006;
        chemistry = withUmf(umf);
        QVERIFY(LimitComparison(chemistry, &set, byDefault).isListed(Oxide::ZnO));
        // CaO at 0.00005 is below its range: it keeps its row.
        umf[Oxide::CaO] = 0.00005;
        chemistry = withUmf(umf);
        QVERIFY(LimitComparison(chemistry, &set, byDefault).isListed(Oxide::CaO));
    }

    void aMissedCombinedRangeMarksAndCountsBothOxides() {
        const LimitSet set = testSet();
        GlazeCore::OxideValues umf = balanced();
        umf[Oxide::K2O] = 0.15;
        umf[Oxide::Na2O] = 0.2; // 0.35 together, above 0.3
        const Chemistry chemistry = withUmf(umf);
        const LimitComparison comparison(chemistry, &set, byDefault);
        QCOMPARE(comparison.rangeStatus(Oxide::K2O), RangeStatus::above);
        QCOMPARE(comparison.rangeStatus(Oxide::Na2O), RangeStatus::above);
        QCOMPARE(comparison.outsideRangeCount(), 2);
        QVERIFY(comparison.rangeForOxide(Oxide::Na2O) == &set.ranges.front());
    }

    void aCombinedRangeShowsItsNumbersOnItsFirstListedOxide() {
        const LimitSet set = testSet();
        const LimitRange* knao = &set.ranges.front();
        Chemistry chemistry = withUmf(balanced());
        {
            const LimitComparison comparison(chemistry, &set, byDefault);
            // Oxide order lists Na2O before K2O.
            QVERIFY(!comparison.isSharedRangeRow(Oxide::Na2O, knao));
            QVERIFY(comparison.isSharedRangeRow(Oxide::K2O, knao));
            QVERIFY(!comparison.isSharedRangeRow(Oxide::CaO, comparison.rangeForOxide(Oxide::CaO)));
        }
        chemistry.umf.erase(Oxide::Na2O); // 0.1 of K2O alone is still within 0.1–0.3
        const LimitComparison alone(chemistry, &set, byDefault);
        QVERIFY(!alone.isListed(Oxide::Na2O));
        QVERIFY(!alone.isSharedRangeRow(Oxide::K2O, knao));
    }

    void withoutAUmfRowsFollowMolePercentAndNothingIsCompared() {
        const LimitSet set = testSet();
        Chemistry chemistry;
        chemistry.molePercent = {{Oxide::SiO2, 90}, {Oxide::Al2O3, 9.989}, {Oxide::TiO2, 0.006}, {Oxide::ZrO2, 0.005}};
        const LimitComparison comparison(chemistry, &set, byDefault);
        QCOMPARE(comparison.groupRows(OxideGroup::glassFormer), (std::vector<Oxide>{Oxide::SiO2, Oxide::TiO2}));
        QCOMPARE(comparison.groupRows(OxideGroup::stabilizer), std::vector<Oxide>{Oxide::Al2O3});
        QVERIFY(comparison.groupRows(OxideGroup::flux).empty());
        for (const Oxide oxide : GlazeCore::OxideNames::allCases())
            QCOMPARE(comparison.rangeStatus(oxide), RangeStatus::none);
        QVERIFY(comparison.notListedOxides().empty());
        QCOMPARE(comparison.outsideRangeCount(), 0);
        // Nothing to calculate at all: no rows in any group.
        const Chemistry nothing;
        const LimitComparison empty(nothing, &set, byDefault);
        for (const OxideGroup group : OxideGroups::allCases())
            QVERIFY(empty.groupRows(group).empty());
    }

    void withoutASetNothingIsCompared() {
        const Chemistry chemistry = withUmf(balanced());
        const LimitComparison comparison(chemistry, nullptr, byDefault);
        QCOMPARE(comparison.rangeStatus(Oxide::CaO), RangeStatus::none);
        QVERIFY(comparison.rangeForOxide(Oxide::CaO) == nullptr);
        QVERIFY(comparison.notListedOxides().empty());
        QCOMPARE(comparison.outsideRangeCount(), 0);
        QCOMPARE(comparison.groupRows(OxideGroup::flux).size(), std::size_t(4));
    }

    void groupsComeFromTheOxideTableWithAFixedDefault() {
        // The bundled table agrees with the default wherever it has a row.
        for (const Oxide oxide : GlazeCore::OxideNames::allCases())
            QCOMPARE(OxideGroups::of(oxide), OxideGroups::defaultOf(oxide));
        // A table that cannot be read leaves every oxide to the default; a row overrides it.
        const GlazeCore::OxideTable::OnceLoad broken(
            []() -> GlazeCore::OxideTable::Map { throw std::runtime_error("no"); });
        QCOMPARE(OxideGroups::of(Oxide::ZnO, broken), OxideGroup::flux);
        const GlazeCore::OxideTable::OnceLoad odd([] {
            return GlazeCore::OxideTable::Map{{Oxide::ZnO, {Oxide::ZnO, 81.38, GlazeCore::OxideRole::stabilizer, {}}}};
        });
        QCOMPARE(OxideGroups::of(Oxide::ZnO, odd), OxideGroup::stabilizer);
        QCOMPARE(OxideGroups::of(Oxide::P2O5, odd), OxideGroup::glassFormer);
        // The heading texts are the groups' identities, matched exactly.
        QCOMPARE(OxideGroups::fromRaw("Stabilizers (R₂O₃)"), std::optional(OxideGroup::stabilizer));
        QCOMPARE(OxideGroups::fromRaw("stabilizers (R₂O₃)"), std::nullopt);
        QCOMPARE(OxideGroups::fromRaw("Colorants "), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(LimitComparisonTest)
#include "LimitComparisonTest.moc"
