#include "Orza/testlog/TestLogPage.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/models/WindowModel.h"
#include "Orza/sidebar/SidebarRows.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/testlog/TestLogModel.h"
#include "Orza/testlog/TestSearchBar.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/testlog/TileCodeField.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/widgets/ListFootButtons.h"
#include "Orza/window/BookWindow.h"
#include "support/AccessibleEvents.h"
#include "support/PaneHost.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include <chrono>

using namespace Orza;
using GlazeCore::Uuid;

namespace {

GlazeCore::Date day(int year, unsigned month, unsigned dayOfMonth) {
    return std::chrono::sys_days{std::chrono::year{year} / month / dayOfMonth} + std::chrono::hours{12};
}

/// Celadon uses whiting; T-002 and T-003 were fired the same day, the latest; the last tile has no code and
/// a recipe that was deleted.
GlazeCore::GlazeBook logBook() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon", "Tenmoku", "Shino"});
    book.recipes[0].lines = {{Uuid::random(), "whiting", 20, false}};
    book.recipes[1].lines = {{Uuid::random(), "kaolin", 20, false}};
    const auto tile = [&](std::size_t recipe, std::string code, std::string cone, std::string atmosphere,
                          std::string notes, GlazeCore::Date date) {
        GlazeCore::TestTile made =
            OrzaTest::tile(recipe < book.recipes.size() ? book.recipes[recipe].id : Uuid::random(), cone, code);
        made.atmosphere = std::move(atmosphere);
        made.notes = std::move(notes);
        made.date = date;
        book.tests.push_back(made);
    };
    tile(0, "T-001", "6", "Oxidation", "glossy with pinholes", day(2024, 3, 5));
    tile(1, "T-002", "10", "Reduction", "runs on the foot", day(2024, 4, 1));
    tile(2, "T-003", "6", "Reduction", "crawled", day(2024, 4, 1));
    tile(9, "", "6", "Soda", "", day(2023, 1, 9));
    return book;
}

/// A book window on its Tests page.
struct Shown {
    std::unique_ptr<BookWindow> window;

    explicit Shown(GlazeCore::GlazeBook book = logBook()) : Shown(OrzaTest::makeWindow(std::move(book))) {}
    explicit Shown(std::unique_ptr<BookWindow> made) : window(std::move(made)) {
        window->model()->setSelection(SidebarItem::tests());
    }

    TestLogPage& page() const { return *qobject_cast<TestLogPage*>(window->detail()); }
    WindowModel& model() const { return *window->model(); }
    BookDocument& document() const { return *window->document(); }
    const GlazeCore::TestTile& tile(std::size_t i) const { return document().book().tests.at(i); }
    QLineEdit* field() const { return page().searchBar()->searchField(); }

    QString cell(int row, int column, int role = Qt::DisplayRole) const {
        const TestLogModel* rows = page().tableModel();
        return rows->index(row, column).data(role).toString();
    }
    QStringList codes() const {
        QStringList shown;
        for (int row = 0; row < page().tableModel()->rowCount(); ++row)
            shown << cell(row, TestLogModel::code);
        return shown;
    }
    /// The code in the row the table highlights, if any.
    QString highlighted() const {
        const QModelIndexList rows = page().table()->selectionModel()->selectedRows();
        return rows.isEmpty() ? QString() : cell(rows.first().row(), TestLogModel::code);
    }
    /// The tile code the editor shows, or the empty state's title.
    QString detail() const {
        OrzaTest::settle();
        if (TestTileEditor* editor = page().editor()) return editor->codeField()->lineEdit()->text();
        return qobject_cast<ContentUnavailableView*>(page().detail())->title();
    }
    QString count() const { return page().searchBar()->countLabel()->text(); }

    void type(const QString& text) const {
        field()->clear();
        QTest::keyClicks(field(), text);
    }
    void choose(QComboBox* menu, const QString& title) const {
        const int index = menu->findText(title);
        QVERIFY2(index >= 0, qPrintable(title));
        menu->setCurrentIndex(index);
        emit menu->activated(index);
    }
};

