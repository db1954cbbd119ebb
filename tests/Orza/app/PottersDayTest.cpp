// A potter's day through the real windows: the sample book at first launch, recipes edited, reformulated
// and blended, a material of the potter's own, a tile logged with its firing, code and photo, a batch sheet
// and labels saved as PDF, the book saved, closed and opened again.

#include "Orza/actions/ActionRegistry.h"
#include "Orza/app/DocumentController.h"
#include "Orza/batch/BatchSheet.h"
#include "Orza/blends/BlendSheet.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/materials/PercentField.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/FileDialog.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/printing/PdfSaveDialog.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/reformulate/OxideNudgeSheet.h"
#include "Orza/reformulate/ReplaceMaterialSheet.h"
#include "Orza/settings/Settings.h"
#include "Orza/testlog/FiringScheduleEditor.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/testlog/TileCodeField.h"
#include "Orza/testlog/TilePhotoSection.h"
#include "Orza/window/BookWindow.h"
#include "printing/PdfProbe.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

using namespace Orza;

namespace {

DocumentController& controller() {
    return DocumentController::instance();
}

template <class Sheet> Sheet* openSheet(BookWindow& window) {
    Sheet* sheet = nullptr;
    for (Sheet* candidate : window.findChildren<Sheet*>())
        if (candidate->isVisible()) sheet = candidate;
    return sheet;
}

void run(BookWindow& window, Command command) {
    QAction* action = window.actions()->action(command);
    QVERIFY2(action->isEnabled(), qPrintable(action->text()));
    action->trigger();
}

RecipePane* showRecipe(BookWindow& window, const std::string& name) {
    for (const GlazeCore::Recipe& recipe : window.document()->book().recipes)
        if (recipe.name == name) window.model()->setSelection(SidebarItem::recipe(recipe.id));
    return qobject_cast<RecipePane*>(window.detail());
}

int rowOf(const RecipeLinesModel& model, const QString& materialID) {
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.index(row, 0).data(RecipeLinesModel::materialIDRole).toString() == materialID) return row;
    return -1;
}

} // namespace

class PottersDayTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void aPottersDay() {
        // First launch: the sample book, in the one window there is.
        controller().launch({});
        QTRY_COMPARE(controller().windows().size(), 1);
        BookWindow* window = controller().windows().first();
        QVERIFY(window->document()->isSample());
        const GlazeCore::GlazeBook opened = window->document()->book();
        BookDocument& document = *window->document();

        // A recipe's amounts and its name.
        RecipePane* pane = showRecipe(*window, "Tidewater Feldspar Gloss");
        QVERIFY(pane);
        RecipeLinesModel& lines = *pane->linesTable()->model();
        QVERIFY(
            lines.setData(lines.index(rowOf(lines, QStringLiteral("silica")), RecipeLinesModel::amountColumn), 24.0));
        pane->nameField()->setFocus();
        pane->nameField()->selectAll();
        QTest::keyClicks(pane->nameField(), QStringLiteral("Tidewater Gloss"));
        QCOMPARE(document.recipe(pane->recipeID())->name, std::string("Tidewater Gloss"));

        // Oxide Nudge: more alumina, applied in place.
        run(*window, Command::oxideNudge);
        auto* nudge = openSheet<OxideNudgeSheet>(*window);
        QVERIFY(nudge);
        nudge->setOxide(GlazeCore::Oxide::Al2O3);
        nudge->setTarget(nudge->currentValue() + 0.03);
        QVERIFY(nudge->applyButton()->isEnabled());
        nudge->applyButton()->click();
        OrzaTest::settle();
        QVERIFY(!window->model()->nudge());

        // Replace Material: Whiting by Wollastonite, saved as a new recipe.
        const std::size_t recipesBefore = document.book().recipes.size();
        run(*window, Command::replaceMaterial);
        auto* replace = openSheet<ReplaceMaterialSheet>(*window);
        QVERIFY(replace);
        replace->setOldID("whiting");
        replace->setNewID("wollastonite");
        QVERIFY(replace->saveButton()->isEnabled());
        replace->saveButton()->click();
        OrzaTest::settle();
        QCOMPARE(document.book().recipes.size(), recipesBefore + 1);

