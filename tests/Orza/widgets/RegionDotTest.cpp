#include "Orza/widgets/RegionDot.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace Orza;
using GlazeCore::StullRegion;

namespace {

constexpr int side = RegionDot::diameter;

QPalette testPalette() {
    QPalette palette;
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(120, 120, 120));
    return palette;
}

QImage drawn(std::optional<StullRegion> region, RegionDot::Contrast contrast = RegionDot::Contrast::standard) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    RegionDot::paint(painter, QRectF(0, 0, side, side), region, testPalette(), contrast);
    return image;
}

/// A pixel on the circle's edge, where the border lies.
QColor edge(const QImage& image) {
    return image.pixelColor(side / 2, 0);
}

QColor centre(const QImage& image) {
    return image.pixelColor(side / 2, side / 2);
}

} // namespace

class RegionDotTest : public QObject {
    Q_OBJECT
private slots:
    void filledWithTheRegionColour_data() {
        QTest::addColumn<int>("region");
        QTest::addColumn<QColor>("colour");
        const auto rgb = [](double r, double g, double b) { return QColor::fromRgbF(float(r), float(g), float(b)); };
        QTest::newRow("matte") << int(StullRegion::matte) << rgb(0.72, 0.55, 0.36);
        QTest::newRow("gloss") << int(StullRegion::gloss) << rgb(0.30, 0.55, 0.85);
        QTest::newRow("semimatte") << int(StullRegion::semimatte) << rgb(0.40, 0.68, 0.60);
        QTest::newRow("underfired") << int(StullRegion::underfired) << rgb(0.55, 0.55, 0.58);
        QTest::newRow("crazing") << int(StullRegion::crazing) << rgb(0.75, 0.40, 0.65);
        QTest::newRow("unfused") << int(StullRegion::unfused) << rgb(0.82, 0.74, 0.48);
        QTest::newRow("unknown is black") << int(StullRegion::unknown) << rgb(0, 0, 0);
    }
    void filledWithTheRegionColour() {
        QFETCH(int, region);
        QFETCH(QColor, colour);
        QCOMPARE(RegionDot::color(StullRegion(region)), colour);
        const QColor painted = centre(drawn(StullRegion(region)));
        QCOMPARE(painted.alpha(), 255);
        QCOMPARE(painted.rgb(), colour.rgb());
    }

    void noRegionIsAHollowRing() {
        const QImage ring = drawn(std::nullopt);
        QCOMPARE(centre(ring).alpha(), 0);
        const QColor border = edge(ring);
        QVERIFY(border.alpha() > 100);
        // The secondary colour, not the primary one.
        QCOMPARE(border.red(), 120);
    }

    void increasedContrastStrengthensTheBorder() {
        const QColor standard = edge(drawn(StullRegion::gloss, RegionDot::Contrast::standard));
        const QColor increased = edge(drawn(StullRegion::gloss, RegionDot::Contrast::increased));
        // Black laid over the blue at 0.8 instead of 0.25: a darker rim, the same centre.
        QVERIFY(increased.blue() < standard.blue());
        QCOMPARE(centre(drawn(StullRegion::gloss, RegionDot::Contrast::increased)).rgb(),
                 RegionDot::color(StullRegion::gloss).rgb());
    }

    void iconAndWidgetDrawTheSameDot() {
        const QImage fromIcon = RegionDot::icon(StullRegion::matte).pixmap(QSize(side, side)).toImage();
        QCOMPARE(centre(fromIcon).rgb(), RegionDot::color(StullRegion::matte).rgb());
        // In a larger icon the dot keeps its size, centred.
        const QImage large = RegionDot::icon(StullRegion::matte).pixmap(QSize(16, 16)).toImage();
        QCOMPARE(large.pixelColor(0, 8).alpha(), 0);
        QCOMPARE(large.pixelColor(8, 8).rgb(), RegionDot::color(StullRegion::matte).rgb());

        RegionDot dot(StullRegion::crazing);
        QCOMPARE(dot.size(), QSize(side, side));
        QCOMPARE(centre(dot.grab().toImage()).rgb(), RegionDot::color(StullRegion::crazing).rgb());
        dot.setRegion(std::nullopt);
        QVERIFY(!dot.region());
    }
};

QTEST_MAIN(RegionDotTest)
#include "RegionDotTest.moc"
