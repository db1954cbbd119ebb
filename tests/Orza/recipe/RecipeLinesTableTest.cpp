#include "Orza/recipe/RecipeLinesTable.h"

#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/actions/CommandTable.h"
#include "Orza/document/BookDocument.h"
#include "Orza/recipe/RecipeLinesDelegates.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesView.h"
#include "Orza/recipe/RecipeTotals.h"
#include "Orza/widgets/ListFootButtons.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/MaterialPicker.h"
#include "Orza/widgets/MaterialSearchList.h"
#include "support/AccessibleEvents.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include <memory>
#include <utility>

using namespace Orza;
using GlazeCore::RecipeLine;
using GlazeCore::Uuid;

namespace {

RecipeLine line(std::string material, double amount, bool addition = false) {
    return {Uuid::random(), std::move(material), amount, addition};
}

/// A document over one recipe with the given lines, and its table.
struct Fixture {
    std::unique_ptr<BookDocument> document;
    std::unique_ptr<RecipeLinesTable> table;
    Uuid recipeID;

    explicit Fixture(std::vector<RecipeLine> lines) {
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"R"});
        book.recipes[0].lines = std::move(lines);
        recipeID = book.recipes[0].id;
        document = std::make_unique<BookDocument>(GlazeDocument::make(book, false));
        table = std::make_unique<RecipeLinesTable>(*document, recipeID, nullptr);
    }
    RecipeLinesModel& model() const { return *table->model(); }
    const GlazeCore::Recipe& recipe() const { return *document->recipe(recipeID); }
    QString cell(int row, int column, int role = Qt::DisplayRole) const {
        return model().index(row, column).data(role).toString();
    }
    /// Opens the amount editor of `row` with its text selected, as a double click does.
    LiveNumberField* editAmount(int row) const {
        RecipeLinesView& view = *table->view();
        const QModelIndex amount = model().index(row, RecipeLinesModel::amountColumn);
        view.setCurrentIndex(amount);
        view.edit(amount);
        auto* editor = view.findChild<LiveNumberField*>();
        if (editor) editor->selectAll();
        return editor;
    }
};

} // namespace

class RecipeLinesTableTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
    void tearDown() override { QLocale::setDefault(QLocale::c()); }

