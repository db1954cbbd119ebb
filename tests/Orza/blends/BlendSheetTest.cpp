#include "Orza/blends/BlendSheet.h"
#include "Orza/platform/FocusRing.h"

#include "GlazeCore/book/GlazeBookValidation.h"
#include "GlazeCore/book/SampleBook.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/blends/TileCardGrid.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/SystemBeep.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/widgets/WholeNumberStepper.h"
#include "Orza/window/BookWindow.h"
#include "support/AccessibleEvents.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QUndoStack>

#include <algorithm>
#include <array>
#include <vector>

using namespace Orza;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

GlazeCore::Recipe glaze(std::string name, std::vector<GlazeCore::RecipeLine> lines, std::string cone = "6") {
    return {GlazeCore::Uuid::random(), std::move(name), std::move(cone), std::move(lines), ""};
}

/// The sample book, its tiles coded T-001 to T-003: the ledger's next code is T-004.
GlazeCore::GlazeBook sample() {
    return GlazeCore::SampleBook::makeBook();
}

/// Replaces the stepper's number with `text`, as a user selecting it and typing does.
void type(QSpinBox* stepper, const QString& text) {
    stepper->setFocus(Qt::TabFocusReason);
    stepper->selectAll();
    QTest::keyClicks(stepper, text);
}

} // namespace

class BlendSheetTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    void setUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void tearDown() override { QLocale::setDefault(QLocale::system()); }

