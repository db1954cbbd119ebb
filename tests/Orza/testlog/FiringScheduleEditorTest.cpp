#include "Orza/testlog/FiringScheduleEditor.h"
#include "GlazeCore/book/FiringSchedule.h"
#include "Orza/testlog/FiringRampChart.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/widgets/LiveNumberField.h"
#include "TileFixture.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QAction>
#include <QChart>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

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

/// The schedule as "rate/target/hold" per segment, blank between segments.
QString scheduleText(const std::vector<GlazeCore::FiringSegment>& schedule) {
    QStringList segments;
    for (const auto& segment : schedule)
        segments << QStringLiteral("%1/%2/%3").arg(segment.ratePerHour).arg(segment.targetC).arg(segment.holdMinutes);
    return segments.join(QLatin1Char(' '));
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
    void typedNumbersReadAsTheLocaleWritesThem_data();
    void typedNumbersReadAsTheLocaleWritesThem();
    void addSegmentStopsAtTheBooksLimit();
    void escapeAndSavingEndAnEditAsLeavingDoes();
    void returnEndsAnEditAndWhatItConfirmedStays_data();
    void returnEndsAnEditAndWhatItConfirmedStays();
    void returnAloneEndsATypingBurst();
    void aTotalTooLargeToShowSaysSo();
    void rowsMovingUnderAnEditKeepEachSegmentsValues_data();
    void aSlowRateNeverReadsAsZero_data();
    void aSlowRateNeverReadsAsZero();
    void rowsMovingUnderAnEditKeepEachSegmentsValues();
    void aReaderHearsEachSegmentOnceAndTheChartAsOneElement();
};

void FiringScheduleEditorTest::aReaderHearsEachSegmentOnceAndTheChartAsOneElement() {
    OrzaTest::TileFixture fixture(bookWithSchedule(GlazeCore::FiringSchedule::cone6DefaultSchedule()));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    editor.show();
    // The fields name their segment and column, so the headings above them are not read.
    const QStringList spoken = OrzaTest::spokenTexts(&editor);
    for (const QString& heading : {QStringLiteral("Segment"), QStringLiteral("Rate °C/h"), QStringLiteral("Target °C"),
                                   QStringLiteral("Hold min")})
        QVERIFY2(!spoken.contains(heading), qPrintable(spoken.join(QLatin1Char('|'))));
    QVERIFY2(!spoken.filter(QStringLiteral("Segment 1 rate in degrees per hour")).isEmpty(),
             qPrintable(spoken.join(QLatin1Char('|'))));

    // The chart is one element, its summary its description; the view's viewport is not a stop of its own.
    Orza::FiringRampChart chart;
    chart.setSchedule(fixture.tile().schedule);
    QAccessibleInterface* element = QAccessible::queryAccessibleInterface(&chart);
    QCOMPARE(element->role(), QAccessible::Chart);
    QCOMPARE(element->text(QAccessible::Name), QStringLiteral("Firing ramp chart"));
    QCOMPARE(element->text(QAccessible::Description), chart.summary());
    QCOMPARE(element->childCount(), 0);
}

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
    QVERIFY(OrzaTest::showActive(editor));
    Orza::LiveNumberField* target = editor.field(2, Column::target);

    typeInto(target, QStringLiteral("1240"));
    QCOMPARE(fixture.tile().schedule[2].targetC, 1240.0);
    QVERIFY(editor.problemLabel()->isHidden());

    QSignalSpy announced(editor.problemLabel(), &Orza::ProblemLabel::announced);
    typeInto(target, QStringLiteral("2000000"));
    // The last digit went beyond the limit: the target is back where the edit began at once.
    QCOMPARE(fixture.tile().schedule[2].targetC, 1220.0);
    QVERIFY(!editor.problemLabel()->isHidden());
    // The sentence names the value leaving the field goes back to, as the field will show it.
    QCOMPARE(editor.problemLabel()->text(),
             QStringLiteral("Enter a number from -1,000,000 to 1,000,000. Segment 3 keeps its target of 1220 °C."));
    QCOMPARE(announced.count(), 1);
    QVERIFY(!target->accessibleDescription().isEmpty());

    // Leaving takes the whole edit back, 1240 and all: no step is left and the book is not edited.
    editor.field(2, Column::hold)->setFocus(Qt::TabFocusReason);
    QCOMPARE(fixture.tile().schedule[2].targetC, 1220.0);
    QCOMPARE(target->text(), QStringLiteral("1220"));
    QVERIFY(editor.problemLabel()->isHidden());
    QCOMPARE(fixture.steps(), 0);
    QVERIFY(!fixture.document.isModified());

    // A negative value is taken, as the book holds it; the message goes.
    typeInto(target, QStringLiteral("1240"));
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

    // Text that is no number at all names what the segment keeps too; Undo while it stands ends the edit
    // first, and the message goes with it.
    typeInto(editor.field(0, Column::rate), QStringLiteral("1x"));
    QCOMPARE(editor.problemLabel()->text(),
             QStringLiteral("Enter a number from -1,000,000 to 1,000,000. Segment 1 keeps its rate of 150 °C/h."));
    fixture.actions.action(Orza::Command::undo)->trigger();
    QCOMPARE(fixture.tile().schedule[0].holdMinutes, 0.0);
    QCOMPARE(editor.field(0, Column::rate)->text(), QStringLiteral("150"));
    QVERIFY(editor.problemLabel()->isHidden());
}

