#include "Orza/reformulate/ReplaceMaterialSheet.h"

#include "GlazeCore/book/SampleBook.h"
#include "GlazeCore/reformulate/Adjustment.h"
#include "GlazeCore/reformulate/ReformulateLeastSquares.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/reformulate/AdjustmentSummary.h"
#include "Orza/reformulate/MaterialPickerButton.h"
#include "Orza/widgets/ElidedLabel.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/MaterialPicker.h"
#include "Orza/widgets/MaterialSearchList.h"
#include "Orza/window/BookWindow.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <cmath>

using namespace Orza;
using GlazeCore::Oxide;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

GlazeCore::Recipe glaze(std::string name, std::vector<GlazeCore::RecipeLine> lines) {
    return {GlazeCore::Uuid::random(), std::move(name), "6", std::move(lines), "Notes stay."};
}

GlazeCore::GlazeBook satinBook() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A", "C"});
    book.recipes.insert(book.recipes.begin() + 1,
                        glaze("Satin", {line("potash-feldspar", 40), line("whiting", 20), line("kaolin", 20),
                                        line("silica", 20), line("rutile", 5, true)}));
    return book;
}

void choose(QComboBox* picker, const std::string& id) {
    const int index = picker->findData(QString::fromStdString(id));
    QVERIFY(index >= 0);
    picker->setCurrentIndex(index);
    emit picker->activated(index);
}

GlazeCore::OxideValues baseUmf(const BookDocument& document, const GlazeCore::Uuid& id) {
    return GlazeCore::Reformulate::baseChemistry(*document.recipe(id), document.library()).umf;
}

} // namespace

class ReplaceMaterialSheetTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    void setUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void tearDown() override { QLocale::setDefault(QLocale::system()); }

