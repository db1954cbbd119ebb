// A potter at the keyboard: a whole recipe entered by keys alone, the name and code of a new recipe and tile
// typed straight after the command that made them, Tab through the editors in reading order, and a cone
// picker set by typing the cone; Tab leaves the lists of rows. In every sheet and dialog Tab reaches every control
// both ways, and Return and Space press the focused button while Return elsewhere presses the default.

#include "GlazeCore/book/FiringSchedule.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/help/HelpWindow.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/materials/PercentField.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipeLinesView.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/reformulate/ReplaceMaterialSheet.h"
#include "Orza/sidebar/SidebarView.h"
#include "Orza/testlog/FiringScheduleEditor.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/testlog/TestSearchBar.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/testlog/TileCodeField.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/ListFootButtons.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/MaterialPicker.h"
#include "Orza/widgets/PlainTextField.h"
#include "Orza/window/BookToolbar.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/CustomizeToolbarDialog.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <utility>

using namespace Orza;

namespace {

/// Keys as the potter presses them: to whatever has the keyboard, menus' shortcuts included.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key(key), modifiers);
    QCoreApplication::processEvents();
}

void type(const QString& text) {
    QTest::keyClicks(static_cast<QWidget*>(nullptr), text);
    QCoreApplication::processEvents();
}

/// Types `text` into the focused list or combo box as one keyboard search, however slowly the machine answers each
/// key: the search starts afresh at the first key, as after a pause, and takes in every later one.
void typeOneSearch(const QString& text) {
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(0);
    QTest::qSleep(2);
    type(text.left(1));
    QApplication::setKeyboardInputInterval(std::numeric_limits<int>::max());
    type(text.mid(1));
    QApplication::setKeyboardInputInterval(interval);
}

QWidget* focused() {
    return QApplication::focusWidget();
}

/// The widgets Tab visits from `start` while the focus stays inside `area`, `start` first; at most `limit`.
QList<QWidget*> tabChain(QWidget* start, const QWidget* area, int limit) {
    QList<QWidget*> chain{start};
    start->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < limit; ++i) {
        press(Qt::Key_Tab);
        QWidget* now = focused();
        if (!now || !area->isAncestorOf(now) || chain.contains(now)) break;
        chain << now;
    }
    return chain;
}

/// Each widget of the chain stands after the one before it as text is read: lower down, or on the same line
/// further right.
void checkReadingOrder(const QList<QWidget*>& chain, const QWidget* area) {
    for (int i = 1; i < chain.size(); ++i) {
        const QRect before(chain[i - 1]->mapTo(area, QPoint()), chain[i - 1]->size());
        const QRect after(chain[i]->mapTo(area, QPoint()), chain[i]->size());
        const bool sameLine = std::abs(after.center().y() - before.center().y()) < before.height() / 2 + 2;
        const bool next = sameLine ? after.left() > before.left() : after.top() > before.top();
        QVERIFY2(next, qPrintable(QStringLiteral("%1 (%2) after %3 (%4)")
                                      .arg(chain[i]->metaObject()->className(), chain[i]->accessibleName(),
                                           chain[i - 1]->metaObject()->className(), chain[i - 1]->accessibleName())));
    }
}

/// A focus stop as a failure names it: its class, its name and its object name.
QString described(QWidget* widget) {
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(widget);
    return QStringLiteral("%1 '%2' (%3)")
        .arg(widget->metaObject()->className(), readable ? readable->text(QAccessible::Name) : QString(),
             widget->objectName());
}

/// Whether a scroll area belongs among the stops: it cuts what it shows and holds no stop of its own.
bool keyboardScrolls(const QAbstractScrollArea* area) {
    if (!qobject_cast<const QScrollArea*>(area)) return true; // a list or a table, read row by row
    const bool cuts = area->verticalScrollBar()->maximum() > 0 || area->horizontalScrollBar()->maximum() > 0;
    const QList<QWidget*> inside = area->viewport()->findChildren<QWidget*>();
    return cuts && std::none_of(inside.begin(), inside.end(), [area](const QWidget* widget) {
               return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && widget->isVisibleTo(area);
           });
}

/// The controls of `window` the keyboard should reach: shown, enabled, taking Tab.
QList<QWidget*> tabStopsOf(QWidget* window) {
    QList<QWidget*> stops;
    for (QWidget* widget : window->findChildren<QWidget*>())
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && widget->isVisible() &&
            widget->window() == window && !widget->focusProxy())
            stops << widget;
    return stops;
}