QStringList items(const QComboBox* menu) {
    QStringList titles;
    for (int i = 0; i < menu->count(); ++i)
        titles << menu->itemText(i);
    return titles;
}

} // namespace

class TestLogPageTest : public OrzaTest::WindowSuite {
    Q_OBJECT
    void setUp() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void tearDown() override { QLocale::setDefault(QLocale::c()); }

private slots:
    // Rows in book order with their four cells; the newest tile (the first of equals) is selected on arrival.
    void tableShowsTheTilesAndSelectsTheNewest() {
        Shown s;
        QCOMPARE(s.codes(), (QStringList{"T-001", "T-002", "T-003", "\u2013"}));
        QCOMPARE(s.model().testSelection(), std::optional(s.tile(1).id));
        QCOMPARE(s.highlighted(), QStringLiteral("T-002"));
        QCOMPARE(s.detail(), QStringLiteral("T-002"));
        QCOMPARE(s.cell(0, TestLogModel::date), QStringLiteral("3/5/2024"));
        QCOMPARE(s.cell(1, TestLogModel::firing), QStringLiteral("10 \u00B7 Reduction"));
        QCOMPARE(s.cell(1, TestLogModel::firing, Qt::ToolTipRole), QStringLiteral("Cone 10, Reduction"));
        QCOMPARE(s.cell(1, TestLogModel::recipe), QStringLiteral("Tenmoku"));
        QCOMPARE(s.cell(3, TestLogModel::recipe), QStringLiteral("Deleted recipe"));
        QCOMPARE(s.cell(0, TestLogModel::code, Qt::AccessibleTextRole), QStringLiteral("Code T-001"));
        QCOMPARE(s.cell(3, TestLogModel::code, Qt::AccessibleTextRole), QStringLiteral("No code"));
        QCOMPARE(s.count(), QStringLiteral("4 tiles"));
        QVERIFY(s.page().sharedCodeRow()->isHidden());
        QCOMPARE(s.window->windowTitle().section(QStringLiteral(" \u2014 "), 1), QStringLiteral("Test Log"));

        // The rows follow the book: a renamed recipe, a tile's new cone.
        s.document().setRecipeName(s.document().book().recipes[1].id, "Temmoku");
        s.document().setTileCone(s.tile(1).id, "9");
        QCOMPARE(s.cell(1, TestLogModel::recipe), QStringLiteral("Temmoku"));
        QCOMPARE(s.cell(1, TestLogModel::firing), QStringLiteral("9 \u00B7 Reduction"));
    }

    // The search finds codes, recipes, materials and note words; a typed code selects its tile at once, and
    // Return selects the one tile a search leaves.
    void searchFindsAndSelects() {
        Shown s;
        const auto search = [&](const QString& text) {
            s.type(text);
            return s.codes();
        };
        QCOMPARE(search("whiting"), QStringList{"T-001"}); // a material of Celadon
        QCOMPARE(s.count(), QStringLiteral("1 of 4"));
        QCOMPARE(s.page().searchBar()->countLabel()->accessibleName(), QStringLiteral("1 of 4 tiles shown"));
        QVERIFY(s.page().searchBar()->clearButton()->isVisibleTo(&s.page()));
        QCOMPARE(search("tenmoku"), QStringList{"T-002"});
        QCOMPARE(search("deleted"), QStringList{"\u2013"});
        QCOMPARE(search("pinholes"), QStringList{"T-001"});
        QCOMPARE(search("cone 6 crawled"), QStringList{"T-003"});
        QCOMPARE(search("zzz"), QStringList{});
        QVERIFY(s.page().noMatchView()->isVisibleTo(&s.page()));
        QCOMPARE(s.detail(), QStringLiteral("T-002")); // the selection stays on screen
        s.page().searchBar()->clearButton()->click();
        QCOMPARE(s.codes().size(), 4);
        QVERIFY(!s.page().searchBar()->clearButton()->isVisibleTo(&s.page()));
        QVERIFY(s.page().noMatchView()->isHidden());
        QCOMPARE(search("   "), s.codes()); // blanks are no search, but the clear button offers to remove them
        QCOMPARE(s.count(), QStringLiteral("4 tiles"));
        QVERIFY(s.page().searchBar()->clearButton()->isVisibleTo(&s.page()));

        // A code selects its tile as it is typed, also one the cone menu hides.
        s.choose(s.page().searchBar()->conePicker(), QStringLiteral("Cone 10"));
        s.type(QStringLiteral("t-3"));
        QCOMPARE(s.model().testSelection(), std::optional(s.tile(2).id));
        QCOMPARE(s.highlighted(), QString());
        QCOMPARE(s.detail(), QStringLiteral("T-003"));

        // Return selects the one tile shown; with two shown, the selection stays.
        s.choose(s.page().searchBar()->conePicker(), QStringLiteral("Any cone"));
        s.type(QStringLiteral("foot"));
        QCOMPARE(s.model().testSelection(), std::optional(s.tile(2).id));
        QTest::keyClick(s.field(), Qt::Key_Return);
        QCOMPARE(s.model().testSelection(), std::optional(s.tile(1).id));
        QCOMPARE(s.highlighted(), QStringLiteral("T-002"));
        s.type(QStringLiteral("reduction"));
        QTest::keyClick(s.field(), Qt::Key_Return);
        QCOMPARE(s.model().testSelection(), std::optional(s.tile(1).id));
        QTest::keyClick(s.field(), Qt::Key_Escape);
        QCOMPARE(s.model().testQuery(), std::string());
    }

