#include "Orza/models/WindowModel.h"

#include "GlazeCore/book/Atmosphere.h"
#include "GlazeCore/library/MaterialRules.h"
#include "Orza/document/BookItems.h"
#include "Orza/library/BookLibrary.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

using namespace Orza;
using OrzaTest::tile;

class WindowModelTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithNothingOpen() {
        WindowModel model;
        QVERIFY(!model.isFiltering());
        QVERIFY(!model.anySheetShown());
        QCOMPARE(model.labelScope(), LabelScope::all);
        QVERIFY(model.trails().empty());
        QVERIFY(!model.selection());
    }

    void filteringNeedsWordsOrAFilter() {
        WindowModel model;
        model.setTestQuery("   ");
        QVERIFY(!model.isFiltering());
        model.setTestQuery("\t\t");
        QVERIFY(!model.isFiltering());
        model.setTestQuery(" x ");
        QVERIFY(model.isFiltering());
        model.setTestQuery("");
        model.setTestCone(std::string());
        QVERIFY(model.isFiltering());
        model.setTestCone(std::nullopt);
        model.setTestAtmosphere("Soda");
        QVERIFY(model.isFiltering());
    }

    void everySheetAndDialogCounts() {
        WindowModel model;
        model.setDialogShown(true);
        QVERIFY(model.anySheetShown());
        model.setDialogShown(false);
        model.setReplace(ReplaceRequest{});
        QVERIFY(model.anySheetShown());
        model.setReplace(std::nullopt);
        model.setBlendMode(BlendMode::grid);
        QVERIFY(model.anySheetShown());
        model.setBlendMode(std::nullopt);
        model.setShowLabels(true);
        QVERIFY(model.anySheetShown());
    }

    void onlyRealChangesSignal() {
        WindowModel model;
        QSignalSpy selection(&model, &WindowModel::selectionChanged);
        const auto id = GlazeCore::Uuid::random();
        model.setSelection(SidebarItem::recipe(id));
        model.setSelection(SidebarItem::recipe(id));
        QCOMPARE(selection.count(), 1);
        model.setSelection(SidebarItem::tests());
        QCOMPARE(selection.count(), 2);

        QSignalSpy batch(&model, &WindowModel::showBatchChanged);
        model.setShowBatch(false);
        QCOMPARE(batch.count(), 0);

        // Requests have no equality: every write is news.
        QSignalSpy nudge(&model, &WindowModel::nudgeChanged);
        NudgeRequest request;
        model.setNudge(request);
        model.setNudge(request);
        QCOMPARE(nudge.count(), 2);
    }

    void trailsKeepTheNewestSixDistinctPoints() {
        WindowModel model;
        const auto a = GlazeCore::Uuid::random();
        const auto b = GlazeCore::Uuid::random();
        QSignalSpy changed(&model, &WindowModel::trailsChanged);
        model.recordTrail({3, 0.3}, a);
        model.recordTrail({3, 0.3}, a);
        QCOMPARE(model.trail(a).size(), std::size_t(1));
        QCOMPARE(changed.count(), 1);
        model.recordTrail({3 + 0.5e-6, 0.3 + 0.5e-6}, a);
        QCOMPARE(model.trail(a).size(), std::size_t(1));
        model.recordTrail({3, 0.3 + 2e-6}, a); // equal in SiO2 only
        QCOMPARE(model.trail(a).size(), std::size_t(2));

        model.recordTrail({1, 0.1}, b);
        for (int i = 0; i < 8; ++i)
            model.recordTrail({4.0 + i, 0.5}, a);
        const auto& trail = model.trail(a);
        QCOMPARE(trail.size(), std::size_t(6));
        QCOMPARE(trail.front(), (StullPoint{6, 0.5}));
        QCOMPARE(trail.back(), (StullPoint{11, 0.5}));
        QCOMPARE(model.trail(b).size(), std::size_t(1));
    }

    // The chart draws whatever the trail holds at each nudge, so the cap must hold after every point, not
    // only once a long run has settled; the oldest point is the one that goes.
    void trailNeverGrowsPastTheCapAndDropsTheOldestFirst() {
        WindowModel model;
        const auto recipe = GlazeCore::Uuid::random();
        for (int i = 0; i < 20; ++i) {
            model.recordTrail({1.0 + i, 0.2}, recipe);
            const auto& trail = model.trail(recipe);
            const int kept = std::min(i + 1, 6);
            QCOMPARE(int(trail.size()), kept);
            QCOMPARE(trail.front(), (StullPoint{1.0 + i - (kept - 1), 0.2}));
            QCOMPARE(trail.back(), (StullPoint{1.0 + i, 0.2}));
        }
    }

    void filteredTestsShowAllUntilFilteredThenBookOrder() {
        WindowModel model;
        const auto recipe = OrzaTest::recipe("Celadon");
        const std::vector<GlazeCore::TestTile> tiles{tile(recipe.id, "6", "T-001"), tile(recipe.id, "10", "T-002"),
                                                     tile(recipe.id, "6", "T-003")};
        const BookLibrary library({});
        model.setTestQuery("  ");
        QCOMPARE(model.filteredTests({recipe}, tiles, library), tiles);
        model.setTestCone("6");
        const auto shown = model.filteredTests({recipe}, tiles, library);
        QCOMPARE(shown.size(), std::size_t(2));
        QCOMPARE(shown[0].code, std::string("T-001"));
        QCOMPARE(shown[1].code, std::string("T-003"));
    }

    void valueTypes() {
        const auto a = GlazeCore::Uuid::random();
        QVERIFY(SidebarItem::recipe(a) == SidebarItem::recipe(a));
        QVERIFY(!(SidebarItem::recipe(a) == SidebarItem::recipe(GlazeCore::Uuid::random())));
        QVERIFY(!(SidebarItem::tests() == SidebarItem::materials()));
        QVERIFY(!(SidebarItem::tests() == SidebarItem::recipe(GlazeCore::Uuid{})));
        QCOMPARE(std::hash<StullPoint>{}({-0.0, 1}), std::hash<StullPoint>{}({0.0, 1}));
        QVERIFY(!GlazeCore::atmosphereFromRaw("oxidation"));
        QCOMPARE(GlazeCore::atmosphereFromRaw("Soda"), std::optional(GlazeCore::Atmosphere::soda));
        QCOMPARE(GlazeCore::atmosphereIndex("Wood"), std::optional<std::size_t>(5));
        QCOMPARE(rawValue(BlendMode::grid), std::string_view("Four-corner grid"));
    }

    void duplicateGivesFreshIDsAndTheCopyName() {
        GlazeCore::Recipe gloss = OrzaTest::recipe("Gloss");
        gloss.lines.push_back({GlazeCore::Uuid::random(), "kaolin", 30, true});
        const GlazeCore::Recipe copy = duplicateRecipe(gloss);
        QCOMPARE(copy.name, std::string("Gloss copy"));
        QVERIFY(copy.id != gloss.id);
        QCOMPARE(copy.lines.size(), gloss.lines.size());
        for (std::size_t i = 0; i < copy.lines.size(); ++i) {
            QVERIFY(copy.lines[i].id != gloss.lines[i].id);
            QCOMPARE(copy.lines[i].materialID, gloss.lines[i].materialID);
            QCOMPARE(copy.lines[i].amount, gloss.lines[i].amount);
            QCOMPARE(copy.lines[i].isAddition, gloss.lines[i].isAddition);
        }
        QCOMPARE(duplicateRecipe(gloss, "Gloss B").name, std::string("Gloss B"));
    }

    void newMaterialTakesTheNextFreeNameAndAnUnusedID() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A"});
        book.customMaterials = {{"custom-1", "New material 1", {}, 0, ""}, {"custom-2", "New material 2", {}, 0, ""}};
        const GlazeCore::Material made = newCustomMaterial(book);
        QCOMPARE(made.name, std::string("New material 3"));
        QVERIFY(made.id.starts_with("custom-"));
        QVERIFY(made.analysis.empty() && made.loi == 0 && made.source.empty());
        for (const auto& m : BookLibrary::bundledMaterials().materials)
            QVERIFY(m.id != made.id);
        QVERIFY(!GlazeCore::MaterialRules::usedMaterialIDs(book).contains(made.id));
    }
};

QTEST_MAIN(WindowModelTest)
#include "WindowModelTest.moc"