void FiringScheduleEditorTest::typedNumbersReadAsTheLocaleWritesThem_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored");
    QTest::addColumn<bool>("refused");
    // A refused text keeps the rate the segment had, 150.
    QTest::newRow("en comma in the fraction") << "en_US"
                                              << "1,50" << 150.0 << true;
    QTest::newRow("en grouped") << "en_US"
                                << "1,500" << 1500.0 << false;
    QTest::newRow("de full stop in the fraction") << "de_DE"
                                                  << "1.50" << 150.0 << true;
    QTest::newRow("de decimal point") << "de_DE"
                                      << "19.5" << 150.0 << true;
    QTest::newRow("de zero-led group") << "de_DE"
                                       << "0.125" << 150.0 << true;
    QTest::newRow("de grouped") << "de_DE"
                                << "1.500" << 1500.0 << false;
    QTest::newRow("fr full stop") << "fr_FR"
                                  << "1.50" << 150.0 << true;
    QTest::newRow("fr grouped with a space") << "fr_FR"
                                             << "1 500" << 1500.0 << false;
    QTest::newRow("ch comma") << "de_CH"
                              << "1,50" << 150.0 << true;
    QTest::newRow("en too small to hold") << "en_US"
                                          << "1e-400" << 150.0 << true;
    QTest::newRow("ch grouped with an apostrophe") << "de_CH"
                                                   << "1'500" << 1500.0 << false;
    QTest::newRow("ch decimal point") << "de_CH"
                                      << "19.5" << 19.5 << false;
}

void FiringScheduleEditorTest::typedNumbersReadAsTheLocaleWritesThem() {
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(double, stored);
    QFETCH(bool, refused);
    QLocale::setDefault(QLocale(locale));
    OrzaTest::TileFixture fixture(bookWithSchedule(GlazeCore::FiringSchedule::cone6DefaultSchedule()));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QVERIFY(OrzaTest::showActive(editor));

    typeInto(editor.field(0, Column::rate), typed);
    QCOMPARE(fixture.tile().schedule[0].ratePerHour, stored);
    QCOMPARE(editor.problemLabel()->isVisible(), refused);
    QCOMPARE(editor.field(0, Column::rate)->accessibleDescription().isEmpty(), !refused);
    // Leaving keeps only a number typed in full.
    editor.field(0, Column::target)->setFocus(Qt::TabFocusReason);
    QCOMPARE(fixture.tile().schedule[0].ratePerHour, stored);
    QCOMPARE(fixture.steps(), refused ? 0 : 1);
}

