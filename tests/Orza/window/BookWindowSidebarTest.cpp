#include "Orza/window/BookWindow.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/sidebar/SidebarModel.h"
#include "Orza/sidebar/SidebarView.h"
#include "Orza/widgets/LineLimitedLabel.h"
#include "Orza/window/BookNotes.h"
#include "Orza/window/DeleteRecipeDialog.h"
#include "Orza/window/RenameRecipeDialog.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <memory>

using namespace Orza;
using OrzaTest::makeWindow;
using OrzaTest::recipeNames;

namespace {

GlazeDocument documentWithNotice(bool isSample) {
    GlazeDocument document = GlazeDocument::make(OrzaTest::bookWithRecipes({"A"}), isSample);
    document.backfillNotice =
        GlazeCore::TileCode::BackfillNotice{GlazeCore::TileCode::BackfillNotice::Kind::missingCodes, {"T-004"}};
    return document;
}

/// The notes at the foot of the sidebar, top to bottom.
std::vector<NoteBanner*> notes(BookWindow& window) {
    std::vector<NoteBanner*> shown;
    QVBoxLayout* area = window.sidebar()->notesArea();
    for (int i = 0; i < area->count(); ++i)
        if (auto* note = qobject_cast<NoteBanner*>(area->itemAt(i)->widget())) shown.push_back(note);
    return shown;
}

QAction* entry(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->iconText() == text) return action;
    return nullptr;
}

} // namespace

class BookWindowSidebarTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private slots:
    void bothNotesStackTileCodesFirstAndCloseSeparately() {
        auto window = makeWindow(documentWithNotice(true));
        auto shown = notes(*window);
        QCOMPARE(shown.size(), std::size_t(2));
        auto* codeNote = qobject_cast<TileCodeNote*>(shown[0]);
        QVERIFY(codeNote);
        QVERIFY(qobject_cast<SampleNote*>(shown[1]));
        QCOMPARE(codeNote->textLabel()->text(),
                 QString::fromStdString(window->document()->backfillNotice()->message()));

        const bool editedBefore = window->document()->isModified();
        codeNote->closeButton()->click();
        QVERIFY(window->codeNoteClosed());
        shown = notes(*window);
        QCOMPARE(shown.size(), std::size_t(1));
        QVERIFY(qobject_cast<SampleNote*>(shown[0]));
        // Closing changes nothing in the document.
        QVERIFY(window->document()->backfillNotice());
        QCOMPARE(window->document()->isModified(), editedBefore);
        QCOMPARE(window->document()->undoStack()->count(), 0);

        // An edit does not bring the note back.
        window->addRecipe();
        QCOMPARE(notes(*window).size(), std::size_t(1));

        shown[0]->closeButton()->click();
        QVERIFY(window->sampleNoteClosed());
        QVERIFY(notes(*window).empty());
        QVERIFY(window->document()->isSample());
    }

    void notesFollowTheDocument() {
        auto plain = makeWindow(OrzaTest::bookWithRecipes({"A"}));
        QVERIFY(notes(*plain).empty());

        // The sample is built with codes: only the sample note.
        auto sample = makeWindow(BookWindow::makeSampleDocument());
        const auto shown = notes(*sample);
        QCOMPARE(shown.size(), std::size_t(1));
        QVERIFY(qobject_cast<SampleNote*>(shown[0]));

        auto opened = makeWindow(documentWithNotice(false));
        QCOMPARE(notes(*opened).size(), std::size_t(1));
        QVERIFY(qobject_cast<TileCodeNote*>(notes(*opened)[0]));
    }

    // A revert reads the file again: the note stays closed for the window's life.
    void aClosedNoteStaysClosedThroughARevert() {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"A"});
        book.tests.push_back(OrzaTest::tile(book.recipes[0].id)); // no code: reading gives it one and a notice
        const QString path = filePath("notice.orzabook");
        OrzaTest::saveBook(book, path);
        auto window = std::make_unique<BookWindow>(std::make_unique<BookDocument>(GlazeDocument::read(path), path));
        QCOMPARE(notes(*window).size(), std::size_t(1));
        window->setCodeNoteClosed(true);
        window->addRecipe();
        window->document()->revert();
        QVERIFY(window->document()->backfillNotice());
        QVERIFY(notes(*window).empty());
    }

    // The context menu acts on its own row's recipe, whichever row is selected.
    void contextMenuActsOnItsRow() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B"}));
        BookDocument& document = *window->document();
        const auto a = document.book().recipes[0].id;
        const auto b = document.book().recipes[1].id;
        window->model()->setSelection(SidebarItem::recipe(a));

        std::unique_ptr<QMenu> menu(window->actions()->recipeContextMenu(b, nullptr));
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->iconText());
        QCOMPARE(texts, (QStringList{QStringLiteral("Rename\u2026"), QStringLiteral("Duplicate"), QStringLiteral("-"),
                                     QStringLiteral("Delete\u2026")}));

        entry(menu.get(), QStringLiteral("Duplicate"))->trigger();
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"A", "B", "B copy"}));

        entry(menu.get(), QStringLiteral("Rename\u2026"))->trigger();
        QCOMPARE(window->renaming(), std::optional(b));
        auto* rename = window->findChild<RenameRecipeDialog*>();
        QVERIFY(rename);
        rename->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        entry(menu.get(), QStringLiteral("Delete\u2026"))->trigger();
        QCOMPARE(window->pendingDelete(), std::optional(b));
        auto* confirm = window->findChild<DeleteRecipeDialog*>();
        QVERIFY(confirm);
        confirm->deleteButton()->click();
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"A", "B copy"}));
    }

    // A right click on a row that is not selected opens that row's menu and leaves the selection where it was,
    // whether the menu is dismissed or used.
    void rightClickLeavesTheSelection() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B"}));
        QVERIFY(OrzaTest::showActive(*window));
        BookDocument& document = *window->document();
        const auto a = SidebarItem::recipe(document.book().recipes[0].id);
        window->model()->setSelection(a);
        const QString title = window->windowTitle();
        QTreeView* list = window->sidebar()->list();
        const QModelIndex selectedRow = window->sidebar()->model()->indexFor(a);
        const QPoint onB =
            list->visualRect(window->sidebar()->model()->indexFor(SidebarItem::recipe(document.book().recipes[1].id)))
                .center();
        const auto openMenu = [&] {
            QTest::mousePress(list->viewport(), Qt::RightButton, {}, onB);
            QContextMenuEvent request(QContextMenuEvent::Mouse, onB, list->viewport()->mapToGlobal(onB));
            QApplication::sendEvent(list->viewport(), &request);
            QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, onB);
            return qobject_cast<QMenu*>(QApplication::activePopupWidget());
        };

        QMenu* menu = openMenu();
        QVERIFY(menu);
        QCOMPARE(window->model()->selection(), std::optional(a));
        QCOMPARE(list->currentIndex(), selectedRow);
        QCOMPARE(window->windowTitle(), title);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(window->model()->selection(), std::optional(a));
        QCOMPARE(window->windowTitle(), title);

        menu = openMenu();
        QVERIFY(menu);
        entry(menu, QStringLiteral("Duplicate"))->trigger();
        menu->close();
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"A", "B", "B copy"}));
    }

    // The keys walk the rows that can be chosen: recipes, then Tests and Materials; never a section title.
    void keysMoveThroughChoosableRowsOnly() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B"}));
        QVERIFY(OrzaTest::showActive(*window));
        const auto& recipes = window->document()->book().recipes;
        QTreeView* list = window->sidebar()->list();
        list->setFocus();
        const auto press = [&](Qt::Key key) {
            QTest::keyClick(list, key);
            return window->model()->selection();
        };
        window->model()->setSelection(SidebarItem::recipe(recipes[1].id));
        QCOMPARE(press(Qt::Key_Down), std::optional(SidebarItem::tests()));
        QCOMPARE(press(Qt::Key_Down), std::optional(SidebarItem::materials()));
        QCOMPARE(press(Qt::Key_Down), std::optional(SidebarItem::materials()));
        QCOMPARE(press(Qt::Key_Up), std::optional(SidebarItem::tests()));
        QCOMPARE(press(Qt::Key_Up), std::optional(SidebarItem::recipe(recipes[1].id)));
        QCOMPARE(press(Qt::Key_Home), std::optional(SidebarItem::recipe(recipes[0].id)));
        QCOMPARE(press(Qt::Key_Up), std::optional(SidebarItem::recipe(recipes[0].id)));
        QCOMPARE(press(Qt::Key_End), std::optional(SidebarItem::materials()));

        // A click on a section title chooses nothing and keeps what was chosen.
        const QModelIndex title = window->sidebar()->model()->sectionIndex(SidebarModel::bookSection);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(title).center());
        QCOMPARE(window->model()->selection(), std::optional(SidebarItem::materials()));

        // A book without recipes: Home goes past the empty-list line to Tests.
        auto empty = makeWindow();
        QVERIFY(OrzaTest::showActive(*empty));
        empty->sidebar()->list()->setFocus();
        QTest::keyClick(empty->sidebar()->list(), Qt::Key_Home);
        QCOMPARE(empty->model()->selection(), std::optional(SidebarItem::tests()));
    }

    void f2AndADoubleClickRenameTheRecipe() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B"}));
        QVERIFY(OrzaTest::showActive(*window));
        const auto& recipes = window->document()->book().recipes;
        window->model()->setSelection(SidebarItem::recipe(recipes[1].id));
        QTest::keyClick(window->sidebar()->list(), Qt::Key_F2);
        QCOMPARE(window->renaming(), std::optional(recipes[1].id));
        window->findChild<RenameRecipeDialog*>()->reject();
        OrzaTest::settle();

        QTreeView* list = window->sidebar()->list();
        const QModelIndex first = window->sidebar()->model()->indexFor(SidebarItem::recipe(recipes[0].id));
        // As a person double-clicks: a click, then the second press that makes it a double-click.
        const QPoint point = list->visualRect(first).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(window->renaming(), std::optional(recipes[0].id));
        window->findChild<RenameRecipeDialog*>()->reject();
        OrzaTest::settle();

        window->model()->setSelection(SidebarItem::tests());
        QTest::keyClick(list, Qt::Key_F2);
        QVERIFY(!window->renaming());
    }

    // An undo that brings a deleted recipe back leaves the selection on the recipe that took its place.
    void undoingADeleteLeavesTheSelection() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A", "B", "C"}));
        const auto b = window->document()->book().recipes[1].id;
        const auto c = window->document()->book().recipes[2].id;
        window->model()->setSelection(SidebarItem::recipe(b));
        window->deleteRecipe(b);
        QCOMPARE(window->selectedRecipeID(), std::optional(c));
        window->document()->undoStack()->undo();
        QCOMPARE(window->document()->book().recipes[1].id, b);
        QCOMPARE(window->selectedRecipeID(), std::optional(c));
    }

    void deleteKeyOnThePagesDoesNothing() {
        auto window = makeWindow(OrzaTest::bookWithRecipes({"A"}));
        for (const auto item : {SidebarItem::tests(), SidebarItem::materials()}) {
            window->model()->setSelection(item);
            QTest::keyClick(window->sidebar()->list(), Qt::Key_Backspace);
            QVERIFY(!window->pendingDelete());
            QVERIFY(!window->findChild<DeleteRecipeDialog*>());
        }
        window->model()->setSelection(std::nullopt);
        QTest::keyClick(window->sidebar()->list(), Qt::Key_Delete);
        QVERIFY(!window->pendingDelete());
    }
};

QTEST_MAIN(BookWindowSidebarTest)
#include "BookWindowSidebarTest.moc"
