#include "Orza/document/BookDocument.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/document/DocumentError.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Orza;
using OrzaTest::bookWithRecipes;
using OrzaTest::readAll;
using OrzaTest::recipeNames;
using OrzaTest::tile;
using OrzaTest::writeAll;

namespace {

/// Sets the file's modification time to the given second and nanosecond.
bool setModified(const QString& path, std::int64_t seconds, long nanoseconds) {
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(seconds), nanoseconds}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

struct stat statusOf(const QString& path) {
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

} // namespace

class BookDocumentTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void fieldEditStoresOneUndoableChangeAndNamesIt() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A", "B"}), false));
        const auto recipe = document.book().recipes[1];
        QSignalSpy lines(&document, &BookDocument::lineChanged);
        QSignalSpy edited(&document, &BookDocument::recipeEdited);
        QSignalSpy modified(&document, &BookDocument::modifiedChanged);

        QVERIFY(document.setLineAmount(recipe.id, recipe.lines[0].id, 42));
        QCOMPARE(document.book().recipes[1].lines[0].amount, 42.0);
        QCOMPARE(lines.count(), 1);
        QCOMPARE(lines.first().at(0).value<GlazeCore::Uuid>(), recipe.id);
        QCOMPARE(lines.first().at(1).toInt(), 0);
        QCOMPARE(lines.first().at(2).value<LineField>(), LineField::amount);
        QCOMPARE(edited.count(), 1);
        QVERIFY(document.isModified());
        QCOMPARE(modified.count(), 1);
        QCOMPARE(document.undoStack()->undoText(), QStringLiteral("Change Amount"));