// Return ends the edit in each of a segment's fields as leaving does: what it confirmed stays, through a
// refused text, a Tab and Escape after it, and what is typed next is a step of its own.
void FiringScheduleEditorTest::returnEndsAnEditAndWhatItConfirmedStays_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("locale");
    QTest::newRow("rate, de") << int(Column::rate) << "de_DE";
    QTest::newRow("target, en") << int(Column::target) << "en_US";
    QTest::newRow("hold, de") << int(Column::hold) << "de_DE";
}

void FiringScheduleEditorTest::returnEndsAnEditAndWhatItConfirmedStays() {
    QFETCH(int, column);
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    OrzaTest::TileFixture fixture(bookWithSchedule(GlazeCore::FiringSchedule::cone6DefaultSchedule()));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QVERIFY(OrzaTest::showActive(editor));
    Orza::LiveNumberField* field = editor.field(0, Column(column));
    const auto stored = [&] {
        GlazeCore::FiringSegment segment = fixture.tile().schedule[0];
        return Column(column) == Column::rate     ? segment.ratePerHour
               : Column(column) == Column::target ? segment.targetC
                                                  : segment.holdMinutes;
    };
    const double before = stored();

    typeInto(field, QStringLiteral("200"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->text(), QStringLiteral("200"));
    QCOMPARE(fixture.document.undoStack()->undoText(), QStringLiteral("Edit Firing Schedule"));
    typeInto(field, QStringLiteral("abc"));
    editor.field(1, Column::rate)->setFocus(Qt::TabFocusReason);
    QCOMPARE(stored(), 200.0);
    QCOMPARE(field->text(), QStringLiteral("200"));
    QCOMPARE(fixture.steps(), 1);

    typeInto(field, QStringLiteral("300"));
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Escape);
    QCOMPARE(stored(), 300.0);
    QCOMPARE(fixture.steps(), 2);
    fixture.document.undoStack()->undo();
    QCOMPARE(stored(), 200.0);
    fixture.document.undoStack()->undo();
    QCOMPARE(stored(), before);
}

