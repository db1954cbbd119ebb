#include "Orza/recipe/RecipePane.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/chemistry/ChemistryPanel.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipeLinesView.h"
#include "Orza/reformulate/OxideNudgeSheet.h"
#include "Orza/settings/Settings.h"
#include "Orza/settings/WindowState.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/MaterialPicker.h"
#include "Orza/widgets/MaterialSearchList.h"
#include "Orza/window/BookWindow.h"
#include "support/PaneHost.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QUndoStack>

#include <cmath>

using namespace Orza;

namespace {

RecipePane* paneOf(BookWindow& window) {
    return qobject_cast<RecipePane*>(window.detail());
}

} // namespace

class RecipePaneTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private slots:
    void rules() {
        GlazeCore::Recipe recipe = OrzaTest::recipe("", "6");
        QCOMPARE(RecipePane::subtitle(recipe), QStringLiteral("Untitled recipe \u00b7 Cone 6"));
        recipe.name = "  ";
        recipe.cone = "04";
        QCOMPARE(RecipePane::subtitle(recipe), QStringLiteral("   \u00b7 Cone 04"));

        // A book's own text keeps its letters and direction marks as typed, isolated so that a right-to-left name
        // cannot turn the rest of the title around; line breaks, other controls and overrides are written out.
        recipe.name = "\u05E7\u05E8\u05D7 \u05E9\u05E7\u05D5\u05E3\u200F 6";
        recipe.cone = "6";
        QCOMPARE(RecipePane::subtitle(recipe),
                 QStringLiteral("\u2068\u05E7\u05E8\u05D7 \u05E9\u05E7\u05D5\u05E3\u200F 6\u2069 \u00b7 Cone 6"));
        recipe.name = "Tab\there\nline \u202Eturned\u2069";
        QCOMPARE(RecipePane::subtitle(recipe),
                 QStringLiteral("Tab\\u0009here\\u000Aline \\u202Eturned\\u2069 \u00b7 Cone 6"));
        // Only a huge name is shortened, at the length every other view shows.
        recipe.name = std::string(230, 'x');
        QVERIFY(RecipePane::subtitle(recipe).startsWith(QString(230, QLatin1Char('x')) + QStringLiteral(" \u00b7")));
        recipe.name = std::string(5000, 'y');
        const QString huge = RecipePane::subtitle(recipe);
        QVERIFY(huge.size() < 1100 && huge.contains(QChar(0x2026)));

        const auto known = RecipePane::coneChoices("6");
        QCOMPARE(std::count(known.begin(), known.end(), std::string("6")), 1);
        const auto odd = RecipePane::coneChoices("13 1/2");
        QCOMPARE(odd.back(), std::string("13 1/2"));
        QCOMPARE(odd.size(), known.size() + 1);

        const BookLibrary library({});
        GlazeCore::Recipe blank = OrzaTest::recipe("Blank");
        blank.lines = {{GlazeCore::Uuid::random(), "", 20, false}};
        QVERIFY(RecipePane::chemistryOf(blank, library, false).nothingChosen);
        QVERIFY(!RecipePane::pointOf(RecipePane::chemistryOf(blank, library, false)));
        GlazeCore::Recipe broken = OrzaTest::recipe("Broken");
        broken.lines[0].amount = std::nan("");
        const auto failed = RecipePane::chemistryOf(broken, library, false);
        QVERIFY(!failed.result);
        QVERIFY(!failed.failure.isEmpty());

        // Boron counts from a twentieth of a thousandth of a mole; additions only when asked.
        GlazeCore::Recipe boron = OrzaTest::recipe("Boron");
        boron.lines.push_back({GlazeCore::Uuid::random(), "whiting", 20, false});
        boron.lines.push_back({GlazeCore::Uuid::random(), "colemanite", 10, true});
        QVERIFY(!RecipePane::hasBoron(RecipePane::chemistryOf(boron, library, false)));
        QVERIFY(RecipePane::hasBoron(RecipePane::chemistryOf(boron, library, true)));

        // The book's own material with an analysis that is not valid is named as such, not as unknown.
        const BookLibrary withInvalid({{"my-frit", "My Frit", {{GlazeCore::Oxide::SiO2, 150}}, 0, ""}});
        GlazeCore::Recipe frit = OrzaTest::recipe("Frit");
        frit.lines.push_back({GlazeCore::Uuid::random(), "my-frit", 10, false});
        frit.lines.push_back({GlazeCore::Uuid::random(), "no-such", 10, false});
        const auto warnings = RecipePane::chemistryOf(frit, withInvalid, false).result->warnings;
        QVERIFY(std::find(warnings.begin(), warnings.end(),
                          "\"My Frit\" has an analysis that is not valid: line ignored. Correct it on the Materials "
                          "page.") != warnings.end());
        QVERIFY(std::find(warnings.begin(), warnings.end(),
                          "Unknown material \"no-such\" (not in the library or the book): line ignored.") !=
                warnings.end());
        QCOMPARE(std::count_if(warnings.begin(), warnings.end(),
                               [](const std::string& w) { return w.find("my-frit") != std::string::npos; }),
                 0);
    }

    // A new recipe guides the user; choosing a material brings the panel and the recipe's first place.
    void theChemistryFollowsTheLines() {
        auto window = OrzaTest::makeWindowWithMenus();
        window->addRecipe();
        RecipePane* pane = paneOf(*window);
        QVERIFY(pane);
        QVERIFY(pane->chemistryNote()->isVisibleTo(pane));
        QVERIFY(pane->chemistryNote()->text().startsWith(QStringLiteral("Choose a material in the table")));
        QVERIFY(!pane->chart()->input().current);
        const auto recipeID = pane->recipeID();

        RecipeLinesTable& table = *pane->linesTable();
        table.model()->setData(table.model()->index(0, RecipeLinesModel::materialColumn), QStringLiteral("silica"),
                               RecipeLinesModel::materialIDRole);
        table.model()->setData(table.model()->index(0, RecipeLinesModel::amountColumn), 60.0);
        window->actions()->action(Command::addMaterial)->trigger();
        QCOMPARE(window->document()->recipe(recipeID)->lines.size(), std::size_t(2));
        table.model()->setData(table.model()->index(1, RecipeLinesModel::materialColumn), QStringLiteral("whiting"),
                               RecipeLinesModel::materialIDRole);
        table.model()->setData(table.model()->index(1, RecipeLinesModel::amountColumn), 20.0);
        pane->refreshNow();
        QVERIFY(pane->chemistryPanel()->isVisibleTo(pane));
        QVERIFY(!pane->chemistryNote()->isVisibleTo(pane));
        QVERIFY(pane->chart()->input().current);
        QCOMPARE(window->model()->trail(recipeID).size(), std::size_t(1));

        // Seven places in a row leave the newest six, and the chart draws those before the current one.
        for (int i = 1; i <= 7; ++i) {
            table.model()->setData(table.model()->index(1, RecipeLinesModel::amountColumn), 20.0 + i);
            pane->refreshNow();
        }
        QCOMPARE(window->model()->trail(recipeID).size(), std::size_t(6));
        QCOMPARE(pane->chart()->input().trail.size(), std::size_t(5));
        QCOMPARE(window->windowTitle(), QStringLiteral("Untitled[*] \u2014 New recipe 1 \u00b7 Cone 6"));
    }

    // The chemistry command hides and shows the column of the window in front, and follows that window.
    void chemistryCommandFollowsTheWindow() {
        auto window = OrzaTest::makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        QAction* command = window->actions()->action(Command::toggleChemistry);
        window->model()->setSelection(SidebarItem::tests());
        QVERIFY(!command->isEnabled());
        QCOMPARE(command->text(), QStringLiteral("Hide Chemistry"));
        window->model()->setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        QVERIFY(command->isEnabled());
        QCOMPARE(command->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I));
        command->trigger();
        QVERIFY(!window->state()->showChemistry());
        QVERIFY(paneOf(*window)->chemistryColumn()->isHidden());
        QCOMPARE(command->text(), QStringLiteral("Show Chemistry"));

        auto other = OrzaTest::makeWindowWithMenus(OrzaTest::bookWithRecipes({"B"}));
        other->model()->setSelection(SidebarItem::recipe(other->document()->book().recipes[0].id));
        QCOMPARE(other->actions()->action(Command::toggleChemistry)->text(), QStringLiteral("Hide Chemistry"));
        command->trigger();
        QVERIFY(!paneOf(*window)->chemistryColumn()->isHidden());
    }

    // The notes fit their text again whenever their width changes, also when the chemistry column comes
    // and goes; the lines table keeps its own height and the chart takes the rest.
    void notesAndTableKeepTheirHeights() {
        auto window = OrzaTest::makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        QVERIFY(OrzaTest::showActive(*window));
        // Wide enough that the chemistry column comes and goes beside the editor without resizing the pane.
        window->resize(1500, 780);
        window->model()->setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        RecipePane* pane = paneOf(*window);
        QTRY_VERIFY(pane->width() > 1100);
        QPlainTextEdit* notes = pane->notesField();
        const int oneLine = notes->height();
        // A text a quarter wider than the field: two lines beside the chemistry, one without it.
        const QFontMetrics metrics(notes->font());
        QString text;
        while (metrics.horizontalAdvance(text) < notes->viewport()->width() * 5 / 4)
            text += QStringLiteral("glaze ");
        notes->setPlainText(text.trimmed());
        QTRY_VERIFY(notes->height() > oneLine);
        const int twoLines = notes->height();
        QTRY_VERIFY(!notes->verticalScrollBar()->isVisible());

        window->state()->setShowChemistry(false);
        QTRY_COMPARE(notes->height(), oneLine);
        window->state()->setShowChemistry(true);
        QTRY_COMPARE(notes->height(), twoLines);
        QTRY_VERIFY(!notes->verticalScrollBar()->isVisible());
        // Back from another page, the new pane's notes fit their text too.
        window->model()->setSelection(SidebarItem::tests());
        window->model()->setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        pane = paneOf(*window);
        notes = pane->notesField();
        QTRY_COMPARE(notes->height(), twoLines);

        RecipeLinesTable* table = pane->linesTable();
        QCOMPARE(table->height(), table->sizeHint().height());
        QVERIFY(pane->chart()->height() > table->height());
    }

    // Built from a window's parts alone: the fields write the book, and the pane's title follows them.
    void nameConeAndNotesWriteTheBook() {
        OrzaTest::PaneHost host(OrzaTest::bookWithRecipes({"A"}));
        BookDocument& document = host.document();
        const auto id = document.book().recipes[0].id;
        RecipePane pane(host.context(), id);
        QCOMPARE(pane.windowTitle(), QStringLiteral("A \u00b7 Cone 6"));
        QTest::keyClicks(pane.nameField(), QStringLiteral(" glossy"));
        QCOMPARE(document.recipe(id)->name, std::string("A glossy"));
        QCOMPARE(document.undoStack()->count(), 1);
        const int cone10 = pane.conePicker()->findData(QStringLiteral("10"));
        QVERIFY(cone10 >= 0);
        QCOMPARE(QAccessible::queryAccessibleInterface(pane.conePicker())->text(QAccessible::Name), QStringLiteral("Cone"));
        pane.conePicker()->setCurrentIndex(cone10);
        emit pane.conePicker()->activated(cone10);
        QCOMPARE(document.recipe(id)->cone, std::string("10"));
        QCOMPARE(pane.windowTitle(), QStringLiteral("A glossy \u00b7 Cone 10"));
        document.undoStack()->undo();
        QCOMPARE(pane.conePicker()->currentData().toString(), QStringLiteral("6"));
        document.undoStack()->undo();
        QCOMPARE(pane.nameField()->text(), QStringLiteral("A"));
        QCOMPARE(pane.windowTitle(), QStringLiteral("A \u00b7 Cone 6"));
    }

    // The pane serves the recipe's commands for as long as it lives; they leave with it.
    void thePaneServesItsCommandsWhileItLives() {
        OrzaTest::PaneHost host(OrzaTest::bookWithRecipes({"A"}));
        ActionRegistry& actions = host.actions();
        const auto id = host.document().book().recipes[0].id;
        const Command served[] = {Command::addMaterial, Command::lineBlend,       Command::triaxialBlend,
                                  Command::gridBlend,   Command::batchSheet,      Command::printBatchSheet,
                                  Command::oxideNudge,  Command::replaceMaterial, Command::toggleChemistry};
        for (const Command command : served)
            QVERIFY(!actions.action(command)->isEnabled());

        auto pane = std::make_unique<RecipePane>(host.context(), id);
        for (const Command command : served)
            QVERIFY(actions.action(command)->isEnabled());
        actions.action(Command::addMaterial)->trigger();
        QCOMPARE(host.document().recipe(id)->lines.size(), std::size_t(2));
        actions.action(Command::toggleChemistry)->trigger();
        QVERIFY(!host.state().showChemistry());
        QCOMPARE(actions.action(Command::toggleChemistry)->text(), QStringLiteral("Show Chemistry"));
        actions.action(Command::oxideNudge)->trigger();
        QVERIFY(host.model().nudge());
        QVERIFY(host.widget().findChild<OxideNudgeSheet*>());

        host.model().setNudge(std::nullopt);
        pane.reset();
        for (const Command command : served)
            QVERIFY(!actions.hasHandler(command) && !actions.action(command)->isEnabled());
        QCOMPARE(actions.action(Command::toggleChemistry)->text(), QStringLiteral("Hide Chemistry"));
    }

    // A custom material that takes a built-in one's id changes the open recipe's chemistry at once.
    void aCustomMaterialOverridingABuiltInOneMovesTheRecipe() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A"});
        book.recipes[0].lines.push_back({GlazeCore::Uuid::random(), "whiting", 20, false});
        OrzaTest::PaneHost host(book);
        BookDocument& document = host.document();
        RecipePane pane(host.context(), book.recipes[0].id);
        pane.refreshNow();
        const double caBefore = GlazeCore::oxideValue(pane.chemistryPanel()->chemistry().umf, GlazeCore::Oxide::CaO);
        QVERIFY(caBefore > 0);
        QVERIFY(document.insertMaterial(
            0, {"whiting", "Whiting with magnesia", {{GlazeCore::Oxide::CaO, 30}, {GlazeCore::Oxide::MgO, 20}}, 44, ""},
            QStringLiteral("Add Material")));
        pane.refreshNow();
        QVERIFY(GlazeCore::oxideValue(pane.chemistryPanel()->chemistry().umf, GlazeCore::Oxide::MgO) > 0);
        document.undoStack()->undo();
        pane.refreshNow();
        QCOMPARE(GlazeCore::oxideValue(pane.chemistryPanel()->chemistry().umf, GlazeCore::Oxide::CaO), caBefore);
    }

    // The main road, through the real window: the sample book, one amount typed, the panel and the chart
    // follow, and undo gives back the book as it was opened.
    void typingAnAmountMovesTheGlazeAndUndoRestoresTheBook() {
        auto window = OrzaTest::makeWindowWithMenus(GlazeCore::SampleBook::makeBook());
        QVERIFY(OrzaTest::showActive(*window));
        const GlazeCore::GlazeBook opened = window->document()->book();
        window->model()->setSelection(SidebarItem::recipe(opened.recipes[0].id));
        RecipePane* pane = paneOf(*window);
        pane->refreshNow();
        const double siO2Before =
            GlazeCore::oxideValue(pane->chemistryPanel()->chemistry().umf, GlazeCore::Oxide::SiO2);
        const auto pointBefore = pane->chart()->input().current;
        QVERIFY(pointBefore);

        RecipeLinesView& view = *pane->linesTable()->view();
        const auto& lines = opened.recipes[0].lines;
        const int silicaRow =
            int(std::find_if(lines.begin(), lines.end(), [](const auto& l) { return l.materialID == "silica"; }) -
                lines.begin());
        const QModelIndex amount = view.model()->index(silicaRow, RecipeLinesModel::amountColumn);
        view.setCurrentIndex(amount);
        view.edit(amount);
        auto* editor = view.findChild<LiveNumberField*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("45"));
        QTRY_VERIFY(GlazeCore::oxideValue(pane->chemistryPanel()->chemistry().umf, GlazeCore::Oxide::SiO2) >
                    siO2Before);
        QVERIFY(pane->chart()->input().current->siO2 > pointBefore->siO2);
        QCOMPARE(window->document()->undoStack()->count(), 1);

        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window->document()->book(), opened);
        QTRY_COMPARE(pane->chart()->input().current->siO2, pointBefore->siO2);
    }
};

QTEST_MAIN(RecipePaneTest)
#include "RecipePaneTest.moc"
