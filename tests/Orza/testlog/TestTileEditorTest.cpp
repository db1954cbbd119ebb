#include "Orza/testlog/TestTileEditor.h"
#include "GlazeCore/book/FiringSchedule.h"
#include "GlazeCore/book/SampleBook.h"
#include "Orza/testlog/FiringRampChart.h"
#include "Orza/testlog/FiringScheduleEditor.h"
#include "Orza/testlog/TileCodeField.h"
#include "TileFixture.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

#include <chrono>

using Orza::TestTileEditor;

namespace {

QStringList items(const QComboBox* picker) {
    QStringList titles;
    for (int i = 0; i < picker->count(); ++i)
        titles << picker->itemText(i);
    return titles;
}

GlazeCore::Date localDate(int year, int month, int day, QTime time) {
    const QDateTime local(QDate(year, month, day), time);
    return GlazeCore::Date(std::chrono::milliseconds(local.toMSecsSinceEpoch()));
}

} // namespace

class TestTileEditorTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
    void setUp() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void tearDown() override { QLocale::setDefault(QLocale::c()); }

private slots:
    void pickersOfferTheStoredValueWhenItIsNoneOfTheirRows();
    void theDateChangesTheDayAndKeepsTheTimeOfDay();
    void fieldsFollowTheBookAndShowingChangesNothing();
    void theWheelTurnsOnlyAFocusedPicker();
};

void TestTileEditorTest::pickersOfferTheStoredValueWhenItIsNoneOfTheirRows() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon", "Tenmoku"});
    GlazeCore::TestTile tile = OrzaTest::tile(GlazeCore::Uuid::random(), "5.5", "T-001");
    tile.atmosphere = "oxidation";
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);

    QCOMPARE(items(editor.recipePicker()), (QStringList{"Celadon", "Tenmoku", "Deleted recipe"}));
    QCOMPARE(editor.recipePicker()->currentText(), QStringLiteral("Deleted recipe"));
    QCOMPARE(editor.conePicker()->count(), 38);
    QCOMPARE(editor.conePicker()->itemText(0), QStringLiteral("Cone 022"));
    QCOMPARE(editor.conePicker()->currentText(), QStringLiteral("Cone 5.5"));
    QCOMPARE(items(editor.atmospherePicker()).last(), QStringLiteral("oxidation"));
    QCOMPARE(editor.atmospherePicker()->count(), 7);

    // Choosing a row writes it, and the extra row goes.
    editor.recipePicker()->setCurrentIndex(1);
    emit editor.recipePicker()->activated(1);
    QCOMPARE(fixture.tile().recipeID, book.recipes[1].id);
    QCOMPARE(items(editor.recipePicker()), (QStringList{"Celadon", "Tenmoku"}));
    const int cone6 = editor.conePicker()->findText(QStringLiteral("Cone 6"));
    emit editor.conePicker()->activated(cone6);
    QCOMPARE(fixture.tile().cone, std::string("6"));
    QCOMPARE(editor.conePicker()->count(), 37);
    emit editor.atmospherePicker()->activated(1);
    QCOMPARE(fixture.tile().atmosphere, std::string("Reduction"));
    QCOMPARE(fixture.steps(), 3);

    // Renaming or deleting a recipe shows in the picker at once.
    fixture.document.setRecipeName(book.recipes[1].id, "Tenmoku 2");
    QCOMPARE(editor.recipePicker()->currentText(), QStringLiteral("Tenmoku 2"));
    fixture.document.removeRecipe(book.recipes[1].id);
    QCOMPARE(items(editor.recipePicker()), (QStringList{"Celadon", "Deleted recipe"}));
    QCOMPARE(editor.recipePicker()->currentText(), QStringLiteral("Deleted recipe"));
}

void TestTileEditorTest::theDateChangesTheDayAndKeepsTheTimeOfDay() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = localDate(2024, 3, 5, QTime(14, 37, 12, 250));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QCOMPARE(editor.datePicker()->date(), QDate(2024, 3, 5));
    QCOMPARE(fixture.steps(), 0);

    editor.datePicker()->setDate(QDate(2024, 11, 9));
    QCOMPARE(fixture.tile().date, localDate(2024, 11, 9, QTime(14, 37, 12, 250)));
    fixture.document.undoStack()->undo();
    QCOMPARE(fixture.tile().date, tile.date);
    QCOMPARE(editor.datePicker()->date(), QDate(2024, 3, 5));
}

