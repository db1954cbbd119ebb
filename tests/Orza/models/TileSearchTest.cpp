#include "Orza/models/TileSearch.h"

#include "GlazeCore/book/TestSearch.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/WindowModel.h"
#include "support/TestEnvironment.h"

#include <QLocale>
#include <QTest>
#include <QTimeZone>
#include <QUndoStack>

using namespace Orza;

namespace {

struct Query {
    std::string text;
    std::optional<std::string> cone;
    std::optional<std::string> atmosphere;
};

const std::vector<Query> queries{
    {"crawled", {}, {}},   {"celadon", {}, {}},       {"t-2", {}, {}}, {"silica", {}, {}},
    {"limestone", {}, {}}, {"deleted", {}, {}},       {"", "10", {}},  {"cone 6 shino", {}, {}},
    {"", {}, "reduction"}, {"t-00", "6", "Oxidation"}};

GlazeCore::GlazeBook book() {
    GlazeCore::GlazeBook made = OrzaTest::bookWithRecipes({"Celadon", "Shino"});
    for (int i = 0; i < 6; ++i) {
        GlazeCore::TestTile t =
            OrzaTest::tile(made.recipes[std::size_t(i % 2)].id, i % 3 ? "6" : "10", "T-00" + std::to_string(i + 1));
        if (i % 2) t.atmosphere = "Reduction";
        made.tests.push_back(t);
    }
    made.nextTileNumber = 7;
    return made;
}

/// The ids of the tiles a fresh search of the document's book finds.
std::vector<GlazeCore::Uuid> freshly(const BookDocument& document, const Query& query) {
    std::vector<GlazeCore::Uuid> ids;
    for (const GlazeCore::TestTile& t : GlazeCore::TestSearch::results(
             document.book().tests, document.book().recipes, GlazeCore::TestSearch::materialNames(document.library()),
             query.text, query.cone, query.atmosphere, QTimeZone::systemTimeZoneId().toStdString(),
             QLocale().name().toStdString()))
        ids.push_back(t.id);
    return ids;
}

std::vector<GlazeCore::Uuid> kept(BookDocument& document, const Query& query) {
    std::vector<GlazeCore::Uuid> ids;
    for (const std::uint32_t row : TileSearch::of(document).rows(query.text, query.cone, query.atmosphere))
        ids.push_back(document.book().tests[row].id);
    return ids;
}

} // namespace

class TileSearchTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void followsEveryEditOfTheDocument() {
        BookDocument document(GlazeDocument::make(book(), false));
        QCOMPARE(&TileSearch::of(document), &TileSearch::of(document));
        int edits = 0;
        const auto agree = [&] {
            ++edits;
            for (const Query& query : queries)
                QCOMPARE(kept(document, query), freshly(document, query));
        };
        agree();
        const auto& tests = document.book().tests;
        const auto celadon = document.book().recipes[0].id;
        const auto tileA = tests[0].id, tileB = tests[1].id;

        QVERIFY(document.setTileNotes(tileA, "crawled at the rim"));
        agree();
        QVERIFY(document.setTileCode(tileB, "T-2"));
        QVERIFY(document.setTileAtmosphere(tileA, "Reduction"));
        QVERIFY(document.setTileCone(tileB, "10"));
        agree();
        QVERIFY(document.addNewTestTile(celadon));
        QVERIFY(document.removeTests({tests[2].id, tests[3].id}));
        agree();
        QVERIFY(document.moveTests(RowMove::make({0, 2}, 4, tests.size())));
        agree();
        document.undoStack()->undo(); // the move, reversed
        agree();
        QVERIFY(document.setRecipeName(celadon, "Chalk glaze"));
        QVERIFY(document.setLineMaterial(celadon, document.book().recipes[0].lines[0].id, "whiting"));
        agree();
        QVERIFY(
            document.insertMaterial(0, {"whiting", "Limestone flour", {{GlazeCore::Oxide::CaO, 56}}, 44, ""}, "Add"));
        agree();
        QVERIFY(document.removeRecipe(document.book().recipes[1].id)); // its tiles now read "Deleted recipe"
        agree();
        while (document.undoStack()->canUndo()) {
            document.undoStack()->undo();
            agree();
        }

        const QString path = filePath("kept.orzabook");
        document.save(path);
        QVERIFY(document.setTileNotes(tileB, "crawled"));
        agree();
        document.revert();
        agree();
        QVERIFY(edits > 20);
    }

    void windowModelShowsRowsThroughTheDocumentsSearch() {
        BookDocument document(GlazeDocument::make(book(), false));
        WindowModel model;
        const auto& tests = document.book().tests;
        QCOMPARE(model.filteredRows(document).size(), tests.size());

        model.setTestQuery("shino");
        const std::vector<GlazeCore::TestTile> uncached =
            model.filteredTests(document.book().recipes, tests, document.library());
        QVERIFY(!TileSearch::forTiles(tests));
        const std::vector<std::uint32_t> rows = model.filteredRows(document);
        QCOMPARE(TileSearch::forTiles(tests), &TileSearch::of(document));
        QCOMPARE(rows, (std::vector<std::uint32_t>{1, 3, 5}));
        QCOMPARE(model.filteredTests(document.book().recipes, tests, document.library()), uncached);

        QVERIFY(document.setTileNotes(tests[0].id, "shino over celadon"));
        QCOMPARE(model.filteredRows(document), (std::vector<std::uint32_t>{0, 1, 3, 5}));
        QCOMPARE(model.filteredTests(document.book().recipes, tests, document.library()).front().id, tests[0].id);
    }
};

QTEST_MAIN(TileSearchTest)
#include "TileSearchTest.moc"
