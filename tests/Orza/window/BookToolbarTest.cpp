#include "Orza/window/BookToolbar.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/settings/WindowState.h"
#include "Orza/sidebar/SidebarView.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/CustomizeToolbarDialog.h"
#include "support/AccessibleEvents.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

using namespace Orza;
using OrzaTest::makeWindow;
using ToolbarItems::Item;

namespace {

BookToolbar& toolbarOf(BookWindow& window) {
    return *window.findChild<BookToolbar*>();
}

/// The identifiers of the enabled items, in declaration order.
QStringList enabledItems(BookToolbar& toolbar) {
    QStringList enabled;
    for (const Item item : ToolbarItems::all())
        if (toolbar.action(item)->isEnabled()) enabled << ToolbarItems::identifier(item);
    return enabled;
}

const QStringList always{QStringLiteral("addRecipe"), QStringLiteral("findTest")};
const QStringList everything{QStringLiteral("addRecipe"),  QStringLiteral("replaceMaterial"),
                             QStringLiteral("oxideNudge"), QStringLiteral("findTest"),
                             QStringLiteral("blend"),      QStringLiteral("batchSheet"),
                             QStringLiteral("chemistry")};

} // namespace

class BookToolbarTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    QStringList calls;

private slots:
    // Recipe items act through the recipe pane: without one on screen they are disabled, never a request
    // that nothing serves (which used to leave the window's menus disabled for good).
    void recipeItemsNeedThePaneThatServesThem() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B"}));
        BookToolbar& toolbar = toolbarOf(*window);
        WindowModel& model = *window->model();
        QCOMPARE(enabledItems(toolbar), always);
        model.setSelection(SidebarItem::tests());
        QCOMPARE(enabledItems(toolbar), always);
        model.setSelection(SidebarItem::materials());
        QCOMPARE(enabledItems(toolbar), always);

        // The recipe pane enables what it can serve and nothing else: a command whose sheet is not there
        // never records a request that nothing would serve.
        const auto served = [&] {
            const ActionRegistry& offered = *window->actions();
            QStringList expected = always;
            if (offered.hasHandler(Command::replaceMaterial)) expected << QStringLiteral("replaceMaterial");
            if (offered.hasHandler(Command::oxideNudge)) expected << QStringLiteral("oxideNudge");
            if (offered.hasHandler(Command::lineBlend)) expected << QStringLiteral("blend");
            if (offered.hasHandler(Command::batchSheet)) expected << QStringLiteral("batchSheet");
            expected << QStringLiteral("chemistry");
            std::sort(expected.begin(), expected.end());
            return expected;
        };
        const auto enabled = [&] {
            QStringList sorted = enabledItems(toolbar);
            std::sort(sorted.begin(), sorted.end());
            return sorted;
        };
        model.setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        QCOMPARE(enabled(), served());
        if (!window->actions()->hasHandler(Command::oxideNudge)) {
            toolbar.action(Item::oxideNudge)->trigger();
            QVERIFY(!model.nudge() && !model.anySheetShown());
        }

        OrzaTest::standInRecipePane(*window, calls);
        QCOMPARE(enabledItems(toolbar), everything);
        // The pane leaves with its recipe: an undone addition takes the selected recipe out of the book.
        window->addRecipe();
        OrzaTest::standInRecipePane(*window, calls);
        QCOMPARE(enabledItems(toolbar), everything);
        window->document()->undoStack()->undo();
        QCOMPARE(enabled(), served()); // the selection moved to a recipe the book holds, with its own pane
    }

    void itemsRunThePanesActions() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A"}));
        BookToolbar& toolbar = toolbarOf(*window);
        WindowModel& model = *window->model();
        model.setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        OrzaTest::standInRecipePane(*window, calls);

        toolbar.action(Item::oxideNudge)->trigger();
        QVERIFY(model.nudge());
        model.setNudge(std::nullopt);
        toolbar.action(Item::replaceMaterial)->trigger();
        QVERIFY(model.replace());
        model.setReplace(std::nullopt);

        const QList<QAction*> blends = toolbar.blendMenu()->actions();
        QCOMPARE(blends.size(), 3);
        QCOMPARE(blends[0]->text(), QStringLiteral("Line Blend\u2026"));
        QCOMPARE(blends[1]->text(), QStringLiteral("Triaxial Blend\u2026"));
        QCOMPARE(blends[2]->text(), QStringLiteral("Four-Corner Grid\u2026"));
        // Toolbar items carry no keys: Triaxial's Ctrl+Shift+T belongs to the menu bar, not to this menu.
        for (QAction* blend : blends)
            QVERIFY2(blend->shortcuts().isEmpty(), qPrintable(blend->text()));
        QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(toolbar.blendMenu());
        QCOMPARE(shown->child(1)->text(QAccessible::Name), QStringLiteral("Triaxial Blend\u2026"));
        QCOMPARE(shown->child(1)->text(QAccessible::Accelerator), QString());
        QCOMPARE(window->actions()->action(Command::triaxialBlend)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
        blends[1]->trigger();
        QCOMPARE(model.blendMode(), std::optional(BlendMode::triaxial));
        model.setBlendMode(std::nullopt);
        blends[2]->trigger();
        QCOMPARE(model.blendMode(), std::optional(BlendMode::grid));
        model.setBlendMode(std::nullopt);

        toolbar.action(Item::batchSheet)->trigger();
        QVERIFY(model.showBatch());
        model.setShowBatch(false);

        toolbar.action(Item::addRecipe)->trigger();
        QCOMPARE(window->document()->book().recipes.size(), std::size_t(2));
        QCOMPARE(window->selectedRecipeID(), std::optional(window->document()->book().recipes[1].id));

        toolbar.action(Item::findTest)->trigger();
        QCOMPARE(model.selection(), std::optional(SidebarItem::tests()));
        QVERIFY(!model.wantsTestSearchFocus()); // served by the Tests page as it came into view
    }

    // The chemistry item flips the pane's flag; its texts offer the opposite of what is shown.
    void chemistryItemTogglesThePanel() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A"}));
        BookToolbar& toolbar = toolbarOf(*window);
        window->model()->setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        OrzaTest::standInRecipePane(*window, calls);
        QAction* chemistry = toolbar.action(Item::chemistry);
        QVERIFY(window->state()->showChemistry());
        QCOMPARE(chemistry->iconText(), QStringLiteral("Hide Chemistry"));
        QCOMPARE(chemistry->toolTip(), QStringLiteral("Hide the chemistry panel (Ctrl+Alt+I)"));
        QCOMPARE(toolbar.widgetForAction(chemistry)->accessibleName(), QStringLiteral("Hide chemistry"));
        chemistry->trigger();
        QVERIFY(!window->state()->showChemistry());
        QCOMPARE(chemistry->iconText(), QStringLiteral("Show Chemistry"));
        QCOMPARE(chemistry->toolTip(), QStringLiteral("Show the chemistry panel (Ctrl+Alt+I)"));
        QCOMPARE(toolbar.widgetForAction(chemistry)->accessibleName(), QStringLiteral("Show chemistry"));
        chemistry->trigger();
        QVERIFY(window->state()->showChemistry());
        QCOMPARE(chemistry->iconText(), QStringLiteral("Hide Chemistry"));
    }

    void helpTextsNameTheMenuKeys() {
        auto window = makeWindow();
        BookToolbar& toolbar = toolbarOf(*window);
        QCOMPARE(toolbar.action(Item::addRecipe)->toolTip(), QStringLiteral("Add a recipe (Ctrl+Alt+N)"));
        QCOMPARE(toolbar.action(Item::findTest)->toolTip(),
                 QStringLiteral("Find Test: find a test tile by its code, recipe, material or notes (Ctrl+Alt+F)"));
        QCOMPARE(toolbar.action(Item::batchSheet)->toolTip(),
                 QStringLiteral("Scale this recipe to a batch weight and print it (Ctrl+Shift+B)"));
        QCOMPARE(toolbar.action(Item::replaceMaterial)->toolTip(),
                 QStringLiteral("Replace Material: put another material in place of one and work out new amounts"));
        QCOMPARE(toolbar.action(Item::oxideNudge)->toolTip(),
                 QStringLiteral("Oxide Nudge: move one oxide to a target value"));
        QCOMPARE(toolbar.action(Item::blend)->toolTip(), QStringLiteral("Make a line, triaxial or four-corner blend"));
        QCOMPARE(toolbar.widgetForAction(toolbar.action(Item::replaceMaterial))->accessibleName(),
                 QStringLiteral("Replace Material"));
        // An item is its menu command: the key its help text names is that command's key, and no other.
        for (const Item item : ToolbarItems::all())
            QCOMPARE(toolbar.action(item)->shortcut(), ToolbarItems::menuKey(item).value_or(QKeySequence()));
        auto* blend = qobject_cast<QToolButton*>(toolbar.widgetForAction(toolbar.action(Item::blend)));
        QCOMPARE(blend->popupMode(), QToolButton::InstantPopup);
        QCOMPARE(blend->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    }

    void storedChoiceIsReadLeniently() {
        QCOMPARE(ToolbarItems::parse(QStringLiteral("findTest, blend,unknown,findTest,,chemistry")),
                 (std::vector<Item>{Item::findTest, Item::blend, Item::chemistry}));
        QVERIFY(ToolbarItems::parse(QString()).empty());
        const std::vector<Item> all(ToolbarItems::all().begin(), ToolbarItems::all().end());
        QCOMPARE(ToolbarItems::parse(ToolbarItems::serialize(all)), all);
        QCOMPARE(ToolbarItems::shown(), all); // nothing stored: every item, in declaration order
    }

    // One choice for every window: a change reaches the open windows at once and is kept in the settings.
    void customizationIsSharedByEveryWindow() {
        auto first = makeWindow();
        auto second = makeWindow();
        ToolbarItems::setShown({Item::findTest, Item::addRecipe});
        const std::vector<Item> chosen{Item::findTest, Item::addRecipe};
        QCOMPARE(toolbarOf(*first).shownItems(), chosen);
        QCOMPARE(toolbarOf(*second).shownItems(), chosen);
        QCOMPARE(QSettings().value(QStringLiteral("orza.book.toolbar")).toString(),
                 QStringLiteral("findTest,addRecipe"));
        auto later = makeWindow();
        QCOMPARE(toolbarOf(*later).shownItems(), chosen);

        ToolbarItems::setShown({});
        QVERIFY(toolbarOf(*first).shownItems().empty());
    }

    // View > Hide Toolbar hides the toolbar of every window and is remembered; Hide Sidebar is the window's
    // own; Customize Toolbar… opens the dialog over the window.
    void viewMenuShowsAndHidesToolbarAndSidebar() {
        auto window = makeWindow();
        auto other = makeWindow();
        window->show();
        other->show();
        QAction* toolbarCommand = window->actions()->action(Command::toggleToolbar);
        QVERIFY(toolbarOf(*window).isVisible());
        toolbarCommand->trigger();
        QVERIFY(!toolbarOf(*window).isVisible());
        QVERIFY(!toolbarOf(*other).isVisible());
        QCOMPARE(toolbarCommand->text(), QStringLiteral("Show Toolbar"));
        QCOMPARE(other->actions()->action(Command::toggleToolbar)->text(), QStringLiteral("Show Toolbar"));
        auto later = makeWindow();
        later->show();
        QVERIFY(!toolbarOf(*later).isVisible());
        toolbarCommand->trigger();
        QVERIFY(toolbarOf(*later).isVisible());
        QCOMPARE(toolbarCommand->text(), QStringLiteral("Hide Toolbar"));

        QAction* sidebarCommand = window->actions()->action(Command::toggleSidebar);
        sidebarCommand->trigger();
        QVERIFY(!window->sidebar()->isVisible());
        QVERIFY(other->sidebar()->isVisible());
        QCOMPARE(sidebarCommand->text(), QStringLiteral("Show Sidebar"));
        sidebarCommand->trigger();
        QVERIFY(window->sidebar()->isVisible());
        QCOMPARE(sidebarCommand->text(), QStringLiteral("Hide Sidebar"));

        window->actions()->action(Command::customizeToolbar)->trigger();
        auto* dialog = window->findChild<CustomizeToolbarDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        dialog->reject();
    }

    void customizeDialogChoosesAndOrders() {
        auto window = makeWindow();
        BookToolbar& toolbar = toolbarOf(*window);
        CustomizeToolbarDialog* dialog = toolbar.customize();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(dialog->availableList()->count(), 0);
        QCOMPARE(dialog->shownList()->count(), 7);

        // Take Blend out, move Find Test to the front; Blend returns to the available side.
        dialog->shownList()->setCurrentRow(4);
        dialog->removeButton()->click();
        QCOMPARE(dialog->availableList()->count(), 1);
        dialog->shownList()->setCurrentRow(3);
        for (int i = 0; i < 3; ++i)
            dialog->upButton()->click();
        QVERIFY(!dialog->upButton()->isEnabled());
        const std::vector<Item> chosen{Item::findTest,   Item::addRecipe,  Item::replaceMaterial,
                                       Item::oxideNudge, Item::batchSheet, Item::chemistry};
        QCOMPARE(dialog->chosenItems(), chosen);
        // Nothing changes before OK.
        QCOMPARE(toolbar.shownItems().size(), std::size_t(7));
        dialog->accept();
        QCOMPARE(toolbar.shownItems(), chosen);

        // Cancel keeps the toolbar as it was; adding puts the item after the chosen shown one.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialog = toolbar.customize();
        dialog->availableList()->setCurrentRow(0);
        dialog->shownList()->setCurrentRow(0);
        dialog->addButton()->click();
        QCOMPARE(dialog->chosenItems()[1], Item::blend);
        dialog->reject();
        QCOMPARE(toolbar.shownItems(), chosen);

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialog = toolbar.customize();
        dialog->defaultsButton()->click();
        // Remove moves the list's current item, but the focus stays on the button: no item claims it.
        {
            OrzaTest::AccessibleEvents events;
            dialog->shownList()->setCurrentRow(2);
            dialog->removeButton()->setFocus(Qt::OtherFocusReason);
            dialog->removeButton()->click();
            QCOMPARE(dialog->availableList()->count(), 1);
            for (const auto& focus : events.of(QAccessible::Focus))
                QCOMPARE(focus.object.data(), static_cast<QObject*>(dialog->removeButton()));
            dialog->defaultsButton()->click();
        }
        dialog->accept();
        QCOMPARE(toolbar.shownItems().size(), std::size_t(7));
    }
};

QTEST_MAIN(BookToolbarTest)
#include "BookToolbarTest.moc"
