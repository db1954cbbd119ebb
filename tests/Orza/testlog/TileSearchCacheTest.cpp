#include "Orza/testlog/TileSearchCache.h"

#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/testlog/ShownTests.h"
#include "Orza/testlog/TestFilterOptions.h"
#include "support/TestEnvironment.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <algorithm>
#include <chrono>

using GlazeCore::Uuid;
using Orza::TileSearchCache;

namespace {

GlazeCore::Date day(int year, unsigned month, unsigned dayOfMonth) {
    return std::chrono::sys_days{std::chrono::year{year} / month / dayOfMonth} + std::chrono::hours{12};
}

GlazeCore::TestTile tile(const Uuid& recipeID, std::string code, std::string cone, std::string atmosphere,
                         std::string notes, GlazeCore::Date date) {
    GlazeCore::TestTile made = OrzaTest::tile(recipeID, std::move(cone), std::move(code));
    made.atmosphere = std::move(atmosphere);
    made.notes = std::move(notes);
    made.date = date;
    return made;
}

/// Codes, cones and atmospheres that fold, trim and number in every way the search tells apart.
GlazeCore::GlazeBook oddBook() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon Blue", "Tenmoku", "Shino"});
    const auto line = [](std::string material) { return GlazeCore::RecipeLine{Uuid::random(), material, 10, false}; };
    book.recipes[0].lines = {line("whiting"), line("kaolin")};
    book.recipes[1].lines = {line("custom-ash"), line("mystery-frit")};
    book.customMaterials.push_back({"custom-ash", "Wood ash", {{GlazeCore::Oxide::SiO2, 50}}, 10, ""});
    const Uuid celadon = book.recipes[0].id, tenmoku = book.recipes[1].id, shino = book.recipes[2].id;
    book.tests = {
        tile(celadon, "T-001", "6", "Oxidation", "Glossy, pinholes near the rim.", day(2024, 3, 5)),
        tile(tenmoku, "T-007", "10", "Reduction", "\u00C9MAIL \u00E9pais", day(2023, 11, 20)),
        tile(celadon, "t-7a", "06", "oxidation", "Runny", day(2024, 3, 5)),
        tile(shino, "", " 6", "Soda", "crawled", day(2022, 1, 9)),
        tile(celadon, "T-0007", "\uFF16", "Neutral", "speckled", day(2021, 6, 30)),
        tile(tenmoku, "A/1", "05\u00BD", "Wood", "matte", day(2024, 12, 31)),
        tile(Uuid::random(), "X 2", "", "Salt", "", day(2020, 2, 29)),
        tile(tenmoku, "T-7", "10", "Reduction", "no zeros in its code", day(2019, 7, 7)),
    };
    return book;
}

const std::vector<std::string> queries{
    "",        "   ",       "t-7",     "T-007",       "t007",       "7",      "cone 6",   "Cone 6 glossy",
    "cone 10", "cone blue", "cone",    "cone 6.5",    "\u00E9mail", "EMAIL",  "deleted",  "deleted recipe",
    "whiting", "wood ash",  "mystery", "celadon rim", "2024-03",    "3/5/24", "pinholes", "zzz",
    "x 2",     "05\u00BD",  "a/1"};
// Words typed letter by letter, so later searches start from earlier ones.
const std::vector<std::vector<std::string>> typing{
    {"t", "t-", "t-0", "t-00", "t-007"},
    {"c", "ce", "cel", "celadon", "celadon ", "celadon r", "celadon ri", "celadon rim"},
    {"cone", "cone ", "cone 6", "cone 6 g", "cone 6 gl"},
    {"g", "gl", "glo", "glossy", "glossy p"},
    {"w", "wh", "whiting"},
    {"wo", "woo", "wood", "wood a"},
    {"a", "as", "ash"},
    {"del", "deleted"},
    {"t-07", "t-070"}};

struct Filters {
    std::optional<std::string> cone;
    std::optional<std::string> atmosphere;
};
const std::vector<Filters> filterChoices{
    {}, {"6", {}}, {"06", {}}, {"", {}}, {{}, "oxidation"}, {{}, "Reduction"}, {"6", "Oxidation"}};

