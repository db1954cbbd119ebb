#include "Orza/app/AppMenus.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/platform/PrintInfo.h"
#include "Orza/sidebar/SidebarView.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/DeleteRecipeDialog.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include <memory>

using namespace Orza;
using OrzaTest::makeWindowWithMenus;
using OrzaTest::settle;

namespace {

const QStringList recipeItems{QStringLiteral("Add Recipe"),
                              QStringLiteral("Rename Recipe\u2026"),
                              QStringLiteral("Duplicate Recipe"),
                              QStringLiteral("Delete Recipe\u2026"),
                              QStringLiteral("Add Material"),
                              QStringLiteral("Oxide Nudge\u2026"),
                              QStringLiteral("Replace Material\u2026"),
                              QStringLiteral("Line Blend\u2026"),
                              QStringLiteral("Triaxial Blend\u2026"),
                              QStringLiteral("Four-Corner Grid\u2026"),
                              QStringLiteral("Batch Sheet\u2026")};
const QStringList testsItems{QStringLiteral("Add Test"), QStringLiteral("Find Test\u2026"),
                             QStringLiteral("Print Labels\u2026")};
const QStringList pageItems{QStringLiteral("Recipes"), QStringLiteral("Tests"), QStringLiteral("Materials")};
const QStringList printItems{QStringLiteral("Page Setup\u2026"), QStringLiteral("Print Batch Sheet\u2026")};

QString plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

QMenu* menuOf(const QMenuBar& bar, const QString& title) {
    for (QAction* action : bar.actions())
        if (action->menu() && plain(action->text()) == title) return action->menu();
    return nullptr;
}

QAction* item(const QMenuBar& bar, const QString& menu, const QString& title) {
    if (QMenu* found = menuOf(bar, menu))
        for (QAction* action : found->actions())
            if (!action->isSeparator() && action->text() == title) return action;
    return nullptr;
}

/// Every item of the four groups as "Menu/Title", in menu order.
QStringList allItems() {
    QStringList items;
    for (const QString& title : printItems)
        items << QStringLiteral("File/") + title;
    for (const QString& title : pageItems)
        items << QStringLiteral("View/") + title;
    for (const QString& title : recipeItems)
        items << QStringLiteral("Recipe/") + title;
    for (const QString& title : testsItems)
        items << QStringLiteral("Tests/") + title;
    return items;
}

QStringList enabledItems(const QMenuBar& bar) {
    QStringList enabled;
    for (const QString& path : allItems()) {
        const QString menu = path.section(QLatin1Char('/'), 0, 0);
        QAction* action = item(bar, menu, path.section(QLatin1Char('/'), 1));
        if (!action) qFatal("missing menu item %s", qPrintable(path));
        if (action->isEnabled()) enabled << path;
    }
    return enabled;
}

QStringList except(QStringList items, const QStringList& left) {
    for (const QString& path : left)
        items.removeAll(path);
    return items;
}

/// What the stand-in recipe panes were asked to do, in order.
QStringList& paneCalls() {
    static QStringList calls;
    return calls;
}

/// Selects the recipe and puts the stand-in of the recipe pane on screen for it.
void showRecipe(BookWindow& window, const GlazeCore::Uuid& id) {
    window.model()->setSelection(SidebarItem::recipe(id));
    OrzaTest::standInRecipePane(window, paneCalls());
}

const QString printLabelsItem = QStringLiteral("Tests/Print Labels\u2026");

} // namespace

class AppMenusTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    void setUp() override { paneCalls().clear(); }
    void tearDown() override {
        if (QPageSetupDialog* panel = PrintInfo::openPanel()) delete panel;
    }

