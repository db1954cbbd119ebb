#include "Orza/window/BookNotes.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/widgets/LineLimitedLabel.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Orza;

namespace {

QString words(int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("glaze%1").arg(i);
    return list.join(QLatin1Char(' '));
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

    void bannerHeightFollowsItsWidth() {
        TileCodeNote note(words(40));
        QVERIFY(note.hasHeightForWidth());
        QVERIFY(note.heightForWidth(160) > note.heightForWidth(600));
    }
};

QTEST_MAIN(BookNotesTest)
#include "BookNotesTest.moc"