/// A document, its cache and a window model whose filteredTests is the reference for every search.
struct Searching {
    explicit Searching(GlazeCore::GlazeBook book = oddBook())
        : document(Orza::GlazeDocument::make(std::move(book), false)) {}

    Orza::BookDocument document;
    TileSearchCache& cache = TileSearchCache::of(document);
    Orza::WindowModel model;

    std::vector<Uuid> cached(const std::string& query, const Filters& filters) {
        std::vector<Uuid> ids;
        for (const std::uint32_t position : cache.search({query, filters.cone, filters.atmosphere}))
            ids.push_back(cache.idAt(position));
        return ids;
    }

    std::vector<Uuid> expected(const std::string& query, const Filters& filters) {
        model.setTestQuery(query);
        model.setTestCone(filters.cone);
        model.setTestAtmosphere(filters.atmosphere);
        const GlazeCore::GlazeBook& book = document.book();
        std::vector<Uuid> ids;
        for (const GlazeCore::TestTile& tile : model.filteredTests(book.recipes, book.tests, document.library()))
            ids.push_back(tile.id);
        return ids;
    }

    /// The cache's search, its one-tile answer and the window model's tiles of the document all agree.
    void compareQuery(const char* after, const std::string& query, const Filters& filters) {
        const QString what = QStringLiteral("%1: \"%2\"").arg(after, QString::fromStdString(query));
        const std::vector<Uuid> reference = expected(query, filters);
        QVERIFY2(cached(query, filters) == reference, qPrintable(what));
        std::vector<Uuid> shown;
        for (const GlazeCore::TestTile& tile : Orza::shownTests(document, model))
            shown.push_back(tile.id);
        QVERIFY2(shown == reference, qPrintable(what + QStringLiteral(" (window model)")));
        for (std::size_t i = 0; i < document.book().tests.size(); ++i) {
            const bool among = std::find(reference.begin(), reference.end(), tileAt(i).id) != reference.end();
            QVERIFY2(cache.matches(i, {query, filters.cone, filters.atmosphere}) == among,
                     qPrintable(what + QStringLiteral(" (tile %1 alone)").arg(i)));
        }
    }

    /// The typed words, or the same erased letter by letter from the last one back.
    void compareTyping(const char* after, const Filters& filters, bool erasing = false) {
        std::vector<std::string> keystrokes;
        for (const auto& word : typing)
            keystrokes.insert(keystrokes.end(), word.begin(), word.end());
        if (erasing) std::reverse(keystrokes.begin(), keystrokes.end());
        for (const std::string& query : keystrokes)
            compareQuery(after, query, filters);
    }

    /// Every query under every filter, and the typed words: the cache answers as the window model does.
    /// It starts by erasing what the last call typed, so that the searches after a change meet those from
    /// before it.
    void compareAll(const char* after) {
        compareTyping(after, {}, true);
        for (const Filters& filters : filterChoices) {
            for (const std::string& query : queries)
                compareQuery(after, query, filters);
            compareTyping(after, filters);
        }
        // The menus changed under a search that stays.
        for (const std::string query : {"", "t-7", "ash", "o"})
            for (const Filters& filters : filterChoices)
                compareQuery(after, query, filters);
        compareTyping(after, {});
    }

    const GlazeCore::TestTile& tileAt(std::size_t i) const { return document.book().tests.at(i); }
};

} // namespace

class TileSearchCacheTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
    void setUp() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void tearDown() override { QLocale::setDefault(QLocale::c()); }