/// Whether a control is a button: Return and Space press it wherever it stands.
bool isButton(const QWidget* widget) {
    return qobject_cast<const QPushButton*>(widget) || qobject_cast<const QToolButton*>(widget);
}

/// What is wrong with a round of `start`'s window by Tab, or by Shift+Tab: a control that keeps the key to
/// itself, a round that never comes back to `start`, a stop a reader hears no name for, or a stop that only
/// scrolls. Empty when the round comes back to `start` clean; `stops` gets the controls met on the way.
QString faultOfRound(QWidget* start, bool forward, QList<QWidget*>& stops) {
    QWidget* window = start->window();
    start->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    QWidget* last = start;
    for (int i = 0; i < 300; ++i) {
        if (QAccessible::queryAccessibleInterface(last)->text(QAccessible::Name).trimmed().isEmpty())
            return QStringLiteral("a stop without a name: ") + described(last);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(last); area && !keyboardScrolls(area))
            return QStringLiteral("a stop that only scrolls: ") + described(last);
        // Shift+Tab comes as Backtab, as the desktop sends it.
        QTest::keyClick(last, forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        QCoreApplication::processEvents();
        QWidget* now = window->focusWidget();
        if (!now) return QStringLiteral("the focus went nowhere from ") + described(last);
        // A field of parts (a date) is one stop too: its parts are not met by Tab.
        if (now == last) return QStringLiteral("Tab is kept by ") + described(now);
        if (now == start) return {};
        if (stops.contains(now)) return QStringLiteral("Tab goes round without coming back, through ") + described(now);
        stops << now;
        last = now;
    }
    return QStringLiteral("Tab never comes back");
}
} // namespace

class KeyboardPathsTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private:
    std::unique_ptr<BookWindow> m_window;

    void tearDown() override {
        if (HelpWindow* help = HelpWindow::existing()) help->close();
        m_window.reset();
        OrzaTest::settle();
    }

    /// A book with a recipe of 60 silica and a tile of it, in an active window with the menus.
    BookWindow& openBook() { return openBook({{GlazeCore::Uuid::random(), "silica", 60, false}}); }
    /// The same with the recipe's `lines`, and `notes` for both recipe and tile.
    BookWindow& openBook(std::vector<GlazeCore::RecipeLine> lines, const std::string& notes = {}) {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Satin"});
        book.recipes[0].lines = std::move(lines);
        book.recipes[0].notes = notes;
        book.tests.push_back(OrzaTest::tile(book.recipes[0].id, "6", "T-001"));
        book.tests[0].notes = notes;
        book.tests[0].schedule = GlazeCore::FiringSchedule::cone6DefaultSchedule();
        m_window = OrzaTest::makeWindowWithMenus(book);
        m_window->resize(1280, 800);
        if (!OrzaTest::showActive(*m_window)) qWarning("the window never became active");
        m_window->model()->setSelection(SidebarItem::recipe(book.recipes[0].id));
        OrzaTest::settle();
        return *m_window;
    }

    RecipePane* pane() const { return qobject_cast<RecipePane*>(m_window->detail()); }
    QPlainTextEdit* recipeNotes() const { return pane()->notesField(); }
    /// The tile's notes, on the Tests page.
    QPlainTextEdit* tileNotes() const {
        m_window->model()->setSelection(SidebarItem::tests());
        OrzaTest::settle();
        return testLog() && testLog()->editor() ? testLog()->editor()->notesEditor() : nullptr;
    }
    TestLogPage* testLog() const { return qobject_cast<TestLogPage*>(m_window->detail()); }
    const GlazeCore::Recipe& satin() const { return m_window->document()->book().recipes.front(); }

    /// With the keyboard on a material cell: Return, the material's name, Return; then Right and the amount.
    void chooseAndWeigh(const QString& material, const QString& amount) {
        press(Qt::Key_Return);
        QTRY_VERIFY(qobject_cast<MaterialPicker*>(QApplication::activePopupWidget()));
        type(material);
        press(Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        press(Qt::Key_Right);
        type(amount);
    }

    /// Where a round of `place` begins: the sidebar for a page, what has the keyboard in a sheet.
    QWidget* startOfRound(const QString& place) {
        QWidget* sidebar = m_window->sidebar()->list();
        if (place == QLatin1String("recipe")) return sidebar;
        if (place.startsWith(QLatin1String("tests"))) {
            m_window->model()->setSelection(SidebarItem::tests());
            OrzaTest::settle();
            if (place == QLatin1String("tests")) return sidebar;
            QToolButton* remove = testLog()->footButtons()->removeButton();
            remove->setFocus(Qt::TabFocusReason);
            press(Qt::Key_Space);
            OrzaTest::settle();
            return focused();
        }
        if (place.endsWith(QLatin1String("materials"))) {
            m_window->model()->setSelection(SidebarItem::materials());
            OrzaTest::settle();
            auto* page = qobject_cast<MaterialsPage*>(m_window->detail());
            if (place.startsWith(QLatin1String("bundled"))) {
                page->setScope(MaterialsPage::Scope::bundled);
                page->selectBundled(std::string("silica"));
            } else {
                page->addMaterial();
            }
            OrzaTest::settle();
            return sidebar;
        }
        if (place == QLatin1String("Help")) {
            HelpWindow* help = HelpWindow::showHelp();
            if (!QTest::qWaitForWindowActive(help)) return nullptr;
            OrzaTest::settle();
            return help->focusWidget();
        }
        if (place == QLatin1String("Customize Toolbar")) {
            QDialog* dialog = m_window->findChild<BookToolbar*>()->customize();
            if (!QTest::qWaitForWindowActive(dialog)) return nullptr;
            OrzaTest::settle();
            return dialog ? dialog->focusWidget() : nullptr;
        }
        const std::pair<const char*, Command> sheets[] = {
            {"Oxide Nudge", Command::oxideNudge},   {"Replace Material", Command::replaceMaterial},
            {"Line Blend", Command::lineBlend},     {"Triaxial Blend", Command::triaxialBlend},
            {"Grid Blend", Command::gridBlend},     {"Batch Sheet", Command::batchSheet},
            {"Print Labels", Command::printLabels}, {"Rename", Command::renameRecipe},
            {"Delete", Command::deleteRecipe}};
        for (const auto& [name, command] : sheets)
            if (place == QLatin1String(name)) m_window->actions()->action(command)->trigger();
        QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; });
        OrzaTest::settle();
        QWidget* sheet = QApplication::activeModalWidget();
        return sheet ? sheet->focusWidget() : nullptr;
    }

