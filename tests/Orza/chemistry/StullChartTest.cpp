#include "Orza/chemistry/StullChartRules.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/chemistry/StullLegendSwatch.h"
#include "Orza/chemistry/StullPlot.h"
#include "Orza/widgets/FirstFitView.h"
#include "Orza/widgets/TextStyle.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QTest>

using namespace Orza;
using GlazeCore::StullRegion;

namespace {

/// White behind, black marks; texts drawn in the secondary colour are made invisible, so that sampled
/// pixels show only the regions and the marks.
QPalette plainPalette(bool marksVisible) {
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, marksVisible ? QColor(Qt::black) : QColor(Qt::transparent));
    palette.setColor(QPalette::PlaceholderText, Qt::transparent);
    return palette;
}

QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(30, 30, 32));
    palette.setColor(QPalette::WindowText, QColor(235, 235, 235));
    return palette;
}

/// The plot at the benchmark's size.
std::unique_ptr<StullPlot> plotOf(const StullChartInput& input, const QPalette& palette) {
    auto plot = std::make_unique<StullPlot>();
    plot->setContrast(RegionDot::Contrast::standard);
    plot->setPalette(palette);
    plot->resize(720, 400);
    plot->setInput(input);
    return plot;
}

QColor pixelAt(const QImage& image, QPointF at) {
    return image.pixelColor(int(at.x()), int(at.y()));
}

/// The region's fill composited over white, as the plot shows it.
QColor overWhite(StullRegion region, double opacity) {
    const QColor fill = RegionDot::color(region);
    const auto mix = [opacity](double component) { return int(component * opacity * 255 + 255 * (1 - opacity)); };
    return QColor(mix(fill.redF()), mix(fill.greenF()), mix(fill.blueF()));
}

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

/// Six earlier positions, all in the gloss region; the oldest lies away from the line through the others.
std::vector<StullPoint> sixEdits() {
    return {{6.5, 0.65}, {4.0, 0.4}, {4.4, 0.42}, {4.8, 0.44}, {5.2, 0.46}, {5.6, 0.48}};
}

} // namespace

class StullChartTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void theDomainHoldsTheChartAndThePoint_data() {
        QTest::addColumn<double>("siO2");
        QTest::addColumn<double>("al2O3");
        QTest::addColumn<double>("x0");
        QTest::addColumn<double>("x1");
        QTest::addColumn<double>("y0");
        QTest::addColumn<double>("y1");
        QTest::newRow("inside") << 3.0 << 0.3 << 0.6 << 7.2 << 0.1 << 1.0;
        QTest::newRow("low and left") << 0.5 << 0.08 << 0.2 << 7.2 << 0.0 << 1.0;
        QTest::newRow("far outside") << 8.0 << 1.2 << 0.6 << 9.0 << 0.1 << 1.3;
        QTest::newRow("near the corner") << 7.0 << 0.95 << 0.6 << 8.0 << 0.1 << 1.1;
        // 0.15 - 0.05 is just below 0.1 in binary, so the formula steps down to 0.05.
        QTest::newRow("alumina 0.15") << 1.5 << 0.15 << 0.6 << 7.2 << 0.05 << 1.0;
    }
    void theDomainHoldsTheChartAndThePoint() {
        QFETCH(double, siO2);
        QFETCH(double, al2O3);
        const StullDomain domain = StullChart::plotDomain(StullPoint{siO2, al2O3});
        QTEST(domain.x.lowerBound, "x0");
        QTEST(domain.x.upperBound, "x1");
        QTEST(domain.y.lowerBound, "y0");
        QTEST(domain.y.upperBound, "y1");
        const StullDomain none = StullChart::plotDomain(std::nullopt);
        QCOMPARE(none.x.lowerBound, 0.6);
        QCOMPARE(none.y.upperBound, 1.0);
    }

    void theRasterIsPremultipliedAndTransparentOutsideTheChart() {
        const StullDomain wide = StullChart::plotDomain(StullPoint{8.0, 1.2});
        for (const double opacity : {0.35, 0.45, 0.6}) {
            const QImage image = StullChart::regionImage(wide, opacity);
            QCOMPARE(image.size(), QSize(360, 200));
            const double dx = (wide.x.upperBound - wide.x.lowerBound) / 360;
            const double dy = (wide.y.upperBound - wide.y.lowerBound) / 200;
            const auto cell = [&](double x, double y) {
                const int column = int((x - wide.x.lowerBound) / dx);
                const int row = int((wide.y.upperBound - y) / dy);
                return reinterpret_cast<const uchar*>(image.constScanLine(row)) + 4 * column;
            };
            // Each anchor's cell carries its own region's bytes: red, green, blue premultiplied, then alpha.
            for (const GlazeCore::StullLabelAnchor& anchor : GlazeCore::Stull::labelAnchors()) {
                const uchar* bytes = cell(anchor.siO2, anchor.al2O3);
                const QColor fill = RegionDot::color(anchor.region);
                QCOMPARE(int(bytes[3]), int(opacity * 255));
                const float components[] = {fill.redF(), fill.greenF(), fill.blueF()};
                for (int c = 0; c < 3; ++c)
                    QVERIFY(std::abs(int(bytes[c]) - int(components[c] * opacity * 255)) <= 1);
            }
            QCOMPARE(int(cell(8.5, 0.5)[3]), 0);
            QCOMPARE(int(cell(3.0, 1.2)[3]), 0);
        }
        QCOMPARE(int(StullChart::regionImage(wide, 0.35).pixelColor(180, 100).alpha()), 89);
    }

    void theRegionsAreDrawnWhereTheirNamesStand() {
        StullChartInput input;
        const auto plot = plotOf(input, plainPalette(false));
        const QImage drawn = plot->grab().toImage();
        const auto labels = plot->regionLabelsIn(plot->plotRect());
        QCOMPARE(labels.size(), GlazeCore::Stull::labelAnchors().size());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const GlazeCore::StullLabelAnchor& anchor = GlazeCore::Stull::labelAnchors()[i];
            // Just before the name, whose letters would cover the fill at its anchor.
            const QPointF at(labels[i].rect.left() - 2, plot->toPixel(anchor.siO2, anchor.al2O3).y());
            const QColor seen = pixelAt(drawn, at);
            const QColor expected = overWhite(anchor.region, plot->regionOpacity());
            QVERIFY2(near(seen, expected, 3),
                     qPrintable(QStringLiteral("%1: %2 for %3")
                                    .arg(QString::fromLatin1(GlazeCore::Stull::rawValue(anchor.region).data()),
                                         seen.name(), expected.name())));
        }
        // The raster fills the plot area exactly: its corners map to the domain's corners.
        const QRectF area = plot->plotRect();
        QCOMPARE(plot->toPixel(0.6, 0.1), area.bottomLeft());
        QCOMPARE(plot->toPixel(7.2, 1.0), area.topRight());
    }

    void theTrailFadesAndTheDiamondMarksTheGlaze() {
        StullChartInput input;
        input.current = StullPoint{3.0, 0.3};
        input.trail = sixEdits();
        const auto plot = plotOf(input, plainPalette(true));
        const QImage drawn = plot->grab().toImage();
        // The diamond is solid primary.
        const QColor diamond = pixelAt(drawn, plot->toPixel(3.0, 0.3));
        QVERIFY(diamond.red() < 40 && diamond.green() < 40 && diamond.blue() < 40);
        // Only the newest five earlier points are drawn, each darker than the one before.
        const QColor dropped = pixelAt(drawn, plot->toPixel(6.5, 0.65));
        QVERIFY(near(dropped, overWhite(StullRegion::gloss, plot->regionOpacity()), 3));
        // Each circle is read just above and below its centre, off the dashed line through it.
        int previous = 256;
        for (std::size_t i = 1; i < input.trail.size(); ++i) {
            const QPointF centre = plot->toPixel(input.trail[i].siO2, input.trail[i].al2O3);
            const int lightness = std::max(pixelAt(drawn, centre + QPointF(0, 2)).lightness(),
                                           pixelAt(drawn, centre - QPointF(0, 2)).lightness());
            QVERIFY(lightness < overWhite(StullRegion::gloss, plot->regionOpacity()).lightness() - 20);
            QVERIFY2(lightness < previous, qPrintable(QString::number(i)));
            previous = lightness;
        }
        // The line from the newest earlier point to the glaze is dashed: partly drawn, partly not.
        const QPointF from = plot->toPixel(5.6, 0.48);
        const QPointF to = plot->toPixel(3.0, 0.3);
        const QColor background = pixelAt(drawn, (from + to) / 2 + QPointF(0, 20));
        int inked = 0;
        constexpr int samples = 60;
        for (int k = 10; k < samples - 10; ++k) {
            const QPointF at = from + (to - from) * (double(k) / samples);
            if (pixelAt(drawn, at).lightness() < background.lightness() - 20) ++inked;
        }
        QVERIFY2(inked > 10 && inked < 35, qPrintable(QString::number(inked)));
        // "This glaze" stands above the diamond, centred on it.
        const QRectF label = plot->currentLabelRect();
        QVERIFY(label.bottom() < plot->toPixel(3.0, 0.3).y() - std::sqrt(StullPlot::currentSymbolArea) / 2);
        QCOMPARE(label.center().x(), plot->toPixel(3.0, 0.3).x());
    }

    // Near the plot's edges the label moves in rather than being cut: beside the left and right edges it
    // shifts sideways, under the top it goes below the diamond.
    void theGlazeLabelStaysInsideThePlot() {
        StullPlot plot;
        plot.resize(320, 160);
        for (const StullPoint point : {StullPoint{0.35, 0.3}, StullPoint{7.49, 0.5}, StullPoint{3.0, 0.99}}) {
            StullChartInput input;
            input.current = point;
            plot.setInput(input);
            const QRectF label = plot.currentLabelRect();
            QVERIFY2(plot.plotRect().contains(label),
                     qPrintable(QStringLiteral("%1, %2").arg(point.siO2).arg(point.al2O3)));
            // Never over the diamond itself.
            const qreal half = std::sqrt(StullPlot::currentSymbolArea) / 2;
            const QPointF at = plot.toPixel(point.siO2, point.al2O3);
            QVERIFY(!label.intersects(QRectF(at.x() - half, at.y() - half, 2 * half, 2 * half)));
        }
    }

    void pointsThatCannotBeDrawnAreLeftOut() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        StullChartView chart;
        StullChartInput input;
        input.current = StullPoint{3.0, 1e308}; // the domain's top would overflow
        input.trail = {{nan, 0.3}, {3.0, 0.3}};
        chart.setInput(input);
        QVERIFY(!chart.input().current);
        QCOMPARE(chart.input().trail, (std::vector<StullPoint>{StullPoint{3.0, 0.3}}));
        QCOMPARE(chart.captionText(), QStringLiteral("Add materials to place the glaze on the chart."));
        chart.resize(720, 400);
        QVERIFY(!chart.grab().isNull());
    }

    void aFarEarlierPointStillLeadsItsLineToTheGlaze() {
        // An earlier point far off the plot: only the visible part of its segment is dashed.
        StullChartInput input;
        input.current = StullPoint{3.0, 0.3};
        input.trail = {{1000.0, 0.3}};
        const auto plot = plotOf(input, plainPalette(true));
        const QImage drawn = plot->grab().toImage();
        const QPointF from = plot->toPixel(3.0, 0.3) + QPointF(10, 0);
        const QColor background = pixelAt(drawn, from + QPointF(0, 12));
        int inked = 0;
        for (int k = 0; k < 60; ++k)
            if (pixelAt(drawn, from + QPointF(k * 3, 0)).lightness() < background.lightness() - 20) ++inked;
        QVERIFY2(inked > 15 && inked < 45, qPrintable(QString::number(inked)));
    }

    void theRasterIsMadeAgainOnlyForANewDomainOrOpacity() {
        StullChartInput input;
        input.current = StullPoint{3.0, 0.3};
        const auto plot = plotOf(input, plainPalette(true));
        plot->grab();
        QCOMPARE(plot->regionImageBuilds(), 1);
        input.trail = sixEdits();
        input.current = StullPoint{3.2, 0.32}; // the same domain
        plot->setInput(input);
        plot->grab();
        plot->grab();
        QCOMPARE(plot->regionImageBuilds(), 1);
        input.current = StullPoint{7.5, 0.3};
        plot->setInput(input);
        plot->grab();
        QCOMPARE(plot->regionImageBuilds(), 2);
        plot->setPalette(darkPalette());
        plot->grab();
        QCOMPARE(plot->regionImageBuilds(), 3);
    }

    void theRegionsAreStrongerOnDarkAndWithMoreContrast() {
        StullChartView chart;
        chart.setContrast(RegionDot::Contrast::standard);
        chart.setPalette(plainPalette(true));
        QCOMPARE(chart.plot()->regionOpacity(), 0.35);
        QVERIFY(std::abs(chart.shownSwatches().front()->fillColor().alphaF() - 0.35) < 0.003);
        chart.setPalette(darkPalette());
        QCOMPARE(chart.plot()->regionOpacity(), 0.45);
        QVERIFY(std::abs(chart.shownSwatches().front()->fillColor().alphaF() - 0.45) < 0.003);
        chart.setContrast(RegionDot::Contrast::increased);
        QCOMPARE(chart.plot()->regionOpacity(), 0.6);
        chart.setPalette(plainPalette(true));
        QCOMPARE(chart.plot()->regionOpacity(), 0.6);
    }

    // Each region's name reads at 4.5:1 on every fill beneath it, in dark and light schemes alike, while the
    // fills keep their colours.
    void theRegionNamesReadOnTheirFills() {
        QPalette light;
        light.setColor(QPalette::Window, QColor(239, 239, 239));
        light.setColor(QPalette::WindowText, Qt::black);
        light.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(42, 46, 50));
        dark.setColor(QPalette::WindowText, QColor(252, 252, 252));
        dark.setColor(QPalette::PlaceholderText, QColor(252, 252, 252, 128));
        for (const QPalette& palette : {light, dark}) {
            StullChartInput input;
            input.current = StullPoint{3.0, 0.3};
            const auto plot = plotOf(input, palette);
            const QRectF area = plot->plotRect();
            const QImage& raster = plot->regionImage();
            const auto labels = plot->regionLabelsIn(area);
            QVERIFY(labels.size() >= 5);
            for (const StullPlot::RegionLabel& label : labels) {
                for (qreal x = label.rect.left(); x <= label.rect.right(); x += 2)
                    for (qreal y = label.rect.top(); y <= label.rect.bottom(); y += 2) {
                        const int column =
                            std::clamp(int((x - area.left()) / area.width() * raster.width()), 0, raster.width() - 1);
                        const int row =
                            std::clamp(int((y - area.top()) / area.height() * raster.height()), 0, raster.height() - 1);
                        const QColor fill = raster.pixelColor(column, row);
                        const QColor window = palette.color(QPalette::Window);
                        const QColor seen =
                            QColor::fromRgbF(window.redF() + (fill.redF() - window.redF()) * fill.alphaF(),
                                             window.greenF() + (fill.greenF() - window.greenF()) * fill.alphaF(),
                                             window.blueF() + (fill.blueF() - window.blueF()) * fill.alphaF());
                        const qreal ratio = TextStyle::contrastRatio(label.colour, seen);
                        QVERIFY2(
                            ratio >= 4.5,
                            qPrintable(
                                QStringLiteral("%1 on %2: %3:1").arg(label.name, seen.name()).arg(ratio, 0, 'f', 2)));
                    }
            }
        }
    }

    // Whatever size the chart is given, even less than it asks for, its header, plot, legend and footnote keep
    // apart inside it: the plot gives way, never lying under the legend or the footnote.
    void theChartsPartsKeepApartAtAnySize() {
        // Held by a widget without a layout, the chart takes any size it is given: a window would not go below the
        // least its layout asks for.
        QWidget holder;
        holder.resize(900, 420);
        auto& chart = *new StullChartView(&holder);
        StullChartInput input;
        input.current = StullPoint{3.0, 0.3};
        input.trail = {{2.8, 0.28}, {2.6, 0.26}};
        chart.setInput(input);
        holder.show();
        for (const QSize size : {QSize(900, 420), QSize(360, 420), QSize(300, 360), QSize(300, 300), QSize(300, 240),
                                 QSize(300, 160), QSize(260, 120)}) {
            chart.resize(size);
            OrzaTest::settle();
            QCOMPARE(chart.size(), size);
            const QString at = QStringLiteral("%1×%2").arg(size.width()).arg(size.height());
            std::vector<std::pair<const char*, QRect>> parts;
            const QWidget* footnote = chart.findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
            QVERIFY(footnote);
            for (const auto& [name, part] : {std::pair<const char*, const QWidget*>{"header", chart.header()},
                                             {"plot", chart.plot()},
                                             {"legend", chart.legend()},
                                             {"footnote", footnote}})
                if (part->isVisible() && part->height() > 0) parts.emplace_back(name, part->geometry());
            for (std::size_t i = 0; i < parts.size(); ++i) {
                QVERIFY2(chart.rect().contains(parts[i].second), qPrintable(at + QLatin1Char(' ') + parts[i].first));
                for (std::size_t j = i + 1; j < parts.size(); ++j)
                    QVERIFY2(!parts[i].second.intersects(parts[j].second),
                             qPrintable(at + QLatin1Char(' ') + parts[i].first + QLatin1Char('/') + parts[j].first));
            }
            // Where it has the room it asks for at its width, header, legend and footnote show whole.
            if (size.height() >= chart.heightForWidth(size.width())) {
                QCOMPARE(chart.legend()->height(), chart.legend()->heightForWidth(size.width()));
                QVERIFY(chart.plot()->height() >= 140);
            }
        }
    }

    void aNarrowChartStacksItsHeaderAndFoldsItsLegend() {
        StullChartView chart;
        StullChartInput input;
        input.current = StullPoint{3.0, 0.3};
        chart.setInput(input);
        chart.resize(900, 420);
        chart.show();
        OrzaTest::settle();
        QCOMPARE(chart.header()->currentVariant(), 0);
        QCOMPARE(chart.legend()->currentVariant(), 0);
        chart.resize(260, 420);
        OrzaTest::settle();
        QCOMPARE(chart.header()->currentVariant(), 1);
        QCOMPARE(chart.legend()->currentVariant(), 1);
        // The legend keeps its order in both layouts.
        QCOMPARE(chart.shownSwatches().size(), std::size_t(6));
        QCOMPARE(chart.shownSwatches()[1]->region(), StullRegion::semimatte);
        QCOMPARE(chart.shownSwatches()[3]->region(), StullRegion::unfused);
    }

    void theCaptionPlacesTheGlaze() {
        QCOMPARE(StullChart::captionText(std::nullopt),
                 QStringLiteral("Add materials to place the glaze on the chart."));
        QCOMPARE(StullChart::captionText(StullPoint{3.0, 0.3}, QLocale::c()),
                 QStringLiteral("This glaze: SiO₂ 3.00, Al₂O₃ 0.30, Gloss"));
        QCOMPARE(StullChart::captionText(StullPoint{4.0, 0.9}, QLocale(QLocale::German)),
                 QStringLiteral("This glaze: SiO₂ 4,00, Al₂O₃ 0,90, Semi-matte"));
        QCOMPARE(StullChart::captionText(StullPoint{8.0, 1.2}, QLocale::c()),
                 QStringLiteral("This glaze: SiO₂ 8.00, Al₂O₃ 1.20, Outside chart"));
    }

    // With a glaze on the chart the caption is not read: the plot's value says the same. Without one the
    // caption is the only word on what is missing.
    void theCaptionIsReadOnlyWithoutAGlaze() {
        StullChartView chart;
        StullChartInput input;
        input.current = StullPoint{3.0, 0.3};
        chart.setInput(input);
        chart.show();
        QStringList spoken = OrzaTest::spokenTexts(&chart);
        QVERIFY(!spoken.contains(chart.captionText()));
        QVERIFY(spoken.contains(QStringLiteral("Stull chart: ") + chart.plot()->accessibilityValue()));

        chart.setInput({});
        QVERIFY(
            OrzaTest::spokenTexts(&chart).contains(QStringLiteral("Add materials to place the glaze on the chart.")));
        input.current = StullPoint{4.0, 0.9};
        chart.setInput(input);
        spoken = OrzaTest::spokenTexts(&chart);
        QVERIFY(!spoken.contains(chart.captionText()));
    }

    void theFootnoteSaysWhatTheTrailMeans() {
        const QString base = QStringLiteral(
            "Regions from Stull's 1912 chart, fired to cone 11, glazes without boron. Use it as a rough guide.");
        StullChartInput input;
        input.hasBoron = true;
        QCOMPARE(StullChart::footnoteText(input), base);
        input.trail = {{3.0, 0.3}};
        QCOMPARE(StullChart::footnoteText(input), base + QStringLiteral(" The dashed line shows the last 5 edits."));
        input.current = StullPoint{3.1, 0.3};
        QCOMPARE(StullChart::footnoteText(input),
                 base +
                     QStringLiteral(" This glaze has boron, so its position is approximate. The dashed line shows the "
                                    "last 5 edits."));
        // A comparison measures the new recipe against the unchanged one.
        const StullChartInput close = StullChartInput::comparison(StullPoint{3.0, 0.3}, StullPoint{3.2, 0.33}, false);
        QCOMPARE(close.trail, (std::vector<StullPoint>{StullPoint{3.0, 0.3}}));
        QCOMPARE(StullChart::footnoteText(close),
                 base + QStringLiteral(" On this chart the new recipe is at about the same place as the current one."));
        const StullChartInput far = StullChartInput::comparison(StullPoint{3.0, 0.3}, StullPoint{3.3, 0.3}, false);
        QCOMPARE(StullChart::footnoteText(far),
                 base + QStringLiteral(" The dashed line runs from the current recipe to the new one."));
        const StullChartInput unplaced = StullChartInput::comparison(std::nullopt, StullPoint{3.3, 0.3}, false);
        QVERIFY(unplaced.trail.empty());
        QCOMPARE(StullChart::footnoteText(unplaced), base);
    }
};

QTEST_MAIN(StullChartTest)
#include "StullChartTest.moc"
