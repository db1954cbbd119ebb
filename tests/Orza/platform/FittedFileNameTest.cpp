// Every file name Orza offers fits the file system's 255 bytes: cut between characters, never inside a UTF-8
// sequence or a surrogate pair, and with its extension whole.

#include "Orza/platform/FittedFileName.h"

#include <QTest>

using Orza::fittedFileName;

class FittedFileNameTest : public QObject {
    Q_OBJECT
private slots:
    void cutsBetweenCharactersKeepingTheExtension_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("offered");
        const QString a = QStringLiteral("a");
        const QString glaze = QStringLiteral("\u91C9");     // 3 bytes
        const QString emoji = QStringLiteral("\U0001F3FA"); // 4 bytes, a surrogate pair
        const QString accented = QStringLiteral("e\u0301"); // a letter and its accent, 3 bytes

        QTest::newRow("short") << QStringLiteral("Celadon batch.pdf") << QStringLiteral("Celadon batch.pdf");
        QTest::newRow("ASCII exactly 255") << a.repeated(251) + ".pdf" << a.repeated(251) + ".pdf";
        QTest::newRow("ASCII 256") << a.repeated(252) + ".pdf" << a.repeated(251) + ".pdf";
        QTest::newRow("3-byte exactly 255") << glaze.repeated(83) + "aa.pdf" << glaze.repeated(83) + "aa.pdf";
        QTest::newRow("3-byte, 90 of them") << glaze.repeated(90) + ".pdf" << glaze.repeated(83) + ".pdf";
        QTest::newRow("4-byte emoji") << emoji.repeated(70) + ".orzabook" << emoji.repeated(61) + ".orzabook";
        QTest::newRow("emoji after one byte") << a + emoji.repeated(70) + ".pdf" << a + emoji.repeated(62) + ".pdf";
        QTest::newRow("accent kept with its letter")
            << a + accented.repeated(90) + ".pdf" << a + accented.repeated(83) + ".pdf";
        QTest::newRow("a first character too long to keep whole")
            << QStringLiteral("e") + QStringLiteral("\u0301").repeated(300) + ".pdf"
            << QStringLiteral("e") + QStringLiteral("\u0301").repeated(125) + ".pdf";
        QTest::newRow("space at the cut dropped") << a.repeated(250) + "   tail.pdf" << a.repeated(250) + ".pdf";
        QTest::newRow("no extension") << glaze.repeated(90) << glaze.repeated(85);
        QTest::newRow("a dot of the name's own") << glaze.repeated(90) + ". " + a.repeated(40) << glaze.repeated(85);
        QTest::newRow("an extension too long to keep")
            << glaze.repeated(40) + "." + glaze.repeated(80) << glaze.repeated(40) + "." + glaze.repeated(44);
    }

    void cutsBetweenCharactersKeepingTheExtension() {
        QFETCH(QString, name);
        QFETCH(QString, offered);
        const QString fitted = fittedFileName(name);
        QCOMPARE(fitted, offered);
        QVERIFY(fitted.toUtf8().size() <= 255);
        QVERIFY(!fitted.toUtf8().contains(QByteArrayLiteral("\xEF\xBF\xBD"))); // no half character
    }
};

QTEST_APPLESS_MAIN(FittedFileNameTest)
#include "FittedFileNameTest.moc"
