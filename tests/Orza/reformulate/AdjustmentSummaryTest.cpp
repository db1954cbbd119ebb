#include "Orza/reformulate/AdjustmentSummary.h"

#include "Orza/chemistry/StullChartDescriptor.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/widgets/ElidedLabel.h"
#include "Orza/widgets/IconLabel.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QLocale>
#include <QTest>

using namespace Orza;
using GlazeCore::Oxide;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

GlazeCore::Recipe glaze(std::vector<GlazeCore::RecipeLine> lines) {
    return {GlazeCore::Uuid::random(), "G", "6", std::move(lines), ""};
}

GlazeCore::Chemistry chemistry(GlazeCore::OxideValues umf) {
    GlazeCore::Chemistry result;
    result.umf = std::move(umf);
    const double alumina = GlazeCore::oxideValue(result.umf, Oxide::Al2O3);
    result.siAlRatio = alumina > 0 ? GlazeCore::oxideValue(result.umf, Oxide::SiO2) / alumina : 0;
    return result;
}

GlazeCore::Adjustment adjustment(GlazeCore::Recipe recipe, GlazeCore::OxideValues before, GlazeCore::OxideValues after,
                                 std::map<Oxide, double> target, std::map<Oxide, double> residual = {}) {
    return {std::move(recipe),
            chemistry(std::move(before)),
            chemistry(std::move(after)),
            std::move(target),
            std::move(residual),
            {},
            {}};
}

QStringList rowTexts(const AdjustmentSummary::MaterialCells& cells) {
    return {cells.name->text(), cells.now->text(), cells.next->text(), cells.change->text()};
}

QString missText(Oxide oxide, double miss, const GlazeCore::Adjustment&) {
    return QStringLiteral("%1 missed by %2").arg(GlazeCore::OxideNames::rawValue(oxide).data()).arg(miss);
}

} // namespace

class AdjustmentSummaryTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private:
    void setUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void tearDown() override { QLocale::setDefault(QLocale::system()); }

