#include "Orza/window/BookWindow.h"

#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/FitWindowToScreen.h"
#include "Orza/platform/SystemBeep.h"
#include "Orza/settings/WindowState.h"
#include "Orza/sidebar/SidebarView.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/window/DeleteRecipeDialog.h"
#include "Orza/window/EmptyDetailView.h"
#include "Orza/window/RenameRecipeDialog.h"
#include "support/AccessibleEvents.h"
#include "support/TestEnvironment.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include <memory>

using namespace Orza;
using OrzaTest::makeWindow;
using OrzaTest::recipeNames;

namespace {

QString detailTitle(BookWindow& window) {
    if (auto* empty = qobject_cast<EmptyDetailView*>(window.detail())) return empty->content()->title();
    if (auto* unavailable = qobject_cast<ContentUnavailableView*>(window.detail())) return unavailable->title();
    return {};
}

} // namespace

class BookWindowTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private slots:
    void addRecipeNumbersByCountAndSelects() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "New recipe 3", "C"}));
        window->addRecipe();
        const GlazeCore::Recipe& added = window->document()->book().recipes.back();
        QCOMPARE(added.name, std::string("New recipe 4"));
        QCOMPARE(added.cone, std::string("6"));
        QCOMPARE(added.lines.size(), std::size_t(1));
        QCOMPARE(added.lines[0].materialID, std::string());
        QCOMPARE(added.lines[0].amount, 0.0);
        QCOMPARE(window->selectedRecipeID(), std::optional(added.id));
        QCOMPARE(window->document()->undoStack()->count(), 1);

        // Undoing the addition takes the selected recipe away: the selection moves to the new last one.
        window->document()->undoStack()->undo();
        QCOMPARE(window->selectedRecipeID(), std::optional(window->document()->book().recipes[2].id));
    }

    void duplicateLandsAfterItsSource() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B", "C"}));
        window->duplicateRecipe(window->document()->book().recipes[1].id);
        QCOMPARE(recipeNames(window->document()->book()), (std::vector<std::string>{"A", "B", "B copy", "C"}));
        QCOMPARE(window->selectedRecipeID(), std::optional(window->document()->book().recipes[2].id));
        window->duplicateRecipe(GlazeCore::Uuid::random());
        QCOMPARE(window->document()->book().recipes.size(), std::size_t(4));
    }

    void showPage() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B"}));
        const auto& recipes = window->document()->book().recipes;
        window->showPage(GlazeCore::BookPage::tests);
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::tests()));
        window->showPage(GlazeCore::BookPage::recipes);
        QCOMPARE(window->selectedRecipeID(), std::optional(recipes[0].id));
        window->model()->setSelection(SidebarItem::recipe(recipes[1].id));
        window->showPage(GlazeCore::BookPage::recipes);
        QCOMPARE(window->selectedRecipeID(), std::optional(recipes[1].id));
        window->showPage(GlazeCore::BookPage::materials);
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::materials()));

        auto empty = makeWindow();
        empty->showPage(GlazeCore::BookPage::tests);
        empty->showPage(GlazeCore::BookPage::recipes);
        QVERIFY(!empty->model()->selection());
    }

    // A reader knows the window by its title: a page switched to and a recipe renamed are told as its new name.
    void titleChangesAreTold() {
        OrzaTest::AccessibleEvents events;
        auto window = makeWindow(OrzaTest::bookWithRecipes({"Gloss"}));
        const auto id = window->document()->book().recipes[0].id;
        window->show();
        const auto namesTold = [&] {
            QStringList names;
            for (const auto& event : events.of(QAccessible::NameChanged))
                if (event.object == window.get()) names << event.name;
            events.clear();
            return names;
        };
        OrzaTest::settle();
        namesTold();
        window->showPage(GlazeCore::BookPage::tests);
        QCOMPARE(namesTold(), QStringList{window->windowTitle().remove(QStringLiteral("[*]"))});
        QVERIFY(window->windowTitle().contains(QStringLiteral("Test Log")));

        window->model()->setSelection(SidebarItem::recipe(id));
        namesTold();
        window->beginRename(id);
        auto* dialog = window->findChild<RenameRecipeDialog*>();
        QVERIFY(dialog);
        dialog->nameField()->setText(QStringLiteral("Celadon"));
        dialog->renameButton()->click();
        const QStringList told = namesTold();
        QVERIFY(!told.isEmpty());
        QVERIFY2(told.last().contains(QStringLiteral("Celadon")), qPrintable(told.join('|')));
    }

    void addTestTileUsesTheSelectedOrFirstRecipeAndClearsTheSearch() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A", "B"});
        book.recipes[1].cone = "10";
        auto window = makeWindow(book);
        WindowModel& model = *window->model();
        model.setTestQuery("celadon");
        model.setTestCone("6");
        model.setTestAtmosphere("Soda");
        model.setSelection(SidebarItem::recipe(book.recipes[1].id));
        window->addTestTile();
        const auto& tiles = window->document()->book().tests;
        QCOMPARE(tiles.size(), std::size_t(1));
        QCOMPARE(tiles[0].recipeID, book.recipes[1].id);
        QCOMPARE(tiles[0].cone, std::string("10"));
        QCOMPARE(tiles[0].atmosphere, std::string("Oxidation"));
        QCOMPARE(tiles[0].code, std::string("T-001"));
        QCOMPARE(tiles[0].schedule.size(), std::size_t(3));
        QCOMPARE(tiles[0].schedule[2].targetC, 1220.0);
        QCOMPARE(tiles[0].schedule[2].holdMinutes, 10.0);
        QVERIFY(!model.isFiltering());
        QCOMPARE(model.testSelection(), std::optional(tiles[0].id));
        QCOMPARE(model.selection(), std::optional(SidebarItem::tests()));

        window->addTestTile(); // from the Tests page: the first recipe
        QCOMPARE(window->document()->book().tests[1].recipeID, book.recipes[0].id);

        auto empty = makeWindow();
        empty->addTestTile();
        QVERIFY(empty->document()->book().tests.empty());
    }

    void actionsBundleFollowsTheBookAndTheDialogs() {
        auto window = makeWindow();
        const auto enabled = [&](Command command) { return window->actions()->action(command)->isEnabled(); };
        QVERIFY(enabled(Command::addRecipe));
        QVERIFY(!enabled(Command::renameRecipe) && !enabled(Command::addTest) && !enabled(Command::printLabels));

        window->addRecipe();
        QVERIFY(enabled(Command::renameRecipe) && enabled(Command::addTest));
        window->actions()->action(Command::addTest)->trigger();
        QVERIFY(enabled(Command::printLabels));

        window->beginRename(window->document()->book().recipes[0].id);
        QVERIFY(!enabled(Command::addRecipe) && !enabled(Command::printLabels));
        window->findChild<RenameRecipeDialog*>()->reject();
        QVERIFY(enabled(Command::addRecipe) && enabled(Command::printLabels));
    }

    void renameThroughItsDialog() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"Gloss", ""}));
        BookDocument& document = *window->document();
        const auto id = document.book().recipes[0].id;

        window->beginRename(id);
        auto* dialog = window->findChild<RenameRecipeDialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->nameField()->text(), QStringLiteral("Gloss"));
        QVERIFY(window->model()->dialogShown());
        QVERIFY(!window->actions()->action(Command::addRecipe)->isEnabled());
        dialog->nameField()->setText(QStringLiteral("  Celadon \n"));
        dialog->renameButton()->click();
        QCOMPARE(document.book().recipes[0].name, std::string("Celadon"));
        QVERIFY(!window->renaming());
        QVERIFY(!window->model()->dialogShown());
        QCOMPARE(document.undoStack()->undoText(), QStringLiteral("Rename Recipe"));

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window->beginRename(id);
        dialog = window->findChild<RenameRecipeDialog*>();
        QCOMPARE(dialog->nameField()->selectedText(), QStringLiteral("Celadon")); // typing replaces it
        // Its "Name" title stays in sight while the field holds text.
        QCOMPARE(dialog->nameTitle()->text(), QStringLiteral("Name"));
        QVERIFY(dialog->nameTitle()->isVisible());
        QCOMPARE(dialog->nameTitle()->buddy(), dialog->nameField());
        // A blank name is not an error: Rename stays enabled, Return closes the alert, the name stays.
        dialog->nameField()->setText(QStringLiteral(" \n\t"));
        QVERIFY(dialog->renameButton()->isEnabled());
        QTest::keyClick(dialog->nameField(), Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!window->renaming());
        QCOMPARE(document.book().recipes[0].name, std::string("Celadon"));
        QCOMPARE(document.undoStack()->count(), 1);

        document.undoStack()->setClean();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window->beginRename(id);
        dialog = window->findChild<RenameRecipeDialog*>();
        dialog->renameButton()->click(); // its own name: nothing recorded
        QVERIFY(!document.isModified());

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window->beginRename(id);
        dialog = window->findChild<RenameRecipeDialog*>();
        dialog->nameField()->setText(QStringLiteral("Other"));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QCOMPARE(document.book().recipes[0].name, std::string("Celadon"));
        QVERIFY(!window->renaming());

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window->beginRename(document.book().recipes[1].id);
        QCOMPARE(window->findChild<RenameRecipeDialog*>()->nameField()->text(), QString());
    }

    // Tab past Rename and Cancel and back into the field, a name typed, Return: the recipe takes the name, as it
    // does without the Tabs. Rename is drawn as the default again once the keyboard is back in the field.
    void returnRenamesAfterTabbingPastTheButtons() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"Gloss"}));
        QVERIFY(OrzaTest::showActive(*window));
        const auto id = window->document()->book().recipes[0].id;
        for (const int tabs : {3, 0}) {
            window->beginRename(id);
            auto* dialog = window->findChild<RenameRecipeDialog*>();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QTRY_COMPARE(QApplication::focusWidget(), dialog->nameField());
            for (int i = 0; i < tabs; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), dialog->nameField());
            QVERIFY(dialog->renameButton()->isDefault());
            QVERIFY(!dialog->cancelButton()->isDefault());
            const QString name = QStringLiteral("Tenmoku %1").arg(tabs);
            QTest::keyClicks(dialog->nameField(), name);
            QTest::keyClick(dialog->nameField(), Qt::Key_Return);
            QTRY_VERIFY(!window->renaming());
            QCOMPARE(window->document()->book().recipes[0].name, name.toStdString());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    void deleteThroughItsDialogKeepsTilesAndMovesTheSelection() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A", "B", "C"});
        book.tests.push_back(OrzaTest::tile(book.recipes[1].id));
        auto window = makeWindow(book);
        BookDocument& document = *window->document();
        window->model()->setSelection(SidebarItem::recipe(book.recipes[1].id));

        // Delete in the sidebar asks first; Cancel changes nothing.
        QTest::keyClick(window->sidebar()->list(), Qt::Key_Delete);
        auto* dialog = window->findChild<DeleteRecipeDialog*>();
        QVERIFY(dialog);
        QCOMPARE(window->pendingDelete(), std::optional(book.recipes[1].id));
        QVERIFY(window->model()->dialogShown());
        QTest::mouseClick(static_cast<QPushButton*>(dialog->cancelButton()), Qt::LeftButton);
        QCOMPARE(document.book(), book);
        QVERIFY(!window->pendingDelete());
        QVERIFY(!window->model()->dialogShown());

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window->beginDelete(book.recipes[1].id);
        dialog = window->findChild<DeleteRecipeDialog*>();
        QTest::mouseClick(static_cast<QPushButton*>(dialog->deleteButton()), Qt::LeftButton);
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"A", "C"}));
        QCOMPARE(document.book().tests[0].recipeID, book.recipes[1].id);
        QCOMPARE(window->selectedRecipeID(), std::optional(book.recipes[2].id));

        document.undoStack()->undo();
        QCOMPARE(document.book(), book);

        // The last recipe, selected and deleted: the new last one is selected; then the only one: none.
        window->model()->setSelection(SidebarItem::recipe(book.recipes[2].id));
        window->deleteRecipe(book.recipes[2].id);
        QCOMPARE(window->selectedRecipeID(), std::optional(book.recipes[1].id));
        window->deleteRecipe(book.recipes[0].id); // not selected: the selection stays
        QCOMPARE(window->selectedRecipeID(), std::optional(book.recipes[1].id));
        window->deleteRecipe(book.recipes[1].id);
        QVERIFY(!window->model()->selection());
        QCOMPARE(detailTitle(*window), QStringLiteral("Add a Recipe"));
    }

    // Undo and redo move the selection only when they take the selected recipe away, and then to the recipe now
    // at its place: Ctrl+D, Delete Recipe, Ctrl+Z, Ctrl+Shift+Z leave the recipe after the copy selected.
    void undoAndRedoMoveTheSelectionOnlyWhenItsRecipeGoes() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B", "C"}));
        BookDocument& document = *window->document();
        QUndoStack& steps = *document.undoStack();
        const auto ids = [&] {
            std::vector<GlazeCore::Uuid> all;
            for (const auto& recipe : document.book().recipes)
                all.push_back(recipe.id);
            return all;
        };
        const std::vector<GlazeCore::Uuid> before = ids();
        window->model()->setSelection(SidebarItem::recipe(before[1]));
        window->duplicateRecipe(before[1]);
        const GlazeCore::Uuid copy = ids()[2];
        QCOMPARE(window->selectedRecipeID(), std::optional(copy));
        window->deleteRecipe(copy);
        QCOMPARE(window->selectedRecipeID(), std::optional(before[2]));

        steps.undo(); // the copy comes back; the selection stays where it is
        QCOMPARE(ids().size(), std::size_t(4));
        QCOMPARE(window->selectedRecipeID(), std::optional(before[2]));
        window->model()->setSelection(SidebarItem::recipe(copy));
        steps.redo(); // the selected copy goes again: the recipe now at its place
        QCOMPARE(window->selectedRecipeID(), std::optional(before[2]));

        steps.undo();
        window->model()->setSelection(SidebarItem::recipe(copy));
        steps.undo(); // the duplicate undone takes the selected copy away, by the same rule
        QCOMPARE(ids(), before);
        QCOMPARE(window->selectedRecipeID(), std::optional(before[2]));
    }

    void detailFollowsTheSelection() {
        auto empty = makeWindow();
        auto* invitation = qobject_cast<EmptyDetailView*>(empty->detail());
        QVERIFY(invitation && invitation->addRecipeButton() && invitation->openSampleButton());
        QCOMPARE(invitation->content()->description(),
                 QStringLiteral("This book has no recipes yet. Add a recipe, then choose its materials and amounts. "
                                "The chemistry and the Stull chart update as you type.\n\nTo look around first, "
                                "open the sample book with six cone 6 base recipes. It is also in Help > Open "
                                "Sample Book."));
        QSignalSpy sample(empty.get(), &BookWindow::sampleDocumentRequested);
        invitation->openSampleButton()->click();
        QCOMPARE(sample.count(), 1);
        QVERIFY(empty->document()->book().recipes.empty());
        invitation->addRecipeButton()->click();
        QCOMPARE(empty->document()->book().recipes[0].name, std::string("New recipe 1"));
        QVERIFY(!qobject_cast<EmptyDetailView*>(empty->detail()));

        auto window = makeWindow(OrzaTest::bookWithRecipes({"A"}));
        QCOMPARE(detailTitle(*window), QStringLiteral("Select a Recipe"));
        QVERIFY(!qobject_cast<EmptyDetailView*>(window->detail())->addRecipeButton());
        const auto missing = GlazeCore::Uuid::random();
        window->model()->setSelection(SidebarItem::recipe(missing));
        QCOMPARE(detailTitle(*window), QStringLiteral("No Recipe Selected"));
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::recipe(missing)));
    }

    // Shrunk as far as it goes, the window keeps its sidebar and a pane beside it, and that smallest
    // window, frame and all, fits a 900 × 600 screen.
    void theSmallestWindowStaysUsable() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A"}));
        window->show();
        window->resize(200, 190);
        QCOMPARE(window->size(), BookWindow::minimumSize);
        QTRY_VERIFY(window->sidebar()->width() >= SidebarView::minimumWidth);
        QTRY_VERIFY(window->detail()->width() >= 300);
        const QRect smallScreen(0, 0, 900, 600);
        const QMargins frame = FitWindowToScreen::decorations(window.get());
        QVERIFY(smallScreen.contains(
            QRect(QPoint(frame.left(), frame.top()), BookWindow::minimumSize).marginsAdded(frame)));
    }

    void addingStopsAtTheBookLimitWithABeep() {
        const auto limit = std::size_t(GlazeCore::GlazeBookValidation::maxItems);
        GlazeCore::GlazeBook book;
        book.recipes.resize(limit);
        for (auto& r : book.recipes)
            r.id = GlazeCore::Uuid::random();
        book.tests.resize(limit);
        for (auto& t : book.tests)
            t = OrzaTest::tile(book.recipes[0].id);
        auto window = makeWindow(std::move(book));
        const int beeps = SystemBeep::count();
        window->addRecipe();
        window->duplicateRecipe(window->document()->book().recipes[0].id);
        window->addTestTile();
        QCOMPARE(SystemBeep::count(), beeps + 3);
        QCOMPARE(window->document()->book().recipes.size(), limit);
        QCOMPARE(window->document()->book().tests.size(), limit);
        QVERIFY(!window->document()->isModified());
    }

    void undoneTileMarksTheDocumentSoTheNumberGetsSaved() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A"}));
        BookDocument& document = *window->document();
        window->addTestTile();
        document.save(filePath("tiles.orzabook"));
        document.undoStack()->undo();
        QCOMPARE(document.ledgerMarks(), 1);
        QCoreApplication::processEvents(); // the mark arrives on the main queue
        document.undoStack()->redo();      // back at the saved state, yet the mark stays until the next save
        QVERIFY(document.undoStack()->isClean());
        QVERIFY(document.isModified());
        QCOMPARE(document.ledgerMarks(), 1); // the redo put the number back: nothing more to mark
    }

    void selectionIsSavedAndRestored() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B"}));
        const auto id = window->document()->book().recipes[1].id;
        window->model()->setSelection(SidebarItem::tests());
        QCOMPARE(window->state()->sidebarSelection(), QStringLiteral("tests"));
        window->model()->setSelection(SidebarItem::recipe(id));
        QCOMPARE(window->state()->sidebarSelection(), QString::fromStdString(id.uppercaseText()));
        QCOMPARE(window->restoreSelection(), std::optional(SidebarItem::recipe(id)));
        window->state()->setSidebarSelection(QStringLiteral("Materials"));
        QVERIFY(!window->restoreSelection());
        window->state()->setSidebarSelection(QString::fromStdString(GlazeCore::Uuid::random().uppercaseText()));
        QVERIFY(!window->restoreSelection());

        // Shown the first time with nothing restorable: the first recipe.
        window->model()->setSelection(std::nullopt);
        window->show();
        QCOMPARE(window->selectedRecipeID(), std::optional(window->document()->book().recipes[0].id));
        const QModelIndexList shown = window->sidebar()->list()->selectionModel()->selectedRows();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].data().toString(), QStringLiteral("A"));
    }

    void choosingARowSelectsItsItem() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B"}));
        QTreeView* list = window->sidebar()->list();
        const QModelIndex b = list->model()->index(1, 0, list->model()->index(0, 0));
        list->selectionModel()->setCurrentIndex(b, QItemSelectionModel::ClearAndSelect);
        QCOMPARE(window->selectedRecipeID(), std::optional(window->document()->book().recipes[1].id));
    }
};

QTEST_MAIN(BookWindowTest)
#include "BookWindowTest.moc"