private slots:
    // The kept texts give what a search from scratch gives, before and after each kind of change: a change
    // that left a stale text or an earlier result in use would show as a difference here.
    void searchesAgreeWithTheWindowModelThroughEdits() {
        Searching s;
        s.compareAll("as opened");
        QVERIFY(!s.cached("zzz", {}).size());
        QCOMPARE(s.cached("cone 6", {}).size(), std::size_t(2)); // "6" and the full-width six, not "06" or " 6"

        const GlazeCore::Recipe& celadon = s.document.book().recipes[0];
        s.document.setRecipeName(celadon.id, "Jun");
        s.compareAll("recipe renamed");
        s.document.setLineMaterial(celadon.id, celadon.lines[0].id, "custom-ash");
        s.compareAll("material of a line changed");
        s.document.setMaterialName("custom-ash", "Pine ash");
        s.compareAll("custom material renamed");
        s.document.removeRecipe(s.document.book().recipes[1].id);
        s.compareAll("recipe deleted");
        s.document.setTileNotes(s.tileAt(2).id, "glossy rim, celadon green");
        s.document.setTileCode(s.tileAt(3).id, "T-070");
        s.document.setTileCone(s.tileAt(4).id, "6");
        s.document.setTileAtmosphere(s.tileAt(5).id, "Reduction");
        s.document.setTileDate(s.tileAt(6).id, day(2024, 3, 5));
        s.document.setTileRecipe(s.tileAt(6).id, celadon.id);
        s.compareAll("tiles edited");
        s.document.removeTests({s.tileAt(1).id, s.tileAt(4).id});
        QVERIFY(s.document.addNewTestTile(celadon.id));
        s.compareAll("tiles added and deleted");
        // A custom material of a built-in's id renames that material in every recipe that uses it.
        QVERIFY(s.document.insertMaterial(0, {"kaolin", "China clay", {{GlazeCore::Oxide::Al2O3, 40}}, 14, ""}, "Add"));
        s.compareAll("built-in material overridden");
        QVERIFY(s.cached("china", {}).size() >= 1);
        while (s.document.undoStack()->canUndo())
            s.document.undoStack()->undo();
        s.compareAll("everything undone");
        const QString path = filePath(QStringLiteral("searched.orzabook"));
        s.document.save(path);
        s.document.setTileNotes(s.tileAt(0).id, "kiln wash");
        s.compareAll("notes typed after saving");
        s.document.revert();
        s.compareAll("reverted");
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        s.compareAll("locale changed");
        QCOMPARE(s.cached("5.3.2024", {}).size(), std::size_t(2));
    }

    // Changes that come before the cache has caught up with the last ones: two edits of one tile, edits on both
    // sides of where building ahead stopped, rows going and coming back above an edited tile. No search may
    // answer from a tile's old text.
    void changesBeforeTheCacheCatchesUpAreAllSearched() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
        for (int i = 0; i < 2000; ++i)
            book.tests.push_back(
                tile(book.recipes[0].id, "T-" + std::to_string(i + 1), "6", "Oxidation", "plain", day(2024, 1, 1)));
        Searching s(std::move(book));
        const auto compare = [&](const char* after) {
            for (const std::string query : {"plain", "amber", "ochre", "crawled", "pinholed", "shivered"})
                s.compareQuery(after, query, {});
        };
        const auto notes = [&](std::size_t row, std::string text) {
            QVERIFY(s.document.setTileNotes(s.tileAt(row).id, std::move(text)));
        };
        QVERIFY(s.cache.buildAhead(std::chrono::microseconds(0))); // stopped part of the way
        notes(10, "amber");
        notes(10, "ochre");
        notes(1500, "crawled");
        compare("edits on both sides of where building stopped");

        notes(1800, "pinholed");
        QVERIFY(s.document.removeTests({s.tileAt(5).id}));
        compare("an edit, then a row removed above it");

        {
            Orza::BookDocument::ChangeGroup together(s.document, QStringLiteral("Edit"));
            QVERIFY(s.document.removeTests({s.tileAt(3).id}));
            notes(1700, "shivered");
        }
        compare("a row removed and an edit");
        s.document.undoStack()->undo(); // the edit goes back, then the row comes back above it
        compare("both undone");
    }

    // Find Test and the shared-code warning give GlazeCore's answers, and the warning's signal follows.
    void codesAgreeWithGlazeCore() {
        Searching s;
        const auto agree = [&] {
            const auto& tests = s.document.book().tests;
            for (const char* typed : {"T-7", "t-007", "T-0007", "A/1", " a/1 ", "X 2", "x2", "7", "", "  ", "t-7a",
                                      "T-001", "t-1", "T-070", "T-002"}) {
                const auto reference = GlazeCore::TestSearch::findByCode(typed, tests);
                QCOMPARE(s.cache.findByCode(typed), reference ? std::optional(reference->id) : std::nullopt);
            }
            QCOMPARE(s.cache.duplicateCodes(), GlazeCore::TileCode::duplicateCodes(tests));
            // The code field's check, from the keys alone, says what a scan of every tile says.
            for (const GlazeCore::TestTile& own : tests)
                for (const std::string& typed :
                     {own.code, std::string("t-07"), std::string("T-8"), std::string("a/1"), std::string(" X 2 "),
                      std::string("T-999"), std::string("t\u0301"), std::string("bad*code"), std::string("   ")})
                    QCOMPARE(s.cache.validateCode(typed, own.id), GlazeCore::TileCode::validate(typed, own.id, tests));
        };
        agree();
        QCOMPARE(s.cache.duplicateCodes(), std::vector<std::string>{"T-0007"});

        QSignalSpy codes(&s.cache, &TileSearchCache::codesChanged);
        s.document.setTileCode(s.tileAt(4).id, "T-008");
        QCOMPARE(codes.count(), 1);
        agree();
        QCOMPARE(s.cache.duplicateCodes(), std::vector<std::string>{"T-7"}); // T-007 and T-7 share number 7
        s.document.setTileNotes(s.tileAt(4).id, "no code change");
        QCOMPARE(codes.count(), 1);

        s.document.setTileCode(s.tileAt(0).id, " a/1");
        s.document.setTileCode(s.tileAt(2).id, "t-8");
        agree(); // three shared codes, listed in book order of the tile that shares them
        QCOMPARE(s.cache.duplicateCodes().size(), std::size_t(3));
        s.document.removeTests({s.tileAt(0).id});
        agree();
        s.document.undoStack()->undo();
        agree();
        QVERIFY(codes.count() >= 5);
    }

    // The menus list the cones and atmospheres in use: named ones in their order, then the rest as plain text.
    void menusListTheValuesInUse() {
        Searching s;
        using Orza::TestFilterOptions::atmosphereFilterOptions;
        using Orza::TestFilterOptions::coneFilterOptions;
        QCOMPARE(coneFilterOptions(s.cache.cones(), std::nullopt),
                 (std::vector<std::string>{"06", "05\u00BD", "6", "10", "", " 6", "\uFF16"}));
        QCOMPARE(coneFilterOptions(s.cache.cones(), std::string("11")),
                 (std::vector<std::string>{"06", "05\u00BD", "6", "10", "11", "", " 6", "\uFF16"}));
        QCOMPARE(atmosphereFilterOptions(s.cache.atmospheres(), std::nullopt),
                 (std::vector<std::string>{"Oxidation", "Reduction", "Neutral", "Soda", "Salt", "Wood", "oxidation"}));
        // A decomposed accent is the same cone as the composed one: listed once.
        QCOMPARE(coneFilterOptions({"05\u00BD", "e\u0301"}, std::string("\u00E9")),
                 (std::vector<std::string>{"05\u00BD", "\u00E9"}));
        QCOMPARE(Orza::TestFilterOptions::keepPresentValues({"6", "10", "6"}, {"6"}),
                 (std::vector<std::string>{"6", "6"}));

        QSignalSpy values(&s.cache, &TileSearchCache::valuesChanged);
        for (std::size_t i = 0; i < s.document.book().tests.size(); ++i)
            s.document.setTileCone(s.tileAt(i).id, "6");
        QVERIFY(values.count() > 0);
        QCOMPARE(coneFilterOptions(s.cache.cones(), std::nullopt), std::vector<std::string>{"6"});
        s.document.setTileAtmosphere(s.tileAt(6).id, "Wood");
        values.clear();
        s.document.setTileAtmosphere(s.tileAt(5).id, "Neutral"); // both still in use: the menu stays
        QCOMPARE(values.count(), 0);
    }
};

QTEST_MAIN(TileSearchCacheTest)
#include "TileSearchCacheTest.moc"