        document.undoStack()->undo();
        QCOMPARE(document.book().recipes[1], recipe);
        QVERIFY(!document.isModified());
        document.undoStack()->redo();
        QCOMPARE(document.book().recipes[1].lines[0].amount, 42.0);
    }

    // Typing 1.2345 is one step; Undo brings back the value before the burst.
    void aTypingBurstMergesIntoOneStep() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        const auto recipeID = document.book().recipes[0].id;
        const auto lineID = document.book().recipes[0].lines[0].id;
        const double before = document.book().recipes[0].lines[0].amount;
        for (const double typed : {1.0, 1.2, 1.23, 1.234, 1.2345})
            QVERIFY(document.setLineAmount(recipeID, lineID, typed));
        QCOMPARE(document.undoStack()->count(), 1);
        QCOMPARE(document.book().recipes[0].lines[0].amount, 1.2345);
        document.undoStack()->undo();
        QCOMPARE(document.book().recipes[0].lines[0].amount, before);
        document.undoStack()->redo();
        QCOMPARE(document.book().recipes[0].lines[0].amount, 1.2345);

        // A burst that ends where it began leaves no step behind, and the book as it was.
        document.endEditBurst();
        QVERIFY(document.setLineAmount(recipeID, lineID, 7));
        QVERIFY(document.setLineAmount(recipeID, lineID, 1.2345));
        QCOMPARE(document.undoStack()->count(), 1);
        QCOMPARE(document.undoStack()->index(), 1);
        QVERIFY(document.setRecipeName(recipeID, "Caf\u00e9"));
        document.endEditBurst();
        QVERIFY(document.setRecipeName(recipeID, "Caf\u00e9 B"));
        QVERIFY(document.setRecipeName(recipeID, "Cafe\u0301")); // back, in the other spelling
        QCOMPARE(document.undoStack()->count(), 2);
        QCOMPARE(document.book().recipes[0].name, std::string("Caf\u00e9"));
    }

    // Within one burst only the same field of the same item merges: the same field of another item, or
    // another oxide of one material, is a step of its own that undoes alone.
    void aBurstOverTwoItemsKeepsAStepForEach() {
        GlazeCore::GlazeBook book = bookWithRecipes({"A", "B"});
        book.recipes[0].lines.push_back({GlazeCore::Uuid::random(), "kaolin", 10, false});
        book.tests = {tile(book.recipes[0].id), tile(book.recipes[0].id)};
        book.customMaterials = {{"custom-1", "Mine", {{GlazeCore::Oxide::SiO2, 50}}, 0, ""}};
        BookDocument document(GlazeDocument::make(book, false));
        const auto a = book.recipes[0];
        const auto b = book.recipes[1];
        const QUndoStack& stack = *document.undoStack();

        QVERIFY(document.setRecipeName(a.id, "A2"));
        QVERIFY(document.setRecipeName(b.id, "B2"));
        QCOMPARE(stack.count(), 2);
        QVERIFY(document.setLineAmount(a.id, a.lines[0].id, 1));
        QVERIFY(document.setLineAmount(a.id, a.lines[1].id, 2));
        QCOMPARE(stack.count(), 4);
        QVERIFY(document.setTileNotes(book.tests[0].id, "first"));
        QVERIFY(document.setTileNotes(book.tests[1].id, "second"));
        QCOMPARE(stack.count(), 6);
        QVERIFY(document.setMaterialOxide("custom-1", GlazeCore::Oxide::SiO2, 60));
        QVERIFY(document.setMaterialOxide("custom-1", GlazeCore::Oxide::Al2O3, 20));
        QCOMPARE(stack.count(), 8);
        // The same item again, still in the burst: one step more, not two.
        QVERIFY(document.setMaterialOxide("custom-1", GlazeCore::Oxide::Al2O3, 21));
        QCOMPARE(stack.count(), 8);

        document.undoStack()->undo();
        QCOMPARE(document.book().customMaterials[0].analysis, (GlazeCore::Analysis{{GlazeCore::Oxide::SiO2, 60}}));
        document.undoStack()->undo();
        document.undoStack()->undo();
        QCOMPARE(document.book().tests[0].notes, std::string("first"));
        QCOMPARE(document.book().tests[1].notes, book.tests[1].notes);
        document.undoStack()->undo();
        document.undoStack()->undo();
        QCOMPARE(document.book().recipes[0].lines[0].amount, 1.0);
        QCOMPARE(document.book().recipes[0].lines[1].amount, 10.0);
        document.undoStack()->undo();
        document.undoStack()->undo();
        QCOMPARE(recipeNames(document.book()), (std::vector<std::string>{"A2", "B"}));
        document.undoStack()->undo();
        QCOMPARE(document.book(), book);
    }

    void anEditElsewhereLeavingTheFieldOrAnUndoStartsANewStep() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        const auto recipeID = document.book().recipes[0].id;
        const auto lineID = document.book().recipes[0].lines[0].id;
        document.setLineAmount(recipeID, lineID, 1);
        document.setRecipeCone(recipeID, "10");
        document.setLineAmount(recipeID, lineID, 2);
        QCOMPARE(document.undoStack()->count(), 3);
        document.endEditBurst(); // the field lost the focus
        document.setLineAmount(recipeID, lineID, 3);
        QCOMPARE(document.undoStack()->count(), 4);
        document.undoStack()->undo();
        document.setLineAmount(recipeID, lineID, 4); // typed after the undo: not merged into the step below
        QCOMPARE(document.undoStack()->count(), 4);
        document.undoStack()->undo();
        QCOMPARE(document.book().recipes[0].lines[0].amount, 2.0);
        // Saving ends the burst too: the saved state stays one step away.
        document.save(filePath("burst.orzabook"));
        document.setLineAmount(recipeID, lineID, 5);
        document.undoStack()->undo();
        QVERIFY(!document.isModified());
    }

    void changeGroupIsOneNamedStep() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        const GlazeCore::GlazeBook original = document.book();
        const auto recipeID = original.recipes[0].id;
        {
            BookDocument::ChangeGroup group(document, QStringLiteral("Apply Blend"));
            QVERIFY(document.addNewRecipe());
            QVERIFY(document.addNewTestTile(recipeID));
            QVERIFY(document.setRecipeNotes(recipeID, "blended"));
        }
        QCOMPARE(document.undoStack()->count(), 1);
        QCOMPARE(document.undoStack()->undoText(), QStringLiteral("Apply Blend"));
        const GlazeCore::GlazeBook changed = document.book();
        document.undoStack()->undo();
        QCOMPARE(document.book(), original);
        document.undoStack()->redo();
        QCOMPARE(document.book(), changed);
        { BookDocument::ChangeGroup nothing(document, QStringLiteral("Nothing")); }
        QCOMPARE(document.undoStack()->count(), 1);
    }

    // Every list finds its items by id after rows came and went, and each kind of edit undoes exactly.
    void everyEditFindsItsItemAfterRowsMove() {
        GlazeCore::GlazeBook book = bookWithRecipes({"A", "B", "C"});
        book.recipes[1].lines.clear();
        for (int i = 0; i < 40; ++i) // past the size where lines are indexed
            book.recipes[1].lines.push_back({GlazeCore::Uuid::random(), "silica", double(i), false});
        book.customMaterials = {{"custom-\u00e9", "Mine", {}, 0, ""}};
        BookDocument document(GlazeDocument::make(book, false));
        const GlazeCore::GlazeBook original = document.book();
        const auto b = original.recipes[1].id;
        const auto lastLine = original.recipes[1].lines.back().id;

        QVERIFY(document.moveRecipes(RowMove::make({2}, 0, 3)));
        QVERIFY(document.removeRecipe(original.recipes[0].id));
        QVERIFY(document.removeLines(b, {original.recipes[1].lines[0].id, original.recipes[1].lines[5].id}));
        QCOMPARE(document.lineIndex(b, lastLine), std::optional<std::size_t>(37));
        QVERIFY(document.setLineAmount(b, lastLine, 99));
        QCOMPARE(document.book().recipes[*document.recipeIndex(b)].lines[37].amount, 99.0);
        QVERIFY(document.setLineMaterial(b, lastLine, "kaolin"));
        QVERIFY(document.setLineAddition(b, lastLine, true));
        const auto line = document.addLine(b);
        QVERIFY(line);
        QCOMPARE(document.lineIndex(b, *line), std::optional<std::size_t>(38));

        // Custom materials match by canonical id: the decomposed spelling finds the precomposed one.
        QVERIFY(document.setMaterialName("custom-e\u0301", "Renamed"));
        QVERIFY(document.setMaterialOxide("custom-e\u0301", GlazeCore::Oxide::SiO2, 60));
        QVERIFY(document.setMaterialLoi("custom-\u00e9", 12));
        QVERIFY(document.setMaterialSource("custom-\u00e9", "the shed"));
        QVERIFY(document.setMaterialOxide("custom-\u00e9", GlazeCore::Oxide::SiO2, std::nullopt));
        QVERIFY(document.insertMaterial(0, {"custom-2", "Second", {}, 0, ""}, QStringLiteral("Add Material")));
        QVERIFY(!document.insertMaterial(0, {"custom-e\u0301", "Twin", {}, 0, ""}, QStringLiteral("Add")));
        QVERIFY(document.removeMaterial("custom-e\u0301"));

        const auto tileID = document.addNewTestTile(b);
        QVERIFY(tileID);
        QVERIFY(document.setTileCode(*tileID, "X-1"));
        QVERIFY(document.setTileAtmosphere(*tileID, "Soda"));
        QVERIFY(document.setTileSchedule(*tileID, {{100, 1000, 5}}));
        QVERIFY(document.setTilePhoto(*tileID, GlazeCore::Bytes{1, 2, 3}));
        QVERIFY(document.setTileRecipe(*tileID, original.recipes[2].id));
        QVERIFY(document.removeTests({*tileID}));
        const GlazeCore::GlazeBook edited = document.book();

        while (document.undoStack()->canUndo())
            document.undoStack()->undo();
        QCOMPARE(document.book(), original);
        QCOMPARE(document.book().customMaterials[0].id, std::string("custom-\u00e9"));
        while (document.undoStack()->canRedo())
            document.undoStack()->redo();
        QCOMPARE(document.book(), edited);
    }

    // No edit puts into the book what the book's file refuses, so every edited book can be saved.
    void editsBeyondTheFileLimitsAreRefused() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        const auto recipeID = document.book().recipes[0].id;
        const auto lineID = document.book().recipes[0].lines[0].id;
        QVERIFY(!document.setLineAmount(recipeID, lineID, std::nan("")));
        QVERIFY(!document.setLineAmount(recipeID, lineID, 2e9));
        QVERIFY(document.setLineAmount(recipeID, lineID, 1e9));
        const auto tileID = document.addNewTestTile(recipeID);
        QVERIFY(!document.setTileSchedule(*tileID, {{2e6, 100, 0}}));
        QVERIFY(!document.setTileSchedule(*tileID,
                                          std::vector<GlazeCore::FiringSegment>(
                                              std::size_t(GlazeCore::GlazeBookValidation::maxSegmentsPerTile) + 1)));
        std::vector<GlazeCore::RecipeLine> many(
            static_cast<std::size_t>(GlazeCore::GlazeBookValidation::maxLinesPerRecipe));
        for (auto& line : many)
            line.id = GlazeCore::Uuid::random();
        QVERIFY(document.setLines(recipeID, many, QStringLiteral("Fill")));
        QVERIFY(!document.canAddLine(recipeID));
        QVERIFY(!document.addLine(recipeID));
        document.save(filePath("limits.orzabook"));
        const GlazeCore::GlazeBook reopened = GlazeDocument::read(filePath("limits.orzabook")).book;
        QCOMPARE(reopened.recipes, document.book().recipes);
        QCOMPARE(reopened.tests, document.book().tests);
    }

    void unchangedWritesStoreNothing() {
        BookDocument document(GlazeDocument::make(bookWithRecipes({"A"}), false));
        const auto& recipe = document.book().recipes[0];
        QVERIFY(!document.setRecipeName(recipe.id, recipe.name));
        QVERIFY(!document.setLineAmount(recipe.id, recipe.lines[0].id, recipe.lines[0].amount));
        QVERIFY(!document.renameRecipe(recipe.id, " \n\t"));
        QVERIFY(!document.renameRecipe(recipe.id, "  " + recipe.name + "\n"));
        GlazeCore::Recipe stranger = OrzaTest::recipe("Not in the book");
        QVERIFY(!document.setRecipeName(stranger.id, "X"));
        QVERIFY(!document.setLineAmount(recipe.id, stranger.lines[0].id, 3));
        QVERIFY(!document.removeRecipe(stranger.id));
        QVERIFY(!document.moveRecipes(RowMove::make({0}, 0, 1)));
        QVERIFY(!document.moveRecipes(RowMove::make({0}, 1, 1)));
        QVERIFY(!document.insertRecipe(0, recipe, QStringLiteral("Again")));
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
        const QString path = filePath("kept.orzabook");
        OrzaTest::saveBook(bookWithRecipes({"A"}), path);
        const QByteArray saved = readAll(path);

        GlazeCore::GlazeBook broken = bookWithRecipes({"A"});
        broken.recipes[0].lines[0].amount = std::nan("");
        BookDocument document(GlazeDocument::make(broken, false), path);
        document.markEdited();
        try {
            document.save(path);
            QFAIL("a book that breaks the file's rules was saved");
        } catch (const DocumentError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("amount")), qPrintable(error.message()));
        }
        QVERIFY(document.isModified());
        QCOMPARE(readAll(path), saved);

        BookDocument sound(GlazeDocument::make(bookWithRecipes({"B"}), false), path);
        sound.markEdited();
        try {
            sound.save(filePath("no-such-folder/book.orzabook"));
            QFAIL("saved into a folder that does not exist");
        } catch (const DocumentError& error) {
            QVERIFY(error.message().endsWith(QStringLiteral("The file on disk was not changed.")));
        }
        QCOMPARE(sound.filePath(), path);
        QVERIFY(sound.isModified());
    }

    // Another program's rewrite that keeps the size is seen all the same: written in place within the same
    // second, by the fraction of the second; written in place with the old time of writing put back, by the
    // status change time; copied over with its time kept (rsync -t writes a new file and renames it over the
    // old one), by the file itself. The document's own save is no change, nor a new link or new permissions.
    void aSameSizeRewriteIsAChangeOnDisk() {
        const QString path = filePath("shared.orzabook");
        OrzaTest::saveBook(bookWithRecipes({"Mine"}), path);
        const std::int64_t second = 1'700'000'000;
        QVERIFY(setModified(path, second, 100'000'000));
        BookDocument document(GlazeDocument::read(path), path);
        QVERIFY(!document.fileChangedOnDisk());

        QByteArray theirs = readAll(path);
        theirs.replace("Mine", "Ours");
        const ino_t inode = statusOf(path).st_ino;
        writeAll(path, theirs);
        QVERIFY(setModified(path, second, 200'000'000));
        QCOMPARE(statusOf(path).st_ino, inode);
        QVERIFY(document.fileChangedOnDisk());

        document.revert();
        const struct stat known = statusOf(path);
        // The status time moves with the system's clock tick, some milliseconds.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        theirs.replace("Ours", "Oars");
        writeAll(path, theirs);
        QVERIFY(setModified(path, known.st_mtim.tv_sec, known.st_mtim.tv_nsec));
        const struct stat rewritten = statusOf(path);
        QVERIFY(rewritten.st_ino == known.st_ino && rewritten.st_size == known.st_size);
        QVERIFY(rewritten.st_mtim.tv_sec == known.st_mtim.tv_sec && rewritten.st_mtim.tv_nsec == known.st_mtim.tv_nsec);
        QVERIFY(document.fileChangedOnDisk());

        document.markEdited();
        document.save(path);
        QVERIFY(!document.fileChangedOnDisk());
        const struct stat saved = statusOf(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const QByteArray linked = QFile::encodeName(filePath("linked.orzabook"));
        QVERIFY(::link(QFile::encodeName(path).constData(), linked.constData()) == 0);
        QVERIFY(QFile::setPermissions(path, QFile::permissions(path) ^ QFileDevice::ReadOther));
        QVERIFY(statusOf(path).st_ctim.tv_nsec != saved.st_ctim.tv_nsec);
        QVERIFY(!document.fileChangedOnDisk()); // a new name and permissions are no rewrite
        const struct stat before = statusOf(path);
        const QString copy = filePath("shared.orzabook.tmp");
        theirs = readAll(path);
        theirs.replace("Ours", "Them");
        writeAll(copy, theirs);
        QVERIFY(setModified(copy, before.st_mtim.tv_sec, before.st_mtim.tv_nsec));
        QVERIFY(::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()) == 0);
        const struct stat after = statusOf(path);
        QVERIFY(after.st_ino != before.st_ino);
        QCOMPARE(after.st_size, before.st_size);
        QVERIFY(after.st_mtim.tv_sec == before.st_mtim.tv_sec && after.st_mtim.tv_nsec == before.st_mtim.tv_nsec);
        QVERIFY(document.fileChangedOnDisk());
    }

    void readingReportsWhyAndWritesNothing() {
        QDir folder(filePath(QString()));
        folder.mkdir(QStringLiteral("folder.orzabook"));
        const auto messageOf = [](const QString& path) {
            try {
                GlazeDocument::read(path);
            } catch (const DocumentError& error) {
                return error.message();
            }
            return QString();
        };
        QCOMPARE(messageOf(filePath("folder.orzabook")), QStringLiteral("It is a folder, not a book file."));
        // A device is no regular file, but no folder either.
        const QString device = messageOf(QStringLiteral("/dev/null"));
        QVERIFY(!device.isEmpty());
        QVERIFY2(!device.contains(QStringLiteral("folder")), qPrintable(device));

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