private slots:
    // Each kind of blend goes into the book as recipes and coded tiles in one step, which undo takes back whole.
    void everyKindAddsItsTilesAsOneUndoStep_data() {
        QTest::addColumn<int>("modeIndex");
        QTest::addColumn<int>("count");
        QTest::newRow("line") << int(BlendMode::line) << 5;
        QTest::newRow("triaxial") << int(BlendMode::triaxial) << 21;
        QTest::newRow("grid") << int(BlendMode::grid) << 25;
    }
    void everyKindAddsItsTilesAsOneUndoStep() {
        QFETCH(int, modeIndex);
        QFETCH(int, count);
        const auto mode = BlendMode(modeIndex);
        GlazeCore::GlazeBook book = sample();
        book.recipes[1].cone = "10"; // another corner's cone never reaches the tiles
        auto window = OrzaTest::makeWindow(book);
        BookDocument& document = *window->document();
        const GlazeCore::GlazeBook before = document.book();
        const int steps = document.undoStack()->count();

        BlendSheet* sheet = BlendSheet::open(window->paneContext(), book.recipes[0].id, mode);
        QVERIFY(sheet->isModal() && sheet->isVisible());
        QCOMPARE(window->model()->blendMode(), std::optional(mode));
        QVERIFY(!window->actions()->action(Command::addRecipe)->isEnabled());
        const std::vector<BlendTile> tiles = sheet->tiles();
        QCOMPARE(int(tiles.size()), count);
        QCOMPARE(sheet->countLabel()->text(), QStringLiteral("%1 tiles").arg(count));
        QCOMPARE(int(sheet->grid()->cards().size()), count);

        sheet->addButton()->click();
        const auto& after = document.book();
        QCOMPARE(after.recipes.size(), before.recipes.size() + std::size_t(count));
        QCOMPARE(after.tests.size(), before.tests.size() + std::size_t(count));
        for (int k = 0; k < count; ++k) {
            const auto& recipe = after.recipes[before.recipes.size() + std::size_t(k)];
            const auto& tile = after.tests[before.tests.size() + std::size_t(k)];
            QCOMPARE(QString::fromStdString(recipe.name), sheet->tileTitle(tiles[std::size_t(k)]));
            QVERIFY(recipe.id != tiles[std::size_t(k)].recipe.id);
            QCOMPARE(recipe.lines.size(), tiles[std::size_t(k)].recipe.lines.size());
            QCOMPARE(tile.recipeID, recipe.id);
            QCOMPARE(tile.cone, std::string("6"));
            QCOMPARE(tile.atmosphere, std::string("Oxidation"));
            QCOMPARE(tile.notes, "Blend tile " + std::to_string(k + 1));
            QCOMPARE(tile.schedule.size(), std::size_t(3));
            QCOMPARE(QString::fromStdString(tile.code), QStringLiteral("T-%1").arg(4 + k, 3, 10, QLatin1Char('0')));
        }
        QCOMPARE(sheet->messageLabel()->text(), QStringLiteral("Added %1 recipes and test tiles T-004 to T-%2.")
                                                    .arg(count)
                                                    .arg(3 + count, 3, 10, QLatin1Char('0')));
        QVERIFY(sheet->isVisible());
        QCOMPARE(window->model()->selection(), std::nullopt);

        QCOMPARE(document.undoStack()->count(), steps + 1);
        document.undoStack()->undo();
        QVERIFY(document.book() == before);
        document.undoStack()->redo();
        QCOMPARE(document.book().tests.back().code, after.tests.back().code);
    }

    // The whole blend reaches the book as one change, which those who follow the book hear once, on adding
    // and on undoing, so the open sheet makes its tiles and cards once, not once per recipe and tile.
    void aBlendIsOneChangeOfTheBook() {
        auto window = OrzaTest::makeWindow(sample());
        BookDocument& document = *window->document();
        const GlazeCore::GlazeBook before = document.book();
        const std::int64_t floor = document.tileLedger().floor();
        BlendSheet* sheet = BlendSheet::open(window->paneContext(), before.recipes[0].id, BlendMode::grid);
        QSignalSpy changes(&document, &BookDocument::bookChanged);
        QSignalSpy recipes(&document, &BookDocument::recipesInserted);
        QSignalSpy tiles(&document, &BookDocument::testsInserted);

        sheet->addButton()->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(recipes.count(), 1);
        QCOMPARE(recipes.at(0), (QVariantList{int(before.recipes.size()), int(before.recipes.size()) + 24}));
        QCOMPARE(tiles.count(), 1);
        QCOMPARE(tiles.at(0), (QVariantList{int(before.tests.size()), int(before.tests.size()) + 24}));
        QCOMPARE(document.book().nextTileNumber, before.nextTileNumber + 25);
        QCOMPARE(document.tileLedger().floor(), floor + 25);
        QCOMPARE(document.undoStack()->undoText(), QStringLiteral("Add Blend Tiles"));

        changes.clear();
        document.undoStack()->undo();
        QCOMPARE(changes.count(), 1);
        QVERIFY(document.book() == before);
        QCOMPARE(int(sheet->grid()->cards().size()), 25);
        changes.clear();
        document.undoStack()->redo();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(document.book().tests.back().code, std::string("T-028"));
    }

    // An Add shows the book once it is written: the corner pickers list the new recipes once, not once for
    // every recipe and tile written (which made a grid's Add take seconds).
    void oneAddShowsTheBookOnce() {
        auto window = OrzaTest::makeWindow(sample());
        BlendSheet* sheet =
            BlendSheet::open(window->paneContext(), window->document()->book().recipes[0].id, BlendMode::grid);
        QComboBox* corner = sheet->cornerPicker(0);
        int listed = 0;
        connect(corner->model(), &QAbstractItemModel::rowsInserted, sheet,
                [&listed](const QModelIndex&, int first, int last) { listed += last - first + 1; });
        sheet->addButton()->click();
        QCOMPARE(corner->count(), int(window->document()->book().recipes.size()));
        QCOMPARE(listed, corner->count());
    }

    // Without test entries only recipes are added; a second press adds a second set with new ids.
    void recipesAloneAndTwice() {
        auto window = OrzaTest::makeWindow(sample());
        BookDocument& document = *window->document();
        const std::size_t recipes = document.book().recipes.size();
        BlendSheet sheet(document, document.book().recipes[2].id, BlendMode::line);
        sheet.testEntriesBox()->click();
        QVERIFY(!sheet.addTestEntries());
        sheet.prefixField()->clear();
        QTest::keyClicks(sheet.prefixField(), QStringLiteral("Trial"));
        sheet.addTilesToBook(sheet.tiles());
        sheet.addTilesToBook(sheet.tiles());
        QCOMPARE(sheet.addedMessage(), std::optional(QStringLiteral("Added 5 recipes.")));
        const auto& book = document.book();
        QCOMPARE(book.recipes.size(), recipes + 10);
        QCOMPARE(book.tests.size(), std::size_t(3));
        QVERIFY(book.recipes[recipes].id != book.recipes[recipes + 5].id);
        QCOMPARE(book.recipes[recipes].name, book.recipes[recipes + 5].name);
        QVERIFY(book.recipes[recipes].name.starts_with("Trial \u2013 Line 1/5: 100% "));
        QCOMPARE(document.undoStack()->count(), 2);
    }

    // A name too long to show is shown by its ends in the prefix field, which edits the whole name where it
    // showed it. The tiles' names, the cards and the added recipes quote it by its ends; the book keeps it whole.
    void aHugeNameIsQuotedByItsEnds() {
        const std::string huge = "Start" + std::string(131'072 - 10, 'm') + "Close";
        GlazeCore::GlazeBook book;
        book.recipes = {glaze(huge, {line("silica", 60), line("kaolin", 40)})};
        auto window = OrzaTest::makeWindow(book);
        BookDocument& document = *window->document();
        BlendSheet sheet(document, book.recipes[0].id, BlendMode::grid);
        QLineEdit* prefix = sheet.prefixField();
        QVERIFY(prefix->text().size() <= qsizetype(shownTextLimit));
        QVERIFY(prefix->text().startsWith(QStringLiteral("Startmm")) &&
                prefix->text().endsWith(QStringLiteral("mmClose")));
        QCOMPARE(sheet.namePrefix(), huge);
        prefix->end(false);
        QTest::keyClicks(prefix, QStringLiteral("!"));
        prefix->home(false);
        QTest::keyClick(prefix, Qt::Key_Delete);
        QCOMPARE(sheet.namePrefix(), huge.substr(1) + "!");

        const std::vector<BlendTile> tiles = sheet.tiles();
        QCOMPARE(tiles.size(), std::size_t(25));
        const std::size_t quoted = 4 * shownTextLimit + 100; // four corners by their ends, and the weights
        for (const BlendTile& tile : tiles)
            QVERIFY(tile.recipe.name.size() < quoted);
        for (const TileCard* card : sheet.grid()->cards())
            QVERIFY(card->accessibleName().size() < qsizetype(2 * shownTextLimit));
        sheet.addTilesToBook(tiles);
        const auto& recipes = document.book().recipes;
        QCOMPARE(recipes.size(), std::size_t(26));
        QCOMPARE(recipes[0].name, huge);
        for (std::size_t i = 1; i < recipes.size(); ++i) {
            QVERIFY(recipes[i].name.size() < quoted + shownTextLimit);
            QVERIFY(recipes[i].name.starts_with("tartmm"));
            QVERIFY(recipes[i].name.find("mmClose! \u2013 Grid r") != std::string::npos);
        }
    }

    // Next to the "…" of a huge name, on either side, a key lands where the field shows it, in the prefix and in
    // the tiles' names; Backspace just after it and Delete just before it take one character of the hidden middle.
    void editsNextToTheCutLandWhereShown() {
        const std::string huge = "Start" + std::string(20'000, 'm') + "MN" + std::string(2'000, 'n') + "Close";
        GlazeCore::GlazeBook book;
        book.recipes = {glaze(huge, {line("silica", 60), line("kaolin", 40)})};
        auto window = OrzaTest::makeWindow(book);
        BlendSheet sheet(*window->document(), book.recipes[0].id, BlendMode::line);
        QLineEdit* prefix = sheet.prefixField();
        const qsizetype cut = prefix->text().indexOf(QStringLiteral("\u2026"));
        QVERIFY(cut > 0);
        const std::string head = prefix->text().left(cut).toStdString();
        const std::string tail = prefix->text().mid(cut + 1).toStdString();

        prefix->setCursorPosition(int(cut));
        QTest::keyClicks(prefix, QStringLiteral("K"));
        std::string whole = huge;
        whole.insert(head.size(), "K");
        QCOMPARE(sheet.namePrefix(), whole);

        prefix->setCursorPosition(int(cut + 2));
        QTest::keyClick(prefix, Qt::Key_Backspace);
        whole.erase(whole.size() - tail.size() - 1, 1);
        QCOMPARE(sheet.namePrefix(), whole);
        QTest::keyClick(prefix, Qt::Key_Left);
        QTest::keyClick(prefix, Qt::Key_Delete);
        whole.erase(head.size() + 1, 1);
        QCOMPARE(sheet.namePrefix(), whole);
        QCOMPARE(prefix->text(), QString::fromStdString(head + "K\u2026" + tail));
        QCOMPARE(whole.size(), huge.size() - 1);
        sheet.addTilesToBook(sheet.tiles());
        QVERIFY(window->document()->book().recipes.at(1).name.starts_with(head + "K\u2026" + tail));
    }

    // The controls hold their ranges and choices; the tiles follow them and the book at once.
    void controlsAndTheBookDriveTheTiles() {
        GlazeCore::GlazeBook book = sample();
        auto window = OrzaTest::makeWindow(book);
        BookDocument& document = *window->document();
        BlendSheet sheet(document, book.recipes[2].id, BlendMode::grid);
        QCOMPARE(sheet.cornerPicker(3)->accessibleName(), QStringLiteral("Recipe Bottom right"));
        QCOMPARE(sheet.cornerPicker(0)->currentText(), QString::fromStdString(book.recipes[2].name));
        sheet.cornerPicker(3)->setCurrentIndex(5);
        emit sheet.cornerPicker(3)->activated(5);
        QCOMPARE(sheet.choice().corners[3], book.recipes[5].id);

        // A reader hears which corner a picker chooses, then its recipe, in every mode.
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(sheet.cornerPicker(0));
        QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Recipe Top left"));
        QCOMPARE(spoken->text(QAccessible::Value), QString::fromStdString(book.recipes[2].name));

        sheet.modeButton(BlendMode::line)->click();
        QCOMPARE(sheet.tiles().size(), std::size_t(5));
        QVERIFY(!sheet.cornerPicker(2)->isVisibleTo(&sheet));
        QCOMPARE(sheet.cornerLabel(0)->text(), QStringLiteral("A"));
        QCOMPARE(QAccessible::queryAccessibleInterface(sheet.cornerPicker(0))->text(QAccessible::Name),
                 QStringLiteral("Recipe A"));
        sheet.modeButton(BlendMode::grid)->click();
        QCOMPARE(sheet.choice().corners[3], book.recipes[5].id);
        QCOMPARE(sheet.cornerLabel(0)->text(), QStringLiteral("Top left"));

        for (const auto& [stepper, low, high] : {std::tuple{sheet.stepsStepper(), 2, 21},
                                                 {sheet.divisionsStepper(), 1, 10},
                                                 {sheet.rowsStepper(), 2, 10},
                                                 {sheet.columnsStepper(), 2, 10}}) {
            stepper->setValue(0);
            QCOMPARE(stepper->value(), low);
            stepper->setValue(99);
            QCOMPARE(stepper->value(), high);
        }
        QCOMPARE(sheet.tiles().size(), std::size_t(100));
        QCOMPARE(sheet.grid()->columnCount(400), 10);
        sheet.divisionsStepper()->setValue(1);
        QCOMPARE(sheet.divisionsStepper()->text(), QStringLiteral("Divisions: 1 (3 tiles)"));
        QCOMPARE(sheet.divisionsStepper()->accessibleDescription(), QStringLiteral("1 divisions, 3 tiles"));
        sheet.modeButton(BlendMode::triaxial)->click();
        QCOMPARE(sheet.tiles().size(), std::size_t(3));
        QCOMPARE(sheet.grid()->columnCount(3 * 170 + 2 * 8 + 4), 3);
        QCOMPARE(sheet.grid()->columnCount(3 * 170 + 2 * 8 + 3), 2);

        // A corner's recipe leaving the book empties the grid and disables adding.
        sheet.modeButton(BlendMode::line)->click();
        document.removeRecipe(sheet.choice().corners[1]);
        QVERIFY(sheet.tiles().empty());
        QVERIFY(!sheet.addButton()->isEnabled());
        QCOMPARE(sheet.emptyView()->description(), QStringLiteral("Choose 2 recipes to blend."));
        QCOMPARE(sheet.cornerPicker(1)->currentIndex(), -1);
        sheet.addTilesToBook(sheet.tiles());
        QVERIFY(!sheet.addedMessage());
    }

    // A number typed into a stepper is never cut: each whole number in the range is shown at once, anything else
    // stands marked, the tiles showing the number from before the edit, and gives way to that number when the edit
    // ends. Return ends the edit and adds nothing: "Add Tiles to Book" only ever adds the tiles on screen.
    void typedNumbersAreShownWholeOrNotAtAll() {
        auto window = OrzaTest::makeWindow(sample());
        QVERIFY(OrzaTest::showActive(*window));
        BookDocument& document = *window->document();
        const std::size_t recipes = document.book().recipes.size();
        BlendSheet* sheet = BlendSheet::open(window->paneContext(), document.book().recipes[0].id, BlendMode::line);
        sheet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), sheet);

        QSpinBox* steps = sheet->stepsStepper();
        for (const QString& refused : {QStringLiteral("25"), QStringLiteral("7.5"), QStringLiteral("1")}) {
            type(steps, refused);
            QCOMPARE(steps->text(), QStringLiteral("Steps: ") + refused);
            QCOMPARE(steps->accessibleDescription(), QStringLiteral("Enter a whole number from 2 to 21."));
            QCOMPARE(sheet->choice().steps, 5);
            QCOMPARE(sheet->countLabel()->text(), QStringLiteral("5 tiles"));
            QTest::keyClick(steps, Qt::Key_Tab);
            QCOMPARE(steps->text(), QStringLiteral("Steps: 5"));
            QCOMPARE(steps->accessibleDescription(), QStringLiteral("5 steps"));
            QCOMPARE(sheet->tiles().size(), std::size_t(5));
        }
        // A step from a refused text, or Return on one or on a blank stepper, only takes it back.
        type(steps, QStringLiteral("25"));
        QTest::keyClick(steps, Qt::Key_Up);
        QCOMPARE(steps->text(), QStringLiteral("Steps: 5"));
        QCOMPARE(steps->accessibleDescription(), QStringLiteral("5 steps"));
        for (const QString& text : {QStringLiteral("25"), QString()}) {
            type(steps, text);
            if (text.isEmpty()) QTest::keyClick(steps, Qt::Key_Backspace);
            QTest::keyClick(steps, Qt::Key_Return);
            QCOMPARE(steps->text(), QStringLiteral("Steps: 5"));
            QCOMPARE(document.book().recipes.size(), recipes);
        }
        // A number in the range is shown as it is typed; Return confirms it and adds nothing.
        type(steps, QStringLiteral("12"));
        QCOMPARE(sheet->choice().steps, 12);
        QCOMPARE(sheet->countLabel()->text(), QStringLiteral("12 tiles"));
        QCOMPARE(int(sheet->grid()->cards().size()), 12);
        QTest::keyClick(steps, Qt::Key_Return);
        QCOMPARE(steps->value(), 12);
        QCOMPARE(document.book().recipes.size(), recipes);
        type(steps, QStringLiteral("21"));
        QCOMPARE(sheet->countLabel()->text(), QStringLiteral("21 tiles"));
        QTest::keyClick(steps, Qt::Key_Tab);
        QCOMPARE(steps->value(), 21);
        QCOMPARE(steps->accessibleDescription(), QStringLiteral("21 steps"));

        // The divisions' own count follows the typing too, the typed text kept as it is.
        sheet->modeButton(BlendMode::triaxial)->click();
        WholeNumberStepper* divisions = sheet->divisionsStepper();
        type(divisions, QStringLiteral("8"));
        QCOMPARE(divisions->text(), QStringLiteral("Divisions: 8 (45 tiles)"));
        QCOMPARE(sheet->countLabel()->text(), QStringLiteral("45 tiles"));
        QTest::keyClick(divisions, Qt::Key_Backspace);
        QTest::keyClicks(divisions, QStringLiteral("11"));
        QCOMPARE(divisions->text(), QStringLiteral("Divisions: 11 (21 tiles)"));
        QCOMPARE(divisions->accessibleDescription(), QStringLiteral("Enter a whole number from 1 to 10."));
        QCOMPARE(sheet->countLabel()->text(), QStringLiteral("21 tiles"));
        QTest::keyClick(divisions, Qt::Key_Tab);
        QCOMPARE(divisions->text(), QStringLiteral("Divisions: 5 (21 tiles)"));

        sheet->modeButton(BlendMode::grid)->click();
        type(sheet->columnsStepper(), QStringLiteral("10.0"));
        QTest::keyClick(sheet->columnsStepper(), Qt::Key_Tab);
        type(sheet->rowsStepper(), QStringLiteral("3"));
        QTest::keyClick(sheet->rowsStepper(), Qt::Key_Tab);
        QCOMPARE(sheet->choice().columns, 5);
        QCOMPARE(sheet->choice().rows, 3);
        QCOMPARE(sheet->tiles().size(), std::size_t(15));
        QCOMPARE(document.book().recipes.size(), recipes);
    }

    // A fraction or a grouped number is no whole number in any locale: nothing is dropped from it to make one.
    void separatorsAreNeverDropped_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("en") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("de") << QLocale(QLocale::German, QLocale::Germany);
    }
    void separatorsAreNeverDropped() {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        auto window = OrzaTest::makeWindow(sample());
        QVERIFY(OrzaTest::showActive(*window));
        BlendSheet* sheet =
            BlendSheet::open(window->paneContext(), window->document()->book().recipes[0].id, BlendMode::line);
        sheet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), sheet);
        for (const QString& text : {QStringLiteral("1.5"), QStringLiteral("1,5")}) {
            for (const Qt::Key end : {Qt::Key_Tab, Qt::Key_Return}) {
                type(sheet->stepsStepper(), text);
                QCOMPARE(sheet->choice().steps, 5);
                QTest::keyClick(sheet->stepsStepper(), end);
                QCOMPARE(sheet->stepsStepper()->value(), 5);
                QCOMPARE(sheet->choice().steps, 5);
            }
        }
    }

    // The blend type reads as a group of radio buttons, the chosen one checked; Tab reaches the chosen one only,
    // however the sheet was opened, and a reader's press chooses another.
    void blendTypeReadsAsRadioButtons_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en") << "en_US";
        QTest::newRow("de") << "de_DE";
    }
    void blendTypeReadsAsRadioButtons() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        auto window = OrzaTest::makeWindow(sample());
        QVERIFY(OrzaTest::showActive(*window));
        QPointer<BlendSheet> sheet =
            BlendSheet::open(window->paneContext(), window->document()->book().recipes[0].id, BlendMode::triaxial);
        sheet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), sheet.data());
        const std::array modes{BlendMode::line, BlendMode::grid, BlendMode::triaxial};
        QAccessibleInterface* group =
            QAccessible::queryAccessibleInterface(sheet->modeButton(BlendMode::line)->parentWidget());
        QCOMPARE(group->role(), QAccessible::Grouping);
        QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Blend type"));
        const auto readChecked = [&] {
            std::vector<BlendMode> checked;
            for (const BlendMode mode : modes) {
                QAccessibleInterface* segment = QAccessible::queryAccessibleInterface(sheet->modeButton(mode));
                if (segment->role() != QAccessible::RadioButton) return std::vector<BlendMode>{};
                if (segment->state().checked) checked.push_back(mode);
            }
            return checked;
        };
        // Tab walks the whole sheet once round and meets the chosen segment alone.
        const auto segmentsTabbedTo = [&] {
            std::vector<BlendMode> reached;
            sheet->prefixField()->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < 40; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                for (const BlendMode mode : modes)
                    if (QApplication::focusWidget() == sheet->modeButton(mode) &&
                        std::find(reached.begin(), reached.end(), mode) == reached.end()) {
                        const auto* ring =
                            sheet->modeButton(mode)->findChild<FocusRing*>(QString(), Qt::FindDirectChildrenOnly);
                        if (ring && ring->isVisible()) reached.push_back(mode); // reached and seen to be
                    }
            }
            return reached;
        };
        QCOMPARE(readChecked(), std::vector{BlendMode::triaxial});
        QCOMPARE(segmentsTabbedTo(), std::vector{BlendMode::triaxial});

        QAccessibleInterface* line = QAccessible::queryAccessibleInterface(sheet->modeButton(BlendMode::line));
        QVERIFY(line->actionInterface());
        line->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(sheet->choice().mode, BlendMode::line);
        QCOMPARE(readChecked(), std::vector{BlendMode::line});
        QCOMPARE(segmentsTabbedTo(), std::vector{BlendMode::line});

        // The arrows move the choice to the segment beside it (Line, Triaxial, Grid), and the focus with it.
        sheet->modeButton(BlendMode::line)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(sheet->choice().mode, BlendMode::triaxial);
        QCOMPARE(QApplication::focusWidget(), sheet->modeButton(BlendMode::triaxial));
        QCOMPARE(readChecked(), std::vector{BlendMode::triaxial});
    }

    // A reader hears a stepper's number as it is typed, as the tiles follow it, not only when the edit ends; a
    // text that is no number in the range reads as the number still shown.
    void aTypedStepIsReadAtOnce_data() { blendTypeReadsAsRadioButtons_data(); }
    void aTypedStepIsReadAtOnce() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        auto window = OrzaTest::makeWindow(sample());
        QVERIFY(OrzaTest::showActive(*window));
        BlendSheet* sheet =
            BlendSheet::open(window->paneContext(), window->document()->book().recipes[0].id, BlendMode::line);
        sheet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), sheet);
        QSpinBox* steps = sheet->stepsStepper();
        QAccessibleInterface* stepper = QAccessible::queryAccessibleInterface(steps);
        QCOMPARE(stepper->role(), QAccessible::SpinBox);
        QVERIFY(stepper->valueInterface());
        OrzaTest::AccessibleEvents events;

        type(steps, QStringLiteral("12"));
        QCOMPARE(stepper->valueInterface()->currentValue().toInt(), 12);
        QCOMPARE(stepper->text(QAccessible::Value), QStringLiteral("Steps: 12"));
        const auto told = events.of(QAccessible::ValueChanged);
        QVERIFY(!told.isEmpty());
        QCOMPARE(told.last().changedValue.toInt(), 12);
        QCOMPARE(sheet->choice().steps, 12);
        QTest::keyClick(steps, Qt::Key_Tab);

        type(steps, QStringLiteral("25"));
        QCOMPARE(stepper->valueInterface()->currentValue().toInt(), 12);
        QCOMPARE(stepper->text(QAccessible::Value), QStringLiteral("Steps: 25"));
        QTest::keyClick(steps, Qt::Key_Tab);
        QCOMPARE(stepper->valueInterface()->currentValue().toInt(), 12);

        // The arrows' actions step it as the keys do.
        stepper->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(steps->value(), 13);
        QCOMPARE(events.of(QAccessible::ValueChanged).last().changedValue.toInt(), 13);
    }

    // Return adds wherever the focus is; Escape closes, and closing clears the window's blend mode.
    void keysAndTheWindowModel() {
        auto window = OrzaTest::makeWindow(sample());
        QVERIFY(OrzaTest::showActive(*window));
        const std::size_t recipes = window->document()->book().recipes.size();
        QPointer<BlendSheet> sheet =
            BlendSheet::open(window->paneContext(), window->document()->book().recipes[0].id, BlendMode::triaxial);
        QCOMPARE(BlendSheet::open(window->paneContext(), window->document()->book().recipes[1].id, BlendMode::line),
                 sheet.data());
        sheet->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), sheet.data());
        sheet->prefixField()->setFocus();
        QTest::keyClick(sheet->prefixField(), Qt::Key_Return);
        QCOMPARE(window->document()->book().recipes.size(), recipes + 21);
        QTest::keyClick(sheet, Qt::Key_Escape);
        QVERIFY(!window->model()->blendMode());
        OrzaTest::settle();
        QVERIFY(!sheet);

        // Whoever presents the sheet when the mode is set finds the one already up.
        const auto id = window->document()->book().recipes[0].id;
        const auto presenter = connect(window->model(), &WindowModel::blendModeChanged, window.get(), [&] {
            if (const auto mode = window->model()->blendMode()) BlendSheet::open(window->paneContext(), id, *mode);
        });
        QPointer<BlendSheet> again = BlendSheet::open(window->paneContext(), id, BlendMode::grid);
        disconnect(presenter);
        QCOMPARE(window->findChildren<BlendSheet*>().size(), 1);
        window->model()->setBlendMode(std::nullopt);
        QVERIFY(again->isHidden());
    }

    // The sheet and the document draw the tile limit in one place: a blend that brings the book's tiles to
    // exactly the limit goes in through either of them; a blend one tile larger is refused by both, the book
    // left as it was and the sheet saying why.
    void theSheetAndTheDocumentAgreeOnTheTileLimit() {
        const auto limit = std::size_t(GlazeCore::GlazeBookValidation::maxItems);
        for (const std::size_t room : {std::size_t(5), std::size_t(4)}) {
            GlazeCore::GlazeBook book;
            book.recipes = {glaze("Celadon", {line("silica", 10)}), glaze("Tenmoku", {line("kaolin", 10)})};
            for (std::size_t i = 0; i < limit - room; ++i)
                book.tests.push_back(OrzaTest::tile(book.recipes[0].id));
            BookDocument document(GlazeDocument::make(std::move(book), false));
            BlendSheet sheet(document, document.book().recipes[0].id, BlendMode::line);
            const std::vector<BlendTile> tiles = sheet.tiles();
            QCOMPARE(tiles.size(), std::size_t(5));
            const bool fits = tiles.size() <= room;

            std::vector<GlazeCore::Recipe> recipes;
            std::vector<GlazeCore::TestTile> entries;
            for (const BlendTile& tile : tiles) {
                recipes.push_back(tile.recipe);
                recipes.back().id = GlazeCore::Uuid::random();
                entries.push_back(OrzaTest::tile(recipes.back().id));
            }
            QCOMPARE(document.appendRecipesAndTiles(recipes, entries, QStringLiteral("Add")).has_value(), fits);
            QCOMPARE(document.book().tests.size(), fits ? limit : limit - room);
            if (fits) {
                QVERIFY(!document.canAddTest());
                document.undoStack()->undo();
            }

            sheet.addTilesToBook(tiles);
            QCOMPARE(document.book().tests.size(), fits ? limit : limit - room);
            QCOMPARE(document.book().recipes.size(), fits ? std::size_t(7) : std::size_t(2));
            if (fits)
                QVERIFY(sheet.addedMessage() && sheet.addedMessage()->startsWith(QStringLiteral("Added 5 recipes")));
            else
                QCOMPARE(sheet.addedMessage(),
                         std::optional(QStringLiteral("The book cannot hold 5 more test tiles.")));
        }
    }

    // Tiles that would make a book the file cannot hold again are refused whole, with the reason.
    void tilesTooLargeForTheBookAreRefused() {
        GlazeCore::GlazeBook book;
        std::vector<GlazeCore::RecipeLine> first, second;
        for (int i = 0; i < 6000; ++i) {
            first.push_back(line("a-" + std::to_string(i), 1));
            second.push_back(line("b-" + std::to_string(i), 1));
        }
        book.recipes = {glaze("Wide", first), glaze("Wider", second)};
        auto window = OrzaTest::makeWindow(book);
        BlendSheet sheet(*window->document(), book.recipes[0].id, BlendMode::line);
        sheet.stepsStepper()->setValue(2); // the ends alone fit; no mix is made
        sheet.addTilesToBook(sheet.tiles());
        QCOMPARE(window->document()->book().recipes.size(), std::size_t(4));
        sheet.stepsStepper()->setValue(3);
        const int beeps = SystemBeep::count();
        sheet.addTilesToBook(sheet.tiles());
        QCOMPARE(SystemBeep::count(), beeps + 1);
        QCOMPARE(window->document()->book().recipes.size(), std::size_t(4));
        QVERIFY(sheet.addedMessage() && !sheet.addedMessage()->startsWith(QStringLiteral("Added")));
    }
};

QTEST_MAIN(BlendSheetTest)
#include "BlendSheetTest.moc"