void TestTileEditorTest::fieldsFollowTheBookAndShowingChangesNothing() {
    GlazeCore::GlazeBook book = GlazeCore::SampleBook::makeBook();
    book.tests[1].code = " T-002 ";
    OrzaTest::TileFixture fixture(book);
    for (const GlazeCore::TestTile& shown : book.tests)
        TestTileEditor(fixture.document, fixture.actions, shown.id);
    QCOMPARE(fixture.steps(), 0);
    QVERIFY(!fixture.document.isModified());

    const GlazeCore::Uuid id = book.tests[1].id;
    TestTileEditor editor(fixture.document, fixture.actions, id);
    QVERIFY(!editor.codeField()->printLabelButton()->isEnabled());
    QCOMPARE(editor.codeField()->lineEdit()->text(), QStringLiteral(" T-002 "));
    QCOMPARE(editor.rampChart()->points(), GlazeCore::FiringSchedule::rampPoints(book.tests[1].schedule));

    // Notes typed go into the book; an undo shows in the editor.
    editor.notesEditor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor.notesEditor(), QStringLiteral(" Crawled."));
    QCOMPARE(fixture.tile(1).notes, book.tests[1].notes + " Crawled.");
    fixture.document.undoStack()->undo();
    QCOMPARE(editor.notesEditor()->toPlainText(), QString::fromStdString(book.tests[1].notes));

    // The chart follows the schedule wherever it changed.
    fixture.document.setTileSchedule(id, {{100, 1000, 60}});
    QCOMPARE(editor.scheduleEditor()->rowCount(), 1);
    QCOMPARE(editor.rampChart()->points().back().hours, 10.8);
    QCOMPARE(editor.rampChart()->summary(),
             QStringLiteral("1 segments. Peak 1,000 degrees Celsius at 9.8 hours. Total 10.8 hours."));

    // A tile that leaves the book leaves the form disabled; the undo brings both back.
    fixture.document.removeTests({id});
    QVERIFY(!editor.widget()->isEnabled());
    fixture.document.undoStack()->undo();
    QVERIFY(editor.widget()->isEnabled());
    QCOMPARE(editor.codeField()->lineEdit()->text(), QStringLiteral(" T-002 "));
}

void TestTileEditorTest::theWheelTurnsOnlyAFocusedPicker() {
    OrzaTest::TileFixture fixture(GlazeCore::SampleBook::makeBook());
    TestTileEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    editor.resize(480, 320);
    QVERIFY(OrzaTest::showActive(editor));
    QScrollBar* bar = editor.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    const int recipe = editor.recipePicker()->currentIndex();
    const QDate fired = editor.datePicker()->date();

    // Over a picker without the focus the form scrolls and the tile stays as it is.
    OrzaTest::wheel(editor.recipePicker(), -120);
    QVERIFY(bar->value() > 0);
    QCOMPARE(editor.recipePicker()->currentIndex(), recipe);
    OrzaTest::wheel(editor.datePicker(), 120);
    QCOMPARE(editor.datePicker()->date(), fired);

    // Anywhere else the wheel is left to what is under it: the form, the chart, the notes and the scroll bar.
    for (QWidget* target :
         std::initializer_list<QWidget*>{editor.widget(), editor.rampChart(), editor.notesEditor()->viewport(), bar}) {
        OrzaTest::wheel(target, -120);
        OrzaTest::wheel(target, 120);
    }
    bar->setValue(0);
    OrzaTest::wheel(editor.widget(), -120);
    QVERIFY(bar->value() > 0);
    QCOMPARE(fixture.steps(), 0);

    // A picker with the focus takes the wheel: one step.
    editor.conePicker()->setFocus();
    QVERIFY(editor.conePicker()->hasFocus());
    const std::string cone = fixture.tile().cone;
    OrzaTest::wheel(editor.conePicker(), -120);
    QVERIFY(fixture.tile().cone != cone);
    QCOMPARE(fixture.steps(), 1);
}

QTEST_MAIN(TestTileEditorTest)
#include "TestTileEditorTest.moc"
