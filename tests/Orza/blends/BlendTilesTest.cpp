#include "Orza/blends/BlendTiles.h"

#include "GlazeCore/library/OxideTable.h"
#include "Orza/blends/TileCard.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/sidebar/SidebarRows.h"
#include "Orza/widgets/RegionNames.h"
#include "support/TestEnvironment.h"

#include <QLocale>
#include <QTest>

#include <cmath>

using namespace Orza;
using GlazeCore::Oxide;
using GlazeCore::StullRegion;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

GlazeCore::Recipe glaze(std::string name, std::vector<GlazeCore::RecipeLine> lines, std::string cone = "6") {
    return {GlazeCore::Uuid::random(), std::move(name), std::move(cone), std::move(lines), ""};
}

/// Pure oxides, so that a tile can be put at any point of Stull's chart.
BookLibrary pureOxides() {
    return BookLibrary({{"test-cao", "Pure CaO", {{Oxide::CaO, 100}}, 0, ""},
                        {"test-al", "Pure alumina", {{Oxide::Al2O3, 100}}, 0, ""},
                        {"test-si", "Pure silica", {{Oxide::SiO2, 100}}, 0, ""}});
}

GlazeCore::Recipe recipeAt(double siO2, double al2O3) {
    const auto grams = [](Oxide oxide, double moles) { return moles * GlazeCore::OxideTable::info(oxide)->molarMass; };
    return glaze("Point", {line("test-cao", grams(Oxide::CaO, 1)), line("test-al", grams(Oxide::Al2O3, al2O3)),
                           line("test-si", grams(Oxide::SiO2, siO2))});
}

} // namespace

class BlendTilesTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private:
    void setUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void tearDown() override { QLocale::setDefault(QLocale::system()); }

