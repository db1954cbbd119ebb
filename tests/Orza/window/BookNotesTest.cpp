#include "Orza/window/BookNotes.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/widgets/LineLimitedLabel.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include <cmath>

using namespace Orza;

namespace {

QString words(int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("glaze%1").arg(i);
    return list.join(QLatin1Char(' '));
}

QPalette darkPalette() {
    QPalette palette(QColor(49, 54, 59));
    palette.setColor(QPalette::Window, QColor(49, 54, 59));
    palette.setColor(QPalette::Base, QColor(35, 38, 41));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, QColor(239, 240, 241));
    palette.setColor(QPalette::PlaceholderText, QColor(161, 169, 177));
    return palette;
}

int gap(const QColor& a, const QColor& b) {
    return std::abs(a.lightness() - b.lightness());
}

/// `colour` laid over `below`, as its alpha blends it.
QColor over(const QColor& colour, const QColor& below) {
    const float alpha = colour.alphaF();
    return QColor::fromRgbF(colour.redF() * alpha + below.redF() * (1 - alpha),
                            colour.greenF() * alpha + below.greenF() * (1 - alpha),
                            colour.blueF() * alpha + below.blueF() * (1 - alpha));
}

} // namespace

class BookNotesTest : public QObject {
    Q_OBJECT
private slots:
    void tileCodeNoteShowsItsTextAndReportsItsClose() {
        TileCodeNote note(QStringLiteral("Two tiles got codes."));
        QCOMPARE(note.heading()->text(), QStringLiteral("Tile codes"));
        QCOMPARE(note.textLabel()->text(), QStringLiteral("Two tiles got codes."));
        QCOMPARE(note.textLabel()->maximumLines(), 12);
        QCOMPARE(note.closeButton()->toolTip(), QStringLiteral("Close this note"));
        QCOMPARE(note.closeButton()->accessibleName(), QStringLiteral("Close the tile code note"));
        QSignalSpy closed(&note, &NoteBanner::closeClicked);
        note.closeButton()->click();
        QCOMPARE(closed.count(), 1);
    }

    void sampleNoteNamesTheApplication() {
        qApp->setProperty("orzaBundleName", QStringLiteral("Kiln Notes"));
        SampleNote note;
        qApp->setProperty("orzaBundleName", QVariant());
        QCOMPARE(note.textLabel()->text(), QString::fromStdString(GlazeCore::SampleBook::introNote("Kiln Notes")));
        QVERIFY(note.textLabel()->text().contains(QStringLiteral("and Kiln Notes works out new amounts")));
        QCOMPARE(note.textLabel()->maximumLines(), 16);
        QCOMPARE(note.closeButton()->toolTip(), QStringLiteral("Close this note"));
        QCOMPARE(note.closeButton()->accessibleName(), QStringLiteral("Close the sample book note"));
        QVERIFY(!note.heading()->text().isEmpty());
    }

    // Text beyond the line limit ends in an ellipsis on the last line; text within it is shown whole.
    void textIsCutAtItsLineLimit() {
        const int width = 160;
        LineLimitedLabel longText(words(200), 12);
        const QStringList lines = longText.shownLines(width);
        QCOMPARE(lines.size(), 12);
        QVERIFY(lines.last().endsWith(QChar(0x2026)));
        for (const QString& line : lines)
            QVERIFY(longText.fontMetrics().horizontalAdvance(line) <= width);
        QCOMPARE(longText.heightForWidth(width), 12 * longText.fontMetrics().lineSpacing());
        longText.resize(width, longText.heightForWidth(width));
        QVERIFY(longText.isElided());

        LineLimitedLabel shortText(words(6), 12);
        const QStringList few = shortText.shownLines(width);
        QVERIFY(few.size() < 12);
        QCOMPARE(few.join(QLatin1Char(' ')), words(6));
        shortText.resize(width, shortText.heightForWidth(width));
        QVERIFY(!shortText.isElided());

        // Wider, fewer lines; the sample text at 16 lines in a narrow column still ends in an ellipsis.
        QVERIFY(longText.shownLines(width * 3).size() == 12);
        LineLimitedLabel sample(QString::fromStdString(GlazeCore::SampleBook::introNote("Orza")), 16);
        QVERIFY(sample.shownLines(60).last().endsWith(QChar(0x2026)));
        QCOMPARE(sample.shownLines(60).size(), 16);
        QVERIFY(!sample.shownLines(2000).last().endsWith(QChar(0x2026)));
    }

    // A card one step off the window, without a frame, its corners rounded by 8, and the text in the secondary
    // colour, readable on it, in a light and in a dark palette.
    void bannerIsASecondaryCardInLightAndDark() {
        const auto restore = qScopeGuard([] { QApplication::setPalette(QApplication::style()->standardPalette()); });
        for (const QPalette& palette : {QApplication::style()->standardPalette(), darkPalette()}) {
            QApplication::setPalette(palette);
            QWidget sidebar;
            sidebar.setAutoFillBackground(true);
            auto* note = new TileCodeNote(words(12), &sidebar);
            note->setGeometry(20, 20, 220, note->heightForWidth(220));
            sidebar.resize(260, note->height() + 40);
            sidebar.show();
            QVERIFY(QTest::qWaitForWindowExposed(&sidebar));
            const QImage shot = sidebar.grab().toImage();
            const auto at = [&](int x, int y) { return shot.pixelColor(note->mapTo(&sidebar, QPoint(x, y))); };

            const QColor window = palette.color(QPalette::Window);
            const QColor fill = at(8, note->height() / 2);
            QVERIFY(gap(fill, window) >= 8);
            QCOMPARE(at(0, note->height() / 2), fill);
            QVERIFY(gap(at(4, 0), window) < gap(at(4, 0), fill));
            QCOMPARE(at(8, 0), fill);

            // The inkiest pixel of the text is the secondary colour over the card.
            const QRect text = note->textLabel()->geometry();
            QColor ink = fill;
            for (int y = text.top(); y <= text.bottom(); ++y)
                for (int x = text.left(); x <= text.right(); ++x)
                    if (gap(at(x, y), fill) > gap(ink, fill)) ink = at(x, y);
            const QColor secondary = over(palette.color(QPalette::PlaceholderText), fill);
            QVERIFY2(gap(ink, secondary) <= 12, qPrintable(ink.name() + QStringLiteral(" for ") + secondary.name()));
            QVERIFY(gap(secondary, fill) >= 70);
        }
    }

    void bannerHeightFollowsItsWidth() {
        TileCodeNote note(words(40));
        QVERIFY(note.hasHeightForWidth());
        QVERIFY(note.heightForWidth(160) > note.heightForWidth(600));
    }
};

QTEST_MAIN(BookNotesTest)
#include "BookNotesTest.moc"