// Return ends the typing burst without the focus moving: numbers confirmed one after another in one field
// are a step each.
void FiringScheduleEditorTest::returnAloneEndsATypingBurst() {
    OrzaTest::TileFixture fixture(bookWithSchedule(GlazeCore::FiringSchedule::cone6DefaultSchedule()));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QVERIFY(OrzaTest::showActive(editor));
    Orza::LiveNumberField* field = editor.field(0, Column::target);
    const double before = fixture.tile().schedule[0].targetC;

    for (const QString& typed : {QStringLiteral("200"), QStringLiteral("300")}) {
        typeInto(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QVERIFY(field->hasFocus());
    QCOMPARE(fixture.steps(), 2);
    fixture.document.undoStack()->undo();
    QCOMPARE(fixture.tile().schedule[0].targetC, 200.0);
    fixture.document.undoStack()->undo();
    QCOMPARE(fixture.tile().schedule[0].targetC, before);
}

// A total beyond what the footer shows says so in a few characters, however slow the ramp: it never
// widens the editor with hundreds of digits or reads "inf", and the ramp chart still has room to draw.
void FiringScheduleEditorTest::aTotalTooLargeToShowSaysSo() {
    OrzaTest::TileFixture fixture(bookWithSchedule(GlazeCore::FiringSchedule::cone6DefaultSchedule()));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QVERIFY(OrzaTest::showActive(editor));
    Orza::FiringRampChart chart;
    chart.resize(420, 180);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    const int width = editor.sizeHint().width();
    for (const char* rate : {"3e-306", "1e-300"}) {
        typeInto(editor.field(0, Column::rate), QString::fromLatin1(rate));
        QCOMPARE(editor.totalLabel()->text(), QStringLiteral("Total: over 1,000,000 h"));
        QCOMPARE(editor.sizeHint().width(), width);
        chart.setSchedule(fixture.tile().schedule);
        QTest::qWait(1);
        QVERIFY2(chart.chart()->plotArea().width() > 200, rate);
    }
    QCOMPARE(chart.hoursAxis()->labelFormat(), QStringLiteral("%.1e"));
    typeInto(editor.field(0, Column::rate), QStringLiteral("0.1"));
    QCOMPARE(editor.totalLabel()->text(), QStringLiteral("Total: 5,804.4 h"));

    // The largest total shown is shown; a tenth of an hour past it is over. 999,980 h of ramp, then the hold.
    for (const auto& [hold, total] : std::initializer_list<std::pair<double, const char*>>{
             {1194, "Total: 999,999.9 h"}, {1200, "Total: 1,000,000.0 h"}, {1206, "Total: over 1,000,000 h"}}) {
        fixture.document.setTileSchedule(fixture.tile().id, {{1, 1'000'000, hold}});
        QCOMPARE(editor.totalLabel()->text(), QString::fromLatin1(total));
    }
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

// Escape cancels a field's edit, a number typed in full too. Saving mid-edit ends it as leaving does before
// the book is written: a refused text's prefix reaches neither the file nor an undo step, a number is kept.
void FiringScheduleEditorTest::escapeAndSavingEndAnEditAsLeavingDoes() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    OrzaTest::TileFixture fixture(bookWithSchedule(GlazeCore::FiringSchedule::cone6DefaultSchedule()));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QVERIFY(OrzaTest::showActive(editor));
    Orza::LiveNumberField* hold = editor.field(2, Column::hold);
    const auto holdInFile = [](const QString& path) {
        return Orza::GlazeDocument::read(path).book.tests[0].schedule[2].holdMinutes;
    };

    typeInto(hold, QStringLiteral("45"));
    QCOMPARE(fixture.tile().schedule[2].holdMinutes, 45.0);
    QTest::keyClick(hold, Qt::Key_Escape);
    QCOMPARE(fixture.tile().schedule[2].holdMinutes, 10.0);
    QCOMPARE(hold->text(), QStringLiteral("10"));
    QCOMPARE(fixture.steps(), 0);
    QVERIFY(!fixture.document.isModified());

    const QString path = filePath(QStringLiteral("tile.orzabook"));
    typeInto(hold, QStringLiteral("17.5"));
    QCOMPARE(fixture.tile().schedule[2].holdMinutes, 10.0); // 17 was taken back when ".5" was refused
    fixture.document.save(path);
    QCOMPARE(holdInFile(path), 10.0);
    QCOMPARE(hold->text(), QStringLiteral("10"));
    QVERIFY(editor.problemLabel()->isHidden());
    QCOMPARE(fixture.steps(), 0);
    QVERIFY(!fixture.document.isModified());

    typeInto(hold, QStringLiteral("17,5"));
    fixture.document.save(path);
    QCOMPARE(holdInFile(path), 17.5);
    QCOMPARE(hold->text(), QStringLiteral("17,5"));
    QCOMPARE(fixture.steps(), 1);
    QVERIFY(!fixture.document.isModified());
    QVERIFY(hold->hasFocus());
}

void FiringScheduleEditorTest::rowsMovingUnderAnEditKeepEachSegmentsValues_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("refusing");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("kept");
    // The value typed is the one of the segment that moves into the field's row; -1 removes nothing but
    // replaces the schedule with the cone 6 default.
    const auto row = [](const char* name, const char* locale, int row, Column column, const char* typed, int removed,
                        const char* refusing, const char* saved, const char* kept) {
        QTest::newRow(name) << QString::fromLatin1(locale) << row << int(column) << QString::fromLatin1(typed)
                            << removed << QString::fromLatin1(refusing) << QString::fromLatin1(saved)
                            << QString::fromUtf8(kept);
    };
    row("en rate, first removed", "en_US", 0, Column::rate, "200", 0, "x", "200/1100/0 50/1215/20",
        "Segment 1 keeps its rate of 200 °C/h.");
    row("de rate, first removed", "de_DE", 1, Column::rate, "50", 0, ".", "50/1100/0 50/1215/20",
        "Segment 2 keeps its rate of 50 °C/h.");
    row("en hold, first removed", "en_US", 1, Column::hold, "20", 0, "x", "200/1100/20 50/1215/20",
        "Segment 2 keeps its hold of 20 min.");
    row("en rate, cone 6 default", "en_US", 0, Column::rate, "150", -1, "x", "150/600/0 220/1100/0 60/1220/10",
        "Segment 1 keeps its rate of 150 °C/h.");
}

// The remove button takes no focus: typing went on in a row holding another segment, and a refusal wrote the
// value the edit began from into it, a step nobody made.
void FiringScheduleEditorTest::rowsMovingUnderAnEditKeepEachSegmentsValues() {
    QFETCH(QString, locale);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(int, removed);
    QFETCH(QString, refusing);
    QFETCH(QString, saved);
    QFETCH(QString, kept);
    QLocale::setDefault(QLocale(locale));
    OrzaTest::TileFixture fixture(bookWithSchedule({{120, 600, 0}, {200, 1100, 0}, {50, 1215, 20}}));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QVERIFY(OrzaTest::showActive(editor));
    Orza::LiveNumberField* field = editor.field(row, Column(column));

    typeInto(field, typed);
    if (removed >= 0)
        editor.removeButton(removed)->click();
    else
        editor.cone6Button()->click();
    QVERIFY(field->hasFocus());
    QTest::keyClicks(field, refusing);
    QVERIFY(editor.problemLabel()->text().endsWith(kept));
    QCOMPARE(scheduleText(fixture.tile().schedule), saved);
    QTest::keyClick(field, Qt::Key_Tab);
    QCOMPARE(scheduleText(fixture.tile().schedule), saved);
    // The typing and the button, nothing more.
    QCOMPARE(fixture.steps(), 2);
}

void FiringScheduleEditorTest::aSlowRateNeverReadsAsZero_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, const char* locale, const char* typed, double rate, const char* shown) {
        QTest::newRow(name) << QString::fromLatin1(locale) << QString::fromLatin1(typed) << rate
                            << QString::fromLatin1(shown);
    };
    row("en ten-thousandth", "en_US", "0.0001", 0.0001, "0.0001");
    row("de hundred-thousandth", "de_DE", "0,00001", 0.00001, "0,00001");
    row("en far below", "en_US", "1e-300", 1e-300, "1E-300");
    row("de far below", "de_DE", "1,5e-7", 1.5e-7, "1,5E-7");
    row("en a tenth, as before", "en_US", "0.1", 0.1, "0.1");
}