    // Typing a search moves the table's current tile, but only the field the keys go to tells a reader it
    // has the focus.
    void searchTypingLeavesTheReaderInTheField_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en") << "en_US";
        QTest::newRow("de") << "de_DE";
    }
    void searchTypingLeavesTheReaderInTheField() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        Shown s;
        QVERIFY(OrzaTest::showActive(*s.window));
        s.field()->setFocus(Qt::OtherFocusReason);
        OrzaTest::AccessibleEvents events;
        QTest::keyClicks(s.field(), QStringLiteral("t-3"));
        QTest::keyClick(s.field(), Qt::Key_Backspace);
        QTest::keyClicks(s.field(), QStringLiteral("2"));
        QCOMPARE(s.detail(), QStringLiteral("T-002"));
        for (const auto& focus : events.of(QAccessible::Focus)) {
            QCOMPARE(focus.object.data(), static_cast<QObject*>(s.field()));
            QCOMPARE(focus.child, -1);
        }
    }

    // The menus list the values in use; a chosen cone stays listed after its last tile changed.
    void filtersNarrowTheTable() {
        Shown s;
        QComboBox* cone = s.page().searchBar()->conePicker();
        QComboBox* atmosphere = s.page().searchBar()->atmospherePicker();
        QCOMPARE(items(cone), (QStringList{"Any cone", "Cone 6", "Cone 10"}));
        QCOMPARE(items(atmosphere), (QStringList{"Any atmosphere", "Oxidation", "Reduction", "Soda"}));

        s.choose(cone, QStringLiteral("Cone 10"));
        QCOMPARE(s.model().testCone(), std::optional<std::string>("10"));
        // A reader hears what each menu is for, then the entry chosen.
        QCOMPARE(QAccessible::queryAccessibleInterface(cone)->text(QAccessible::Name), QStringLiteral("Cone filter"));
        QCOMPARE(QAccessible::queryAccessibleInterface(cone)->text(QAccessible::Value), QStringLiteral("Cone 10"));
        QCOMPARE(QAccessible::queryAccessibleInterface(atmosphere)->text(QAccessible::Name),
                 QStringLiteral("Atmosphere filter"));
        QCOMPARE(s.codes(), QStringList{"T-002"});
        QCOMPARE(s.count(), QStringLiteral("1 of 4"));
        s.document().setTileCone(s.tile(1).id, "11");
        QCOMPARE(s.codes(), QStringList{});
        QVERIFY(s.page().noMatchView()->isVisibleTo(&s.page()));
        QCOMPARE(items(cone), (QStringList{"Any cone", "Cone 6", "Cone 10", "Cone 11"}));
        QCOMPARE(cone->currentText(), QStringLiteral("Cone 10"));
        s.document().undoStack()->undo();
        QCOMPARE(s.codes(), QStringList{"T-002"});

        s.choose(cone, QStringLiteral("Any cone"));
        s.choose(atmosphere, QStringLiteral("Reduction"));
        QCOMPARE(s.codes(), (QStringList{"T-002", "T-003"}));
        s.choose(cone, QStringLiteral("Cone 6"));
        QCOMPARE(s.codes(), QStringList{"T-003"});
        // A model change from elsewhere shows in the menus.
        s.model().setTestAtmosphere(std::nullopt);
        QCOMPARE(atmosphere->currentText(), QStringLiteral("Any atmosphere"));
        QCOMPARE(s.codes(), (QStringList{"T-001", "T-003", "\u2013"}));
    }

    // The selection is a tile id: hidden by a search it stays, and it outlives an undo and a revert.
    void selectionSurvivesSearchUndoAndRevert() {
        const QString path = filePath(QStringLiteral("log.orza"));
        OrzaTest::saveBook(logBook(), path);
        Shown s(std::make_unique<BookWindow>(std::make_unique<BookDocument>(GlazeDocument::read(path), path)));
        s.page().table()->selectRow(0);
        QCOMPARE(s.model().testSelection(), std::optional(s.tile(0).id));
        s.type(QStringLiteral("tenmoku"));
        QCOMPARE(s.highlighted(), QString());
        QCOMPARE(s.detail(), QStringLiteral("T-001"));
        s.type(QString());
        QCOMPARE(s.highlighted(), QStringLiteral("T-001"));

        TestTileEditor* editor = s.page().editor();
        editor->notesEditor()->setPlainText(QStringLiteral("thin on the rim"));
        QCOMPARE(s.tile(0).notes, std::string("thin on the rim"));
        s.document().undoStack()->undo();
        QCOMPARE(s.page().editor(), editor);
        QCOMPARE(s.highlighted(), QStringLiteral("T-001"));

        s.document().setTileNotes(s.tile(0).id, "unsaved");
        s.document().revert();
        OrzaTest::settle();
        QCOMPARE(s.tile(0).notes, std::string("glossy with pinholes"));
        QCOMPARE(s.model().testSelection(), std::optional(s.tile(0).id));
        QCOMPARE(s.highlighted(), QStringLiteral("T-001"));
        QCOMPARE(s.detail(), QStringLiteral("T-001"));
        QCOMPARE(s.page().editor()->notesEditor()->toPlainText(), QStringLiteral("glossy with pinholes"));
    }

    // Add Test clears the search so the new tile shows; Delete removes the selected tile, shown or not; each
    // is one undo step.
    void addAndDeleteAreOneStepEach() {
        Shown s;
        const std::size_t tiles = s.document().book().tests.size();
        s.model().setTestSelection(s.tile(1).id); // Tenmoku's tile
        s.type(QStringLiteral("zzz"));
        s.choose(s.page().searchBar()->conePicker(), QStringLiteral("Cone 6"));
        const int steps = s.document().undoStack()->count();
        s.page().footButtons()->addButton()->click();
        QCOMPARE(s.document().book().tests.size(), tiles + 1);
        const GlazeCore::TestTile& added = s.document().book().tests.back();
        QCOMPARE(added.code, std::string("T-004"));
        QCOMPARE(added.recipeID, s.document().book().recipes[1].id);
        QCOMPARE(s.model().testQuery(), std::string());
        QCOMPARE(s.model().testCone(), std::nullopt);
        QCOMPARE(s.field()->text(), QString());
        QCOMPARE(s.model().testSelection(), std::optional(added.id));
        QCOMPARE(s.highlighted(), QStringLiteral("T-004"));
        QCOMPARE(s.detail(), QStringLiteral("T-004"));
        QCOMPARE(s.document().undoStack()->count(), steps + 1);
        s.document().undoStack()->undo();
        QCOMPARE(s.codes().size(), int(tiles));
        QCOMPARE(s.detail(), QStringLiteral("No Test Selected"));

        // Deleting a tile the search hides.
        s.model().setTestSelection(s.tile(0).id);
        s.type(QStringLiteral("tenmoku"));
        s.page().footButtons()->removeButton()->click();
        QCOMPARE(s.document().book().tests.size(), tiles - 1);
        QCOMPARE(s.model().testSelection(), std::nullopt);
        QVERIFY(!s.page().footButtons()->removeButton()->isEnabled());
        QCOMPARE(s.detail(), QStringLiteral("No Test Selected"));
        QCOMPARE(s.codes(), QStringList{"T-002"});
        s.document().undoStack()->undo();
        QCOMPARE(s.tile(0).code, std::string("T-001"));
        s.type(QString());
        QCOMPARE(s.codes(), (QStringList{"T-001", "T-002", "T-003", "\u2013"}));

        // The table's own delete key.
        QVERIFY(OrzaTest::showActive(*s.window));
        s.page().table()->setFocus();
        s.page().table()->selectRow(2);
        QTest::keyClick(s.page().table(), Qt::Key_Delete);
        QCOMPARE(s.codes(), (QStringList{"T-001", "T-002", "\u2013"}));
        QCOMPARE(s.document().undoStack()->count(), steps + 1);
    }

    // A list dragged wider keeps that width as the window narrows and widens again, giving way only while the
    // detail would go below its usual least.
    void aDraggedListWidthIsKept() {
        OrzaTest::PaneHost host(logBook());
        TestLogPage page(host.context());
        page.resize(1100, 600);
        page.show();
        OrzaTest::settle();
        auto* split = page.findChild<QSplitter*>();
        QCOMPARE(split->sizes().value(0), 420);
        QSplitterHandle* handle = split->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(100, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(100, 0));
        QCOMPARE(split->sizes().value(0), 520);

        page.resize(800, 600);
        OrzaTest::settle();
        QCOMPARE(split->sizes().value(1), 360);
        page.resize(1100, 600);
        OrzaTest::settle();
        QCOMPARE(split->sizes().value(0), 520);
    }

    // Add Test gives the new tile's code the keyboard, and a window too narrow for the page scrolls it into view.
    void theNewTilesCodeComesIntoView() {
        Shown s;
        s.window->resize(BookWindow::minimumSize);
        QVERIFY(OrzaTest::showActive(*s.window));
        // The page and the scroll area around it settle their widths over a few turns of the event loop, each
        // posting the next: counted in turns, which no load on the machine shortens as it shortens a wait.
        for (int turn = 0; turn < 10; ++turn)
            OrzaTest::settle();
        QScrollBar* across = s.window->findChild<QScrollArea*>()->horizontalScrollBar();
        across->setValue(0);
        QLineEdit* shownCode = s.page().editor()->codeField()->lineEdit();
        QVERIFY(OrzaTest::shownPart(shownCode, shownCode->rect()).isEmpty()); // the detail is out of view

        s.page().addTestTile();
        QLineEdit* code = s.page().editor()->codeField()->lineEdit();
        QVERIFY(code->hasFocus());
        OrzaTest::settle();
        QCOMPARE(OrzaTest::shownPart(code, code->rect()).size(), code->size());
    }

    // Without recipes there is nothing to add a tile of; deleting still works.
    void addNeedsARecipe() {
        GlazeCore::GlazeBook book = logBook();
        book.recipes.clear();
        Shown s(book);
        QVERIFY(!s.page().footButtons()->addButton()->isEnabled());
        s.page().addTestTile();
        QCOMPARE(s.document().book().tests.size(), std::size_t(4));
        QVERIFY(s.page().footButtons()->removeButton()->isEnabled());
        s.page().deleteSelectedTest();
        QCOMPARE(s.document().book().tests.size(), std::size_t(3));
    }

    // Codes that two tiles share are named above the table until one of them changes; typing such a code
    // selects neither tile.
    void sharedCodesAreNamed() {
        GlazeCore::GlazeBook book = logBook();
        book.tests[2].code = "t-001";
        Shown s(book);
        QVERIFY(s.page().sharedCodeRow()->isVisibleTo(&s.page()));
        QCOMPARE(s.page().sharedCodeBanner()->text(),
                 QStringLiteral("Two or more tiles share the code t-001. Give each tile its own code."));
        s.model().setTestSelection(s.tile(3).id);
        s.type(QStringLiteral("T-001"));
        QTest::keyClick(s.field(), Qt::Key_Return);
        QCOMPARE(s.codes(), (QStringList{"T-001", "t-001"}));
        QCOMPARE(s.model().testSelection(), std::optional(s.tile(3).id));

        s.document().setTileCode(s.tile(2).id, "T-003");
        QVERIFY(s.page().sharedCodeRow()->isHidden());
    }

    // A book may hold a code far longer than one typed: the table, the banner, the sidebar's help and the code
    // field show its ends, and nothing is written that was not typed.
    void aHugeCodeShowsItsEnds() {
        GlazeCore::GlazeBook book = logBook();
        const std::string huge = "<" + std::string(std::size_t{1} << 20, 'x') + ">";
        book.tests[2].code = huge;
        book.tests[3].code = huge;
        Shown s(book);
        const auto shortened = [](const QString& text) {
            return text.size() <= 1100 && text.contains(QStringLiteral("<xx")) && text.contains(QStringLiteral("xx>"));
        };
        QVERIFY(shortened(s.cell(2, TestLogModel::code)));
        QVERIFY(shortened(s.cell(2, TestLogModel::code, Qt::AccessibleTextRole)));
        QVERIFY(shortened(s.page().sharedCodeBanner()->text()));
        QVERIFY(shortened(SidebarRows::testsHelpText(s.document().book().tests)));
        s.model().setTestSelection(s.tile(2).id);
        QVERIFY(shortened(s.detail()));

        QLineEdit* code = s.page().editor()->codeField()->lineEdit();
        code->setFocus(Qt::TabFocusReason);
        QTest::keyClick(code, Qt::Key_End);
        QTest::keyClick(code, Qt::Key_Tab);
        QCOMPARE(s.document().undoStack()->count(), 0);
        QCOMPARE(s.tile(2).code, huge);
    }

    // A book without tiles is one invitation; its wording and button follow the recipes.
    void emptyLogInvitesTheFirstTile() {
        Shown s(GlazeCore::GlazeBook{});
        QVERIFY(s.page().showsEmptyState());
        QCOMPARE(s.page().emptyState()->title(), QStringLiteral("No Test Tiles"));
        QVERIFY(s.page().emptyState()->description().startsWith(QStringLiteral("Add a recipe first. Then log each")));
        QVERIFY(!s.page().emptyStateAddButton()->isEnabled());
        // Disabled, it looks disabled: not in the accent colours it takes when it can be used.
        const QPalette& disabled = s.page().emptyStateAddButton()->palette();
        QCOMPARE(disabled.color(QPalette::Disabled, QPalette::Button),
                 QApplication::palette(s.page().emptyStateAddButton()).color(QPalette::Disabled, QPalette::Button));
        QVERIFY(disabled.color(QPalette::Disabled, QPalette::ButtonText) !=
                disabled.color(QPalette::Disabled, QPalette::HighlightedText));
        s.model().setWantsTestSearchFocus(true);
        QVERIFY(!s.model().wantsTestSearchFocus());
        OrzaTest::settle();
        QVERIFY(!s.field()->hasFocus());

        QVERIFY(s.document().addNewRecipe());
        OrzaTest::settle();
        QVERIFY(s.page().emptyState()->description().startsWith(QStringLiteral("Log each test tile")));
        QVERIFY(s.page().emptyStateAddButton()->isEnabled());
        const QPalette& enabled = s.page().emptyStateAddButton()->palette();
        QCOMPARE(enabled.color(QPalette::Active, QPalette::Button),
                 enabled.color(QPalette::Active, QPalette::Highlight));
        s.page().emptyStateAddButton()->click();
        QVERIFY(!s.page().showsEmptyState());
        QCOMPARE(s.detail(), QStringLiteral("T-001"));
        QCOMPARE(s.count(), QStringLiteral("1 tile"));
        s.document().undoStack()->undo();
        QVERIFY(s.page().showsEmptyState());
    }

    // The date is numeric in every locale, the C locale too, and is the date the search finds the tile by.
    void datesAreNumericAndSearchable() {
        Shown s;
        const struct {
            const char* locale;
            const char* date;
        } cases[] = {{"C", "3/5/2024"}, {"en_GB", "05/03/2024"}, {"de_DE", "5.3.2024"}, {"en_US", "3/5/2024"}};
        for (const auto& c : cases) {
            QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
            const QString shown = s.cell(0, TestLogModel::date);
            QCOMPARE(shown, QString::fromLatin1(c.date));
            QCOMPARE(s.cell(0, TestLogModel::date, Qt::AccessibleTextRole), shown);
            s.type(shown);
            QCOMPARE(s.codes(), QStringList{QStringLiteral("T-001")});
            s.field()->clear();
        }
    }

    // The Date column is as wide as the whole date the locale writes, a four-digit year included.
    void wholeDatesFitTheDateColumn() {
        for (const char* locale : {"en_US", "de_DE"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
            GlazeCore::GlazeBook book = logBook();
            book.tests[0].date = day(2025, 12, 16);
            book.tests[1].date = day(2025, 10, 29);
            book.tests[2].date = day(2088, 12, 28);
            Shown s(book);
            QTableView* table = s.page().table();
            const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
            const int room = table->columnWidth(TestLogModel::date) - 2 * margin;
            for (int row = 0; row < 3; ++row) {
                const QString date = s.cell(row, TestLogModel::date);
                QVERIFY2(date.endsWith(QStringLiteral("2025")) || date.endsWith(QStringLiteral("2088")),
                         qPrintable(date));
                QVERIFY2(table->fontMetrics().horizontalAdvance(date) <= room,
                         qPrintable(QStringLiteral("%1 in %2").arg(date).arg(room)));
            }
        }
    }

    // Print Label… in the editor opens the label sheet for the selected tile.
    void printLabelOpensTheSheetForTheTile() {
        Shown s;
        s.page().editor()->codeField()->printLabelButton()->click();
        auto* sheet = s.window->findChild<LabelSheet*>();
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(s.model().labelScope(), LabelScope::selected);
        QCOMPARE(sheet->scope(), LabelScope::selected);
        QCOMPARE(sheet->tiles().size(), std::size_t(1));
        QCOMPARE(sheet->tiles().front().code, std::string("T-002"));
        sheet->reject();
    }

    // Through the real window: Tests > Find Test, type a code, Return; the tile is selected and edited.
    void findTestFromTheMenu() {
        auto window = OrzaTest::makeWindowWithMenus(GlazeCore::SampleBook::makeBook());
        QVERIFY(OrzaTest::showActive(*window));
        window->actions()->action(Command::findTest)->trigger();
        OrzaTest::settle();
        auto* page = qobject_cast<TestLogPage*>(window->detail());
        QVERIFY(page);
        QTRY_COMPARE(QApplication::focusWidget(), page->searchBar()->searchField());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("T-002"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        const GlazeCore::TestTile& wanted = window->document()->book().tests[1];
        QCOMPARE(wanted.code, std::string("T-002"));
        QCOMPARE(window->model()->testSelection(), std::optional(wanted.id));
        OrzaTest::settle();
        QCOMPARE(page->editor()->tileID(), wanted.id);
        QCOMPARE(page->editor()->codeField()->lineEdit()->text(), QStringLiteral("T-002"));

        // The shortcut on the page itself, and from another page: the field takes the focus, its text selected.
        page->table()->setFocus();
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
        OrzaTest::settle();
        QTRY_COMPARE(QApplication::focusWidget(), page->searchBar()->searchField());
        QCOMPARE(page->searchBar()->searchField()->selectedText(), QStringLiteral("T-002"));
        window->model()->setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
        OrzaTest::settle();
        page = qobject_cast<TestLogPage*>(window->detail());
        QVERIFY(page);
        QTRY_COMPARE(QApplication::focusWidget(), page->searchBar()->searchField());
        QCOMPARE(page->searchBar()->searchField()->selectedText(), QStringLiteral("T-002"));
    }
};

QTEST_MAIN(TestLogPageTest)
#include "TestLogPageTest.moc"
