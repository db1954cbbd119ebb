#include "Orza/testlog/FiringScheduleEditor.h"
#include "GlazeCore/book/FiringSchedule.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/widgets/LiveNumberField.h"
#include "TileFixture.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using Orza::FiringScheduleEditor;
using Column = FiringScheduleEditor::Column;

namespace {

GlazeCore::GlazeBook bookWithSchedule(std::vector<GlazeCore::FiringSegment> schedule) {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.schedule = std::move(schedule);
    book.tests.push_back(tile);
    return book;
}

std::vector<double> targets(const OrzaTest::TileFixture& fixture) {
    std::vector<double> values;
    for (const auto& segment : fixture.tile().schedule)
        values.push_back(segment.targetC);
    return values;
}

/// Types into the field as a user does: the field has the focus, the text is replaced key by key.
void typeInto(Orza::LiveNumberField* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

} // namespace

class FiringScheduleEditorTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
    void setUp() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void tearDown() override { QLocale::setDefault(QLocale::c()); }

private slots:
    void segmentsAddRemoveAndResetAsUndoableSteps();
    void typedValuesMergeAndValuesBeyondTheBookAreRefused();
    void addSegmentStopsAtTheBooksLimit();
};

void FiringScheduleEditorTest::segmentsAddRemoveAndResetAsUndoableSteps() {
    OrzaTest::TileFixture fixture(bookWithSchedule({}));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QCOMPARE(editor.rowCount(), 0);
    QCOMPARE(editor.totalLabel()->text(), QStringLiteral("Total: 0.0 h"));

    editor.addButton()->click();
    editor.addButton()->click();
    QCOMPARE(targets(fixture), (std::vector<double>{700, 800}));
    QCOMPARE(fixture.tile().schedule[1].ratePerHour, 100.0);
    QCOMPARE(fixture.steps(), 2);
    QCOMPARE(editor.rowCount(), 2);

    editor.cone6Button()->click();
    QCOMPARE(targets(fixture), (std::vector<double>{600, 1100, 1220}));
    QCOMPARE(editor.totalLabel()->text(), QStringLiteral("Total: 8.3 h"));
    editor.addButton()->click();
    QCOMPARE(fixture.tile().schedule.back().targetC, 1320.0);
    QCOMPARE(fixture.tile().schedule.back().holdMinutes, 0.0);

    // Removing the second segment moves the later ones up, labels and all.
    editor.removeButton(1)->click();
    QCOMPARE(targets(fixture), (std::vector<double>{600, 1220, 1320}));
    QCOMPARE(editor.rowCount(), 3);
    QCOMPARE(editor.field(1, Column::target)->text(), QStringLiteral("1220"));
    QCOMPARE(editor.field(2, Column::rate)->accessibleName(), QStringLiteral("Segment 3 rate in degrees per hour"));
    QCOMPARE(editor.removeButton(2)->accessibleName(), QStringLiteral("Remove segment 3"));

    // Each button was one step: undo walks back through them, and the rows follow.
    fixture.document.undoStack()->undo();
    QCOMPARE(targets(fixture), (std::vector<double>{600, 1100, 1220, 1320}));
    QCOMPARE(editor.field(1, Column::target)->text(), QStringLiteral("1100"));
    fixture.document.undoStack()->undo();
    fixture.document.undoStack()->undo();
    QCOMPARE(targets(fixture), (std::vector<double>{700, 800}));
    QCOMPARE(editor.rowCount(), 2);
    QCOMPARE(editor.totalLabel()->text(), QStringLiteral("Total: 7.8 h"));

    // A row index from a row that has gone changes nothing.
    const int before = fixture.steps();
    editor.removeSegment(5);
    QCOMPARE(fixture.steps(), before);
}

void FiringScheduleEditorTest::typedValuesMergeAndValuesBeyondTheBookAreRefused() {
    OrzaTest::TileFixture fixture(bookWithSchedule(GlazeCore::FiringSchedule::cone6DefaultSchedule()));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    editor.show();
    Orza::LiveNumberField* target = editor.field(2, Column::target);

    typeInto(target, QStringLiteral("1240"));
    QCOMPARE(fixture.tile().schedule[2].targetC, 1240.0);
    QVERIFY(editor.problemLabel()->isHidden());

    QSignalSpy announced(editor.problemLabel(), &Orza::ProblemLabel::announced);
    typeInto(target, QStringLiteral("2000000"));
    QCOMPARE(fixture.tile().schedule[2].targetC, 200000.0); // the last digit went beyond the limit
    QVERIFY(!editor.problemLabel()->isHidden());
    QVERIFY(editor.problemLabel()->text().contains(QStringLiteral("1,000,000")));
    QCOMPARE(announced.count(), 1);

    // A negative value is taken, as the book holds it; the message goes.
    typeInto(target, QStringLiteral("-5"));
    QCOMPARE(fixture.tile().schedule[2].targetC, -5.0);
    QVERIFY(editor.problemLabel()->isHidden());

    // All that typing in one field is one step.
    QCOMPARE(fixture.steps(), 1);
    fixture.document.undoStack()->undo();
    QCOMPARE(fixture.tile().schedule[2].targetC, 1220.0);
    QCOMPARE(target->text(), QStringLiteral("1220"));

    // The limit itself is within what the book holds.
    typeInto(editor.field(0, Column::hold), QStringLiteral("1000000"));
    QCOMPARE(fixture.tile().schedule[0].holdMinutes, 1000000.0);
    QVERIFY(editor.problemLabel()->isHidden());
}

void FiringScheduleEditorTest::addSegmentStopsAtTheBooksLimit() {
    OrzaTest::TileFixture fixture(bookWithSchedule(std::vector<GlazeCore::FiringSegment>(1000, {100, 900, 0})));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QVERIFY(!editor.addButton()->isEnabled());
    QVERIFY(editor.addButton()->toolTip().contains(QStringLiteral("1,000 segments")));
    editor.addFiringSegment();
    QCOMPARE(fixture.tile().schedule.size(), std::size_t(1000));

    editor.removeSegment(0);
    QVERIFY(editor.addButton()->isEnabled());
    QVERIFY(editor.addButton()->toolTip().isEmpty());
    editor.addFiringSegment();
    QCOMPARE(fixture.tile().schedule.size(), std::size_t(1000));
    QCOMPARE(editor.rowCount(), 1000);
}

QTEST_MAIN(FiringScheduleEditorTest)
#include "FiringScheduleEditorTest.moc"