// A rate of 0.0001 °C/h showed as 0 beside a total of over a million hours, and a refused text then said the
// segment kept a rate of 0.
void FiringScheduleEditorTest::aSlowRateNeverReadsAsZero() {
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(double, rate);
    QFETCH(QString, shown);
    QLocale::setDefault(QLocale(locale));
    OrzaTest::TileFixture fixture(bookWithSchedule(GlazeCore::FiringSchedule::cone6DefaultSchedule()));
    FiringScheduleEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    QVERIFY(OrzaTest::showActive(editor));
    Orza::LiveNumberField* field = editor.field(0, Column::rate);
    // Typed, then refused, then the text shown typed again: it reads back as the rate, and keeps it.
    for (const QString& text : {typed, QStringLiteral("1e-400"), shown}) {
        typeInto(field, text);
        if (text == QLatin1String("1e-400"))
            QVERIFY2(editor.problemLabel()->text().endsWith(
                         QStringLiteral("Segment 1 keeps its rate of %1 °C/h.").arg(shown)),
                     qPrintable(editor.problemLabel()->text()));
        editor.field(0, Column::target)->setFocus(Qt::TabFocusReason);
        QCOMPARE(field->text(), shown);
        QCOMPARE(fixture.tile().schedule[0].ratePerHour, rate);
    }
    QCOMPARE(fixture.steps(), 1);
}

QTEST_MAIN(FiringScheduleEditorTest)
#include "FiringScheduleEditorTest.moc"
