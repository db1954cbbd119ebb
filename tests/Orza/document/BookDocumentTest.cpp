#include "Orza/document/BookDocument.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/document/DocumentError.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <cmath>

using namespace Orza;
using OrzaTest::bookWithRecipes;
using OrzaTest::readAll;
using OrzaTest::recipeNames;
using OrzaTest::tile;
using OrzaTest::writeAll;

class BookDocumentTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void setRecipeStoresOneUndoableChange() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A", "B"}), false));
        const GlazeCore::Recipe before = document.book().recipes[1];
        GlazeCore::Recipe edited = before;
        edited.lines[0].amount = 42;
        QSignalSpy changed(&document, &BookDocument::recipeChanged);
        QSignalSpy modified(&document, &BookDocument::modifiedChanged);

        QVERIFY(document.setRecipe(edited));
        QCOMPARE(document.book().recipes[1], edited);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toInt(), 1);
        QVERIFY(document.isModified());
        QCOMPARE(modified.count(), 1);

        document.undoStack()->undo();
        QCOMPARE(document.book().recipes[1], before);
        QVERIFY(!document.isModified());
        document.undoStack()->redo();
        QCOMPARE(document.book().recipes[1], edited);
    }

    void unchangedWritesStoreNothing() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        QVERIFY(!document.setRecipe(document.book().recipes[0]));
        GlazeCore::Recipe stranger = OrzaTest::recipe("Not in the book");
        QVERIFY(!document.setRecipe(stranger));
        QVERIFY(!document.removeRecipe(stranger.id));
        QVERIFY(!document.moveRecipes(RowMove::make({0}, 0, 1)));
        QVERIFY(!document.moveRecipes(RowMove::make({0}, 1, 1)));
        QCOMPARE(document.undoStack()->count(), 0);
        QVERIFY(!document.isModified());
    }

    void insertRemoveAndMoveUndoToTheSameBook() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A", "B", "C"}), false));
        const GlazeCore::GlazeBook original = document.book();

        QVERIFY(document.insertRecipe(1, OrzaTest::recipe("New"), "Add"));
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"A", "New", "B", "C"}));
        QVERIFY(document.removeRecipe(original.recipes[0].id));
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"New", "B", "C"}));
        QVERIFY(document.moveRecipes(RowMove::make({0}, 3, 3)));
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"B", "C", "New"}));
        const GlazeCore::GlazeBook edited = document.book();

        while (document.undoStack()->canUndo())
            document.undoStack()->undo();
        QCOMPARE(document.book(), original);
        while (document.undoStack()->canRedo())
            document.undoStack()->redo();
        QCOMPARE(document.book(), edited);
    }

    void removeTakesEveryRecipeWithTheIDAndPutsThemBack() {
        GlazeCore::GlazeBook book = bookWithRecipes({"A", "B", "C"});
        book.recipes[2].id = book.recipes[0].id; // a hand-edited file may repeat an id
        BookDocument document(GlazeDocument::make(book, false));
        QVERIFY(document.removeRecipe(book.recipes[0].id));
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"B"}));
        document.undoStack()->undo();
        QCOMPARE(document.book(), book);
    }

    void recipeLimitRefusesInsert() {
        GlazeCore::GlazeBook book;
        book.recipes.resize(std::size_t(GlazeCore::GlazeBookValidation::maxItems));
        for (auto& r : book.recipes)
            r.id = GlazeCore::Uuid::random();
        BookDocument document(GlazeDocument::make(std::move(book), false));
        QVERIFY(!document.canAddRecipe());
        QVERIFY(!document.insertRecipe(0, OrzaTest::recipe("One too many"), "Add"));
        QCOMPARE(document.book().recipes.size(), std::size_t(GlazeCore::GlazeBookValidation::maxItems));
        QCOMPARE(document.undoStack()->count(), 0);
    }

    void addedTileTakesTheLedgersNumberAndUndoKeepsTheFloor() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        const auto recipeID = document.book().recipes[0].id;
        QVERIFY(document.addTestTile(tile(recipeID)));
        QCOMPARE(document.book().tests.back().code, std::string("T-001"));
        QCOMPARE(document.book().nextTileNumber, std::int64_t(2));

        document.undoStack()->undo();
        QVERIFY(document.book().tests.empty());
        QCOMPARE(document.book().nextTileNumber, std::int64_t(1));
        QVERIFY(document.tileLedger().isAhead(document.book()));

        document.undoStack()->redo();
        QCOMPARE(document.book().tests.size(), std::size_t(1));
        QCOMPARE(document.book().tests[0].code, std::string("T-001"));
        // A fresh tile after the redo does not reuse the number.
        document.addTestTile(tile(recipeID));
        QCOMPARE(document.book().tests[1].code, std::string("T-002"));
    }

    void markEditedLastsUntilSaved() {
        BookDocument document(GlazeDocument::makeNew());
        document.markEdited();
        QVERIFY(document.isModified());
        const QString path = filePath("marked.orzabook");
        document.save(path);
        QVERIFY(!document.isModified());
        QCOMPARE(document.filePath(), path);
    }

    void newBookSavesAsFormatOneAndSavingChangesNothingInMemory() {
        BookDocument document(GlazeDocument::makeNew());
        const QString path = filePath("new.orzabook");
        document.save(path);
        const QByteArray first = readAll(path);
        const auto decoded = GlazeCore::GlazeBookCodec::decode(first.toStdString());
        QCOMPARE(decoded.book.version, std::int64_t(1));
        QCOMPARE(decoded.book.nextTileNumber, std::int64_t(1));
        QVERIFY(decoded.book.recipes.empty() && decoded.book.tests.empty() && decoded.book.customMaterials.empty());

        document.save(path);
        QCOMPARE(readAll(path), first);
    }

    void savingWritesTheLedgersFloorAfterAnUndoneTile() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        document.addTestTile(tile(document.book().recipes[0].id));
        document.undoStack()->undo();
        const QString path = filePath("floor.orzabook");
        document.save(path);
        QCOMPARE(document.book().nextTileNumber, std::int64_t(1)); // the book in memory keeps its number
        QCOMPARE(document.book().version, std::int64_t(1));
        const auto reopened = GlazeDocument::read(path);
        QCOMPARE(reopened.book.nextTileNumber, std::int64_t(2));
        QCOMPARE(reopened.book.version, std::int64_t(2));
    }

    void failedSaveKeepsTheDocumentEditedAndTheOldFileWhole() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        const QString path = filePath("kept.orzabook");
        document.save(path);
        const QByteArray saved = readAll(path);

        GlazeCore::Recipe broken = document.book().recipes[0];
        broken.lines[0].amount = std::nan("");
        QVERIFY(document.setRecipe(broken));
        try {
            document.save(path);
            QFAIL("a book that breaks the file's rules was saved");
        } catch (const DocumentError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("amount")), qPrintable(error.message()));
        }
        QVERIFY(document.isModified());
        QCOMPARE(readAll(path), saved);

        document.undoStack()->undo();
        document.insertRecipe(1, OrzaTest::recipe("B"), "Add");
        try {
            document.save(filePath("no-such-folder/book.orzabook"));
            QFAIL("saved into a folder that does not exist");
        } catch (const DocumentError& error) {
            QVERIFY(error.message().endsWith(QStringLiteral("The file on disk was not changed.")));
        }
        QCOMPARE(document.filePath(), path);
        QVERIFY(document.isModified());
    }

    void readingReportsWhyAndWritesNothing() {
        QDir folder(filePath(QString()));
        folder.mkdir(QStringLiteral("folder.orzabook"));
        QVERIFY_THROWS_EXCEPTION(DocumentError, GlazeDocument::read(filePath("folder.orzabook")));

        const QString empty = filePath("empty.orzabook");
        writeAll(empty, {});
        QVERIFY_THROWS_EXCEPTION(DocumentError, GlazeDocument::read(empty));

        const QString future = filePath("future.orzabook");
        const QByteArray futureBytes =
            R"({"customMaterials":[],"nextTileNumber":1,"recipes":[],"tests":[],"version":99})";
        writeAll(future, futureBytes);
        try {
            GlazeDocument::read(future);
            QFAIL("opened a book of an unknown version");
        } catch (const DocumentError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("The file was not changed.")),
                     qPrintable(error.message()));
        }
        QCOMPARE(readAll(future), futureBytes);
    }

    void olderBookGetsCodesAndANotice() {
        GlazeCore::GlazeBook book = bookWithRecipes({"A"});
        book.tests = {tile(book.recipes[0].id), tile(book.recipes[0].id)};
        const QString path = filePath("old.orzabook");
        OrzaTest::saveBook(book, path); // blank codes and number 1: written as format 1
        const GlazeDocument opened = GlazeDocument::read(path);
        QCOMPARE(opened.book.tests[0].code, std::string("T-001"));
        QCOMPARE(opened.book.tests[1].code, std::string("T-002"));
        QVERIFY(opened.backfillNotice.has_value());
        QCOMPARE(opened.tileLedger->floor(), std::int64_t(3));

        BookDocument document(opened, path);
        document.save(path);
        QCOMPARE(GlazeDocument::read(path).book.version, std::int64_t(2));
    }

    void revertDropsChangesAndHistory() {
        const QString path = filePath("revert.orzabook");
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        document.save(path);
        document.insertRecipe(1, OrzaTest::recipe("B"), "Add");
        QSignalSpy reset(&document, &BookDocument::reset);
        document.revert();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"A"}));
        QVERIFY(!document.isModified());
        QCOMPARE(document.undoStack()->count(), 0);

        // Codes handed out before a revert are not handed out again.
        QVERIFY(document.addTestTile(tile(document.book().recipes[0].id)));
        QCOMPARE(document.book().tests[0].code, std::string("T-001"));
        document.revert();
        QVERIFY(document.book().tests.empty());
        QVERIFY(document.tileLedger().isAhead(document.book()));
        QVERIFY(document.addTestTile(tile(document.book().recipes[0].id)));
        QCOMPARE(document.book().tests[0].code, std::string("T-002"));
        document.save(path);
        QCOMPARE(GlazeDocument::read(path).book.nextTileNumber, std::int64_t(3));

        writeAll(path, "not a book");
        document.insertRecipe(1, OrzaTest::recipe("C"), "Add");
        QVERIFY_THROWS_EXCEPTION(DocumentError, document.revert());
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"A", "C"}));
        QVERIFY(document.isModified());
    }

    void documentsCompareByBookAndSampleFlag() {
        const GlazeCore::GlazeBook book = bookWithRecipes({"A"});
        GlazeDocument a = GlazeDocument::make(book, false);
        GlazeDocument b = GlazeDocument::make(book, false);
        b.backfillNotice =
            GlazeCore::TileCode::BackfillNotice{GlazeCore::TileCode::BackfillNotice::Kind::olderBook, {}};
        QVERIFY(a == b);
        QVERIFY(!(a == GlazeDocument::make(book, true)));
        QCOMPARE(defaultTileLedger()->floor(), std::int64_t(1));
        QCOMPARE(defaultTileLedger(), defaultTileLedger());
    }
};

QTEST_MAIN(BookDocumentTest)
#include "BookDocumentTest.moc"
