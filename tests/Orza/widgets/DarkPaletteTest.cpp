// Symbols and secondary text on a dark palette: what a theme that leaves colours at odd defaults would hide.

#include "Orza/app/ReadablePalette.h"
#include "Orza/widgets/LiveNumberField.h"
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
        QCOMPARE(repaired.color(QPalette::PlaceholderText).rgb(), QColor(239, 240, 241).rgb());
        QCOMPARE(repaired.color(QPalette::Window), unreadable.color(QPalette::Window));

        const QPalette readable = darkPalette(QColor(161, 169, 177));
        QVERIFY(ReadablePalette::placeholderReadable(readable));
        QCOMPARE(ReadablePalette::repaired(readable).color(QPalette::PlaceholderText), QColor(161, 169, 177));

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

        // A light palette whose shades read is left as it is, and its frames are the style's own.
        const QPalette light(QColor(239, 239, 239));
        QCOMPARE(ReadablePalette::repaired(light), light);
        QVERIFY(!ReadablePalette::framesFade(light, QPalette::Active));
        QCOMPARE(ReadablePalette::frameColour(light, QPalette::Active), QColor(239, 239, 239).darker(140));
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