private slots:
    void enabledItemsFollowTheWindow_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QStringList>("disabled");
        const QStringList bundleItems = except(allItems(), {QStringLiteral("File/Page Setup\u2026")});
        const QStringList selectedItems{QStringLiteral("Recipe/Rename Recipe\u2026"),
                                        QStringLiteral("Recipe/Duplicate Recipe"),
                                        QStringLiteral("Recipe/Delete Recipe\u2026")};
        QStringList paneItems{QStringLiteral("File/Print Batch Sheet\u2026")};
        for (const QString& title : recipeItems.mid(4))
            paneItems << QStringLiteral("Recipe/") + title;

        // Labels can be printed whenever the book has tiles.
        QTest::newRow("recipe shown") << "recipe" << QStringList{};
        QTest::newRow("tests page, no tiles") << "tests" << (selectedItems + paneItems + QStringList{printLabelsItem});
        QTest::newRow("materials page") << "materials" << (selectedItems + paneItems);
        QTest::newRow("no recipe selected") << "none" << (selectedItems + paneItems);
        QTest::newRow("book without recipes")
            << "no recipes" << (selectedItems + paneItems + QStringList{QStringLiteral("Tests/Add Test")});
        for (const char* sheet : {"blend", "batch", "nudge", "replace", "labels", "rename", "delete"})
            QTest::newRow(sheet) << sheet << bundleItems;
    }
    void enabledItemsFollowTheWindow() {
        QFETCH(QString, state);
        QFETCH(QStringList, disabled);
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A", "B"});
        book.tests.push_back(OrzaTest::tile(book.recipes[0].id, "6", "T-001"));
        if (state == QLatin1String("tests")) book.tests.clear();
        if (state == QLatin1String("no recipes")) book.recipes.clear();
        auto window = makeWindowWithMenus(book);
        WindowModel& model = *window->model();
        const GlazeCore::Uuid first = book.recipes.empty() ? GlazeCore::Uuid() : book.recipes[0].id;
        if (state != QLatin1String("none") && state != QLatin1String("no recipes")) showRecipe(*window, first);

        if (state == QLatin1String("tests")) model.setSelection(SidebarItem::tests());
        if (state == QLatin1String("materials")) model.setSelection(SidebarItem::materials());
        if (state == QLatin1String("blend")) model.setBlendMode(BlendMode::grid);
        if (state == QLatin1String("batch")) model.setShowBatch(true);
        if (state == QLatin1String("nudge")) model.setNudge(NudgeRequest{});
        if (state == QLatin1String("replace")) model.setReplace(ReplaceRequest{});
        if (state == QLatin1String("labels")) model.setShowLabels(true);
        if (state == QLatin1String("rename")) window->beginRename(first);
        if (state == QLatin1String("delete")) window->beginDelete(first);

        QCOMPARE(enabledItems(*window->menuBar()), except(allItems(), disabled));
    }

    void closingASheetBringsTheItemsBack() {
        auto window = makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        const QMenuBar& bar = *window->menuBar();
        showRecipe(*window, window->document()->book().recipes[0].id);
        QAction* triaxial = item(bar, QStringLiteral("Recipe"), QStringLiteral("Triaxial Blend\u2026"));
        triaxial->trigger();
        QCOMPARE(window->model()->blendMode(), std::optional(BlendMode::triaxial));
        QCOMPARE(enabledItems(bar), QStringList{QStringLiteral("File/Page Setup\u2026")});
        triaxial->trigger(); // disabled: nothing happens
        window->model()->setBlendMode(std::nullopt);
        QCOMPARE(enabledItems(bar), except(allItems(), {printLabelsItem}));
    }

    void itemsFollowTheBook() {
        auto window = makeWindowWithMenus();
        const QMenuBar& bar = *window->menuBar();
        QAction* addTest = item(bar, QStringLiteral("Tests"), QStringLiteral("Add Test"));
        QAction* printLabels = item(bar, QStringLiteral("Tests"), QStringLiteral("Print Labels\u2026"));
        QVERIFY(!addTest->isEnabled());
        item(bar, QStringLiteral("Recipe"), QStringLiteral("Add Recipe"))->trigger();
        QVERIFY(addTest->isEnabled());
        QVERIFY(!printLabels->isEnabled());
        addTest->trigger();
        QCOMPARE(window->document()->book().tests.size(), std::size_t(1));
        QVERIFY(printLabels->isEnabled());
        window->document()->undoStack()->undo();
        QVERIFY(window->document()->book().tests.empty());
        QVERIFY(addTest->isEnabled());
        QVERIFY(!printLabels->isEnabled());
    }

    // Revert to Saved has something to go back to only in a book that has a file and changes since it was
    // written: not while untitled, not when saved and unedited, not once undo has gone back to the saved book.
    void revertToSavedNeedsASavedEditedBook() {
        auto window = makeWindowWithMenus();
        QAction* revert = item(*window->menuBar(), QStringLiteral("File"), QStringLiteral("Revert to Saved"));
        QVERIFY(revert);
        const auto enabledAfter = [&](const char* state, bool expected) {
            QVERIFY2(revert->isEnabled() == expected, state);
        };
        enabledAfter("untitled", false);
        window->addRecipe();
        enabledAfter("untitled and edited", false);
        window->document()->save(filePath(QStringLiteral("revert.orzabook")));
        enabledAfter("saved", false);
        window->addRecipe();
        enabledAfter("saved and edited", true);
        window->document()->undoStack()->undo();
        enabledAfter("undone back to the saved book", false);
        window->document()->undoStack()->redo();
        enabledAfter("redone", true);
        window->document()->save(window->document()->filePath());
        enabledAfter("saved again", false);
    }

    void itemsCallTheirClosures() {
        auto window = makeWindowWithMenus(OrzaTest::bookWithRecipes({"A", "B"}));
        const QMenuBar& bar = *window->menuBar();
        WindowModel& model = *window->model();
        const auto& recipes = window->document()->book().recipes;
        showRecipe(*window, recipes[1].id);

        item(bar, QStringLiteral("Recipe"), QStringLiteral("Add Material"))->trigger();
        item(bar, QStringLiteral("File"), QStringLiteral("Print Batch Sheet\u2026"))->trigger();
        QCOMPARE(paneCalls(), (QStringList{QStringLiteral("add material to B"), QStringLiteral("print B")}));

        const std::pair<const char*, BlendMode> blends[] = {{"Line Blend\u2026", BlendMode::line},
                                                            {"Four-Corner Grid\u2026", BlendMode::grid}};
        for (const auto& [title, mode] : blends) {
            item(bar, QStringLiteral("Recipe"), QString::fromUtf8(title))->trigger();
            QCOMPARE(model.blendMode(), std::optional(mode));
            model.setBlendMode(std::nullopt);
        }
        item(bar, QStringLiteral("Recipe"), QStringLiteral("Oxide Nudge\u2026"))->trigger();
        QVERIFY(model.nudge());
        QCOMPARE(model.nudge()->oxide, GlazeCore::Oxide::SiO2);
        QCOMPARE(model.nudge()->direction, 0);
        model.setNudge(std::nullopt);
        item(bar, QStringLiteral("Recipe"), QStringLiteral("Replace Material\u2026"))->trigger();
        QVERIFY(model.replace() && !model.replace()->materialID);
        model.setReplace(std::nullopt);

        item(bar, QStringLiteral("Recipe"), QStringLiteral("Duplicate Recipe"))->trigger();
        QCOMPARE(OrzaTest::recipeNames(window->document()->book()), (std::vector<std::string>{"A", "B", "B copy"}));
        item(bar, QStringLiteral("Recipe"), QStringLiteral("Rename Recipe\u2026"))->trigger();
        QCOMPARE(window->renaming(), std::optional(recipes[2].id));
    }

    void paneBundleFollowsThePaneOnScreen() {
        auto window = makeWindowWithMenus(OrzaTest::bookWithRecipes({"A", "B"}));
        const QMenuBar& bar = *window->menuBar();
        const auto recipes = window->document()->book().recipes;
        QAction* addMaterial = item(bar, QStringLiteral("Recipe"), QStringLiteral("Add Material"));

        showRecipe(*window, recipes[0].id);
        showRecipe(*window, recipes[1].id);
        settle(); // the first pane is deleted now; it must not take the second pane's bundle with it
        QVERIFY(addMaterial->isEnabled());
        addMaterial->trigger();
        QCOMPARE(paneCalls(), QStringList{QStringLiteral("add material to B")});

        window->model()->setSelection(SidebarItem::tests());
        QVERIFY(!addMaterial->isEnabled());
        QVERIFY(!window->actions()->hasHandler(Command::addMaterial));
        settle();
        QVERIFY(!window->actions()->hasHandler(Command::addMaterial));
    }

    void itemsCarryLinuxShortcuts_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("keys");
        const auto row = [](const char* menu, const QString& title, const char* keys) {
            QTest::addRow("%s %s", menu, qPrintable(title))
                << QString::fromUtf8(menu) << title << QString::fromUtf8(keys);
        };
        const char* recipeKeys[] = {"Ctrl+Alt+N",   "", "Ctrl+D",      "Ctrl+Backspace", "Ctrl+Shift+L", "", "", "",
                                    "Ctrl+Shift+T", "", "Ctrl+Shift+B"};
        for (int i = 0; i < recipeItems.size(); ++i)
            row("Recipe", recipeItems[i], recipeKeys[i]);
        const char* testsKeys[] = {"", "Ctrl+Alt+F", ""};
        for (int i = 0; i < testsItems.size(); ++i)
            row("Tests", testsItems[i], testsKeys[i]);
        row("View", QStringLiteral("Hide Toolbar"), "Ctrl+Alt+T");
        row("View", QStringLiteral("Customize Toolbar\u2026"), "");
        row("View", QStringLiteral("Hide Sidebar"), "Ctrl+Meta+S");
        row("View", QStringLiteral("Recipes"), "Ctrl+1");
        row("View", QStringLiteral("Tests"), "Ctrl+2");
        row("View", QStringLiteral("Materials"), "Ctrl+3");
        row("File", printItems[0], "Ctrl+Shift+P");
        row("File", printItems[1], "Ctrl+P");
    }
    void itemsCarryLinuxShortcuts() {
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QString, keys);
        auto window = makeWindowWithMenus();
        QAction* action = item(*window->menuBar(), menu, title);
        QVERIFY(action);
        QCOMPARE(action->shortcut(), QKeySequence(keys, QKeySequence::PortableText));
    }

    void menuBarOrder() {
        auto window = makeWindowWithMenus();
        QStringList titles;
        for (QAction* action : window->menuBar()->actions())
            titles << plain(action->text());
        QCOMPARE(titles, (QStringList{"File", "Edit", "View", "Recipe", "Tests", "Help"}));
        // The toolbar's and the sidebar's commands, then the chemistry and the pages.
        QStringList view;
        for (QAction* action : menuOf(*window->menuBar(), QStringLiteral("View"))->actions())
            view << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(view, (QStringList{"Hide Toolbar", "Customize Toolbar\u2026", "-", "Hide Sidebar", "-",
                                    "Hide Chemistry", "-", "Recipes", "Tests", "Materials"}));
    }

    // A reader hears what each Help item does: Qt's own menu items read their titles alone.
    void helpItemsReadTheirHints() {
        int helpAsked = 0;
        GlazeMainApp::setHelpWindowOpener([&helpAsked] { ++helpAsked; });
        auto window = makeWindowWithMenus();
        GlazeMainApp::setHelpWindowOpener({});
        QMenu* menu = menuOf(*window->menuBar(), QStringLiteral("Help"));
        QAccessibleInterface* help = QAccessible::queryAccessibleInterface(menu);
        QStringList read;
        for (int i = 0; i < help->childCount(); ++i)
            if (QAccessibleInterface* item = help->child(i); item->role() != QAccessible::Separator)
                read << item->text(QAccessible::Name) + QStringLiteral(": ") + item->text(QAccessible::Description);
        QCOMPARE(read, (QStringList{"Orza Help: Opens the help window",
                                    "Orza Support: Opens the support page in your web browser",
                                    "Privacy Policy: Opens the privacy policy in your web browser",
                                    "Open Sample Book: Opens a new untitled book with six sample cone 6 recipes"}));

        // Still a menu item of its menu, with its keys, that runs its command.
        QAccessibleInterface* item = help->child(0);
        QCOMPARE(item->role(), QAccessible::MenuItem);
        QCOMPARE(item->parent()->object(), menu);
        QCOMPARE(help->indexOfChild(item), 0);
        QCOMPARE(item->text(QAccessible::Accelerator), QKeySequence(Qt::CTRL | Qt::Key_Question).toString(QKeySequence::NativeText));
        QVERIFY(item->state().invisible);
        item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(helpAsked, 1);
    }

    void shortcutsTriggerTheirActions() {
        auto window = makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        QVERIFY(OrzaTest::showActive(*window));
        WindowModel& model = *window->model();
        const auto& book = window->document()->book();
        QCOMPARE(window->selectedRecipeID(), std::optional(book.recipes[0].id)); // the window selects on show
        OrzaTest::standInRecipePane(*window, paneCalls());

        QTest::keyClick(window.get(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(model.selection(), std::optional(SidebarItem::tests()));
        QTest::keyClick(window.get(), Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(model.selection(), std::optional(SidebarItem::materials()));
        QTest::keyClick(window.get(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(window->selectedRecipeID(), std::optional(book.recipes[0].id));
        OrzaTest::standInRecipePane(*window, paneCalls());

        QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(paneCalls(), (QStringList{QStringLiteral("add material to A"), QStringLiteral("print A")}));

        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(book.recipes.size(), std::size_t(2));
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(book.recipes.size(), std::size_t(3));
        QCOMPARE(window->selectedRecipeID(), std::optional(book.recipes[2].id));
        OrzaTest::standInRecipePane(*window, paneCalls());

        QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(model.blendMode(), std::optional(BlendMode::triaxial));
        // With the sheet up, no shortcut reaches the window.
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(book.recipes.size(), std::size_t(3));
        model.setBlendMode(std::nullopt);

        QTest::keyClick(window.get(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(model.showBatch());
        model.setShowBatch(false);

        QTest::keyClick(window.get(), Qt::Key_Backspace, Qt::ControlModifier);
        QCOMPARE(window->pendingDelete(), std::optional(book.recipes[2].id));
        auto* confirm = window->findChild<DeleteRecipeDialog*>();
        QVERIFY(confirm);
        confirm->reject();

        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(model.selection(), std::optional(SidebarItem::tests()));
        QVERIFY(!model.wantsTestSearchFocus()); // served by the Tests page as it came into view

        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QPageSetupDialog* panel = PrintInfo::openPanel();
        QVERIFY(panel);
        QCOMPARE(panel->printer(), &PrintInfo::shared());
        item(*window->menuBar(), QStringLiteral("File"), printItems[0])->trigger();
        QCOMPARE(PrintInfo::openPanel(), panel); // asked again: the same panel comes forward
    }

    // Cut, Copy, Paste, Delete and Select All act on the text field that has the focus, and only then.
    void editItemsActOnTheFocusedField() {
        auto window = makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        auto* field = new QLineEdit(QStringLiteral("cone six"), window->centralWidget());
        QVERIFY(OrzaTest::showActive(*window));
        const QMenuBar& bar = *window->menuBar();
        QAction* selectAll = item(bar, QStringLiteral("Edit"), QStringLiteral("Select All"));
        QAction* cut = item(bar, QStringLiteral("Edit"), QStringLiteral("Cut"));
        QAction* paste = item(bar, QStringLiteral("Edit"), QStringLiteral("Paste"));
        QAction* erase = item(bar, QStringLiteral("Edit"), QStringLiteral("Delete"));
        window->sidebar()->list()->setFocus();
        QVERIFY(!selectAll->isEnabled() && !cut->isEnabled() && !erase->isEnabled());

        field->setFocus();
        field->deselect();
        QVERIFY(selectAll->isEnabled());
        QVERIFY(!cut->isEnabled());
        selectAll->trigger();
        QCOMPARE(field->selectedText(), QStringLiteral("cone six"));
        QVERIFY(cut->isEnabled());
        cut->trigger();
        QVERIFY(field->text().isEmpty());
        QVERIFY(paste->isEnabled());
        paste->trigger();
        paste->trigger();
        QCOMPARE(field->text(), QStringLiteral("cone sixcone six"));
        field->setSelection(0, 4);
        erase->trigger();
        QCOMPARE(field->text(), QStringLiteral(" sixcone six"));
        QCOMPARE(window->document()->undoStack()->count(), 0); // the field's text is not the book
    }

    void viewMenuMarksThePageShown() {
        auto window = makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        const QMenuBar& bar = *window->menuBar();
        const auto checked = [&] {
            QStringList pages;
            for (const QString& title : pageItems)
                if (item(bar, QStringLiteral("View"), title)->isChecked()) pages << title;
            return pages;
        };
        QCOMPARE(checked(), QStringList());
        window->model()->setSelection(SidebarItem::tests());
        QCOMPARE(checked(), QStringList{QStringLiteral("Tests")});
        item(bar, QStringLiteral("View"), QStringLiteral("Tests"))->trigger(); // chosen again: still the page
        QCOMPARE(checked(), QStringList{QStringLiteral("Tests")});
        item(bar, QStringLiteral("View"), QStringLiteral("Recipes"))->trigger();
        QCOMPARE(checked(), QStringList{QStringLiteral("Recipes")});
    }

    void twoWindowsActIndependently() {
        auto first = makeWindowWithMenus(OrzaTest::bookWithRecipes({"A"}));
        auto second = makeWindowWithMenus(OrzaTest::bookWithRecipes({"X", "Y"}));
        showRecipe(*first, first->document()->book().recipes[0].id);
        showRecipe(*second, second->document()->book().recipes[1].id);

        item(*first->menuBar(), QStringLiteral("Recipe"), QStringLiteral("Add Recipe"))->trigger();
        QCOMPARE(first->document()->book().recipes.size(), std::size_t(2));
        OrzaTest::standInRecipePane(*first, paneCalls()); // the new recipe's pane
        QCOMPARE(second->document()->book().recipes.size(), std::size_t(2));
        item(*second->menuBar(), QStringLiteral("Recipe"), QStringLiteral("Add Material"))->trigger();
        QCOMPARE(paneCalls(), QStringList{QStringLiteral("add material to Y")});

        // A sheet in one window leaves the other's menus as they are.
        second->model()->setShowBatch(true);
        QCOMPARE(enabledItems(*second->menuBar()), QStringList{QStringLiteral("File/Page Setup\u2026")});
        QVERIFY(item(*first->menuBar(), QStringLiteral("Recipe"), QStringLiteral("Add Material"))->isEnabled());
        second->model()->setShowBatch(false);

        // Keys go to the window in front.
        QVERIFY(OrzaTest::showActive(*first));
        QVERIFY(OrzaTest::showActive(*second));
        const auto firstSelection = first->model()->selection();
        QTest::keyClick(second.get(), Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(second->model()->selection(), std::optional(SidebarItem::materials()));
        QCOMPARE(first->model()->selection(), firstSelection);
        QVERIFY(OrzaTest::showActive(*first));
        QTest::keyClick(first.get(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(first->model()->selection(), std::optional(SidebarItem::tests()));
        QCOMPARE(second->model()->selection(), std::optional(SidebarItem::materials()));
    }
};

QTEST_MAIN(AppMenusTest)
#include "AppMenusTest.moc"
