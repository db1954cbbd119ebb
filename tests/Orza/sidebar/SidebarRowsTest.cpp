#include "Orza/sidebar/SidebarRows.h"

#include "GlazeCore/book/SampleBook.h"
#include "GlazeCore/library/OxideTable.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/sidebar/SidebarModel.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Orza;
using GlazeCore::Oxide;
using GlazeCore::StullRegion;

namespace {

/// Three pure oxides as custom materials, so a recipe can be put at any point of the chart.
std::vector<GlazeCore::Material> pureOxides() {
    return {{"test-cao", "Pure CaO", {{Oxide::CaO, 100}}, 0, ""},
            {"test-al", "Pure alumina", {{Oxide::Al2O3, 100}}, 0, ""},
            {"test-si", "Pure silica", {{Oxide::SiO2, 100}}, 0, ""}};
}

double grams(Oxide oxide, double moles) {
    return moles * GlazeCore::OxideTable::info(oxide)->molarMass;
}

/// A recipe whose UMF is 1 CaO, `al2O3` and `siO2`.
GlazeCore::Recipe recipeAt(double siO2, double al2O3, std::string name = "Point") {
    GlazeCore::Recipe recipe = OrzaTest::recipe(std::move(name), "10");
    recipe.lines = {{GlazeCore::Uuid::random(), "test-cao", grams(Oxide::CaO, 1), false},
                    {GlazeCore::Uuid::random(), "test-al", grams(Oxide::Al2O3, al2O3), false},
                    {GlazeCore::Uuid::random(), "test-si", grams(Oxide::SiO2, siO2), false}};
    return recipe;
}

GlazeCore::TestTile tile(std::string code) {
    GlazeCore::TestTile made;
    made.id = GlazeCore::Uuid::random();
    made.code = std::move(code);
    return made;
}

} // namespace

class SidebarRowsTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void regionOfEachPartOfTheChart_data() {
        QTest::addColumn<double>("siO2");
        QTest::addColumn<double>("al2O3");
        QTest::addColumn<int>("region");
        QTest::addColumn<QString>("words");
        QTest::newRow("matte") << 2.0 << 0.6 << int(StullRegion::matte) << "Matte";
        QTest::newRow("gloss") << 3.0 << 0.3 << int(StullRegion::gloss) << "Gloss";
        QTest::newRow("semimatte") << 4.0 << 0.9 << int(StullRegion::semimatte) << "Semi-matte";
        QTest::newRow("underfired") << 5.0 << 0.3 << int(StullRegion::underfired) << "Underfired";
        QTest::newRow("crazing") << 2.0 << 0.15 << int(StullRegion::crazing) << "Crazing likely";
    }
    void regionOfEachPartOfTheChart() {
        QFETCH(double, siO2);
        QFETCH(double, al2O3);
        QFETCH(int, region);
        QFETCH(QString, words);
        const BookLibrary library(pureOxides());
        const GlazeCore::Recipe recipe = recipeAt(siO2, al2O3, "Celadon");
        const auto found = SidebarRows::rowRegion(recipe, library);
        QCOMPARE(found, std::optional(StullRegion(region)));
        QCOMPARE(SidebarRows::rowHelpText(found, SidebarRows::displayName(recipe)),
                 QStringLiteral("Celadon. Stull chart: ") + words);
        QCOMPARE(SidebarRows::accessibilityLabel(recipe, found),
                 QStringLiteral("Recipe Celadon, cone 10, ") + words + QStringLiteral(" on the Stull chart"));
    }

    // Rows that must show no region say only their name, and their accessibility label ends after the cone.
    void rowsWithoutARegion() {
        const BookLibrary library(pureOxides());
        GlazeCore::Recipe blankLines = OrzaTest::recipe("Blank", "6");
        blankLines.lines = {{GlazeCore::Uuid::random(), "", 40, false}, {GlazeCore::Uuid::random(), "", 0, false}};
        GlazeCore::Recipe noLines = OrzaTest::recipe("Empty", "6");
        noLines.lines.clear();
        GlazeCore::Recipe offTheChart = recipeAt(10, 0.5, "Far");
        GlazeCore::Recipe broken = recipeAt(3, 0.3, "Broken");
        broken.lines[2].amount = std::numeric_limits<double>::quiet_NaN(); // the calculation throws
        offTheChart.cone = broken.cone = "6";

        for (const GlazeCore::Recipe& recipe : {blankLines, noLines, offTheChart, broken}) {
            QVERIFY2(!SidebarRows::rowRegion(recipe, library), recipe.name.c_str());
            const QString name = QString::fromStdString(recipe.name);
            QCOMPARE(SidebarRows::rowHelpText(std::nullopt, name), name);
            QCOMPARE(SidebarRows::accessibilityLabel(recipe, std::nullopt),
                     QStringLiteral("Recipe ") + name + QStringLiteral(", cone 6"));
        }
    }

    // Only lines naming a material count, and additions never do: the dot shows the base glaze.
    void blankLinesAndAdditionsLeaveTheBaseRegion() {
        const BookLibrary library(pureOxides());
        GlazeCore::Recipe recipe = recipeAt(3.0, 0.3);
        recipe.lines.push_back({GlazeCore::Uuid::random(), "", 500, false});
        QCOMPARE(SidebarRows::rowRegion(recipe, library), std::optional(StullRegion::gloss));
        // Enough alumina as an addition to make the base matte if it counted.
        recipe.lines.push_back({GlazeCore::Uuid::random(), "test-al", grams(Oxide::Al2O3, 0.4), true});
        QCOMPARE(SidebarRows::rowRegion(recipe, library), std::optional(StullRegion::gloss));
        recipe.lines.back().isAddition = false;
        QCOMPARE(SidebarRows::rowRegion(recipe, library), std::optional(StullRegion::matte));
        // An unknown material counts as nothing; a material the book holds only as an invalid one too.
        recipe.lines.back().materialID = "no-such-material";
        QCOMPARE(SidebarRows::rowRegion(recipe, library), std::optional(StullRegion::gloss));
    }

    void namesAreShownAsStored() {
        GlazeCore::Recipe untitled = OrzaTest::recipe("", "6");
        QCOMPARE(SidebarRows::displayName(untitled), QStringLiteral("Untitled recipe"));
        QCOMPARE(SidebarRows::accessibilityLabel(untitled, std::nullopt),
                 QStringLiteral("Recipe Untitled recipe, cone 6"));
        QCOMPARE(SidebarRows::rowHelpText(StullRegion::gloss, SidebarRows::displayName(untitled)),
                 QStringLiteral("Untitled recipe. Stull chart: Gloss"));
        QCOMPARE(SidebarRows::displayName(OrzaTest::recipe("  ")), QStringLiteral("  "));
        QCOMPARE(SidebarRows::accessibilityLabel(OrzaTest::recipe("Shino", " 04 "), std::nullopt),
                 QStringLiteral("Recipe Shino, cone  04 "));
    }

    void testsRowTexts() {
        QCOMPARE(SidebarRows::testsHelpText({}), QStringLiteral("Test log. No test tiles yet."));
        QCOMPARE(SidebarRows::testsAccessibilityLabel(0), QStringLiteral("Test log, 0 tiles"));
        QCOMPARE(SidebarRows::testsHelpText({tile("T-001")}),
                 QStringLiteral("Test log: 1 test tile. Last added: T-001."));
        QCOMPARE(SidebarRows::testsAccessibilityLabel(1), QStringLiteral("Test log, 1 tiles"));
        // The last in book order, not the latest date; an empty code reads "no code".
        QCOMPARE(SidebarRows::testsHelpText({tile("T-009"), tile("T-002")}),
                 QStringLiteral("Test log: 2 test tiles. Last added: T-002."));
        QCOMPARE(SidebarRows::testsHelpText({tile("T-009"), tile("")}),
                 QStringLiteral("Test log: 2 test tiles. Last added: no code."));
    }

    void modelRolesOfRecipeRows() {
        GlazeCore::GlazeBook book;
        book.customMaterials = pureOxides();
        book.recipes = {recipeAt(2.0, 0.6, "Matte"), OrzaTest::recipe("")};
        book.recipes[1].lines[0].materialID.clear();
        BookDocument document(GlazeDocument::make(book, false));
        SidebarModel model(document);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex section = model.sectionIndex(SidebarModel::recipesSection);
        const QModelIndex matte = model.index(0, 0, section);
        QCOMPARE(matte.data().toString(), QStringLiteral("Matte"));
        QCOMPARE(matte.data(SidebarModel::regionRole).toInt(), int(StullRegion::matte));
        QCOMPARE(matte.data(Qt::ToolTipRole).toString(), QStringLiteral("Matte. Stull chart: Matte"));
        QCOMPARE(matte.data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Recipe Matte, cone 10, Matte on the Stull chart"));
        QVERIFY(!matte.data(Qt::DecorationRole).value<QIcon>().isNull());
        const QModelIndex untitled = model.index(1, 0, section);
        QCOMPARE(untitled.data().toString(), QStringLiteral("Untitled recipe"));
        QVERIFY(!untitled.data(SidebarModel::regionRole).isValid());
        QCOMPARE(untitled.data(Qt::ToolTipRole).toString(), QStringLiteral("Untitled recipe"));

        // An edit of the recipe moves its dot.
        document.setLines(book.recipes[0].id, recipeAt(3.0, 0.3).lines, QStringLiteral("Edit"));
        QCOMPARE(matte.data(SidebarModel::regionRole).toInt(), int(StullRegion::gloss));

        const QModelIndex placeholderSection = model.sectionIndex(SidebarModel::recipesSection);
        document.removeRecipe(book.recipes[0].id);
        document.removeRecipe(book.recipes[1].id);
        const QModelIndex placeholder = model.index(0, 0, placeholderSection);
        QCOMPARE(placeholder.data().toString(), QStringLiteral("No recipes yet"));
        QCOMPARE(placeholder.data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("No recipes yet. Use Add Recipe."));
        QVERIFY(placeholder.data(Qt::ForegroundRole).isValid());
        QVERIFY(!placeholder.data(SidebarModel::regionRole).isValid());
    }

    void testsRowCountsAndFollowsNewTiles() {
        BookDocument document(GlazeDocument::make(OrzaTest::bookWithRecipes({"A"}), false));
        SidebarModel model(document);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex tests = model.indexFor(SidebarItem::tests());
        QVERIFY(!tests.data(SidebarModel::badgeRole).isValid());
        QCOMPARE(tests.data(Qt::ToolTipRole).toString(), QStringLiteral("Test log. No test tiles yet."));
        QCOMPARE(tests.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Test log, 0 tiles"));

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        GlazeCore::TestTile added = tile("");
        added.recipeID = document.book().recipes[0].id;
        document.addTestTile(added);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].value<QModelIndex>(), tests);
        QCOMPARE(tests.data(SidebarModel::badgeRole).toInt(), 1);
        QCOMPARE(tests.data(Qt::ToolTipRole).toString(), QStringLiteral("Test log: 1 test tile. Last added: T-001."));
        QCOMPARE(tests.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Test log, 1 tiles"));

        // A recipe edit leaves the Tests row alone.
        document.setRecipeName(document.book().recipes[0].id, "B");
        QCOMPARE(changed.count(), 2);
        QVERIFY(changed[1][0].value<QModelIndex>() != tests);

        const QModelIndex materials = model.indexFor(SidebarItem::materials());
        QCOMPARE(materials.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Materials"));
        QVERIFY(!materials.data(SidebarModel::badgeRole).isValid());
        QVERIFY(!materials.data(Qt::DecorationRole).value<QIcon>().isNull());
    }

    // The regions rest on the book's custom materials: a book read again with other materials is shown
    // with those, not with a library kept from before.
    void regionsFollowTheCustomMaterialsAfterARevert() {
        GlazeCore::GlazeBook book;
        book.customMaterials = pureOxides();
        book.recipes = {recipeAt(3.0, 0.3, "Moving")};
        const QString path = filePath("regions.orzabook");
        BookDocument document(GlazeDocument::make(book, false));
        document.save(path);
        SidebarModel model(document);
        const QModelIndex row = model.index(0, 0, model.sectionIndex(SidebarModel::recipesSection));
        QCOMPARE(row.data(SidebarModel::regionRole).toInt(), int(StullRegion::gloss));

        // The same recipe, now over a "silica" that is one fifth alumina.
        book.customMaterials[2].analysis = {{Oxide::SiO2, 80}, {Oxide::Al2O3, 20}};
        OrzaTest::saveBook(book, path);
        document.revert();
        QCOMPARE(row.data(SidebarModel::regionRole).toInt(), int(StullRegion::matte));
    }

    void sampleBookRowsHaveRegions() {
        BookDocument document(GlazeDocument::make(GlazeCore::SampleBook::makeBook(), true));
        SidebarModel model(document);
        const QModelIndex section = model.sectionIndex(SidebarModel::recipesSection);
        QCOMPARE(model.rowCount(section), 6);
        for (int row = 0; row < 6; ++row)
            QVERIFY(model.index(row, 0, section).data(SidebarModel::regionRole).isValid());
        QCOMPARE(model.indexFor(SidebarItem::tests()).data(SidebarModel::badgeRole).toInt(), 3);
        QCOMPARE(model.indexFor(SidebarItem::tests()).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Test log: 3 test tiles. Last added: T-003."));
    }
};

QTEST_MAIN(SidebarRowsTest)
#include "SidebarRowsTest.moc"