private slots:
    // Percentages, totals and marks follow every edit; additions count against the base.
    void cellsAndTotalsFollowTheLines() {
        Fixture f({line("silica", 60), line("kaolin", 40), line("rutile", 5, true), line("", 7)});
        QAbstractItemModelTester tester(&f.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(f.cell(0, RecipeLinesModel::percentColumn), QStringLiteral("56.1 %")); // 60 of 107
        QCOMPARE(f.cell(2, RecipeLinesModel::percentColumn), QStringLiteral("4.7 %"));
        QVERIFY(f.model().index(3, 0).data(RecipeLinesModel::missingMaterialRole).toBool());
        QVERIFY(!f.model().index(0, 0).data(RecipeLinesModel::missingMaterialRole).toBool());
        QCOMPARE(f.cell(3, RecipeLinesModel::materialColumn), QStringLiteral("Choose material"));
        QCOMPARE(f.cell(1, RecipeLinesModel::amountColumn, Qt::AccessibleTextRole), QStringLiteral("Amount of Kaolin"));
        QCOMPARE(f.cell(2, RecipeLinesModel::additionColumn, Qt::AccessibleTextRole),
                 QStringLiteral("Rutile is an addition"));

        // Typing into an amount is one change of one line; the totals and shares follow.
        QVERIFY(f.model().setData(f.model().index(3, RecipeLinesModel::amountColumn), 0.0));
        QCOMPARE(f.table->totals()->baseAmount()->text(), QStringLiteral("100"));
        QCOMPARE(f.table->totals()->basePercent()->text(), QStringLiteral("100.0 %"));
        QCOMPARE(f.cell(0, RecipeLinesModel::percentColumn), QStringLiteral("60.0 %"));
        QCOMPARE(f.table->totals()->additionsAmount()->text(), QStringLiteral("5"));
        QCOMPARE(f.table->totals()->additionsRow()->accessibleName(),
                 QStringLiteral("Additions 5, 5.0 percent of base"));
        QVERIFY(!f.model().index(3, 0).data(RecipeLinesModel::missingMaterialRole).toBool());

        // A line made an addition leaves the base: with no base left, every share reads "–".
        for (int row : {0, 1, 3})
            f.model().setData(f.model().index(row, RecipeLinesModel::additionColumn), Qt::Checked, Qt::CheckStateRole);
        QCOMPARE(f.cell(0, RecipeLinesModel::percentColumn), QStringLiteral("\u2013"));
        QCOMPARE(f.table->totals()->basePercent()->text(), QStringLiteral("\u2013"));
        QCOMPARE(f.table->totals()->additionsRow()->accessibleName(), QStringLiteral("Additions 105"));
        QCOMPARE(f.document->undoStack()->count(), 4);
    }

    // Each totals row is read once, as the sentence of its name; its figures are not read again one by one.
    void totalsReadAsOneSentenceEach() {
        Fixture f({line("silica", 60), line("kaolin", 40), line("rutile", 5, true)});
        f.table->show();
        QCOMPARE(OrzaTest::spokenTexts(f.table->totals()),
                 (QStringList{QStringLiteral("Base total 100"), QStringLiteral("Additions 5, 5.0 percent of base")}));
    }

    // In German every figure of the table and its totals writes a decimal comma, the base's 100 % included.
    void figuresAsTheLocaleWritesThem() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        Fixture f({line("silica", 30), line("kaolin", 70), line("rutile", 2.5, true)});
        QCOMPARE(f.cell(0, RecipeLinesModel::percentColumn), QStringLiteral("30,0 %"));
        QCOMPARE(f.cell(2, RecipeLinesModel::amountColumn), QStringLiteral("2,5"));
        QCOMPARE(f.table->totals()->baseAmount()->text(), QStringLiteral("100"));
        QCOMPARE(f.table->totals()->basePercent()->text(), QStringLiteral("100,0 %"));
        QCOMPARE(f.table->totals()->additionsAmount()->text(), QStringLiteral("2,5"));
        QCOMPARE(f.table->totals()->additionsRow()->accessibleName(),
                 QStringLiteral("Additions 2,5, 2,5 percent of base"));
    }

    // The Material cell tells assistive tools what it opens, and a row with an amount but no material says
    // it is not valid; the warning symbol stands right after the picker's name and chevron.
    void materialCellWarningAndHint() {
        Fixture f({line("", 7), line("silica", 60)});
        f.table->resize(600, 300);
        f.table->show();
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(f.table->view());
        QVERIFY(table && table->tableInterface());
        QAccessibleInterface* missing = table->tableInterface()->cellAt(0, RecipeLinesModel::materialColumn);
        QAccessibleInterface* chosen = table->tableInterface()->cellAt(1, RecipeLinesModel::materialColumn);
        QCOMPARE(missing->text(QAccessible::Name),
                 QStringLiteral("Material: Choose material, Row not valid: amount without a material"));
        QCOMPARE(chosen->text(QAccessible::Name), QStringLiteral("Material: Silica"));
        QCOMPARE(missing->text(QAccessible::Description), QStringLiteral("Opens a searchable list of materials"));
        QCOMPARE(chosen->text(QAccessible::Description), QStringLiteral("Opens a searchable list of materials"));

        const QRect cell = f.table->view()->visualRect(f.model().index(0, RecipeLinesModel::materialColumn));
        const QFontMetrics metrics(f.table->view()->font());
        const QString name = QStringLiteral("Choose material");
        const QRect warning = MaterialCellDelegate::warningRect(cell, name, metrics);
        const int labelEnd = cell.left() + 6 + metrics.horizontalAdvance(name);
        QVERIFY(warning.left() > labelEnd);
        QVERIFY(warning.left() < labelEnd + 24);
    }

    void addRemoveAndNormalizeUndoToTheSameRecipe() {
        Fixture f({line("silica", 30), line("kaolin", 20), line("rutile", 5, true)});
        const GlazeCore::Recipe original = f.recipe();
        // "+" names the key of Recipe > Add Material, which adds a line too.
        QCOMPARE(f.table->footer()->addButton()->toolTip(),
                 QStringLiteral("Add a material line (%1)").arg(CommandTable::shortcutText(Command::addMaterial)));
        f.table->footer()->addButton()->click();
        f.table->footer()->addButton()->click();
        QCOMPARE(f.recipe().lines.size(), std::size_t(5));
        // The new line is selected, the one before it no longer.
        const auto selected = f.table->view()->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.front().row(), 4);
        QVERIFY(f.table->footer()->removeButton()->isEnabled());

        f.table->view()->selectionModel()->select(f.model().index(0, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(f.table->view(), Qt::Key_Delete);
        QCOMPARE(f.recipe().lines.size(), std::size_t(3));
        QCOMPARE(f.recipe().lines[0].materialID, std::string("kaolin"));
        QVERIFY(!f.table->footer()->removeButton()->isEnabled());

        f.document->undoStack()->undo();
        f.document->undoStack()->undo();
        f.document->undoStack()->undo();
        QCOMPARE(f.recipe(), original);
        // Normalising keeps the lines and so their selection: "−" stays enabled.
        f.table->view()->selectionModel()->select(f.model().index(1, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        f.table->normalizeButton()->click();
        const auto kept = f.table->view()->selectionModel()->selectedRows();
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept.front().row(), 1);
        QVERIFY(f.table->footer()->removeButton()->isEnabled());
        QCOMPARE(f.recipe().lines[0].amount, 60.0);
        QCOMPARE(f.recipe().lines[1].amount, 40.0);
        QCOMPARE(f.recipe().lines[2].amount, 10.0);
        QCOMPARE(f.document->undoStack()->undoText(), QStringLiteral("Normalize Base to 100"));
        // Normalised already: nothing is written.
        const int steps = f.document->undoStack()->count();
        f.table->normalizeButton()->click();
        QCOMPARE(f.document->undoStack()->count(), steps);
        f.document->undoStack()->undo();
        QCOMPARE(f.recipe(), original);

        Fixture empty({});
        QVERIFY(!empty.table->normalizeButton()->isEnabled());
        QVERIFY(!empty.table->normalizeButton()->toolTip().isEmpty());
        QVERIFY(!empty.table->footer()->removeButton()->isEnabled());
    }

    // The amount editor writes every value typed, so the table and totals follow the typing; one burst
    // is one undo step.
    void typingAnAmountWritesEachValue() {
        Fixture f({line("silica", 60), line("kaolin", 40)});
        f.table->show();
        LiveNumberField* editor = f.editAmount(1);
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("12.5"));
        QCOMPARE(f.recipe().lines[1].amount, 12.5);
        QCOMPARE(f.table->totals()->baseAmount()->text(), QStringLiteral("72.5"));
        QCOMPARE(f.document->undoStack()->count(), 1);
        // Text that does not parse takes the typing back at once, and the step with it.
        QTest::keyClicks(editor, QStringLiteral("x"));
        QCOMPARE(f.recipe().lines[1].amount, 40.0);
        QCOMPARE(editor->text(), QStringLiteral("12.5x"));
        QCOMPARE(f.document->undoStack()->count(), 0);
    }

    // An amount edit that ends on a text that is no number, or with Escape, takes back what its typing wrote
    // on the way: the line keeps its amount, no undo step is left and the book is not marked edited.
    void endingAnAmountEditKeepsOnlyANumberTyped_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("shown");
        const int tab = Qt::Key_Tab;
        QTest::newRow("de decimal point, Tab") << "de_DE"
                                               << "17.5" << tab << 40.0 << "40";
        QTest::newRow("de fraction wiped, Tab") << "de_DE"
                                                << "0.25" << tab << 40.0 << "40";
        QTest::newRow("de zero-led group, Tab") << "de_DE"
                                                << "0.125" << tab << 40.0 << "40";
        QTest::newRow("de four decimals, Return") << "de_DE"
                                                  << "1.2345" << int(Qt::Key_Return) << 40.0 << "40";
        QTest::newRow("en beyond the bound, Tab") << "en_US"
                                                  << "99999999999" << tab << 40.0 << "40";
        QTest::newRow("en number, Escape") << "en_US"
                                           << "25" << int(Qt::Key_Escape) << 40.0 << "40";
        QTest::newRow("de decimal comma, Tab") << "de_DE"
                                               << "17,5" << tab << 17.5 << "17,5";
        QTest::newRow("de minus zero, Tab") << "de_DE"
                                            << "-0" << tab << 0.0 << "0";
    }
    void endingAnAmountEditKeepsOnlyANumberTyped() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(double, stored);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        Fixture f({line("silica", 60), line("kaolin", 40)});
        QVERIFY(OrzaTest::showActive(*f.table));
        LiveNumberField* editor = f.editAmount(1);
        QVERIFY(editor);
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key(key));
        QCOMPARE(f.recipe().lines[1].amount, stored);
        QCOMPARE(f.cell(1, RecipeLinesModel::amountColumn), shown);
        QCOMPARE(f.document->undoStack()->count(), stored == 40 ? 0 : 1);
        QCOMPARE(f.document->isModified(), stored != 40);
    }

    // A reader hears each cell as the control it stands for: an amount by its number, in the locale's
    // writing, and an addition by whether it is one; a reader's tool can set both.
    void cellsReadAsTheirControls() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        Fixture f({line("silica", 28), line("rutile", 2.5, true)});
        f.table->resize(600, 300);
        f.table->show();
        QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(f.table->view())->tableInterface();
        QVERIFY(table);

        QAccessibleInterface* amount = table->cellAt(1, RecipeLinesModel::amountColumn);
        QCOMPARE(amount->text(QAccessible::Name), QStringLiteral("Amount of Rutile"));
        QCOMPARE(amount->text(QAccessible::Value), QStringLiteral("2,5"));
        QVERIFY(amount->textInterface());
        QCOMPARE(amount->textInterface()->text(0, amount->textInterface()->characterCount()), QStringLiteral("2,5"));
        QAccessibleValueInterface* value = amount->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toDouble(), 2.5);
        QCOMPARE(value->minimumValue().toDouble(), 0.0);
        value->setCurrentValue(3.25);
        QCOMPARE(f.recipe().lines[1].amount, 3.25);
        QCOMPARE(amount->text(QAccessible::Value), QStringLiteral("3,25"));
        value->setCurrentValue(-1.0); // no field takes it, nor does the cell
        QCOMPARE(f.recipe().lines[1].amount, 3.25);

        QAccessibleInterface* base = table->cellAt(0, RecipeLinesModel::additionColumn);
        QAccessibleInterface* addition = table->cellAt(1, RecipeLinesModel::additionColumn);
        QCOMPARE(base->text(QAccessible::Name), QStringLiteral("Silica is an addition"));
        QVERIFY(base->state().checkable);
        QVERIFY(!base->state().checked);
        QVERIFY(addition->state().checkable);
        QVERIFY(addition->state().checked);
        QVERIFY(base->actionInterface());
        QVERIFY(base->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        base->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(f.recipe().lines[0].isAddition);
        QVERIFY(base->state().checked);
        // The same action takes it back, and takes an addition into the base.
        base->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        addition->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(!f.recipe().lines[0].isAddition);
        QVERIFY(!f.recipe().lines[1].isAddition);
        QVERIFY(!base->state().checked);
        QVERIFY(!addition->state().checked);

        // The largest amount a field takes, the cell takes too.
        value->setCurrentValue(value->maximumValue());
        QCOMPARE(f.recipe().lines[1].amount, 1'000'000.0);
        QCOMPARE(value->maximumValue().toDouble(), 1'000'000.0);

        // Neither the percent share, the material nor the switch is a number; only the switch toggles.
        for (int row : {0, 1})
            for (int column :
                 {RecipeLinesModel::materialColumn, RecipeLinesModel::percentColumn, RecipeLinesModel::additionColumn})
                QVERIFY2(!table->cellAt(row, column)->valueInterface(), qPrintable(QString::number(column)));
        QAccessibleInterface* percent = table->cellAt(0, RecipeLinesModel::percentColumn);
        QVERIFY(!percent->state().checkable);
        QVERIFY(!table->cellAt(0, RecipeLinesModel::materialColumn)->state().checkable);

        // A line taken out: the cell in its place reads the line that moved up.
        QCOMPARE(table->cellAt(0, RecipeLinesModel::amountColumn)->text(QAccessible::Value), QStringLiteral("28"));
        f.table->view()->selectRow(0);
        f.table->removeSelectedLines();
        QCOMPARE(table->cellAt(0, RecipeLinesModel::amountColumn)->text(QAccessible::Value), QStringLiteral("1000000"));
    }

    // A reader hears each cell that changes as it changes: a share the amounts move, a material picked, an
    // amount typed, an addition switched with Space.
    void cellChangesAreAnnounced_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("share");
        QTest::addColumn<QString>("stale");
        QTest::newRow("en") << QStringLiteral("en_US") << QStringLiteral("28.6 % of base")
                            << QStringLiteral("57.1 % of base");
        QTest::newRow("de") << QStringLiteral("de_DE") << QStringLiteral("28,6 % of base")
                            << QStringLiteral("57,1 % of base");
    }
    void cellChangesAreAnnounced() {
        QFETCH(QString, locale);
        QFETCH(QString, share);
        QFETCH(QString, stale);
        QLocale::setDefault(QLocale(locale));
        OrzaTest::AccessibleEvents events;
        Fixture f({line("silica", 25), line("kaolin", 25), line("", 20), line("whiting", 10, true)});
        f.table->resize(600, 300);
        QVERIFY(OrzaTest::showActive(*f.table));
        RecipeLinesView* view = f.table->view();
        QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(view)->tableInterface();
        for (int column = 0; column < RecipeLinesModel::totalColumns; ++column)
            table->cellAt(2, column); // read once, as a reader walking the line does

        MaterialPicker* picker = f.table->openPicker(f.model().index(2, 0));
        QVERIFY(picker);
        picker->list()->searchField()->setText(QStringLiteral("rutile"));
        QTest::keyClick(picker->list()->searchField(), Qt::Key_Return);
        QCOMPARE(events.named(QAccessible::NameChanged, QStringLiteral("Material: Rutile")).size(), 1);
        QCOMPARE(events.named(QAccessible::NameChanged, QStringLiteral("Amount of Rutile")).size(), 1);

        events.clear();
        f.model().setData(f.model().index(2, RecipeLinesModel::amountColumn), 40.0);
        f.model().setData(f.model().index(2, RecipeLinesModel::amountColumn), 20.0);
        QCOMPARE(f.cell(2, RecipeLinesModel::percentColumn, Qt::AccessibleTextRole), share);
        QCOMPARE(events.named(QAccessible::NameChanged, share).size(), 1);
        // The share is told against the new total, never the old one (40 of 70).
        QVERIFY(events.named(QAccessible::NameChanged, stale).isEmpty());
        const auto amounts = events.named(QAccessible::ValueChanged, QStringLiteral("Amount of Rutile"));
        QCOMPARE(amounts.size(), 2);
        QCOMPARE(amounts.last().value, QStringLiteral("20"));
        QCOMPARE(amounts.last().changedValue.toDouble(), 20.0);
        // A share that did not move is not told again, nor is a name that stayed.
        QVERIFY(events.named(QAccessible::NameChanged, QStringLiteral("Material: Rutile")).isEmpty());

        events.clear();
        view->setFocus(Qt::OtherFocusReason);
        view->setCurrentIndex(f.model().index(2, RecipeLinesModel::additionColumn));
        for (bool checked : {true, false}) {
            QTest::keyClick(view, Qt::Key_Space);
            QCOMPARE(f.recipe().lines[2].isAddition, checked);
            const auto switched = events.named(QAccessible::StateChanged, QStringLiteral("Rutile is an addition"));
            QCOMPARE(switched.size(), checked ? 1 : 2);
            QCOMPARE(switched.last().state.checked, checked);
        }
    }

    // Tab and Shift+Tab leave the table for the controls around it, from a cell and from an amount being
    // typed alike; the arrows move between the cells.
    void tabLeavesTheTableAndTheArrowsWalkItsCells() {
        Fixture f({line("silica", 60), line("kaolin", 40)});
        QVERIFY(OrzaTest::showActive(*f.table));
        RecipeLinesView* view = f.table->view();
        // Shift+Tab comes as Backtab, as the desktop sends it.
        const auto tabFromTheTable = [&](Qt::Key key) {
            view->setFocus(Qt::OtherFocusReason);
            view->setCurrentIndex(f.model().index(0, RecipeLinesModel::materialColumn));
            QTest::keyClick(view, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            return QApplication::focusWidget();
        };
        QWidget* next = tabFromTheTable(Qt::Key_Tab);
        QWidget* previous = tabFromTheTable(Qt::Key_Backtab);
        QVERIFY(next && next != view);
        QVERIFY(previous && previous != view);
        QCOMPARE(next, static_cast<QWidget*>(f.table->footer()->addButton()));

        view->setFocus(Qt::OtherFocusReason);
        view->setCurrentIndex(f.model().index(0, RecipeLinesModel::materialColumn));
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(view->currentIndex().column(), int(RecipeLinesModel::amountColumn));
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(view->currentIndex().row(), 1);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));

        const std::pair<Qt::Key, QWidget*> tabs[] = {{Qt::Key_Tab, next}, {Qt::Key_Backtab, previous}};
        for (const auto& [key, expected] : tabs) {
            OrzaTest::settle(); // the editor closed before is gone
            LiveNumberField* editor = f.editAmount(1);
            QVERIFY(editor);
            editor->setFocus(Qt::OtherFocusReason);
            const QString typed = key == Qt::Key_Tab ? QStringLiteral("12.5") : QStringLiteral("8");
            QTest::keyClicks(editor, typed);
            QTest::keyClick(editor, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(QApplication::focusWidget(), expected);
            QCOMPARE(f.recipe().lines[1].amount, typed.toDouble());
        }
    }

    void pickerWritesTheChosenMaterial() {
        Fixture f({line("", 0)});
        f.table->show();
        MaterialPicker* picker = f.table->openPicker(f.model().index(0, 0));
        QVERIFY(picker);
        picker->list()->searchField()->setText(QStringLiteral("whiting"));
        QTest::keyClick(picker->list()->searchField(), Qt::Key_Return);
        QCOMPARE(f.recipe().lines[0].materialID, std::string("whiting"));
        QCOMPARE(f.cell(0, RecipeLinesModel::materialColumn), QStringLiteral("Whiting"));
        QVERIFY(f.model().index(0, 0).data(RecipeLinesModel::materialUsableRole).toBool());

        // A second pick on the same line is a step of its own: one undo takes back only that pick.
        picker = f.table->openPicker(f.model().index(0, 0));
        picker->list()->searchField()->setText(QStringLiteral("kaolin"));
        QTest::keyClick(picker->list()->searchField(), Qt::Key_Return);
        QCOMPARE(f.recipe().lines[0].materialID, std::string("kaolin"));
        QCOMPARE(f.document->undoStack()->count(), 2);
        f.document->undoStack()->undo();
        QCOMPARE(f.recipe().lines[0].materialID, std::string("whiting"));
    }

    // Replace Material is offered for one base row of a usable material, and only when it can be served.
    void contextMenuOffersReplaceForOneUsableBaseRow() {
        Fixture f({line("silica", 60), line("rutile", 5, true), line("no-such", 5), line("", 4)});
        const auto rows = [&](std::initializer_list<int> list) {
            QModelIndexList indexes;
            for (int row : list)
                indexes << f.model().index(row, 0);
            return indexes;
        };
        QVERIFY(!f.table->contextMenuFor(rows({0}), nullptr)); // nothing serves it yet
        std::string asked;
        f.table->setReplaceAction([&](const std::string& id) { asked = id; });
        std::unique_ptr<QMenu> menu(f.table->contextMenuFor(rows({0}), nullptr));
        QVERIFY(menu);
        QCOMPARE(menu->actions().front()->text(), QStringLiteral("Replace Material\u2026"));
        menu->actions().front()->trigger();
        QCOMPARE(asked, std::string("silica"));
        for (int row : {1, 2, 3})
            QVERIFY(!f.table->contextMenuFor(rows({row}), nullptr));
        QVERIFY(!f.table->contextMenuFor(rows({0, 1}), nullptr));
    }

    // No editor puts into the book what the file refuses: no line past the limit.
    void addingStopsAtTheLineLimit() {
        std::vector<RecipeLine> many(static_cast<std::size_t>(GlazeCore::GlazeBookValidation::maxLinesPerRecipe));
        for (auto& each : many)
            each.id = Uuid::random();
        Fixture f(std::move(many));
        QVERIFY(!f.table->footer()->addButton()->isEnabled());
        f.table->addLine();
        QCOMPARE(f.recipe().lines.size(), std::size_t(GlazeCore::GlazeBookValidation::maxLinesPerRecipe));
    }
};

QTEST_MAIN(RecipeLinesTableTest)
#include "RecipeLinesTableTest.moc"