        // A material of the potter's own, used in a recipe.
        run(*window, Command::showMaterials);
        auto* materials = qobject_cast<MaterialsPage*>(window->detail());
        QVERIFY(materials);
        materials->addMaterial();
        CustomMaterialEditor* editor = materials->editor();
        QVERIFY(editor);
        const std::string customID = editor->materialID();
        editor->nameField()->setFocus();
        editor->nameField()->selectAll();
        QTest::keyClicks(editor->nameField(), QStringLiteral("Local red clay"));
        editor->setOxidePercent(GlazeCore::Oxide::SiO2, 60);
        editor->setOxidePercent(GlazeCore::Oxide::Al2O3, 20);
        editor->setOxidePercent(GlazeCore::Oxide::Fe2O3, 6);
        QVERIFY(document.library().material(customID));
        pane = showRecipe(*window, "Millpond Clear");
        pane->linesTable()->addLine();
        RecipeLinesModel& clear = *pane->linesTable()->model();
        const int added = clear.rowCount() - 1;
        QVERIFY(
            clear.setData(clear.index(added, 0), QString::fromStdString(customID), RecipeLinesModel::materialIDRole));
        QVERIFY(clear.setData(clear.index(added, RecipeLinesModel::amountColumn), 10.0));
        pane->refreshNow();
        QVERIFY(GlazeCore::oxideValue(pane->liveChemistry().result->umf, GlazeCore::Oxide::Fe2O3) > 0);

        // A test tile: its firing, its code and its photo.
        run(*window, Command::addTest);
        auto* log = qobject_cast<TestLogPage*>(window->detail());
        QVERIFY(log && log->editor());
        TestTileEditor& tile = *log->editor();
        const GlazeCore::Uuid tileID = tile.tileID();
        tile.scheduleEditor()->addFiringSegment();
        QCOMPARE(document.tile(tileID)->schedule.size(), std::size_t(4));
        QLineEdit* code = tile.codeField()->findChild<QLineEdit*>();
        QVERIFY(code);
        code->setFocus();
        code->selectAll();
        QTest::keyClicks(code, QStringLiteral("RED-1"));
        QCOMPARE(document.tile(tileID)->code, std::string("RED-1"));
        const QString photo = filePath("tile.png");
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkRed);
        QVERIFY(picture.save(photo));
        tile.photoSection()->storePhotoLink(photo);
        QVERIFY(document.tile(tileID)->photoBookmark);

        // A line blend from the first recipe, added with its tiles.
        showRecipe(*window, "Tidewater Gloss");
        const std::size_t tilesBefore = document.book().tests.size();
        run(*window, Command::lineBlend);
        auto* blend = openSheet<BlendSheet>(*window);
        QVERIFY(blend);
        blend->addButton()->click();
        QVERIFY(document.book().tests.size() > tilesBefore);
        blend->close();
        OrzaTest::settle();

        // The batch sheet and the labels, each saved as a PDF.
        const QString batchPdf = filePath("batch.pdf");
        run(*window, Command::batchSheet);
        auto* batch = openSheet<BatchSheet>(*window);
        QVERIFY(batch);
        Printing::PdfSaveDialog::setNextFileName(batchPdf);
        batch->exportPDF();
        batch->close();
        OrzaTest::settle();
        const QString labelsPdf = filePath("labels.pdf");
        run(*window, Command::printLabels);
        auto* labels = openSheet<LabelSheet>(*window);
        QVERIFY(labels);
        Printing::PdfSaveDialog::setNextFileName(labelsPdf);
        labels->exportLabels();
        labels->close();
        OrzaTest::settle();
        QVERIFY(QFileInfo(batchPdf).size() > 0 && QFileInfo(labelsPdf).size() > 0);
        if (OrzaTest::PdfProbe::available()) {
            QCOMPARE(OrzaTest::PdfProbe::info(batchPdf)->pages, 1);
            QVERIFY(OrzaTest::PdfProbe::info(labelsPdf)->pages >= 1);
        }

        // Saved, and every step undone gives back the book as it opened; redone, it is the day's book again.
        const QString path = filePath("day.orzabook");
        FileDialog::setNextFileName(path);
        bool saved = false;
        controller().save(window, [&](bool ok) { saved = ok; });
        QVERIFY(saved);
        const GlazeCore::GlazeBook day = document.book();
        while (document.undoStack()->canUndo())
            document.undoStack()->undo();
        QCOMPARE(document.book().recipes, opened.recipes);
        QCOMPARE(document.book().customMaterials, opened.customMaterials);
        QCOMPARE(document.book().tests, opened.tests);
        while (document.undoStack()->canRedo())
            document.undoStack()->redo();
        QCOMPARE(document.book(), day);
        QVERIFY(!document.isModified());

        // Closed and opened again: everything is there.
        controller().close(window);
        OrzaTest::settle();
        QVERIFY(controller().windows().isEmpty());
        BookWindow* again = controller().openFile(path);
        QVERIFY(again);
        const GlazeCore::GlazeBook reopened = again->document()->book();
        QCOMPARE(reopened.recipes, day.recipes);
        QCOMPARE(reopened.customMaterials, day.customMaterials);
        QCOMPARE(reopened.tests, day.tests);
        again->approveClose();
        again->close();
        OrzaTest::settle();
        QVERIFY(MessageBox::takeRecordedAlerts().isEmpty());
    }
};

QTEST_MAIN(PottersDayTest)
#include "PottersDayTest.moc"
