#include "Orza/chemistry/StullChartDescriptor.h"
#include "Orza/chemistry/StullPlot.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QTest>

using namespace Orza;

namespace {

StullChartInput placed(StullPoint current, std::vector<StullPoint> trail = {}) {
    StullChartInput input;
    input.current = current;
    input.trail = std::move(trail);
    return input;
}

QStringList labelsOf(const ChartDescription& description) {
    QStringList labels;
    for (const ChartDataPoint& point : description.series.front().points)
        labels << point.label;
    return labels;
}

} // namespace

class StullChartDescriptorTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void theValueSaysWhereTheGlazeIsAndHowItMoved() {
        const QLocale english = QLocale::c();
        QCOMPARE(stullAccessibilityValue(StullChartInput{}, english), QStringLiteral("No glaze point yet."));
        StullChartInput trailOnly;
        trailOnly.trail = {{3.0, 0.3}, {3.1, 0.3}, {3.2, 0.3}};
        QCOMPARE(stullAccessibilityValue(trailOnly, english), QStringLiteral("No glaze point yet."));

        QCOMPARE(stullAccessibilityValue(placed({3.2, 0.35}), english),
                 QStringLiteral("Glaze point at silica 3.20, alumina 0.35, in the Gloss region."));
        QCOMPARE(stullAccessibilityValue(placed({3.2, 0.35}, {{3.0, 0.3}}), english),
                 QStringLiteral("Glaze point at silica 3.20, alumina 0.35, in the Gloss region. Since the last edit, "
                                "silica changed by 0.20 and alumina by 0.05. The trail has 1 earlier point."));
        // A decrease carries the locale's minus sign; only the newest five earlier points count.
        std::vector<StullPoint> six{{2.0, 0.3}, {2.2, 0.3}, {2.4, 0.3}, {2.6, 0.3}, {2.8, 0.3}, {3.4, 0.4}};
        QCOMPARE(stullAccessibilityValue(placed({3.2, 0.35}, six), QLocale(QLocale::German)),
                 QStringLiteral("Glaze point at silica 3,20, alumina 0,35, in the Gloss region. Since the last edit, "
                                "silica changed by -0,20 and alumina by -0,05. The trail has 5 earlier points."));
        QCOMPARE(stullAccessibilityValue(placed({8.0, 1.2}), english),
                 QStringLiteral("Glaze point at silica 8.00, alumina 1.20, in the Outside chart region."));
        // A comparison speaks of the current recipe, and never of a trail.
        QCOMPARE(stullAccessibilityValue(StullChartInput::comparison(StullPoint{3.0, 0.3}, StullPoint{3.5, 0.3}, false),
                                         english),
                 QStringLiteral("Glaze point at silica 3.50, alumina 0.30, in the Gloss region. Compared with the "
                                "current recipe, silica changes by 0.50 and alumina by 0.00."));
        // A target the solver reaches to a hair below the current point is no change at all: no minus sign.
        const StullChartInput reached =
            StullChartInput::comparison(StullPoint{3.98, 0.41}, StullPoint{3.98 - 1e-9, 0.41 - 1e-12}, false);
        QVERIFY2(stullAccessibilityValue(reached, QLocale(QLocale::German))
                     .endsWith(QStringLiteral(" Compared with the current recipe, silica changes by 0,00 and "
                                              "alumina by 0,00.")),
                 qPrintable(stullAccessibilityValue(reached, QLocale(QLocale::German))));
    }

    void theDescriptionListsThePointsOldestFirst() {
        std::vector<StullPoint> six{{5.0, 0.2}, {2.0, 0.6}, {2.2, 0.3}, {2.4, 0.3}, {2.6, 0.3}, {2.8, 0.3}};
        const StullChartDescriptor descriptor = StullChartDescriptor::make(placed({3.0, 0.3}, six));
        QCOMPARE(descriptor.previous.size(), std::size_t(5));
        QCOMPARE(descriptor.region, std::optional(GlazeCore::StullRegion::gloss));
        const ChartDescription description = descriptor.makeChartDescription();
        QCOMPARE(description.title, QStringLiteral("Stull chart"));
        QCOMPARE(description.summary, std::optional(QStringLiteral("Current glaze in the Gloss region")));
        QCOMPARE(description.series.size(), std::size_t(1));
        QCOMPARE(description.series.front().name, QStringLiteral("Glaze position, oldest first"));
        QVERIFY(description.series.front().isContinuous);
        QCOMPARE(labelsOf(description),
                 QStringList({QStringLiteral("Edit 1, Matte"), QStringLiteral("Edit 2, Gloss"),
                              QStringLiteral("Edit 3, Gloss"), QStringLiteral("Edit 4, Gloss"),
                              QStringLiteral("Edit 5, Gloss"), QStringLiteral("Current, Gloss")}));
        QCOMPARE(description.series.front().points.front().x, 2.0);
        QCOMPARE(description.xAxis.title, QStringLiteral("SiO2 UMF"));
        QCOMPARE(description.yAxis.title, QStringLiteral("Al2O3 UMF"));
        QCOMPARE(description.xAxis.range.upperBound, 7.2);
        QCOMPARE(description.xAxis.describe(3.0, QLocale::c()), QStringLiteral("Silica 3.00"));
        QCOMPARE(description.yAxis.describe(0.25, QLocale::c()), QStringLiteral("Alumina 0.25"));

        // Without a current point the newest trail point stands in as "Current", and there is no summary.
        StullChartInput trailOnly;
        trailOnly.trail = {{3.0, 0.3}, {3.1, 0.3}, {3.2, 0.3}};
        const ChartDescription unplaced = StullChartDescriptor::make(trailOnly).makeChartDescription();
        QCOMPARE(unplaced.summary, std::nullopt);
        QCOMPARE(labelsOf(unplaced).last(), QStringLiteral("Current, Gloss"));
        QVERIFY(StullChartDescriptor::make(StullChartInput{}).makeChartDescription().series.front().points.empty());
        // Outside the chart the domain widens, and the summary names it like any region.
        const StullChartDescriptor outside = StullChartDescriptor::make(placed({8.0, 1.2}));
        QCOMPARE(outside.xRange.upperBound, 9.0);
        QCOMPARE(outside.makeChartDescription().summary,
                 std::optional(QStringLiteral("Current glaze in the Outside chart region")));
    }

    void theChartTellsAssistiveToolsTheSame() {
        StullPlot plot;
        plot.setInput(placed({3.2, 0.35}, {{3.0, 0.3}}));
        QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(&plot);
        QCOMPARE(chart->role(), QAccessible::Chart);
        QCOMPARE(chart->text(QAccessible::Name), QStringLiteral("Stull chart"));
        QCOMPARE(chart->text(QAccessible::Value), plot.accessibilityValue());
        // The Linux bridge reads no value for a chart: the description says where the glaze is and how it
        // moved, then carries the chart description itself: summary, both axes and every point.
        QCOMPARE(chart->text(QAccessible::Description),
                 QStringLiteral("Glaze point at silica 3.20, alumina 0.35, in the Gloss region. Since the last edit, "
                                "silica changed by 0.20 and alumina by 0.05. The trail has 1 earlier point. "
                                "Current glaze in the Gloss region. Horizontal axis SiO2 UMF, from 0.60 to 7.20. "
                                "Vertical axis Al2O3 UMF, from 0.10 to 1.00. Glaze position, oldest first: "
                                "Edit 1, Gloss, Silica 3.00, Alumina 0.30; Current, Gloss, Silica 3.20, "
                                "Alumina 0.35."));
        QCOMPARE(chart->text(QAccessible::Help), QStringLiteral("Current glaze in the Gloss region"));
        QCOMPARE(chart->childCount(), 0);
        plot.setInput(StullChartInput::comparison(StullPoint{3.0, 0.3}, StullPoint{3.5, 0.3}, false));
        QVERIFY(chart->text(QAccessible::Description)
                    .startsWith(QStringLiteral("Glaze point at silica 3.50, alumina 0.30, in the Gloss region. "
                                               "Compared with the current recipe, silica changes by 0.50 and "
                                               "alumina by 0.00. Current glaze in the Gloss region.")));
        plot.setInput(StullChartInput{});
        QCOMPARE(chart->text(QAccessible::Value), QStringLiteral("No glaze point yet."));
        QCOMPARE(chart->text(QAccessible::Description),
                 QStringLiteral("No glaze point yet. Horizontal axis SiO2 UMF, from 0.60 to 7.20. Vertical axis "
                                "Al2O3 UMF, from 0.10 to 1.00. Glaze position, oldest first: no points."));
    }
};

QTEST_MAIN(StullChartDescriptorTest)
#include "StullChartDescriptorTest.moc"