private slots:
    // The start recipe comes first, then the others in book order, the last repeated up to four corners.
    void cornersStartFromTheOpenedRecipe() {
        const auto book = OrzaTest::bookWithRecipes({"A", "S", "B", "C", "D"});
        const auto& r = book.recipes;
        const auto corners = initialBlendCorners(r, r[1].id);
        QVERIFY((corners == std::array{r[1].id, r[0].id, r[2].id, r[3].id}));
        QCOMPARE(initialBlendPrefix(r, r[1].id), std::string("S"));

        const auto alone = OrzaTest::bookWithRecipes({"Only"});
        QVERIFY((initialBlendCorners(alone.recipes, alone.recipes[0].id) ==
                 std::array{alone.recipes[0].id, alone.recipes[0].id, alone.recipes[0].id, alone.recipes[0].id}));
        const auto two = OrzaTest::bookWithRecipes({"X", "Y"});
        QVERIFY((initialBlendCorners(two.recipes, two.recipes[1].id) ==
                 std::array{two.recipes[1].id, two.recipes[0].id, two.recipes[0].id, two.recipes[0].id}));
        QCOMPARE(initialBlendPrefix(two.recipes, GlazeCore::Uuid::random()), std::string("Blend"));

        // Each mode uses its first corners; a corner whose recipe is gone is skipped, not filled in.
        BlendChoice choice{BlendMode::triaxial, corners};
        QCOMPARE(blendCornerRecipes(r, choice).size(), std::size_t(3));
        choice.mode = BlendMode::grid;
        choice.corners[1] = GlazeCore::Uuid::random();
        const auto left = blendCornerRecipes(r, choice);
        QCOMPARE(left.size(), std::size_t(3));
        QCOMPARE(left[1].name, std::string("B"));
        QVERIFY(blendTiles(r, choice, BookLibrary({})).empty());
        QCOMPARE(blendEmptyDescription(r, choice), QStringLiteral("Choose 4 recipes to blend."));
    }

    // Tile counts and names are the engine's, numbered from 1; a corner it refuses explains the empty grid.
    void tilesFollowTheModeAndItsResolution() {
        GlazeCore::GlazeBook book;
        book.recipes = {glaze("Celadon", {line("silica", 60), line("kaolin", 40)}),
                        glaze("Tenmoku", {line("silica", 50), line("whiting", 50)}, "10"),
                        glaze("Shino", {line("nepheline-syenite", 100)}), glaze("Ash", {line("wollastonite", 100)})};
        const auto& r = book.recipes;
        const BookLibrary library({});
        BlendChoice choice{BlendMode::line, initialBlendCorners(r, r[0].id)};
        const auto line5 = blendTiles(r, choice, library);
        QCOMPARE(line5.size(), std::size_t(5));
        QCOMPARE(line5[1].number, 2);
        QCOMPARE(line5[1].recipe.name, std::string("Line 2/5: 75% Celadon, 25% Tenmoku"));
        QVERIFY(line5[1].chemistry.has_value());
        QCOMPARE(blendTileTitle(QStringLiteral("Celadon"), line5[1]),
                 QStringLiteral("Celadon \u2013 Line 2/5: 75% Celadon, 25% Tenmoku"));
        QCOMPARE(blendTileTitle(QString(), line5[1]),
                 QStringLiteral("Blend \u2013 Line 2/5: 75% Celadon, 25% Tenmoku"));
        QCOMPARE(blendTileTitle(QStringLiteral(" "), line5[0]).left(4), QStringLiteral("  \u2013 "));

        choice.mode = BlendMode::triaxial;
        for (const auto& [divisions, count] : {std::pair{1, 3}, {10, 66}}) {
            choice.divisions = divisions;
            QCOMPARE(int(blendTiles(r, choice, library).size()), count);
        }
        choice.mode = BlendMode::grid;
        choice.rows = 10;
        choice.columns = 10;
        const auto grid = blendTiles(r, choice, library);
        QCOMPARE(grid.size(), std::size_t(100));
        QVERIFY(grid[11].recipe.name.starts_with("Grid r2 c2: "));
        // Every tile takes the first corner's cone.
        for (const BlendTile& tile : grid)
            QCOMPARE(tile.recipe.cone, std::string("6"));

        book.recipes[1].lines = {line("red-iron-oxide", 2, true)};
        choice.mode = BlendMode::line;
        QVERIFY(blendTiles(r, choice, library).empty());
        QCOMPARE(blendEmptyDescription(r, choice),
                 QStringLiteral("\u201cTenmoku\u201d has no base materials. Each recipe in a blend needs a base total "
                                "above 0."));
    }

    // A card lists the lines as the book names them and sums the chemistry up in two lines.
    void cardSaysWhatTheTileIs() {
        const GlazeCore::Material custom{"custom-red", "Red iron oxide", {{Oxide::Fe2O3, 100}}, 0, ""};
        BlendTile tile{3, glaze("Tile", {line("custom-red", 12.5, true), line("mystery", 40), line("", 3.14159)}),
                       std::nullopt};
        const TileCardText bare = tileCardText(tile, BookLibrary({custom}), QStringLiteral("T"));
        QCOMPARE(bare.heading, QStringLiteral("Tile 3"));
        QCOMPARE(bare.rows.size(), std::size_t(3));
        QCOMPARE(bare.rows[0].name, QStringLiteral("Red iron oxide (add.)"));
        QCOMPARE(bare.rows[1].name, QStringLiteral("Unknown material (mystery)"));
        QCOMPARE(bare.rows[2].name, QStringLiteral("Choose material"));
        QCOMPARE((QStringList{bare.rows[0].amount, bare.rows[1].amount, bare.rows[2].amount}),
                 (QStringList{"12.5", "40", "3.14"}));
        QCOMPARE(bare.chemistry, QStringList{QStringLiteral("No chemistry")});

        // No flux gives an empty UMF: the point (0, 0) lies off the chart.
        tile.chemistry = GlazeCore::Chemistry{};
        QCOMPARE(tileCardChemistryLines(tile.chemistry),
                 (QStringList{QStringLiteral("SiO\u2082 0.00  Al\u2082O\u2083 0.00"),
                              QStringLiteral("Si:Al 0.0  Outside chart")}));
        QCOMPARE(surfaceHint(StullRegion::semimatte), regionDisplayName(StullRegion::semimatte));
        QCOMPARE(surfaceHint(StullRegion::crazing), QStringLiteral("Crazing likely"));
    }

    // A title too long for two lines keeps its start and is cut at the end of the second line, so the
    // proportions that follow the prefix stay readable; a short one is left whole.
    void longTitleIsCutAtTheEndOfItsSecondLine() {
        const QString title = QStringLiteral("Tidewater Feldspar Gloss \u2013 Grid r2 c3: 75% Tidewater Feldspar "
                                             "Gloss, 25% Ember Strontium Gloss, 0% Celadon Blue");
        TileCard card;
        card.setText({QStringLiteral("Tile 7"), title, {}, {}});
        const QStringList lines = card.titleLines(180);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[1].endsWith(QChar(0x2026)), qPrintable(lines[1]));
        const QString shown = lines.join(QLatin1Char(' ')).chopped(1);
        QVERIFY2(title.startsWith(shown), qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral("75% Tidewater")));

        card.setText({QStringLiteral("Tile 1"), QStringLiteral("Blend \u2013 Tri 1: 100% A"), {}, {}});
        QCOMPARE(card.titleLines(180), QStringList{QStringLiteral("Blend \u2013 Tri 1: 100% A")});
    }

    // Near a region's edge the hint comes from the exact values, as the sidebar's dot does, not from the
    // rounded ones the card prints.
    void hintAgreesWithTheSidebarAtARegionsEdge() {
        const BookLibrary library = pureOxides();
        const double al2O3 = 0.3;
        double edge = 0;
        for (double si = 1.0; si < 7.0 && edge == 0; si += 0.001)
            if (GlazeCore::Stull::region(si, al2O3) !=
                GlazeCore::Stull::region(std::round(si * 100) / 100, std::round(al2O3 * 100) / 100))
                edge = si;
        QVERIFY2(edge > 0, "no region edge along the line");
        GlazeCore::GlazeBook book;
        book.recipes = {recipeAt(edge, al2O3), recipeAt(edge, al2O3)};
        const BlendChoice choice{BlendMode::line, initialBlendCorners(book.recipes, book.recipes[0].id), 2};
        const auto tiles = blendTiles(book.recipes, choice, library);
        QCOMPARE(tiles.size(), std::size_t(2));
        const auto sidebar = SidebarRows::rowRegion(tiles[0].recipe, library);
        QVERIFY(sidebar);
        const QString hint = tileCardChemistryLines(tiles[0].chemistry).at(1);
        QVERIFY2(hint.endsWith(QStringLiteral("  ") + regionDisplayName(*sidebar)), qPrintable(hint));
    }

    void addedMessageNamesTheCodes() {
        QCOMPARE(blendAddedMessage(5, {}), QStringLiteral("Added 5 recipes."));
        QCOMPARE(blendAddedMessage(5, {"T-004", "T-005", "T-006", "T-007", "T-008"}),
                 QStringLiteral("Added 5 recipes and test tiles T-004 to T-008."));
    }
};

QTEST_MAIN(BlendTilesTest)
#include "BlendTilesTest.moc"
