#include "Orza/batch/BatchRows.h"
#include "GlazeCore/recipe/Batch.h"
#include "Orza/library/BookLibrary.h"
#include "support/TestEnvironment.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Orza;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

GlazeCore::Recipe recipeOf(std::vector<GlazeCore::RecipeLine> lines) {
    return {GlazeCore::Uuid::random(), "Test", "6", std::move(lines), ""};
}

QStringList titles(const std::vector<BatchRow>& rows) {
    QStringList list;
    for (const BatchRow& row : rows)
        list << batchRowTitle(row);
    return list;
}

} // namespace

class BatchRowsTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private:
    void setUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void tearDown() override { QLocale::setDefault(QLocale::system()); }

private slots:
    // Each line with an amount becomes a row named as the library names it, in line order, with its id.
    void rowsNameEveryLineAsTheLibraryDoes() {
        GlazeCore::Material custom{
            "silica", "Fine silica (Al\u2082O\u2083 free)", {{GlazeCore::Oxide::SiO2, 100}}, 0, ""};
        GlazeCore::Material broken{"custom-1", "Broken frit", {{GlazeCore::Oxide::SiO2, 150}}, 0, ""};
        const BookLibrary library({custom, broken});
        const auto recipe =
            recipeOf({line("silica", 30), line("", 5), line("custom-1", 20), line("kaolin", 0),
                      line("no-such-thing", 10), line("  ", 5), line("whiting", 35), line("red-iron-oxide", 4, true)});
        const auto rows = batchRows(recipe, library, 1000, 0.1);
        QCOMPARE(titles(rows),
                 (QStringList{QStringLiteral("Fine silica (Al\u2082O\u2083 free)"), QStringLiteral("Choose material"),
                              QStringLiteral("Broken frit"), QStringLiteral("Unknown material (no-such-thing)"),
                              QStringLiteral("Unknown material (  )"), QStringLiteral("Whiting"),
                              QStringLiteral("Red iron oxide (addition)")}));
        for (std::size_t i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i].id, int(i));
        QCOMPARE(rows[0].materialID, std::string("silica"));
        // Base 105 (the blank-id lines count toward it): 30 of 105 of 1000 g.
        QCOMPARE(rows[0].grams, 285.7);
        QCOMPARE(rows.back().grams, 38.1);
        QVERIFY(rows.back().isAddition);
        QCOMPARE(batchRowsTotal(rows), 285.7 + 47.6 + 190.5 + 95.2 + 47.6 + 333.3 + 38.1);
    }

    // The decimals follow the step's size, for the steps offered and for any other step stored: the offered
    // steps show the weights themselves, a 0.25 g step one decimal like the 0.5 g step.
    void gramsShowDecimalsByTheStepsSize() {
        const auto recipe = recipeOf({line("silica", 1), line("kaolin", 2)});
        const BookLibrary library({});
        const struct {
            double step;
            int decimals;
        } cases[] = {{1, 0}, {0.5, 1}, {0.1, 1}, {0.01, 2}, {0.25, 1}, {0.001, 2}, {2, 0}, {0.05, 2}};
        for (const auto& c : cases)
            QCOMPARE(gramsDecimals(c.step), c.decimals);
        for (const double offered : batchPrecisionOptions) {
            for (const BatchRow& row : batchRows(recipe, library, 1000, offered)) {
                const QString text = gramsText(row.grams, offered);
                bool ok = false;
                QCOMPARE(QLocale().toDouble(text, &ok), row.grams);
                QVERIFY(ok);
            }
        }
        QCOMPARE(gramsText(333.25, 0.25), QStringLiteral("333.3"));
        QCOMPARE(gramsText(1000, 0.1), QStringLiteral("1,000.0"));
        QCOMPARE(gramsText(333, 1), QStringLiteral("333"));
        // A step that rounds nothing shows two decimals.
        for (const double none : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()})
            QCOMPARE(gramsText(1.5, none), QStringLiteral("1.50"));
        QCOMPARE(precisionOptionText(0.01), QStringLiteral("0.01 g"));
        QCOMPARE(precisionOptionText(1), QStringLiteral("1 g"));
    }

    // An empty list always says why.
    void noRowsSayWhy() {
        const auto base = recipeOf({line("silica", 40)});
        QCOMPARE(batchNoRowsText(base, 0, 0.1), QStringLiteral("Enter a batch weight above 0 g."));
        QCOMPARE(batchNoRowsText(base, -5, 0.1), QStringLiteral("Enter a batch weight above 0 g."));
        const auto additionsOnly = recipeOf({line("red-iron-oxide", 4, true)});
        QCOMPARE(batchNoRowsText(additionsOnly, 1000, 0.1), QStringLiteral("Add base materials to the recipe first."));
        QVERIFY(batchRows(additionsOnly, BookLibrary({}), 1000, 0.1).empty());
        const auto huge = recipeOf({line("silica", 1e-300), line("red-iron-oxide", 1e300, true)});
        QCOMPARE(
            batchNoRowsText(huge, 1000, 0.1),
            QStringLiteral("The additions are too large for this base, so a weight would not be a finite number."));
    }
};

QTEST_MAIN(BatchRowsTest)
#include "BatchRowsTest.moc"