private slots:
    // Ctrl+Shift+L, Return, name, Return, Right, amount, Ctrl+Shift+L …: each pick lands on the new line.
    void aWholeRecipeByKeysAlone() {
        openBook();
        RecipeLinesView* table = pane()->linesTable()->view();
        table->setFocus();
        table->setCurrentIndex(table->model()->index(0, RecipeLinesModel::amountColumn));
        type(QStringLiteral("65"));
        QVERIFY(qobject_cast<LiveNumberField*>(focused())); // still typing the first amount

        press(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(focused(), table);
        QCOMPARE(table->currentIndex().row(), 1);
        QCOMPARE(table->currentIndex().column(), int(RecipeLinesModel::materialColumn));
        // The menu command appends without selecting; only the footer's button selects the line it adds.
        QVERIFY(!table->selectionModel()->isRowSelected(1, {}));
        chooseAndWeigh(QStringLiteral("whiting"), QStringLiteral("20"));
        press(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        chooseAndWeigh(QStringLiteral("kaolin"), QStringLiteral("15"));
        press(Qt::Key_Return);

        const auto& lines = satin().lines;
        QCOMPARE(lines.size(), std::size_t(3));
        QCOMPARE(lines[0].materialID, std::string("silica"));
        QCOMPARE(lines[0].amount, 65.0);
        QCOMPARE(lines[1].materialID, std::string("whiting"));
        QCOMPARE(lines[1].amount, 20.0);
        QCOMPARE(lines[2].materialID, std::string("kaolin"));
        QCOMPARE(lines[2].amount, 15.0);

        pane()->linesTable()->addLine();
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
        QVERIFY(table->selectionModel()->isRowSelected(3, {}));
        QCOMPARE(table->currentIndex().row(), 3);
    }

    void theNameOfANewRecipeIsTypedNext() {
        openBook();
        press(Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
        type(QStringLiteral("Celadon"));
        QCOMPARE(m_window->document()->book().recipes.back().name, std::string("Celadon"));

        // A duplicate too is named next.
        press(Qt::Key_D, Qt::ControlModifier);
        type(QStringLiteral("Celadon dark"));
        QCOMPARE(m_window->document()->book().recipes.back().name, std::string("Celadon dark"));
    }

    // The code goes to the new tile, not to the table's type-ahead.
    void theCodeOfANewTileIsTypedNext() {
        openBook();
        m_window->actions()->action(Command::addTest)->trigger();
        QVERIFY(testLog());
        const auto added = m_window->model()->testSelection();
        type(QStringLiteral("B-12"));
        QCOMPARE(m_window->model()->testSelection(), added);
        QCOMPARE(m_window->document()->tile(*added)->code, std::string("B-12"));

        // The page's own Add Test as well.
        testLog()->addTestTile();
        const auto second = m_window->model()->testSelection();
        QVERIFY(second != added);
        type(QStringLiteral("B-13"));
        QCOMPARE(m_window->document()->tile(*second)->code, std::string("B-13"));
    }

    // Recipe > Replace Material…, Return, "dolo", Return, Return: the list opens from the "With" picker, the pick
    // lands there, and the next Return saves the new recipe.
    void aMaterialReplacedByKeysAlone() {
        openBook({{GlazeCore::Uuid::random(), "whiting", 20, false},
                  {GlazeCore::Uuid::random(), "silica", 50, false},
                  {GlazeCore::Uuid::random(), "kaolin", 30, false}});
        const GlazeCore::Recipe before = satin();
        m_window->actions()->action(Command::replaceMaterial)->trigger();
        QTRY_VERIFY(qobject_cast<ReplaceMaterialSheet*>(QApplication::activeWindow()));
        press(Qt::Key_Return);
        QTRY_VERIFY(qobject_cast<MaterialPicker*>(QApplication::activePopupWidget()));
        type(QStringLiteral("dolo"));
        press(Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        press(Qt::Key_Return);

        QTRY_VERIFY(!m_window->model()->replace());
        const auto& recipes = m_window->document()->book().recipes;
        QCOMPARE(recipes.size(), std::size_t(2));
        QVERIFY(recipes[0] == before);
        QCOMPARE(recipes[1].name, std::string("Satin with Dolomite"));
        QVERIFY(std::any_of(recipes[1].lines.begin(), recipes[1].lines.end(),
                            [](const GlazeCore::RecipeLine& line) { return line.materialID == "dolomite"; }));
    }

    void tabReadsTheTileEditorTopToBottom() {
        openBook();
        m_window->model()->setSelection(SidebarItem::tests());
        OrzaTest::settle();
        TestTileEditor* editor = testLog()->editor();
        QVERIFY(editor);
        const QList<QWidget*> chain = tabChain(editor->codeField()->lineEdit(), editor, 60);
        checkReadingOrder(chain, editor);

        // Out of the date, one stop whatever its part, into the schedule's rows, then its buttons.
        FiringScheduleEditor* schedule = editor->scheduleEditor();
        const qsizetype date = chain.indexOf(editor->datePicker());
        QVERIFY(date >= 0);
        const QList<QWidget*> expected{schedule->field(0, FiringScheduleEditor::Column::rate),
                                       schedule->field(0, FiringScheduleEditor::Column::target),
                                       schedule->field(0, FiringScheduleEditor::Column::hold),
                                       schedule->removeButton(0)};
        QCOMPARE(chain.mid(date + 1, 4), expected);
        const qsizetype add = chain.indexOf(schedule->addButton());
        QCOMPARE(chain.at(add - 1), schedule->removeButton(schedule->rowCount() - 1));
        QCOMPARE(chain.at(add + 1), schedule->cone6Button());
        QVERIFY(chain.contains(editor->notesEditor()));

        // A segment added later takes its place in the order.
        schedule->addFiringSegment();
        const int last = schedule->rowCount() - 1;
        schedule->field(last - 1, FiringScheduleEditor::Column::hold)->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), schedule->field(last, FiringScheduleEditor::Column::rate));
    }

    void tabPassesTheReadOnlyIdOfACustomMaterial() {
        openBook();
        m_window->model()->setSelection(SidebarItem::materials());
        auto* page = qobject_cast<MaterialsPage*>(m_window->detail());
        QVERIFY(page);
        page->addMaterial();
        OrzaTest::settle();
        CustomMaterialEditor* editor = page->editor();
        QVERIFY(editor);
        const QList<QWidget*> chain = tabChain(editor->nameField(), editor, 8);
        QVERIFY(!chain.contains(editor->idField()));
        QCOMPARE(chain.value(1), editor->loiField()->lineEdit());
        QCOMPARE(chain.value(2), editor->sourceField());
        checkReadingOrder(chain, editor);
    }

    // Tab leaves the lists of tiles and bundled materials for the next control and keeps the row chosen.
    void tabLeavesTheListsOfTilesAndMaterials() {
        openBook();
        auto leavesKeepingTheRow = [](QTableView* table) {
            table->setFocus(Qt::TabFocusReason);
            table->selectRow(0);
            press(Qt::Key_Tab);
            QVERIFY(focused() != table);
            QCOMPARE(table->selectionModel()->selectedRows().value(0).row(), 0);
        };
        m_window->model()->setSelection(SidebarItem::tests());
        OrzaTest::settle();
        leavesKeepingTheRow(testLog()->table());
        m_window->model()->setSelection(SidebarItem::materials());
        OrzaTest::settle();
        auto* page = qobject_cast<MaterialsPage*>(m_window->detail());
        QVERIFY(page);
        leavesKeepingTheRow(page->bundledTable());
    }

    // With a clipboard that holds data of no text, as a desktop where nobody owns the clipboard gives, every
    // way to paste into either notes does nothing: the keys, Ctrl+A Ctrl+X Ctrl+V, the menu command.
    void pastingNothingIntoNotesDoesNothing() {
        openBook();
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setMimeData(new QMimeData);
        const auto pasteNothing = [this](QPlainTextEdit* notes) {
            QVERIFY(notes);
            QVERIFY2(qobject_cast<PlainTextField*>(notes), "every multi-line text is typed in the guarded field");
            notes->setFocus(Qt::MouseFocusReason);
            press(Qt::Key_V, Qt::ControlModifier);
            press(Qt::Key_Insert, Qt::ShiftModifier);
            press(Qt::Key_A, Qt::ControlModifier);
            press(Qt::Key_X, Qt::ControlModifier);
            press(Qt::Key_V, Qt::ControlModifier);
            m_window->actions()->action(Command::paste)->trigger();
            notes->paste();
            QCOMPARE(notes->toPlainText(), QString());
        };
        pasteNothing(recipeNotes());
        pasteNothing(tileNotes());
        QCOMPARE(m_window->document()->undoStack()->count(), 0);
        clipboard->clear();
    }

    // Notes typed past their limit of characters keep every key while the field is being typed in; left, they
    // are shown by their ends and only shown, and the book keeps what was typed.
    void notesTypedPastTheirLimitKeepEveryKey() {
        std::string notes;
        for (int line = 0; line < 1'000; ++line)
            notes += std::string(99, 'n') + "\n"; // 100,000 characters
        openBook({}, notes);
        const auto noticeShown = [this] {
            for (const IconLabel* label : m_window->detail()->findChildren<IconLabel*>())
                if (label->isVisible() && label->text().startsWith(QStringLiteral("These notes are too long")))
                    return true;
            return false;
        };
        const auto typePast = [&](QPlainTextEdit* field, const std::function<std::string()>& stored) {
            QVERIFY(field && !field->isReadOnly());
            field->setFocus(Qt::MouseFocusReason);
            press(Qt::Key_End, Qt::ControlModifier);
            type(QStringLiteral("abc"));
            QCOMPARE(stored(), notes + "abc");
            QVERIFY(!field->isReadOnly());
            QVERIFY(!noticeShown());
            press(Qt::Key_Tab);
            QVERIFY(focused() != field);
            QVERIFY(field->isReadOnly());
            QVERIFY(noticeShown());
            QVERIFY(field->toPlainText().size() < 2'000);
            QCOMPARE(stored(), notes + "abc");
        };
        typePast(recipeNotes(), [this] { return satin().notes; });
        typePast(tileNotes(), [this] { return m_window->document()->book().tests.front().notes; });
    }

    // Tab and Shift+Tab go round every page and sheet and come back where they began: no table or list
    // keeps them, every stop has a name, and nothing that only scrolls is one.
    void tabGoesRoundEveryPageAndSheet_data() {
        QTest::addColumn<QString>("place");
        for (const char* place : {"recipe", "tests", "tests after Delete Test", "bundled materials", "custom materials",
                                  "Oxide Nudge", "Replace Material", "Line Blend", "Triaxial Blend", "Grid Blend",
                                  "Batch Sheet", "Print Labels", "Rename", "Delete", "Customize Toolbar", "Help"})
            QTest::newRow(place) << QString::fromLatin1(place);
    }
    void tabGoesRoundEveryPageAndSheet() {
        QFETCH(QString, place);
        openBook({{GlazeCore::Uuid::random(), "silica", 60, false},
                  {GlazeCore::Uuid::random(), "whiting", 20, false},
                  {GlazeCore::Uuid::random(), "rutile", 4, true}});
        QWidget* start = startOfRound(place);
        QVERIFY2(start, "nothing has the keyboard");
        QList<QWidget*> forward;
        QList<QWidget*> backward;
        const QList<QWidget*> before = tabStopsOf(start->window());
        QString fault = faultOfRound(start, true, forward);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        const QList<QWidget*> between = tabStopsOf(start->window());
        fault = faultOfRound(start, false, backward);
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("Shift+Tab: ") + fault));
        QVERIFY(!forward.isEmpty());
        // Each way round meets every control of a sheet or dialog that stays usable on the way: a button such as
        // Remove is off until its list has a row chosen.
        if (start->window() == m_window.get()) return;
        const QList<QWidget*> after = tabStopsOf(start->window());
        for (QWidget* stop : before) {
            if (stop == start) continue;
            if (between.contains(stop))
                QVERIFY2(forward.contains(stop), qPrintable(QStringLiteral("Tab misses ") + described(stop)));
            if (between.contains(stop) && after.contains(stop))
                QVERIFY2(backward.contains(stop), qPrintable(QStringLiteral("Shift+Tab misses ") + described(stop)));
        }
    }

    // Return and Space press the button that has the keyboard, whichever is the default. Return in a field, a
    // list or a picker presses the default, which is drawn as such whenever the keyboard is on no other button,
    // also once Tab has passed every button.
    void returnPressesTheFocusedButtonElseTheDefault_data() {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("defaultText");
        for (const auto& [place, defaultText] :
             std::initializer_list<std::pair<const char*, const char*>>{{"Oxide Nudge", "Apply"},
                                                                        {"Replace Material", "Save as New Recipe"},
                                                                        {"Line Blend", "Add Tiles to Book"},
                                                                        {"Triaxial Blend", "Add Tiles to Book"},
                                                                        {"Grid Blend", "Add Tiles to Book"},
                                                                        {"Batch Sheet", "Done"},
                                                                        {"Print Labels", "Print\u2026"},
                                                                        {"Rename", "Rename"},
                                                                        {"Delete", "Cancel"},
                                                                        {"Customize Toolbar", "OK"}})
            QTest::newRow(place) << QString::fromLatin1(place) << QString::fromUtf8(defaultText);
    }
    void returnPressesTheFocusedButtonElseTheDefault() {
        QFETCH(QString, place);
        QFETCH(QString, defaultText);
        openBook({{GlazeCore::Uuid::random(), "silica", 60, false},
                  {GlazeCore::Uuid::random(), "whiting", 20, false},
                  {GlazeCore::Uuid::random(), "rutile", 4, true}});
        QWidget* start = startOfRound(place);
        QVERIFY2(start, "nothing has the keyboard");
        QWidget* dialog = start->window();
        if (auto* replace = qobject_cast<ReplaceMaterialSheet*>(dialog)) replace->setNewID("wollastonite");
        OrzaTest::settle();
        QPushButton* defaultButton = nullptr;
        // Every button only tells that it was pressed: what it does never runs, so the dialog stays as it is.
        QList<QAbstractButton*> pressed;
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->group()) button->group()->removeButton(button);
            QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
            connect(button, &QAbstractButton::clicked, dialog, [&pressed, button] { pressed << button; });
            if (button->text() == defaultText) defaultButton = qobject_cast<QPushButton*>(button);
        }
        QVERIFY(defaultButton);
        // Return in a field presses the default, or nothing when the field keeps it to end its edit; `fault` tells
        // what else happened.
        QString fault;
        const auto returnInField = [&](QWidget* field) {
            pressed.clear();
            press(Qt::Key_Return);
            pressed.removeAll(field); // a picker may open its own list
            const bool toDefault = pressed == QList<QAbstractButton*>{defaultButton};
            if (!pressed.isEmpty() && !toDefault)
                fault = QStringLiteral("Return in %1 pressed %2").arg(described(field), described(pressed.front()));
            else if (!defaultButton->isDefault())
                fault = QStringLiteral("with %1 the default is not drawn").arg(described(field));
            return toDefault;
        };
        int buttons = 0;
        bool hasField = false;
        bool returnReachedTheDefault = false;
        QWidget* now = start;
        for (int stops = 0; stops < 100; ++stops) {
            QCOMPARE(focused(), now);
            if (isButton(now)) {
                ++buttons;
                for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
                    pressed.clear();
                    press(key);
                    QVERIFY2(pressed == QList<QAbstractButton*>{qobject_cast<QAbstractButton*>(now)},
                             qPrintable(described(now) + QStringLiteral(" pressed ") +
                                        (pressed.isEmpty() ? QStringLiteral("nothing") : described(pressed.front()))));
                }
            } else {
                hasField = true;
                returnReachedTheDefault = returnInField(now) || returnReachedTheDefault;
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
            }
            press(Qt::Key_Tab);
            now = focused();
            QVERIFY(now && now->window() == dialog);
            if (now == start) break;
        }
        // Back where it began, with Tab past every button.
        if (!isButton(start)) returnReachedTheDefault = returnInField(start) || returnReachedTheDefault;
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QVERIFY(buttons >= 2);
        QVERIFY2(returnReachedTheDefault || !hasField || !defaultButton->isEnabled(),
                 "Return in no field pressed the default");
    }

    // Tab to a sheet's Cancel or Close and Return: the sheet closes and the book stays as it was. Tab to Replace
    // in This Recipe and Return: the recipe changes in place, and no new recipe is added.
    void returnOnAFocusedButtonDoesWhatItSays_data() {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("changesTheRecipe");
        const auto row = [](const char* name, const char* place, const char* button, bool changesTheRecipe) {
            QTest::newRow(name) << QString::fromLatin1(place) << QString::fromLatin1(button) << changesTheRecipe;
        };
        row("Oxide Nudge, Cancel", "Oxide Nudge", "Cancel", false);
        row("Replace Material, Cancel", "Replace Material", "Cancel", false);
        row("Replace Material, in place", "Replace Material", "Replace in This Recipe", true);
        row("Line Blend, Close", "Line Blend", "Close", false);
        row("Print Labels, Cancel", "Print Labels", "Cancel", false);
    }
    void returnOnAFocusedButtonDoesWhatItSays() {
        QFETCH(QString, place);
        QFETCH(QString, button);
        QFETCH(bool, changesTheRecipe);
        openBook({{GlazeCore::Uuid::random(), "silica", 60, false},
                  {GlazeCore::Uuid::random(), "whiting", 20, false},
                  {GlazeCore::Uuid::random(), "kaolin", 20, false}});
        QWidget* start = startOfRound(place);
        QVERIFY2(start, "nothing has the keyboard");
        if (auto* replace = qobject_cast<ReplaceMaterialSheet*>(start->window())) replace->setNewID("wollastonite");
        const GlazeCore::GlazeBook before = m_window->document()->book();
        for (int i = 0; i < 30; ++i) {
            auto* now = qobject_cast<QPushButton*>(focused());
            if (now && now->text() == button) break;
            press(Qt::Key_Tab);
        }
        auto* focusedButton = qobject_cast<QPushButton*>(focused());
        QVERIFY(focusedButton && focusedButton->text() == button);
        press(Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        const GlazeCore::GlazeBook& after = m_window->document()->book();
        QCOMPARE(after.recipes.size(), before.recipes.size());
        QCOMPARE(after.tests.size(), before.tests.size());
        QCOMPARE(after.recipes[0].lines != before.recipes[0].lines, changesTheRecipe);
    }

    void typingTheConeChoosesIt() {
        openBook();
        QComboBox* recipeCone = pane()->conePicker();
        recipeCone->setFocus();
        typeOneSearch(QStringLiteral("10"));
        QCOMPARE(satin().cone, std::string("10"));
        typeOneSearch(QStringLiteral("04"));
        QCOMPARE(satin().cone, std::string("04"));

        m_window->model()->setSelection(SidebarItem::tests());
        OrzaTest::settle();
        TestTileEditor* editor = testLog()->editor();
        editor->conePicker()->setFocus();
        typeOneSearch(QStringLiteral("9"));
        QCOMPARE(m_window->document()->book().tests.front().cone, std::string("9"));
    }
};

QTEST_MAIN(KeyboardPathsTest)
#include "KeyboardPathsTest.moc"