private slots:
    // Rows keep the order of first appearance and sum a material's base lines; additions, lines without a
    // material and negative amounts add nothing.
    void materialRowsSumTheBase() {
        const GlazeCore::Recipe now = glaze({line("whiting", 10), line("silica", 30), line("whiting", 5),
                                             line("rutile", 4, true), line("", 7), line("kaolin", -3)});
        const GlazeCore::Recipe next = glaze({line("whiting", 12), line("wollastonite", 6), line("kaolin", 0)});
        const auto rows = AdjustmentSummary::materialRows(now, next);
        QCOMPARE(rows.size(), std::size_t(4));
        const std::vector<std::string> ids{rows[0].id, rows[1].id, rows[2].id, rows[3].id};
        QCOMPARE(ids, (std::vector<std::string>{"whiting", "silica", "kaolin", "wollastonite"}));
        QCOMPARE(rows[0].before, 15.0);
        QCOMPARE(rows[0].after, 12.0);
        QCOMPARE(rows[1].after, 0.0);
        QCOMPARE(rows[2].before, 0.0);
        QCOMPARE(rows[3].before, 0.0);
        QCOMPARE(rows[3].after, 6.0);
    }

    // The grid: signed changes with a true minus, emphasis beyond half a hundredth, the base total without
    // additions, unknown materials named, and a row label that says which value is the current one.
    void materialsGridTexts() {
        const BookLibrary library({});
        const GlazeCore::Recipe now = glaze({line("whiting", 10), line("silica", 30), line("kaolin", 20),
                                             line("whiting", 5), line("mystery", 1), line("rutile", 4, true)});
        const GlazeCore::Recipe next = glaze({line("whiting", 12), line("silica", 30.004), line("kaolin", 20.006),
                                              line("mystery", 1), line("rutile", 4, true)});
        AdjustmentSummary summary;
        summary.setContent(now, adjustment(next, {{Oxide::CaO, 1}}, {{Oxide::CaO, 1}}, {{Oxide::CaO, 1}}), library,
                           QStringLiteral("Target"), missText);
        QCOMPARE(summary.shownMaterialRows(), 4);
        QCOMPARE(rowTexts(summary.materialCells(0)), (QStringList{"Whiting", "15", "12", "\u22123"}));
        QCOMPARE(summary.materialCells(0).next->font().weight(), QFont::DemiBold);
        QCOMPARE(rowTexts(summary.materialCells(1)), (QStringList{"Silica", "30", "30", "0"}));
        QCOMPARE(summary.materialCells(1).next->font().weight(), QFont::Normal);
        QCOMPARE(rowTexts(summary.materialCells(2)), (QStringList{"Kaolin", "20", "20.01", "+0.01"}));
        QCOMPARE(summary.materialCells(2).next->font().weight(), QFont::DemiBold);
        QCOMPARE(summary.materialCells(3).name->text(), QStringLiteral("Unknown material (mystery)"));
        QCOMPARE(summary.materialCells(0).name->accessibleName(), QStringLiteral("Whiting, now 15, new 12"));
        QCOMPARE(rowTexts(summary.totalCells()), (QStringList{"Base total", "66", "63.01", ""}));

        // Fewer rows the next time: the spare rows hide and the total stays under the last one shown.
        summary.setContent(now, adjustment(glaze({line("whiting", 15)}), {}, {}, {}), library, QStringLiteral("Target"),
                           missText);
        QCOMPARE(summary.shownMaterialRows(), 4);
        summary.setContent(glaze({line("whiting", 15)}), adjustment(glaze({line("whiting", 15)}), {}, {}, {}), library,
                           QStringLiteral("Target"), missText);
        QCOMPARE(summary.shownMaterialRows(), 1);
        QVERIFY(summary.materialCells(1).name->isHidden());
        QCOMPARE(summary.totalCells().now->text(), QStringLiteral("15"));
    }

    // A reader hears the rows top to bottom as they stand, the base total after the materials, and never
    // the column titles.
    void aReaderHearsTheRowsInScreenOrder() {
        const BookLibrary library({});
        const GlazeCore::Recipe now = glaze({line("whiting", 10), line("silica", 30)});
        const GlazeCore::Recipe next = glaze({line("whiting", 12), line("silica", 28)});
        AdjustmentSummary summary;
        summary.setContent(now, adjustment(next, {{Oxide::CaO, 1}}, {{Oxide::CaO, 1}}, {{Oxide::CaO, 1}}), library,
                           QStringLiteral("Target"), missText);
        summary.show();
        const QStringList spoken = OrzaTest::spokenTexts(&summary);
        const QStringList rows{QStringLiteral("Whiting, now 10, new 12"), QStringLiteral("Silica, now 30, new 28"),
                               QStringLiteral("Base total, now 40, new 40"),
                               QStringLiteral("C a O, now 1.000, target 1.000, new 1.000")};
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QVERIFY2(spoken.contains(rows[i]), qPrintable(rows[i]));
            if (i > 0) QVERIFY2(spoken.indexOf(rows[i - 1]) < spoken.indexOf(rows[i]), qPrintable(rows[i]));
        }
        for (const QString& title : {QStringLiteral("Material"), QStringLiteral("Now"), QStringLiteral("New"),
                                     QStringLiteral("Change"), QStringLiteral("Oxide (UMF)"), QStringLiteral("Target")})
            QVERIFY2(!spoken.contains(title), qPrintable(title));
    }

    // Every oxide reached: one line with the column title in lower case and no warning marks. Misses: one
    // orange line each, in oxide order, and a marked, bold New value.
    void outcomeAndUnityGrid() {
        const BookLibrary library({});
        const GlazeCore::Recipe recipe = glaze({line("whiting", 20)});
        AdjustmentSummary summary;
        const auto reached = adjustment(recipe, {{Oxide::CaO, 1}, {Oxide::SiO2, 3}, {Oxide::MgO, 0.00004}},
                                        {{Oxide::CaO, 1}, {Oxide::SiO2, 3.5}, {Oxide::MgO, 0.00003}},
                                        {{Oxide::CaO, 1}, {Oxide::SiO2, 3.5}});
        summary.setContent(recipe, reached, library, QStringLiteral("Original"), missText);
        QVERIFY(!summary.reachedLabel()->isHidden());
        QCOMPARE(summary.reachedLabel()->text(), QStringLiteral("Every oxide reaches its original value."));
        QVERIFY(summary.missLabels().empty());
        QCOMPARE(summary.shownOxides(), (std::vector<Oxide>{Oxide::CaO, Oxide::SiO2}));
        QCOMPARE(summary.targetHeader()->text(), QStringLiteral("Original"));
        const auto& silica = summary.unityCells(Oxide::SiO2);
        QCOMPARE(silica.now->text(), QStringLiteral("3.000"));
        QCOMPARE(silica.target->text(), QStringLiteral("3.500"));
        QCOMPARE(silica.next->text(), QStringLiteral("3.500"));
        QVERIFY(silica.mark->isHidden());
        QCOMPARE(silica.oxide->accessibleName(), QStringLiteral("S i O 2, now 3.000, original 3.500, new 3.500"));

        // The same faint MgO gets a row once it missed; misses follow the oxide order, not the map's.
        const auto missed = adjustment(
            recipe, {{Oxide::CaO, 1}, {Oxide::SiO2, 3}, {Oxide::MgO, 0.00004}, {Oxide::Al2O3, 0.3}},
            {{Oxide::CaO, 1}, {Oxide::SiO2, 3.4}, {Oxide::MgO, 0.00003}, {Oxide::Al2O3, 0.3}},
            {{Oxide::CaO, 1}, {Oxide::SiO2, 3.5}, {Oxide::Al2O3, 0.3}}, {{Oxide::SiO2, -0.1}, {Oxide::MgO, 0.00003}});
        summary.setContent(recipe, missed, library, QStringLiteral("Target"), missText);
        QVERIFY(summary.reachedLabel()->isHidden());
        const auto lines = summary.missLabels();
        QCOMPARE(lines.size(), std::size_t(2));
        QCOMPARE(lines[0]->text(), QStringLiteral("MgO missed by 3e-05"));
        QCOMPARE(lines[1]->text(), QStringLiteral("SiO2 missed by -0.1"));
        QCOMPARE(lines[0]->tone(), IconLabel::Tone::warning);
        QCOMPARE(summary.shownOxides(), (std::vector<Oxide>{Oxide::MgO, Oxide::CaO, Oxide::Al2O3, Oxide::SiO2}));
        QVERIFY(!summary.unityCells(Oxide::MgO).mark->isHidden());
        QCOMPARE(summary.unityCells(Oxide::MgO).next->font().weight(), QFont::Bold);
        QVERIFY(summary.unityCells(Oxide::CaO).mark->isHidden());
        QVERIFY(summary.unityCells(Oxide::SiO2).oxide->accessibleName().endsWith(QStringLiteral(", missed")));
        // The grid closes with the ratio, its target cell empty.
        QCOMPARE(summary.ratioCells().now->text(), QStringLiteral("10.00"));
        QCOMPARE(summary.ratioCells().next->text(), QStringLiteral("11.33"));
        QVERIFY(summary.ratioCells().target->text().isEmpty());
    }

    // The chart compares the recipe now with the new one: a moved glaze is said to move and an unmoved one
    // to stay, and the spoken change is the real one.
    void chartComparesNowWithNew() {
        const BookLibrary library({});
        const GlazeCore::Recipe recipe = glaze({line("whiting", 20)});
        AdjustmentSummary summary;
        summary.setContent(recipe,
                           adjustment(recipe, {{Oxide::CaO, 1}, {Oxide::SiO2, 3}, {Oxide::Al2O3, 0.3}},
                                      {{Oxide::CaO, 1}, {Oxide::SiO2, 3.6}, {Oxide::Al2O3, 0.4}}, {}),
                           library, QStringLiteral("Target"), missText);
        const StullChartInput& moved = summary.chart()->input();
        QVERIFY(moved.isComparison);
        QCOMPARE(moved.trail, (std::vector<StullPoint>{{3, 0.3}}));
        QCOMPARE(moved.current, std::optional(StullPoint{3.6, 0.4}));
        QVERIFY(summary.chart()->footnoteText().endsWith(
            QStringLiteral(" The dashed line runs from the current recipe to the new one.")));
        QVERIFY(stullAccessibilityValue(moved).endsWith(
            QStringLiteral("Compared with the current recipe, silica changes by 0.60 and alumina by 0.10.")));
        QVERIFY(!moved.hasBoron);

        summary.setContent(recipe,
                           adjustment(recipe, {{Oxide::CaO, 1}, {Oxide::SiO2, 3}, {Oxide::Al2O3, 0.3}},
                                      {{Oxide::CaO, 1}, {Oxide::SiO2, 3.0001}, {Oxide::Al2O3, 0.3}, {Oxide::B2O3, 0.1}},
                                      {}),
                           library, QStringLiteral("Target"), missText);
        QVERIFY(summary.chart()->footnoteText().endsWith(
            QStringLiteral(" On this chart the new recipe is at about the same place as the current one.")));
        QVERIFY(summary.chart()->input().hasBoron);

        // Boron counts from the new recipe only; a recipe now without silica or alumina has no place.
        const auto fromNothing = AdjustmentSummary::chartInput(
            adjustment(recipe, {{Oxide::CaO, 1}, {Oxide::B2O3, 0.3}}, {{Oxide::CaO, 1}, {Oxide::SiO2, 2}}, {}));
        QVERIFY(fromNothing.trail.empty());
        QCOMPARE(fromNothing.current, std::optional(StullPoint{2, 0}));
        QVERIFY(!fromNothing.hasBoron);
    }
};

QTEST_MAIN(AdjustmentSummaryTest)
#include "AdjustmentSummaryTest.moc"