private slots:
    // Until both materials are chosen the sheet solves nothing and prompts; the caution always shows.
    void promptsBeforeAnythingIsChosen() {
        GlazeCore::GlazeBook book = satinBook();
        book.recipes.push_back(glaze("Only additions", {line("rutile", 4, true), line("", 3)}));
        auto window = OrzaTest::makeWindow(book);
        BookDocument& document = *window->document();
        const GlazeCore::Uuid satinID = book.recipes[1].id;

        ReplaceMaterialSheet* sheet = ReplaceMaterialSheet::open(window->paneContext(), satinID, ReplaceRequest{});
        QVERIFY(sheet && window->model()->replace() && window->model()->anySheetShown());
        QCOMPARE(sheet->oldID(), std::string("potash-feldspar"));
        QVERIFY(sheet->newID().empty());
        QVERIFY(!sheet->result());
        QCOMPARE(sheet->solveCount(), 1);
        QCOMPARE(sheet->replacePicker()->count(), 4);
        QCOMPARE(sheet->replacePicker()->currentText(), QStringLiteral("Potash feldspar"));
        QCOMPARE(QAccessible::queryAccessibleInterface(sheet->replacePicker())->text(QAccessible::Name), QStringLiteral("Replace"));
        QCOMPARE(sheet->withButton()->displayName(), QStringLiteral("Choose material"));
        QCOMPARE(sheet->promptLabel()->text(), QStringLiteral("Choose the material to use in its place."));
        QVERIFY(!sheet->cautionLabel()->isHidden());
        QVERIFY(!sheet->replaceButton()->isEnabled() && !sheet->saveButton()->isEnabled());
        QVERIFY(sheet->saveButton()->isDefault() && !sheet->replaceButton()->isDefault());
        const GlazeCore::GlazeBook unchanged = document.book();
        QTest::keyClick(sheet, Qt::Key_Return);
        QVERIFY(sheet->isVisible() && document.book() == unchanged);

        // Choosing the old material alone still solves nothing.
        choose(sheet->replacePicker(), "whiting");
        QCOMPARE(sheet->oldID(), std::string("whiting"));
        QVERIFY(!sheet->result());
        QTest::keyClick(sheet, Qt::Key_Escape);
        QVERIFY(!sheet->isVisible() && !window->model()->replace());
        QVERIFY(document.book() == unchanged);
        OrzaTest::settle();

        ReplaceMaterialSheet* none = ReplaceMaterialSheet::open(window->paneContext(), book.recipes.back().id,
                                                                ReplaceRequest{GlazeCore::Uuid::random(), "rutile"});
        QVERIFY(none->oldID().empty());
        QCOMPARE(none->replacePicker()->count(), 0);
        QCOMPARE(none->promptLabel()->text(), QStringLiteral("This recipe has no base materials to replace. Choose "
                                                             "materials in the recipe table first."));
        none->setNewID("wollastonite");
        QVERIFY(!none->result());
        QVERIFY(!none->cautionLabel()->isHidden());
    }

    // Until "Save as New Recipe" can act, Return on the "With" picker opens its list: with no material chosen,
    // and with one the solve refuses.
    void returnOnTheWithPickerOpensItUntilTheResultCanBeSaved() {
        auto window = OrzaTest::makeWindow(satinBook());
        BookDocument& document = *window->document();
        const GlazeCore::GlazeBook book = document.book();
        ReplaceMaterialSheet* sheet = ReplaceMaterialSheet::open(window->paneContext(), book.recipes[1].id,
                                                                 ReplaceRequest{GlazeCore::Uuid::random(), "whiting"});
        QVERIFY(OrzaTest::showActive(*sheet));
        for (const std::string& chosen : {std::string(), std::string("no-such-material")}) {
            sheet->setNewID(chosen);
            QVERIFY(!sheet->saveButton()->isEnabled());
            sheet->withButton()->setFocus();
            QTest::keyClick(sheet->withButton(), Qt::Key_Return);
            auto* picker = sheet->withButton()->findChild<MaterialPicker*>();
            QVERIFY2(picker && picker->isVisible(), chosen.c_str());
            QVERIFY(sheet->isVisible());
            QVERIFY(document.book() == book);
            picker->close();
            OrzaTest::settle();
        }
    }

    // Replace in This Recipe changes only the lines, Save as New Recipe (Return) inserts "Satin with
    // Wollastonite" after Satin and selects it; each is one undo step.
    void applyInPlaceAndAsCopyThenUndo() {
        auto window = OrzaTest::makeWindow(satinBook());
        BookDocument& document = *window->document();
        const GlazeCore::GlazeBook book = document.book();
        const GlazeCore::Uuid satinID = book.recipes[1].id;
        const int steps = document.undoStack()->count();

        ReplaceMaterialSheet* sheet = ReplaceMaterialSheet::open(window->paneContext(), satinID,
                                                                 ReplaceRequest{GlazeCore::Uuid::random(), "whiting"});
        QCOMPARE(sheet->oldID(), std::string("whiting"));
        sheet->setNewID("wollastonite");
        QCOMPARE(sheet->withButton()->displayName(), QStringLiteral("Wollastonite"));
        QVERIFY(sheet->adjustment() && sheet->hasChanges());
        QVERIFY(sheet->summary()->isVisibleTo(sheet));
        QCOMPARE(sheet->summary()->reachedLabel()->text(), QStringLiteral("Every oxide reaches its original value."));
        QCOMPARE(sheet->summary()->targetHeader()->text(), QStringLiteral("Original"));
        const GlazeCore::Recipe adjusted = sheet->adjustment()->recipe;
        sheet->replaceButton()->click();
        QVERIFY(!sheet->isVisible() && !window->model()->replace());
        const GlazeCore::Recipe& replaced = *document.recipe(satinID);
        QVERIFY(replaced.lines == adjusted.lines);
        QCOMPARE(replaced.lines[1].materialID, std::string("wollastonite"));
        QCOMPARE(replaced.name, std::string("Satin"));
        QCOMPARE(replaced.notes, std::string("Notes stay."));
        QCOMPARE(document.undoStack()->count(), steps + 1);
        document.undoStack()->undo();
        QVERIFY(document.book() == book);
        OrzaTest::settle();

        sheet = ReplaceMaterialSheet::open(window->paneContext(), satinID,
                                           ReplaceRequest{GlazeCore::Uuid::random(), "whiting"});
        sheet->setNewID("wollastonite");
        QTest::keyClick(sheet, Qt::Key_Return);
        QVERIFY(!sheet->isVisible());
        QCOMPARE(document.book().recipes.size(), std::size_t(4));
        const GlazeCore::Recipe& copy = document.book().recipes[2];
        QCOMPARE(copy.name, std::string("Satin with Wollastonite"));
        QVERIFY(document.book().recipes[1] == book.recipes[1]);
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::recipe(copy.id)));
        document.undoStack()->undo();
        QVERIFY(document.book() == book);
    }

    // Replacing the only material by one that supplies none of its oxides is an answer with its misses, not
    // a target that cannot be reached. A material the recipe no longer uses gets the engine's sentence.
    void answersWithMissesAndErrors() {
        GlazeCore::GlazeBook book;
        book.recipes.push_back(glaze("Zinc", {line("zinc-oxide", 10)}));
        auto window = OrzaTest::makeWindow(book);
        BookDocument& document = *window->document();
        const GlazeCore::Uuid id = book.recipes[0].id;
        ReplaceMaterialSheet* sheet = ReplaceMaterialSheet::open(window->paneContext(), id, ReplaceRequest{});
        sheet->setNewID("zircon");
        QVERIFY(sheet->adjustment());
        QVERIFY(sheet->failureLabel()->isHidden());
        const auto misses = sheet->summary()->missLabels();
        QCOMPARE(misses.size(), std::size_t(1));
        QCOMPARE(misses[0]->text(),
                 QStringLiteral("ZnO ends 1.000 below the original. No material in the new recipe supplies it."));
        QCOMPARE(sheet->summary()->materialCells(0).name->text(), QStringLiteral("Zinc oxide"));
        QVERIFY(sheet->saveButton()->isEnabled());

        // The recipe changes under the sheet: the picker drops the material and the solve says why.
        const GlazeCore::Recipe& recipe = *document.recipe(id);
        document.setLineMaterial(id, recipe.lines[0].id, "whiting");
        QCOMPARE(sheet->baseIDs(), (std::vector<std::string>{"whiting"}));
        QCOMPARE(sheet->replacePicker()->currentIndex(), -1);
        QVERIFY(!sheet->adjustment());
        QVERIFY(!sheet->failureLabel()->isHidden());
        QCOMPARE(sheet->failureLabel()->text(), QStringLiteral("That material is not in the base of this recipe."));
        QVERIFY(!sheet->saveButton()->isEnabled() && !sheet->replaceButton()->isEnabled());
        QVERIFY(!sheet->cautionLabel()->isHidden());
    }

    // Through the real window: the menu command on the sample's "Tidewater Feldspar Gloss", Whiting replaced
    // by Wollastonite picked from the list, applied; the unity formula holds and undo restores the book.
    void endToEndThroughTheWindow() {
        auto window = OrzaTest::makeWindowWithMenus(GlazeCore::SampleBook::makeBook());
        BookDocument& document = *window->document();
        const GlazeCore::GlazeBook book = document.book();
        const auto found = std::find_if(book.recipes.begin(), book.recipes.end(),
                                        [](const auto& r) { return r.name == "Tidewater Feldspar Gloss"; });
        QVERIFY(found != book.recipes.end());
        const GlazeCore::Uuid id = found->id;
        window->model()->setSelection(SidebarItem::recipe(id));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane);
        const GlazeCore::OxideValues before = baseUmf(document, id);

        window->actions()->action(Command::replaceMaterial)->trigger();
        auto* sheet = window->findChild<ReplaceMaterialSheet*>();
        QVERIFY(sheet && sheet->isVisible());
        QVERIFY(!window->actions()->action(Command::replaceMaterial)->isEnabled());
        choose(sheet->replacePicker(), "whiting");
        MaterialPicker* picker = sheet->withButton()->openPicker();
        QTest::keyClicks(picker->list()->searchField(), QStringLiteral("Wollastonite"));
        QTest::keyClick(picker->list()->searchField(), Qt::Key_Return);
        QCOMPARE(sheet->newID(), std::string("wollastonite"));
        QVERIFY(sheet->adjustment() && sheet->adjustment()->residual.empty());
        sheet->replaceButton()->click();

        const GlazeCore::OxideValues after = baseUmf(document, id);
        for (const Oxide oxide : GlazeCore::OxideNames::allCases())
            QVERIFY2(std::abs(GlazeCore::oxideValue(after, oxide) - GlazeCore::oxideValue(before, oxide)) <=
                         GlazeCore::Reformulate::tolerance,
                     GlazeCore::OxideNames::rawValue(oxide).data());
        const auto& lines = document.recipe(id)->lines;
        QVERIFY(std::none_of(lines.begin(), lines.end(), [](const auto& l) { return l.materialID == "whiting"; }));
        QVERIFY(window->actions()->action(Command::replaceMaterial)->isEnabled());
        document.undoStack()->undo();
        QVERIFY(document.book() == book);
        OrzaTest::settle();

        // A row of the lines table opens the sheet on its own material.
        pane = qobject_cast<RecipePane*>(window->detail());
        RecipeLinesTable* table = pane->linesTable();
        const int kaolinRow = int(std::find_if(found->lines.begin(), found->lines.end(),
                                               [](const auto& l) { return l.materialID == "kaolin"; }) -
                                  found->lines.begin());
        std::unique_ptr<QMenu> menu(table->contextMenuFor({table->model()->index(kaolinRow, 0)}, nullptr));
        QVERIFY(menu);
        menu->actions().front()->trigger();
        sheet = window->findChild<ReplaceMaterialSheet*>();
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(sheet->oldID(), std::string("kaolin"));
        QCOMPARE(window->model()->replace()->materialID, std::optional<std::string>("kaolin"));
        sheet->reject();
    }
};

QTEST_MAIN(ReplaceMaterialSheetTest)
#include "ReplaceMaterialSheetTest.moc"
