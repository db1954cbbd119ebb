#include "Orza/display/NumberDisplay.h"

#include <QTest>

using namespace Orza;

class NumberDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void upToTwoDecimals_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << "en_US" << 0.0 << "0";
        QTest::newRow("whole") << "en_US" << 1.0 << "1";
        QTest::newRow("one decimal") << "en_US" << 1.5 << "1.5";
        QTest::newRow("rounded") << "en_US" << 1.256 << "1.26";
        QTest::newRow("grouped") << "en_US" << 1000.0 << "1,000";
        QTest::newRow("grouped with decimals") << "en_US" << 12345.5 << "12,345.5";
        QTest::newRow("german") << "de_DE" << 1234.25 << "1.234,25";
        QTest::newRow("german whole") << "de_DE" << 10.0 << "10";
    }
    void upToTwoDecimals() {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(formatDouble(value, QLocale(locale)), text);
    }

    void atMostTwoDecimalsEvenOnAHalf() {
        const QString text = formatDouble(2.005, QLocale(QStringLiteral("en_US")));
        QVERIFY(text == QStringLiteral("2") || text == QStringLiteral("2.01"));
    }

    void fixedDecimals() {
        QCOMPARE(formatDoublePlaces(3, 0.3, QLocale(QStringLiteral("en_US"))), QStringLiteral("0.300"));
        QCOMPARE(formatDoublePlaces(3, 0.3, QLocale(QStringLiteral("de_DE"))), QStringLiteral("0,300"));
        QCOMPARE(formatDoublePlaces(1, 2500, QLocale(QStringLiteral("en_US"))), QStringLiteral("2,500.0"));
    }

    void zeroAfterRoundingHasNoSign_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("text");
        // places -1: formatDouble, which drops trailing zeros
        QTest::newRow("up to two") << "de_DE" << -0.004 << -1 << "0";
        QTest::newRow("two places") << "de_DE" << -0.001 << 2 << "0,00";
        QTest::newRow("one place") << "de_DE" << -0.04 << 1 << "0,0";
        QTest::newRow("no places") << "de_DE" << -0.4 << 0 << "0";
        QTest::newRow("english") << "en_US" << -0.0004 << 3 << "0.000";
        QTest::newRow("negative zero") << "de_DE" << -0.0 << 2 << "0,00";
        QTest::newRow("still negative") << "de_DE" << -0.006 << 2 << "-0,01";
        QTest::newRow("still negative, up to two") << "de_DE" << -0.005001 << -1 << "-0,01";
        QTest::newRow("grouped negative") << "de_DE" << -1234.5 << 1 << "-1.234,5";
    }
    void zeroAfterRoundingHasNoSign() {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(int, places);
        QFETCH(QString, text);
        const QLocale shown(locale);
        QCOMPARE(places < 0 ? formatDouble(value, shown) : formatDoublePlaces(places, value, shown), text);
    }

    void formulasAreSpelledOut() {
        QCOMPARE(spokenFormula(GlazeCore::Oxide::Li2O), QStringLiteral("L i 2 O"));
        QCOMPARE(spokenFormula(GlazeCore::Oxide::Al2O3), QStringLiteral("A l 2 O 3"));
    }
};

QTEST_GUILESS_MAIN(NumberDisplayTest)
#include "NumberDisplayTest.moc"
