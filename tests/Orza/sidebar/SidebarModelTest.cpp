#include "Orza/sidebar/SidebarModel.h"

#include "Orza/document/BookDocument.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <memory>

using namespace Orza;

namespace {

QStringList recipeRows(const SidebarModel& model) {
    const QModelIndex section = model.sectionIndex(SidebarModel::recipesSection);
    QStringList rows;
    for (int row = 0; row < model.rowCount(section); ++row)
        rows << model.index(row, 0, section).data().toString();
    return rows;
}

} // namespace

class SidebarModelTest : public QObject {
    Q_OBJECT
private slots:
    void sectionsAndPagesFollowTheBook() {
        BookDocument document(GlazeDocument::make(OrzaTest::bookWithRecipes({"A", "B"}), false));
        SidebarModel model(document);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.sectionIndex(SidebarModel::recipesSection).data().toString(), QStringLiteral("Recipes"));
        QCOMPARE(model.sectionIndex(SidebarModel::bookSection).data().toString(), QStringLiteral("Book"));
        QCOMPARE(recipeRows(model), (QStringList{"A", "B"}));
        QCOMPARE(model.indexFor(SidebarItem::tests()).data().toString(), QStringLiteral("Tests"));
        QCOMPARE(model.indexFor(SidebarItem::materials()).data().toString(), QStringLiteral("Materials"));
        const auto secondID = document.book().recipes[1].id;
        QCOMPARE(model.itemAt(model.indexFor(SidebarItem::recipe(secondID))), SidebarItem::recipe(secondID));
        QVERIFY(!model.indexFor(SidebarItem::recipe(GlazeCore::Uuid::random())).isValid());
        QVERIFY(!model.itemAt(model.sectionIndex(SidebarModel::bookSection)));
    }

    // The "No recipes yet" line gives way to the first recipe and comes back after the last; edits, undo
    // and redo reach the rows through the document's signals, checked by the model tester throughout.
    void rowsFollowEveryEditAndUndo() {
        BookDocument document(GlazeDocument::makeNew());
        SidebarModel model(document);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(recipeRows(model), QStringList{"No recipes yet"});
        const QModelIndex placeholder = model.index(0, 0, model.sectionIndex(SidebarModel::recipesSection));
        QVERIFY(!(model.flags(placeholder) & Qt::ItemIsSelectable));
        QVERIFY(!model.itemAt(placeholder));

        document.insertRecipe(0, OrzaTest::recipe("A"), "Add");
        document.insertRecipe(1, OrzaTest::recipe("B"), "Add");
        document.insertRecipe(2, OrzaTest::recipe("C"), "Add");
        QCOMPARE(recipeRows(model), (QStringList{"A", "B", "C"}));

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        document.setRecipeName(document.book().recipes[1].id, "Bee");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(recipeRows(model), (QStringList{"A", "Bee", "C"}));

        // A selected row keeps standing for its recipe through a move and its undo.
        QPersistentModelIndex third(model.index(2, 0, model.sectionIndex(SidebarModel::recipesSection)));
        document.moveRecipes(RowMove::make({2}, 0, 3));
        QCOMPARE(recipeRows(model), (QStringList{"C", "A", "Bee"}));
        QCOMPARE(third.row(), 0);
        document.undoStack()->undo();
        QCOMPARE(third.row(), 2);

        while (document.undoStack()->canUndo())
            document.undoStack()->undo();
        QCOMPARE(recipeRows(model), QStringList{"No recipes yet"});
        while (document.undoStack()->canRedo())
            document.undoStack()->redo();
        QCOMPARE(recipeRows(model), (QStringList{"C", "A", "Bee"}));
    }

    void droppingRowsMovesRecipesAsOneUndoableChange() {
        BookDocument document(GlazeDocument::make(OrzaTest::bookWithRecipes({"A", "B", "C", "D"}), false));
        SidebarModel model(document);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex section = model.sectionIndex(SidebarModel::recipesSection);
        std::unique_ptr<QMimeData> dragged(model.mimeData({model.index(0, 0, section)}));

        // Between rows: before "D". The model moves through the document and declines the drop, so the view
        // does not remove the dragged row again.
        QVERIFY(!model.dropMimeData(dragged.get(), Qt::MoveAction, 3, 0, section));
        QCOMPARE(recipeRows(model), (QStringList{"B", "C", "A", "D"}));
        QCOMPARE(document.undoStack()->count(), 1);

        // Onto a row: before that row.
        std::unique_ptr<QMimeData> last(model.mimeData({model.index(3, 0, section)}));
        model.dropMimeData(last.get(), Qt::MoveAction, -1, 0, model.index(0, 0, section));
        QCOMPARE(recipeRows(model), (QStringList{"D", "B", "C", "A"}));

        QVERIFY(
            !model.canDropMimeData(dragged.get(), Qt::MoveAction, 0, 0, model.sectionIndex(SidebarModel::bookSection)));
        document.undoStack()->undo();
        document.undoStack()->undo();
        QCOMPARE(recipeRows(model), (QStringList{"A", "B", "C", "D"}));
    }
};

QTEST_MAIN(SidebarModelTest)
#include "SidebarModelTest.moc"
