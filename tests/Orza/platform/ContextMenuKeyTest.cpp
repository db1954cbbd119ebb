#include "GlazeCore/book/BookTypes.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipeLinesView.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/sidebar/SidebarModel.h"
#include "Orza/sidebar/SidebarView.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/window/BookWindow.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QListView>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include <memory>

using namespace Orza;

namespace {

/// Presses the key on `view`, focused at its current row, and returns what a reader hears of the items of the menu
/// that opened (none when none did), closing it again.
QStringList menuOpenedBy(QAbstractItemView* view, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    view->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(view, key, modifiers);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return {};
    // What a reader hears of each item: the menu's own accessible children.
    QStringList items;
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; i < shown->childCount(); ++i)
        if (QAccessibleInterface* item = shown->child(i); item->role() != QAccessible::Separator)
            items << item->text(QAccessible::Name);
    menu->close();
    OrzaTest::settle();
    return items;
}

} // namespace

class ContextMenuKeyTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private slots:
    // Shift+F10 opens the context menu of the list or table that has the keyboard, at its current row, as the
    // Menu key does; the items read as they are shown.
    void shiftF10OpensTheContextMenuOfEveryList() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Satin", "Matte"});
        book.recipes[0].lines = {{GlazeCore::Uuid::random(), "silica", 60, false}};
        book.tests.push_back(OrzaTest::tile(book.recipes[0].id, "6", "T-001"));
        const auto window = OrzaTest::makeWindowWithMenus(book);
        window->resize(1280, 800);
        QVERIFY(OrzaTest::showActive(*window));
        const auto show = [&](const SidebarItem& item) {
            window->model()->setSelection(item);
            OrzaTest::settle();
        };

        const SidebarItem matte = SidebarItem::recipe(book.recipes[1].id);
        show(matte);
        window->sidebar()->list()->setCurrentIndex(window->sidebar()->model()->indexFor(matte));
        QCOMPARE(
            menuOpenedBy(window->sidebar()->list(), Qt::Key_F10, Qt::ShiftModifier),
            (QStringList{QStringLiteral("Rename\u2026"), QStringLiteral("Duplicate"), QStringLiteral("Delete\u2026")}));

        show(SidebarItem::recipe(book.recipes[0].id));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane);
        RecipeLinesView* lines = pane->linesTable()->view();
        lines->setCurrentIndex(lines->model()->index(0, 1));
        QCOMPARE(menuOpenedBy(lines, Qt::Key_F10, Qt::ShiftModifier),
                 QStringList{QStringLiteral("Replace Material\u2026")});

        show(SidebarItem::tests());
        auto* tests = qobject_cast<TestLogPage*>(window->detail());
        QVERIFY(tests);
        tests->table()->setCurrentIndex(tests->table()->model()->index(0, 0));
        QVERIFY(!menuOpenedBy(tests->table(), Qt::Key_F10, Qt::ShiftModifier).isEmpty());

        show(SidebarItem::materials());
        auto* materials = qobject_cast<MaterialsPage*>(window->detail());
        QVERIFY(materials);
        materials->bundledTable()->setCurrentIndex(materials->bundledTable()->model()->index(0, 0));
        QCOMPARE(menuOpenedBy(materials->bundledTable(), Qt::Key_F10, Qt::ShiftModifier),
                 QStringList{QStringLiteral("Duplicate as Custom Material")});

        // F10 alone and Ctrl+Shift+F10 are other keys.
        QVERIFY(menuOpenedBy(materials->bundledTable(), Qt::Key_F10, Qt::NoModifier).isEmpty());
        QVERIFY(
            menuOpenedBy(materials->bundledTable(), Qt::Key_F10, Qt::ShiftModifier | Qt::ControlModifier).isEmpty());
    }
};

QTEST_MAIN(ContextMenuKeyTest)
#include "ContextMenuKeyTest.moc"
