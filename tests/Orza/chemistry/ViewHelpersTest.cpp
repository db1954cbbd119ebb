#include "Orza/widgets/ArrowStepper.h"
#include "Orza/widgets/ElidedLabel.h"
#include "Orza/widgets/FirstFitView.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/RegionNames.h"
#include "Orza/widgets/SymbolIcon.h"
#include "Orza/widgets/TextStyle.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Orza;

namespace {

QWidget* fixedBlock(int width, int height) {
    auto* block = new QWidget;
    block->setFixedSize(width, height);
    return block;
}

QPalette paletteOf(QColor window, QColor text) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

} // namespace

class ViewHelpersTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void theFirstLayoutThatFitsIsShown() {
        QCOMPARE(firstFitting({300, 200, 100}, 300), 0);
        QCOMPARE(firstFitting({300, 200, 100}, 299), 1);
        QCOMPARE(firstFitting({300, 200, 100}, 50), 2);
        QCOMPARE(firstFitting({}, 50), -1);

        // Wide and short, or narrow and tall: the height follows the layout a width would show.
        QWidget window;
        auto* column = new QVBoxLayout(&window);
        column->setContentsMargins(0, 0, 0, 0);
        auto* stack = new FirstFitStack({fixedBlock(300, 20), fixedBlock(150, 45)});
        column->addWidget(stack);
        column->addStretch();
        QCOMPARE(stack->sizeHint(), QSize(300, 20));
        QCOMPARE(stack->minimumSizeHint(), QSize(150, 45));
        QCOMPARE(stack->heightForWidth(320), 20);
        QCOMPARE(stack->heightForWidth(299), 45);
        window.resize(400, 200);
        window.show();
        OrzaTest::settle();
        QCOMPARE(stack->currentVariant(), 0);
        QVERIFY(stack->variant(0)->isVisible() && !stack->variant(1)->isVisible());
        QCOMPARE(stack->height(), 20);
        window.resize(200, 200);
        OrzaTest::settle();
        QCOMPARE(stack->currentVariant(), 1);
        QVERIFY(!stack->variant(0)->isVisible() && stack->variant(1)->isVisible());
        QCOMPARE(stack->height(), 45);
    }

    void theStepperOnlyAsksForSteps() {
        ArrowStepper stepper;
        QSignalSpy up(&stepper, &ArrowStepper::incremented);
        QSignalSpy down(&stepper, &ArrowStepper::decremented);
        stepper.show();
        QTest::mouseClick(stepper.upButton(), Qt::LeftButton);
        QTest::keyClick(&stepper, Qt::Key_Up);
        QTest::keyClick(&stepper, Qt::Key_Down);
        QTest::keyClick(&stepper, Qt::Key_Left); // not a step
        QCOMPARE(up.count(), 2);
        QCOMPARE(down.count(), 1);
        QCOMPARE(stepper.upButton()->focusPolicy(), Qt::NoFocus);
    }

    void warningsStayReadableOnDarkPalettes() {
        const QPalette light = paletteOf(Qt::white, Qt::black);
        const QPalette dark = paletteOf(QColor(30, 30, 30), QColor(230, 230, 230));
        QVERIFY(!TextStyle::isDark(light));
        QVERIFY(TextStyle::isDark(dark));
        // The orange is lighter than the background it stands on in the dark, darker in the light.
        QVERIFY(TextStyle::warning(dark).lightness() > 120);
        QVERIFY(TextStyle::warning(light).lightness() < 120);

        IconLabel note(Symbol::exclamationTriangleFill, IconLabel::Tone::warning, TextStyle::Style::callout);
        note.setText(QStringLiteral("2 rows have an amount but no material."));
        note.setPalette(light);
        const QColor onLight = note.toneColor();
        note.setPalette(dark);
        QCOMPARE(note.toneColor(), TextStyle::warning(dark));
        QVERIFY(note.toneColor() != onLight);
        const auto* text = note.findChildren<QLabel*>().last();
        QCOMPARE(text->palette().color(QPalette::WindowText), TextStyle::warning(dark));
        QCOMPARE(note.accessibleName(), QStringLiteral("2 rows have an amount but no material."));
    }

    void stylesScaleFromTheBaseFont() {
        QFont base;
        base.setPointSizeF(10);
        QVERIFY(TextStyle::font(TextStyle::Style::title3, base).pointSizeF() > 10);
        QVERIFY(TextStyle::font(TextStyle::Style::caption, base).pointSizeF() < 10);
        QCOMPARE(TextStyle::font(TextStyle::Style::headline, base).weight(), QFont::DemiBold);
        // Captions stop shrinking where they would become unreadable.
        base.setPointSizeF(6);
        QVERIFY(TextStyle::font(TextStyle::Style::caption2, base).pointSizeF() >= 7);
    }

    void symbolsAreNamedAndPaintedInTheirColour() {
        QCOMPARE(SymbolIcon::named(u"exclamationmark.triangle.fill"), std::optional(Symbol::exclamationTriangleFill));
        QCOMPARE(SymbolIcon::named(u"arrow.down.circle.fill"), std::optional(Symbol::arrowDownCircleFill));
        QCOMPARE(SymbolIcon::named(u"exclamationmark.triangle.fil"), std::nullopt);
        const QImage filled = SymbolIcon::pixmap(Symbol::arrowUpCircleFill, Qt::red, 16, 2.0).toImage();
        QCOMPARE(filled.size(), QSize(32, 32));
        QCOMPARE(filled.pixelColor(4, 16), QColor(Qt::red)); // the filled disc, left of the arrow
        QCOMPARE(filled.pixelColor(16, 8).alpha(), 0);       // the arrow is cut out of it
        QCOMPARE(filled.pixelColor(0, 0).alpha(), 0);
    }

    void longTextEndsInAnEllipsis() {
        ElidedLabel label;
        label.setText(QStringLiteral("This glaze: SiO₂ 3.44, Al₂O₃ 0.35, Gloss"));
        label.resize(label.sizeHint());
        QCOMPARE(label.shownText(), label.text());
        label.resize(label.sizeHint().width() / 2, label.height());
        QVERIFY(label.shownText().endsWith(QStringLiteral("…")));
    }

    void everyRegionHasOneName() {
        QCOMPARE(regionDisplayName(GlazeCore::StullRegion::semimatte), QStringLiteral("Semi-matte"));
        QCOMPARE(regionDisplayName(GlazeCore::StullRegion::crazing), QStringLiteral("Crazing likely"));
        QCOMPARE(regionDisplayName(GlazeCore::StullRegion::unknown), QStringLiteral("Outside chart"));
    }
};

QTEST_MAIN(ViewHelpersTest)
#include "ViewHelpersTest.moc"
