// Symbols and secondary text on a dark palette: what a theme that leaves colours at odd defaults would hide.

#include "Orza/app/ReadablePalette.h"
#include "Orza/widgets/ColorMix.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/SheetStyle.h"
#include "Orza/widgets/TextStyle.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QTest>

#include <cstdlib>

using namespace Orza;

namespace {

QPalette darkPalette(const QColor& placeholder) {
    QPalette palette(QColor(49, 54, 59));
    for (const auto role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, QColor(49, 54, 59));
    palette.setColor(QPalette::Base, QColor(35, 38, 41));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, QColor(239, 240, 241));
    palette.setColor(QPalette::Highlight, QColor(61, 174, 233));
    palette.setColor(QPalette::HighlightedText, QColor(20, 20, 20));
    palette.setColor(QPalette::PlaceholderText, placeholder);
    return palette;
}

/// The colour of the most opaque pixel: where the symbol's stroke lies.
QColor strokeColour(const QImage& image) {
    QColor strongest(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QColor pixel = image.pixelColor(x, y); pixel.alpha() > strongest.alpha()) strongest = pixel;
    return strongest;
}

} // namespace

class DarkPaletteTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QApplication::setPalette(QPalette()); }

    void symbolsTakeThePalettesTextColourWhenPainted() {
        const QIcon plus = ThemedIcon::symbol(QStringLiteral("plus"));
        QApplication::setPalette(darkPalette(QColor(0, 0, 0, 128)));
        QCOMPARE(strokeColour(plus.pixmap(QSize(16, 16)).toImage()).rgb(), QColor(239, 240, 241).rgb());
        QCOMPARE(strokeColour(plus.pixmap(QSize(16, 16), QIcon::Selected).toImage()).rgb(), QColor(20, 20, 20).rgb());
        // Disabled: the same colour, faded.
        const QColor disabled = strokeColour(plus.pixmap(QSize(16, 16), QIcon::Disabled).toImage());
        QVERIFY(disabled.alpha() < 128);
        // The same icon follows a change of palette without being made again.
        QApplication::setPalette(QPalette(Qt::white));
        QVERIFY(strokeColour(plus.pixmap(QSize(16, 16)).toImage()).lightness() < 60);
    }

    // A field's warning mark is painted for the palette it stands on, and again whenever that palette turns,
    // so it never fades into a dark field or glares on a light one.
    void aFieldsWarningMarkFollowsThePalette() {
        LiveNumberField field(QStringLiteral("Amount"), 1, {0, 2}, false);
        field.show();
        QCOMPARE(field.actions().size(), 1);
        const QAction* mark = field.actions().constFirst();
        const auto markColour = [mark] { return strokeColour(mark->icon().pixmap(QSize(16, 16)).toImage()).rgb(); };
        const QRgb onLight = TextStyle::alert(field.palette()).rgb();
        const QRgb onDark = TextStyle::alert(darkPalette(QColor(160, 160, 160))).rgb();
        QVERIFY(QColor(onDark).lightness() > QColor(onLight).lightness());
        QCOMPARE(markColour(), onLight);
        field.setPalette(darkPalette(QColor(160, 160, 160)));
        QCOMPARE(markColour(), onDark);
        field.setPalette(QPalette(Qt::white));
        QCOMPARE(markColour(), TextStyle::alert(QPalette(Qt::white)).rgb());
    }

    void anUnreadablePlaceholderIsRepairedAndAReadableOneKept() {
        const QPalette unreadable = darkPalette(QColor(0, 0, 0, 128));
        QVERIFY(!ReadablePalette::placeholderReadable(unreadable));
        const QPalette repaired = ReadablePalette::repaired(unreadable);
        QVERIFY(ReadablePalette::placeholderReadable(repaired));
        QCOMPARE(repaired.color(QPalette::Window), unreadable.color(QPalette::Window));

        const QPalette readable = darkPalette(QColor(200, 205, 210));
        QVERIFY(ReadablePalette::placeholderReadable(readable));
        QCOMPARE(ReadablePalette::repaired(readable).color(QPalette::PlaceholderText), QColor(200, 205, 210));

        // A theme changing the palette later is repaired as well.
        ReadablePalette::keep(*qApp);
        QApplication::setPalette(unreadable);
        QVERIFY(ReadablePalette::placeholderReadable(QApplication::palette()));
    }

    // A scheme that names no alternate row or link colour leaves Qt's light ones: white rows under white text,
    // dark blue links on a dark window. Both are moved to shades that read; a light scheme's are kept.
    void alternateRowsAndLinksReadInADarkScheme() {
        QPalette incomplete = darkPalette(QColor(161, 169, 177));
        incomplete.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
        incomplete.setColor(QPalette::Link, QColor(0, 0, 255));
        incomplete.setColor(QPalette::LinkVisited, QColor(255, 0, 255));
        const QPalette repaired = ReadablePalette::repaired(incomplete);
        const QColor text = repaired.color(QPalette::Text);
        const QColor base = repaired.color(QPalette::Base);
        QVERIFY(TextStyle::contrastRatio(text, repaired.color(QPalette::AlternateBase)) >= 4.5);
        QVERIFY(TextStyle::isDark(repaired));
        QVERIFY(repaired.color(QPalette::AlternateBase).lightness() < 80);
        QVERIFY(TextStyle::contrastRatio(repaired.color(QPalette::Link), base) >= 4.5);
        QVERIFY(TextStyle::contrastRatio(repaired.color(QPalette::LinkVisited), base) >= 4.5);
        QCOMPARE(ReadablePalette::repaired(repaired), repaired);

        const QPalette light = QApplication::style()->standardPalette();
        const QPalette kept = ReadablePalette::repaired(light);
        for (const auto role : {QPalette::AlternateBase, QPalette::Link, QPalette::LinkVisited})
            QCOMPARE(kept.color(role), light.color(role));
    }

    // Dividers and frames the application draws in Mid stay visible.
    void shadesThatFadeIntoTheWindowAreRepaired() {
        const QPalette dark = darkPalette(QColor(161, 169, 177));
        const QColor window = dark.color(QPalette::Window);
        QVERIFY(std::abs(dark.color(QPalette::Mid).lightness() - window.lightness()) < 40);
        const QPalette repaired = ReadablePalette::repaired(dark);
        QVERIFY(std::abs(repaired.color(QPalette::Mid).lightness() - window.lightness()) >= 40);
        QVERIFY(repaired.color(QPalette::Mid).lightness() > window.lightness()); // towards the light text
        QVERIFY(ReadablePalette::framesFade(dark, QPalette::Active));
        QVERIFY(std::abs(ReadablePalette::frameColour(dark, QPalette::Active).lightness() - window.lightness()) >= 40);

        // A light palette whose shades read keeps them, and its frames are the style's own.
        const QPalette light(QColor(239, 239, 239));
        QCOMPARE(ReadablePalette::repaired(light).color(QPalette::Mid), light.color(QPalette::Mid));
        QVERIFY(!ReadablePalette::framesFade(light, QPalette::Active));
        QCOMPARE(ReadablePalette::frameColour(light, QPalette::Active), QColor(239, 239, 239).darker(140));
    }

    // Secondary text (the placeholder colour, and the sheets' notes) reads at 4.5:1 on everything it is drawn on,
    // in dark and light schemes, where Qt's own, the text at half strength, does not; it still steps back from
    // the text.
    void secondaryTextReadsInDarkAndLightSchemes_data() {
        QTest::addColumn<QPalette>("scheme");
        QPalette breezeDark = darkPalette(QColor(252, 252, 252, 128));
        breezeDark.setColor(QPalette::Window, QColor(42, 46, 50));
        breezeDark.setColor(QPalette::Button, QColor(42, 46, 50));
        breezeDark.setColor(QPalette::Base, QColor(27, 30, 32));
        breezeDark.setColor(QPalette::AlternateBase, QColor(35, 38, 41));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            breezeDark.setColor(role, QColor(252, 252, 252));
        QTest::newRow("dark, half-strength text") << breezeDark;
        QTest::newRow("dark, black default") << darkPalette(QColor(0, 0, 0, 128));
        QPalette light = QApplication::style()->standardPalette();
        light.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
        QTest::newRow("light") << light;
    }
    void secondaryTextReadsInDarkAndLightSchemes() {
        QFETCH(QPalette, scheme);
        const QPalette repaired = ReadablePalette::repaired(scheme);
        QVERIFY(ReadablePalette::placeholderReadable(repaired));
        QCOMPARE(ReadablePalette::repaired(repaired), repaired);
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            const QColor text = repaired.color(group, QPalette::Text);
            const QColor secondary = repaired.color(group, QPalette::PlaceholderText);
            for (const auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button}) {
                const QColor below = repaired.color(group, role);
                // On the role itself and under a card's or a count badge's faint fill of the text colour.
                for (const QColor& under : {below, towards(below, text, 0.12)}) {
                    const qreal ratio = TextStyle::contrastRatio(TextStyle::seenOver(secondary, under), under);
                    QVERIFY2(ratio >= 4.5,
                             qPrintable(QStringLiteral("%1 on %2: %3").arg(secondary.name(), under.name()).arg(ratio)));
                }
            }
            QVERIFY(TextStyle::contrastRatio(TextStyle::seenOver(secondary, repaired.color(group, QPalette::Base)),
                                             text) >= 1.5);
        }
        const QColor window = repaired.color(QPalette::Window);
        const QColor notes = SheetStyle::secondaryColor(repaired);
        for (const QColor& under :
             {window, towards(window, repaired.color(QPalette::WindowText), SheetStyle::cardFill)})
            QVERIFY2(TextStyle::contrastRatio(notes, under) >= 4.5, qPrintable(notes.name() + under.name()));
    }

    // The alert red reads on a field that stands far from its window: the search heeds the field as well.
    void theAlertColourReadsOnAFieldUnlikeItsWindow() {
        QPalette palette(QColor(20, 20, 20));
        palette.setColor(QPalette::Window, QColor(20, 20, 20));
        palette.setColor(QPalette::Base, QColor(75, 75, 75));
        palette.setColor(QPalette::WindowText, Qt::white);
        const QColor alert = TextStyle::alert(palette);
        QVERIFY(TextStyle::contrastRatio(alert, palette.color(QPalette::Base)) >= 4.5);
        QVERIFY(TextStyle::contrastRatio(alert, palette.color(QPalette::Window)) >= 4.5);
    }

    // On a mid-grey window the red may have to go the other way from its scheme's (darker on a dark scheme, lighter
    // on a light one): it stays a red that reads, rather than giving up for black or white.
    void theAlertColourStaysARedOnMidGreyWindows() {
        for (int window = 100; window <= 160; window += 5)
            for (const bool darkScheme : {true, false}) {
                QPalette palette(QColor(window, window, window));
                palette.setColor(QPalette::Window, QColor(window, window, window));
                palette.setColor(QPalette::Base, QColor(window, window, window));
                palette.setColor(QPalette::WindowText, darkScheme ? Qt::white : Qt::black);
                const QColor alert = TextStyle::alert(palette);
                const QString where = QStringLiteral("%1 %2: %3").arg(window).arg(darkScheme).arg(alert.name());
                const bool canRead =
                    std::max(TextStyle::contrastRatio(Qt::white, palette.color(QPalette::Window)),
                             TextStyle::contrastRatio(Qt::black, palette.color(QPalette::Window))) >= 4.6;
                if (!canRead) continue;
                QVERIFY2(TextStyle::contrastRatio(alert, palette.color(QPalette::Window)) >= 4.5, qPrintable(where));
                QVERIFY2(alert.hsvHue() >= 0 && alert.hsvHue() <= 15 && alert.hsvSaturation() > 0, qPrintable(where));
            }
    }

    // A dark scheme that names no link colours leaves Qt's blue and magenta on its fields: both are repaired,
    // the visited one as well.
    void linksReadInASchemeThatNamesNone() {
        QPalette scheme;
        scheme.setColor(QPalette::Window, QColor(60, 60, 60));
        scheme.setColor(QPalette::Base, QColor(80, 80, 80));
        for (const auto role : {QPalette::WindowText, QPalette::Text})
            scheme.setColor(role, QColor(240, 240, 240));
        QVERIFY(TextStyle::contrastRatio(scheme.color(QPalette::LinkVisited), scheme.color(QPalette::Base)) < 3);
        const QPalette repaired = ReadablePalette::repaired(scheme);
        for (const auto role : {QPalette::Link, QPalette::LinkVisited})
            QVERIFY(TextStyle::contrastRatio(repaired.color(role), repaired.color(QPalette::Base)) >= 4.5);
    }

    // The alert red reads at 4.5:1 on the windows and fields of dark and light schemes, from black to white.
    void theAlertColourReadsOnAnyWindow() {
        for (int window = 0; window <= 255; window += 5) {
            if (window > 100 && window < 160) continue;
            const bool dark = window < 128;
            QPalette palette(QColor(window, window, window));
            palette.setColor(QPalette::Window, QColor(window, window, window));
            palette.setColor(QPalette::Base, dark ? QColor(window, window, window).darker(120) : QColor(Qt::white));
            palette.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
            const QColor alert = TextStyle::alert(palette);
            QVERIFY2(TextStyle::contrastRatio(alert, palette.color(QPalette::Window)) >= 4.5,
                     qPrintable(QString::number(window)));
            QVERIFY2(TextStyle::contrastRatio(alert, palette.color(QPalette::Base)) >= 4.5,
                     qPrintable(QString::number(window)));
        }
        QCOMPARE(qRound(TextStyle::contrastRatio(Qt::black, Qt::white)), 21);
        QCOMPARE(TextStyle::contrastRatio(QColor(42, 46, 50), QColor(42, 46, 50)), 1.0);
    }
};

QTEST_MAIN(DarkPaletteTest)
#include "DarkPaletteTest.moc"
