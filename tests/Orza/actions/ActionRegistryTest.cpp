#include "Orza/actions/ActionRegistry.h"

#include "Orza/actions/CommandTable.h"
#include "Orza/actions/DocumentFieldKeys.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/window/BookToolbar.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/RenameRecipeDialog.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QUndoStack>

#include <memory>

using namespace Orza;

namespace {

QList<QAction*> menuBarActions(const QMenuBar& bar) {
    QList<QAction*> all;
    for (QAction* menu : bar.actions())
        if (menu->menu()) all += menu->menu()->actions();
    return all;
}

} // namespace

class ActionRegistryTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    QStringList calls;

private slots:
    // The menu bar, the toolbar and the sidebar's context menu hold the very same actions, so an item
    // can never be enabled in one place and disabled in another.
    void oneActionServesMenuToolbarAndContextMenu() {
        auto window = OrzaTest::makeWindowWithMenus(OrzaTest::bookWithRecipes({"A", "B"}));
        ActionRegistry& actions = *window->actions();
        const auto a = window->document()->book().recipes[0].id;
        const auto b = window->document()->book().recipes[1].id;
        const QList<QAction*> menus = menuBarActions(*window->menuBar());
        BookToolbar* toolbar = window->findChild<BookToolbar*>();
        std::unique_ptr<QMenu> context(actions.recipeContextMenu(b, nullptr));
        for (QAction* shared : context->actions())
            QVERIFY(shared->isSeparator() || menus.contains(shared));
        for (QAction* shared : toolbar->actions())
            QVERIFY(menus.contains(shared) || shared == actions.action(Command::blendMenu) ||
                    shared == actions.action(Command::toggleChemistry));
        QVERIFY(toolbar->actions().contains(actions.action(Command::replaceMaterial)));

        // With the context menu open, the selected-recipe commands stand for its row, whatever is selected.
        window->model()->setSelection(SidebarItem::tests());
        QVERIFY(actions.action(Command::duplicateRecipe)->isEnabled());
        actions.action(Command::duplicateRecipe)->trigger();
        QCOMPARE(OrzaTest::recipeNames(window->document()->book()), (std::vector<std::string>{"A", "B", "B copy"}));
        context.reset();
        window->model()->setSelection(SidebarItem::tests());
        QVERIFY(!actions.action(Command::duplicateRecipe)->isEnabled());
        window->model()->setSelection(SidebarItem::recipe(a));
        actions.action(Command::duplicateRecipe)->trigger();
        QCOMPARE(OrzaTest::recipeNames(window->document()->book()),
                 (std::vector<std::string>{"A", "A copy", "B", "B copy"}));

        // A dialog of the window takes every bundle action away, wherever it shows, and gives it back.
        window->model()->setSelection(SidebarItem::recipe(a));
        OrzaTest::standInRecipePane(*window, calls);
        QVERIFY(actions.action(Command::replaceMaterial)->isEnabled());
        window->beginRename(a);
        QVERIFY(!actions.action(Command::replaceMaterial)->isEnabled());
        QVERIFY(!actions.action(Command::addRecipe)->isEnabled());
        window->findChild<RenameRecipeDialog*>()->reject();
        QVERIFY(actions.action(Command::replaceMaterial)->isEnabled());
    }

    // One row of the table per command: a command left out would have no action to show or run.
    void everyCommandHasOneRow() {
        std::vector<int> rows(commandCount, 0);
        for (const CommandInfo& info : CommandTable::all())
            ++rows[std::size_t(info.command)];
        QCOMPARE(rows, std::vector<int>(commandCount, 1));
        for (const GlazeCore::BookPage page : GlazeCore::BookPage::allCases())
            QCOMPARE(CommandTable::of(CommandTable::showing(page)).page, std::optional(page));
    }

    // A handler stays until its owner takes it back or goes; another owner's handler is never taken with it.
    void handlersLeaveWithTheirOwner() {
        auto window = OrzaTest::makeWindow(OrzaTest::bookWithRecipes({"A"}));
        ActionRegistry& actions = *window->actions();
        QAction* addMaterial = actions.action(Command::addMaterial);
        int runs = 0;
        auto first = std::make_unique<QObject>();
        QObject second;
        actions.setHandler(first.get(), Command::addMaterial, {[&] { ++runs; }});
        actions.setHandler(first.get(), Command::batchSheet, {[&] { runs += 10; }});
        QVERIFY(addMaterial->isEnabled());
        actions.setHandler(&second, Command::addMaterial, {[&] { runs += 100; }, [&] { return runs < 200; }});
        first.reset();
        QVERIFY(!actions.action(Command::batchSheet)->isEnabled());
        QVERIFY(addMaterial->isEnabled());
        addMaterial->trigger();
        addMaterial->trigger();
        QCOMPARE(runs, 200);
        addMaterial->trigger(); // asked as it is chosen: it cannot run now, though the menus have not heard yet
        QCOMPARE(runs, 200);
        actions.update();
        QVERIFY(!addMaterial->isEnabled());

        // While a sheet or dialog is up, a handler waits; what runs any time does not.
        actions.setHandler(&second, Command::addMaterial, {[&] { ++runs; }});
        actions.setHandler(&second, Command::toggleChemistry, {[&] { ++runs; }});
        window->model()->setShowBatch(true);
        QVERIFY(!addMaterial->isEnabled());
        QVERIFY(actions.action(Command::toggleChemistry)->isEnabled());
        window->model()->setShowBatch(false);
        QVERIFY(addMaterial->isEnabled());
        actions.withdraw(&second);
        QVERIFY(!addMaterial->isEnabled());
    }

    // Listeners of a closing window (its toolbar, say) read the window: they must not hear from its commands
    // once the window is no longer whole, as its panes and bars leave one by one.
    void aClosingWindowAnnouncesNothingHalfTakenApart() {
        auto window = OrzaTest::makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        QObject* const shell = window.get();
        QObject listener;
        int heardWhileGoing = 0;
        connect(window->actions(), &ActionRegistry::updated, &listener, [&] {
            if (!qobject_cast<BookWindow*>(shell)) ++heardWhileGoing;
        });
        window->actions()->update();
        window.reset();
        QCOMPARE(heardWhileGoing, 0);
    }

    void undoInAFocusedFieldUndoesTheBook() {
        auto window = OrzaTest::makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        BookDocument& document = *window->document();
        const auto recipeID = document.book().recipes[0].id;
        const auto lineID = document.book().recipes[0].lines[0].id;
        const auto amount = [&] { return document.book().recipes[0].lines[0].amount; };
        const double before = amount();

        // A field bound to the book as a pane binds it: writes go to the document, changes come back.
        auto* field = new LiveNumberField(QStringLiteral("Amount"), before, {2, 2}, false, window->centralWidget());
        auto* other = new LiveNumberField(QStringLiteral("Other"), 0, {2, 2}, false, window->centralWidget());
        other->move(0, 40);
        connect(field, &LiveNumberField::valueEdited, &document,
                [&](double value) { document.setLineAmount(recipeID, lineID, value); });
        connect(&document, &BookDocument::lineChanged, field, [&] { field->setValue(amount()); });
        DocumentFieldKeys::attach(field, document, *window->actions());
        QVERIFY(OrzaTest::showActive(*window));
        field->setFocus();
        field->selectAll();

        QTest::keyClicks(field, QStringLiteral("1.25"));
        QCOMPARE(amount(), 1.25);
        QCOMPARE(document.undoStack()->count(), 1); // one step for the whole burst
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(amount(), before);
        QCOMPARE(field->text(), QStringLiteral("20.00"));
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(amount(), 1.25);
        QCOMPARE(field->text(), QStringLiteral("1.25"));
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(amount(), 1.25);
        // Nothing left to redo: the key must not reach the field's own history either.
        QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("1.25"));

        // Leaving the field ends the burst: typing there again is a step of its own.
        other->setFocus();
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("3"));
        QCOMPARE(document.undoStack()->count(), 2);
        QCOMPARE(document.undoStack()->undoText(), QStringLiteral("Change Amount"));

        // The field's context menu offers the book's Undo, not its own.
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(field, &menuEvent);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QVERIFY(menu->actions().contains(window->actions()->action(Command::undo)));
        QVERIFY(menu->actions().contains(window->actions()->action(Command::redo)));
        QCOMPARE(menu->actions().size(), 9); // the field's own Undo and Redo gave way
        menu->close();
    }
};

QTEST_MAIN(ActionRegistryTest)
#include "ActionRegistryTest.moc"
