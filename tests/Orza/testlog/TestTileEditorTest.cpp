#include "Orza/testlog/TestTileEditor.h"
#include "GlazeCore/book/DateYears.h"
#include "GlazeCore/book/FiringSchedule.h"
#include "GlazeCore/book/SampleBook.h"
#include "Orza/actions/Command.h"
#include "Orza/testlog/FiringRampChart.h"
#include "Orza/testlog/FiringScheduleEditor.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/testlog/TileCodeField.h"
#include "Orza/widgets/LiveNumberField.h"
#include "TileFixture.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QFile>
#include <QGraphicsTextItem>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <map>
#include <tuple>

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

/// The process's time zone for as long as it lives.
class TimeZone {
public:
    explicit TimeZone(const char* zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZone() {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_had;
    QByteArray m_old;
};

} // namespace

class TestTileEditorTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
    void setUp() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void tearDown() override { QLocale::setDefault(QLocale::c()); }

private slots:
    void pickersOfferTheStoredValueWhenItIsNoneOfTheirRows();
    void theDateChangesTheDayAndKeepsTheTimeOfDay();
    void theDateReadsAsOneDateField_data();
    void theDateReadsAsOneDateField();
    void theDateShowsAndTakesFourDigitYears_data();
    void theDateShowsAndTakesFourDigitYears();
    void aTypedDateIsWrittenOnceCompleteAndKeepsTheTimeOfDay();
    void aDateThatCannotBeStoredIsRefusedAndGoesBack_data();
    void aDateThatCannotBeStoredIsRefusedAndGoesBack();
    void aDayTypedIntoFebruaryStaysInTheDay();
    void steppingARefusedDateStepsTheStoredOne_data();
    void steppingARefusedDateStepsTheStoredOne();
    void aSaveEndsADateEditAsLeavingDoes();
    void theUndoKeysInTheDateActOnTheBook();
    void aLeapDayIsCheckedAgainstItsOwnYear();
    void aDateOnAClockChangeDayIsStoredAtATimeItHas_data();
    void aDateOnAClockChangeDayIsStoredAtATimeItHas();
    void aRevertShowsTheDateReadAgain();
    void fieldsFollowTheBookAndShowingChangesNothing();
    void rampAxesFitTheScheduleWithLabelsThatNeverRepeat();
    void rampAxesWriteTheirNumbersAsTheLocaleDoes();
    void aTinyRateKeepsTheRampAxesToAFewTicks();
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
    // Read by their names; the entry chosen is the value.
    for (auto [picker, name] : {std::pair{editor.recipePicker(), "Recipe"}, std::pair{editor.conePicker(), "Cone"},
                                std::pair{editor.atmospherePicker(), "Atmosphere"}})
        QCOMPARE(QAccessible::queryAccessibleInterface(picker)->text(QAccessible::Name), QString::fromLatin1(name));
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
    // The stored instant goes below the millisecond that the field's clock reads.
    const std::chrono::microseconds belowMillisecond(437);
    tile.date = localDate(2024, 3, 5, QTime(14, 37, 12, 250)) + belowMillisecond;
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QCOMPARE(editor.datePicker()->date(), QDate(2024, 3, 5));
    QCOMPARE(fixture.steps(), 0);

    editor.datePicker()->setDate(QDate(2024, 11, 9));
    QCOMPARE(fixture.tile().date, localDate(2024, 11, 9, QTime(14, 37, 12, 250)) + belowMillisecond);
    fixture.document.undoStack()->undo();
    QCOMPARE(fixture.tile().date, tile.date);
    QCOMPARE(editor.datePicker()->date(), QDate(2024, 3, 5));
}

void TestTileEditorTest::theDateReadsAsOneDateField_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("typed");
    QTest::newRow("en") << "en_US" << '/' << "3/9/2026";
    QTest::newRow("de") << "de_DE" << '.' << "9.3.2026";
    // Month names: the editor's own typing.
    QTest::newRow("C") << "C" << ' ' << "9 Mar 2026";
}

// "Fired on" reads as the date it shows, as text and no number, and it is one Tab stop from any of its parts.
// The separator and Ctrl+arrows walk its parts and stay in it at either end: in "5 Mar 2024" a space went on
// to the next field, which took the rest of what was typed, and the day typed over the whole date was dropped.
void TestTileEditorTest::theDateReadsAsOneDateField() {
    QFETCH(QString, locale);
    QFETCH(char, separator);
    QFETCH(QString, typed);
    QLocale::setDefault(QLocale(locale));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = localDate(2024, 3, 5, QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    QVERIFY(OrzaTest::showActive(editor));

    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(picker);
    QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Fired on"));
    QCOMPARE(field->role(), QAccessible::EditableText);
    QVERIFY(!field->valueInterface());
    QCOMPARE(field->text(QAccessible::Value), picker->text());
    QVERIFY(picker->text().contains(QStringLiteral("2024")));
    QVERIFY(field->textInterface());
    QCOMPARE(field->textInterface()->text(0, field->textInterface()->characterCount()), picker->text());

    for (const auto section : {QDateTimeEdit::DaySection, QDateTimeEdit::MonthSection, QDateTimeEdit::YearSection})
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            picker->setFocus(Qt::OtherFocusReason);
            picker->setSelectedSection(section);
            QTest::keyClick(QApplication::focusWidget(), key,
                            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QWidget* now = QApplication::focusWidget();
            QVERIFY2(now && now != picker && !picker->isAncestorOf(now), qPrintable(QString::number(section)));
        }

    const QString shown = picker->text();
    const int last = picker->sectionCount() - 1;
    for (int part = 0; part <= last; ++part)
        for (const QKeySequence& key : {QKeySequence(QChar(separator)), QKeySequence(QStringLiteral("Ctrl+Right")),
                                        QKeySequence(QStringLiteral("Ctrl+Left"))}) {
            picker->setFocus(Qt::OtherFocusReason);
            picker->setSelectedSection(picker->sectionAt(part));
            QTest::keySequence(QApplication::focusWidget(), key);
            const QString which = QStringLiteral("%1 at %2").arg(key.toString()).arg(part);
            QVERIFY2(picker->hasFocus(), qPrintable(which));
            QCOMPARE(picker->text(), shown);
            const int to = std::clamp(key.toString() == QLatin1String("Ctrl+Left") ? part - 1 : part + 1, 0, last);
            QCOMPARE(picker->currentSection(), picker->sectionAt(to));
        }

    picker->setFocus(Qt::MouseFocusReason);
    QTest::keySequence(picker, QKeySequence::SelectAll);
    QTest::keyClicks(picker, typed);
    QVERIFY(picker->hasFocus());
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(fixture.tile().date, localDate(2026, 3, 9, QTime(12, 0)));
}

void TestTileEditorTest::theDateShowsAndTakesFourDigitYears_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::newRow("en") << "en_US"
                        << "3/5/1926"
                        << "12032026";
    QTest::newRow("de") << "de_DE"
                        << "05.03.1926"
                        << "03122026";
    QTest::newRow("fr") << "fr_FR"
                        << "05/03/1926"
                        << "03122026";
    QTest::newRow("ch") << "de_CH"
                        << "05.03.1926"
                        << "03122026";
    QTest::newRow("sv") << "sv_SE"
                        << "1926-03-05"
                        << "20261203";
    QTest::newRow("bg") << "bg_BG" << QString::fromUtf8("5.03.1926 г.") << "03122026";
}

// A two-digit year showed 1926 as 26 and stored 03.12.2026 typed in German as 2020-12-03.
void TestTileEditorTest::theDateShowsAndTakesFourDigitYears() {
    QFETCH(QString, locale);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QLocale::setDefault(QLocale(locale));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = localDate(1926, 3, 5, QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    QCOMPARE(picker->text(), shown);

    QVERIFY(OrzaTest::showActive(editor));
    picker->setFocus();
    QTest::keyClicks(picker, typed);
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(fixture.tile().date, localDate(2026, 12, 3, QTime(12, 0)));
}

// Typed from the year, 0 3 1 2 2 0 2 6 wrote a date for every year on the way (3, 31, 312) and shifted the
// stored instant by each step's difference; 312 lies outside the clock, so the tile ended in 1804 at another
// time of day.
void TestTileEditorTest::aTypedDateIsWrittenOnceCompleteAndKeepsTheTimeOfDay() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-002");
    tile.date = localDate(2026, 3, 1, QTime(12, 0, 7, 250));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    Orza::ProblemLabel* problem = editor.dateProblem();
    QVERIFY(OrzaTest::showActive(editor));
    const auto typeYear = [&](const QString& digits, Qt::Key finish) {
        picker->setFocus();
        picker->setSelectedSection(QDateTimeEdit::YearSection);
        const int steps = fixture.steps();
        for (const QChar digit : digits) {
            QTest::keyClick(picker, digit.toLatin1());
            QCOMPARE(fixture.steps(), steps);
        }
        QTest::keyClick(picker, finish);
    };

    // A year the book cannot hold is refused where it was typed; the tile keeps its date and the field goes
    // back to it.
    typeYear(QStringLiteral("03122026"), Qt::Key_Tab);
    QCOMPARE(picker->text(), QStringLiteral("01.03.2026"));
    QCOMPARE(fixture.tile().date, tile.date);
    QCOMPARE(fixture.steps(), 0);
    QVERIFY(problem->isVisible());
    QVERIFY(problem->text().contains(QStringLiteral("312")));
    const QString last = QString::number(GlazeCore::DateYears::last() + 1);
    typeYear(last, Qt::Key_Return);
    QVERIFY(problem->text().contains(last));
    QCOMPARE(fixture.tile().date, tile.date);

    // Complete dates are written once each, at the stored time of day, however many years away.
    typeYear(QStringLiteral("2027"), Qt::Key_Return);
    QVERIFY(problem->isHidden());
    QCOMPARE(fixture.steps(), 1);
    QCOMPARE(fixture.tile().date, localDate(2027, 3, 1, QTime(12, 0, 7, 250)));
    typeYear(QString::number(GlazeCore::DateYears::first()), Qt::Key_Tab);
    QCOMPARE(fixture.steps(), 2);
    QCOMPARE(fixture.tile().date, localDate(GlazeCore::DateYears::first(), 3, 1, QTime(12, 0, 7, 250)));
    QCOMPARE(picker->text(), QStringLiteral("01.03.%1").arg(GlazeCore::DateYears::first()));
    // The last year the refusal names is one the tile takes.
    typeYear(QString::number(GlazeCore::DateYears::last()), Qt::Key_Return);
    QVERIFY(problem->isHidden());
    QCOMPARE(fixture.steps(), 3);
    QCOMPARE(fixture.tile().date, localDate(GlazeCore::DateYears::last(), 3, 1, QTime(12, 0, 7, 250)));
}

void TestTileEditorTest::aDateThatCannotBeStoredIsRefusedAndGoesBack_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("stored");
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("saidAtOnce");
    QTest::addColumn<QString>("why");
    const auto row = [](const char* name, const char* locale, QDate stored, QDateTimeEdit::Section section,
                        const char* typed, const char* shown, bool saidAtOnce, const char* why) {
        QTest::newRow(name) << QString::fromLatin1(locale) << stored << int(section) << QString::fromLatin1(typed)
                            << QString::fromUtf8(shown) << saidAtOnce
                            << QString::fromUtf8(why) + QStringLiteral(" The date was not changed.");
    };
    row("de 31 into February", "de_DE", QDate(2026, 2, 5), QDateTimeEdit::DaySection, "31", "31.02.2026", true,
        "The date 31.02.2026 does not exist. Its month has 28 days.");
    row("de 31, then February", "de_DE", QDate(2026, 3, 5), QDateTimeEdit::DaySection, "3102", "31.02.2026", true,
        "The date 31.02.2026 does not exist. Its month has 28 days.");
    row("de 31 into April", "de_DE", QDate(2026, 4, 5), QDateTimeEdit::DaySection, "31", "31.04.2026", true,
        "The date 31.04.2026 does not exist. Its month has 30 days.");
    row("de 29 into February", "de_DE", QDate(2026, 2, 5), QDateTimeEdit::DaySection, "29", "29.02.2026", true,
        "The date 29.02.2026 does not exist. Its month has 28 days.");
    row("de 32", "de_DE", QDate(2026, 3, 5), QDateTimeEdit::DaySection, "32", "03.03.2026", true,
        "The date 32.03.2026 does not exist. Its month has 31 days.");
    row("de month 13", "de_DE", QDate(2026, 3, 5), QDateTimeEdit::MonthSection, "13", "05.01.2026", true,
        "The date 05.13.2026 does not exist. A year has 12 months.");
    row("de partial year", "de_DE", QDate(2026, 3, 5), QDateTimeEdit::YearSection, "20", "05.03.20", false,
        "The year in 05.03.20 is not complete. Type all four digits of the year.");
    row("de year beyond", "de_DE", QDate(2026, 3, 5), QDateTimeEdit::YearSection, "2262", "05.03.2262", true,
        "The year 2262 cannot be stored. Type a year from 1678 to 2261.");
    row("de lone 0 day", "de_DE", QDate(2026, 3, 5), QDateTimeEdit::DaySection, "0", "0.03.2026", false,
        "The date 0.03.2026 is not complete. Type a day, a month and a year.");
    row("en 31 into February", "en_US", QDate(2026, 2, 5), QDateTimeEdit::DaySection, "31", "2/31/2026", true,
        "The date 2/31/2026 does not exist. Its month has 28 days.");
    row("en 2/3/0", "en_US", QDate(2026, 3, 5), QDateTimeEdit::MonthSection, "2/3/0", "2/3/0", false,
        "The year in 2/3/0 is not complete. Type all four digits of the year.");
}

// Day 31 typed into February showed 03.1.2026 and stored 3 January; day 31 and then month 02 stored the 28th;
// a refused year stayed in the field, and a partial one went back without a word.
void TestTileEditorTest::aDateThatCannotBeStoredIsRefusedAndGoesBack() {
    QFETCH(QString, locale);
    QFETCH(QDate, stored);
    QFETCH(int, section);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, saidAtOnce);
    QFETCH(QString, why);
    QLocale::setDefault(QLocale(locale));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = localDate(stored.year(), stored.month(), stored.day(), QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    Orza::ProblemLabel* problem = editor.dateProblem();
    const QString storedText = picker->text();
    QVERIFY(OrzaTest::showActive(editor));
    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::Section(section));

    QTest::keyClicks(picker, typed);
    QCOMPARE(picker->text(), shown);
    QCOMPARE(problem->isVisible(), saidAtOnce);
    if (saidAtOnce) QCOMPARE(problem->text(), why);

    // Left with a click elsewhere: the text goes back to the tile's date and the reason stays.
    editor.notesEditor()->setFocus(Qt::MouseFocusReason);
    QVERIFY(!picker->hasFocus());
    QCOMPARE(picker->text(), storedText);
    QVERIFY(problem->isVisible());
    QCOMPARE(problem->text(), why);
    QCOMPARE(fixture.tile().date, tile.date);
    QCOMPARE(fixture.steps(), 0);

    // A date typed after it is taken, and the reason goes.
    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(picker, QStringLiteral("2027"));
    QVERIFY(problem->isHidden());
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(fixture.tile().date, localDate(2027, stored.month(), stored.day(), QTime(12, 0)));
}

// The potter's own steps: the month first, then day 31, which stays in the day; a step of the arrows beyond the
// last year goes back at once. East of UTC, where the editor's own midnight falls on the day before.
void TestTileEditorTest::aDayTypedIntoFebruaryStaysInTheDay() {
    const TimeZone berlin("Europe/Berlin");
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = localDate(2026, 10, 5, QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    Orza::ProblemLabel* problem = editor.dateProblem();
    QVERIFY(OrzaTest::showActive(editor));

    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(picker, QStringLiteral("02"));
    editor.notesEditor()->setFocus(Qt::MouseFocusReason);
    QCOMPARE(fixture.tile().date, localDate(2026, 2, 5, QTime(12, 0)));

    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClick(picker, '3');
    QCOMPARE(picker->text(), QStringLiteral("03.02.2026"));
    QCOMPARE(picker->currentSection(), QDateTimeEdit::DaySection);
    QTest::keyClick(picker, '1');
    QCOMPARE(picker->text(), QStringLiteral("31.02.2026"));
    QVERIFY(problem->isVisible());
    // The separator goes on to the next part with the text as typed; a month that has the day makes it a date.
    QTest::keyClick(picker, '.');
    QCOMPARE(picker->text(), QStringLiteral("31.02.2026"));
    QCOMPARE(picker->currentSection(), QDateTimeEdit::MonthSection);
    QTest::keyClicks(picker, QStringLiteral("03"));
    QVERIFY(problem->isHidden());
    QCOMPARE(fixture.steps(), 1);
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(fixture.tile().date, localDate(2026, 3, 31, QTime(12, 0)));
    QCOMPARE(fixture.steps(), 2);

    fixture.document.setTileDate(tile.id, localDate(GlazeCore::DateYears::last(), 3, 31, QTime(12, 0)));
    picker->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClick(picker, Qt::Key_Up);
    QCOMPARE(picker->date(), QDate(GlazeCore::DateYears::last(), 3, 31));
    QVERIFY(problem->text().contains(QString::number(GlazeCore::DateYears::last() + 1)));
    QCOMPARE(fixture.tile().date, localDate(GlazeCore::DateYears::last(), 3, 31, QTime(12, 0)));
}

void TestTileEditorTest::steppingARefusedDateStepsTheStoredOne_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QDate>("stepped");
    QTest::addColumn<QString>("ended");
    const auto row = [](const char* name, const char* locale, QDateTimeEdit::Section section, const char* typed,
                        const char* shown, const char* step, QDate stepped, const char* ended = "") {
        QTest::newRow(name) << QString::fromLatin1(locale) << int(section) << QString::fromLatin1(typed)
                            << QString::fromLatin1(shown) << QString::fromLatin1(step) << stepped
                            << QString::fromLatin1(ended);
    };
    // The tile is of 05.10.2026; typing a full year leaves the cursor in the year.
    row("de Up", "de_DE", QDateTimeEdit::DaySection, "31022026", "31.02.2026", "Up", QDate(2027, 10, 5));
    row("de Down", "de_DE", QDateTimeEdit::DaySection, "31022026", "31.02.2026", "Down", QDate(2025, 10, 5));
    row("de Alt+Down", "de_DE", QDateTimeEdit::DaySection, "31022026", "31.02.2026", "Alt+Down", QDate(2025, 10, 5));
    row("de wheel", "de_DE", QDateTimeEdit::DaySection, "30022026", "30.02.2026", "wheel", QDate(2027, 10, 5));
    row("de 31 November", "de_DE", QDateTimeEdit::DaySection, "31112026", "31.11.2026", "Up", QDate(2027, 10, 5));
    // The editor took no 13th month and kept the 1 typed before it.
    row("de month 13", "de_DE", QDateTimeEdit::MonthSection, "13", "05.01.2026", "Up", QDate(2026, 11, 5));
    row("en Up", "en_US", QDateTimeEdit::MonthSection, "02312026", "02/31/2026", "Up", QDate(2027, 10, 5));
    row("en Down", "en_US", QDateTimeEdit::MonthSection, "02312026", "02/31/2026", "Down", QDate(2025, 10, 5));
    // The edit ended first and the text went back; the next step is of the date shown, in the year clicked.
    row("de Up after Tab", "de_DE", QDateTimeEdit::DaySection, "31.02.2026", "31.02.2026", "Up", QDate(2027, 10, 5),
        "Tab");
    row("de Down after Return", "de_DE", QDateTimeEdit::DaySection, "31.02.2026", "31.02.2026", "Down",
        QDate(2025, 10, 5), "Return");
    row("en Up after Tab", "en_US", QDateTimeEdit::MonthSection, "2/30/2026", "2/30/2026", "Up", QDate(2027, 10, 5),
        "Tab");
}

// Up on 31.02.2026 over a tile of 05.10.2026 stored 31.10.2027 at once: the typed day, the stored month and a
// stepped year; once the edit had ended and the text gone back, Up still did. A step starts from the tile's date,
// in the part the cursor is in, never from a refused text.
void TestTileEditorTest::steppingARefusedDateStepsTheStoredOne() {
    QFETCH(QString, locale);
    QFETCH(int, section);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, step);
    QFETCH(QDate, stepped);
    QFETCH(QString, ended);
    QLocale::setDefault(QLocale(locale));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-003");
    tile.date = localDate(2026, 10, 5, QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    QVERIFY(OrzaTest::showActive(editor));

    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::Section(section));
    QTest::keyClicks(picker, typed);
    QCOMPARE(picker->text(), shown);
    QVERIFY(editor.dateProblem()->isVisible());
    if (!ended.isEmpty()) {
        const QString storedText = picker->locale().toString(QDate(2026, 10, 5), picker->displayFormat());
        QTest::keySequence(picker, QKeySequence(ended));
        QCOMPARE(picker->text(), storedText);
        picker->setFocus(Qt::MouseFocusReason);
        picker->setSelectedSection(QDateTimeEdit::YearSection);
    }
    if (step == QLatin1String("wheel"))
        OrzaTest::wheel(picker, 120);
    else
        QTest::keySequence(picker, QKeySequence(step));
    QCOMPARE(picker->date(), stepped);
    QCOMPARE(fixture.tile().date, localDate(stepped.year(), stepped.month(), stepped.day(), QTime(12, 0)));
    QVERIFY(editor.dateProblem()->isHidden());
    QCOMPARE(fixture.steps(), 1);
}

// Saving while the date is being typed: a complete date was left out of the file, and a partial one stayed shown.
void TestTileEditorTest::aSaveEndsADateEditAsLeavingDoes() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = localDate(2026, 3, 1, QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    Orza::ProblemLabel* problem = editor.dateProblem();
    QVERIFY(OrzaTest::showActive(editor));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tiles.orzabook"));
    const auto typeYear = [&](const QString& digits) {
        picker->setFocus();
        picker->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(picker, digits);
    };

    typeYear(QStringLiteral("20"));
    fixture.document.save(path);
    QCOMPARE(picker->text(), QStringLiteral("01.03.2026"));
    QVERIFY(problem->isVisible());
    QVERIFY(problem->text().contains(QStringLiteral("01.03.20 is not complete")));
    QCOMPARE(fixture.tile().date, tile.date);
    QVERIFY(!fixture.document.isModified());

    editor.notesEditor()->setFocus(Qt::MouseFocusReason);
    typeYear(QStringLiteral("2027"));
    fixture.document.save(path);
    QVERIFY(picker->hasFocus());
    QCOMPARE(fixture.tile().date, localDate(2027, 3, 1, QTime(12, 0)));
    QVERIFY(!fixture.document.isModified());
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("2027-03-01"));
}

// The keys went to the text's own history: five Ctrl+Z from 31.10.2026 showed 31.01.2026, which leaving stored,
// and after a stored date the field's Ctrl+Z only edited its text.
void TestTileEditorTest::theUndoKeysInTheDateActOnTheBook() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-003");
    tile.date = localDate(2026, 3, 1, QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    // In a window that holds Undo and Redo, as the book window does.
    QWidget window;
    auto* editor = new TestTileEditor(fixture.document, fixture.actions, tile.id);
    (new QVBoxLayout(&window))->addWidget(editor);
    window.addActions({fixture.actions.action(Orza::Command::undo), fixture.actions.action(Orza::Command::redo)});
    QDateEdit* picker = editor->datePicker();
    QVERIFY(OrzaTest::showActive(window));
    const auto type = [&](QDateTimeEdit::Section section, const QString& digits) {
        picker->setFocus();
        picker->setSelectedSection(section);
        QTest::keyClicks(picker, digits);
    };
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) { QTest::keyClick(picker, key, modifiers); };

    // A date typed and not yet ended is a step of its own to undo and redo.
    type(QDateTimeEdit::DaySection, QStringLiteral("31102026"));
    QCOMPARE(picker->text(), QStringLiteral("31.10.2026"));
    for (int i = 0; i < 5; ++i)
        press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(picker->text(), QStringLiteral("01.03.2026"));
    QCOMPARE(fixture.tile().date, tile.date);
    QCOMPARE(fixture.steps(), 1);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(fixture.tile().date, localDate(2026, 10, 31, QTime(12, 0)));
    QCOMPARE(picker->text(), QStringLiteral("31.10.2026"));

    // A stored date: the field's Undo is the book's.
    editor->notesEditor()->setFocus(Qt::MouseFocusReason);
    type(QDateTimeEdit::YearSection, QStringLiteral("2027"));
    press(Qt::Key_Return, Qt::NoModifier);
    QCOMPARE(fixture.tile().date, localDate(2027, 10, 31, QTime(12, 0)));
    QCOMPARE(fixture.document.undoStack()->undoText(), QStringLiteral("Change Test Date"));
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(fixture.tile().date, localDate(2026, 10, 31, QTime(12, 0)));
    QCOMPARE(picker->text(), QStringLiteral("31.10.2026"));
    press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(fixture.tile().date, localDate(2027, 10, 31, QTime(12, 0)));
    QCOMPARE(picker->text(), QStringLiteral("31.10.2027"));
    QCOMPARE(fixture.steps(), 2);
    // So does the Undo of its context menu.
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(4, 4), picker->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(picker, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QVERIFY(menu->actions().contains(fixture.actions.action(Orza::Command::undo)));
    menu->close();

    // Escape takes back a date typed and a refused one, and leaving then writes nothing.
    for (const QString& digits : {QStringLiteral("2028"), QStringLiteral("20")}) {
        type(QDateTimeEdit::YearSection, digits);
        press(Qt::Key_Escape, Qt::NoModifier);
        QCOMPARE(picker->text(), QStringLiteral("31.10.2027"));
        QVERIFY(editor->dateProblem()->isHidden());
        editor->notesEditor()->setFocus(Qt::MouseFocusReason);
        QCOMPARE(fixture.tile().date, localDate(2027, 10, 31, QTime(12, 0)));
        QVERIFY(editor->dateProblem()->isHidden());
        QCOMPARE(fixture.steps(), 2);
    }
}

// A leap day's month was measured in the year before: 29.02.2028 was refused and 29.02.2029 let through.
void TestTileEditorTest::aLeapDayIsCheckedAgainstItsOwnYear() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = localDate(2028, 2, 5, QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    Orza::ProblemLabel* problem = editor.dateProblem();
    QVERIFY(OrzaTest::showActive(editor));

    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(picker, QStringLiteral("29"));
    QVERIFY(problem->isHidden());
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(fixture.tile().date, localDate(2028, 2, 29, QTime(12, 0)));

    picker->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(picker, QStringLiteral("2029"));
    QVERIFY(problem->isVisible());
    QCOMPARE(problem->text(), QStringLiteral("The date 29.02.2029 does not exist. Its month has 28 days. The date was "
                                             "not changed."));
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(fixture.tile().date, localDate(2028, 2, 29, QTime(12, 0)));
    QCOMPARE(picker->text(), QStringLiteral("29.02.2028"));
}

void TestTileEditorTest::aDateOnAClockChangeDayIsStoredAtATimeItHas_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("stored");
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDateTime>("expected");
    const auto utc = [](const char* text) { return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate); };
    const auto row = [&](const char* name, const char* zone, const char* locale, const char* stored,
                         QDateTimeEdit::Section section, const char* typed, const char* expected) {
        QTest::newRow(name) << QByteArray(zone) << QString::fromLatin1(locale) << utc(stored) << int(section)
                            << QString::fromLatin1(typed) << utc(expected);
    };
    // A time the clock skips is read with the offset from before: 02:30 is 03:30.
    row("Berlin, spring", "Europe/Berlin", "de_DE", "2026-10-05T00:30:00Z", QDateTimeEdit::DaySection, "28032027",
        "2027-03-28T01:30:00Z");
    row("New York, spring", "America/New_York", "en_US", "2026-10-05T06:30:00Z", QDateTimeEdit::MonthSection,
        "03142027", "2027-03-14T07:30:00Z");
    // Where the day itself starts with the skipped hour.
    row("Sao Paulo, midnight", "America/Sao_Paulo", "de_DE", "2018-10-01T03:30:00Z", QDateTimeEdit::DaySection,
        "04112018", "2018-11-04T03:30:00Z");
    // A time the clock shows twice is its first one, whichever offset the tile had.
    row("Berlin, autumn from summer", "Europe/Berlin", "de_DE", "2026-10-05T00:30:00Z", QDateTimeEdit::DaySection,
        "31102027", "2027-10-31T00:30:00Z");
    row("Berlin, autumn from winter", "Europe/Berlin", "de_DE", "2027-01-15T01:30:00Z", QDateTimeEdit::DaySection,
        "31102027", "2027-10-31T00:30:00Z");
    row("New York, autumn", "America/New_York", "en_US", "2026-10-05T05:30:00Z", QDateTimeEdit::MonthSection,
        "11072027", "2027-11-07T05:30:00Z");
    // Where the day itself ends with the skipped hour (23:00 goes to 00:00): 23:30 stays on its day, at 22:30.
    row("Nuuk, spring", "America/Nuuk", "de_DE", "2025-01-16T01:30:00Z", QDateTimeEdit::DaySection, "29032025",
        "2025-03-30T00:30:00Z");
}

// On a day the clocks change, a tile whose time of day the day skips kept its old date without a word.
void TestTileEditorTest::aDateOnAClockChangeDayIsStoredAtATimeItHas() {
    QFETCH(QByteArray, zone);
    QFETCH(QString, locale);
    QFETCH(QDateTime, stored);
    QFETCH(int, section);
    QFETCH(QString, typed);
    QFETCH(QDateTime, expected);
    const TimeZone inZone(zone.constData());
    QLocale::setDefault(QLocale(locale));
    const auto date = [](const QDateTime& when) {
        return GlazeCore::Date(std::chrono::milliseconds(when.toMSecsSinceEpoch()));
    };
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = date(stored);
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    QVERIFY(OrzaTest::showActive(editor));

    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::Section(section));
    QTest::keyClicks(picker, typed);
    QTest::keyClick(picker, Qt::Key_Tab);
    QCOMPARE(fixture.tile().date, date(expected));
    QCOMPARE(picker->date(), expected.toLocalTime().date());
    QVERIFY(editor.dateProblem()->isHidden());
    QCOMPARE(fixture.steps(), 1);
}

// A revert while the date field had the focus left the date read away shown.
void TestTileEditorTest::aRevertShowsTheDateReadAgain() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.date = localDate(2026, 3, 1, QTime(12, 0));
    book.tests.push_back(tile);
    OrzaTest::TileFixture fixture(book);
    TestTileEditor editor(fixture.document, fixture.actions, tile.id);
    QDateEdit* picker = editor.datePicker();
    QVERIFY(OrzaTest::showActive(editor));
    QTemporaryDir folder;
    fixture.document.save(folder.filePath(QStringLiteral("Tiles.orzabook")));

    // A date stored, and a date still being typed, both give way to the file's.
    for (const Qt::Key finish : {Qt::Key_Return, Qt::Key_unknown}) {
        picker->setFocus();
        picker->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(picker, QStringLiteral("2027"));
        if (finish != Qt::Key_unknown) QTest::keyClick(picker, finish);
        fixture.document.revert();
        QVERIFY(picker->hasFocus());
        QCOMPARE(picker->text(), QStringLiteral("01.03.2026"));
        QCOMPARE(picker->date(), QDate(2026, 3, 1));
        QCOMPARE(fixture.tile().date, tile.date);
        QVERIFY(!fixture.document.isModified());
    }
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
             QStringLiteral("1 segments. Peak 1000 degrees Celsius at 9.8 hours. Total 10.8 hours."));

    // A tile that leaves the book leaves the form disabled; the undo brings both back.
    fixture.document.removeTests({id});
    QVERIFY(!editor.widget()->isEnabled());
    fixture.document.undoStack()->undo();
    QVERIFY(editor.widget()->isEnabled());
    QCOMPARE(editor.codeField()->lineEdit()->text(), QStringLiteral(" T-002 "));
}

// The hours axis runs from 0 to the schedule's end rounded up to a whole step, the same whenever the tile is
// shown, and its labels carry the step's decimals, so a short firing never reads "0 1 1".
void TestTileEditorTest::rampAxesFitTheScheduleWithLabelsThatNeverRepeat() {
    const Orza::RampAxisScale ten = Orza::RampAxisScale::of(0, 10.2, 1);
    QCOMPARE(ten.max, 12.0);
    QCOMPARE(ten.labels(), (QStringList{"0", "2", "4", "6", "8", "10", "12"}));
    QCOMPARE(Orza::RampAxisScale::of(0, 1.2, 1).labels(),
             (QStringList{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0", "1.2"}));
    for (double high = 0; high < 200; high = high * 1.13 + 0.07) {
        const Orza::RampAxisScale scale = Orza::RampAxisScale::of(0, high, 1);
        const QStringList labels = scale.labels();
        QVERIFY2(scale.max >= high && labels.size() <= 7, qPrintable(QString::number(high)));
        QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
        QVERIFY2(scale.max < std::max(high, 1.0) + scale.step, qPrintable(QString::number(high)));
    }

    // 10.2 hours: 150 °C/h to 1200 °C, an hour at 1200, 60 °C/h to 1260 and 20 minutes there.
    const std::vector<GlazeCore::FiringSegment> schedule{{150, 1200, 0}, {600, 1200, 60}, {60, 1260, 20}};
    Orza::FiringRampChart chart;
    chart.setSchedule(schedule);
    QCOMPARE(chart.points().back().hours, 10.2);
    const auto axis = [&chart] {
        return std::tuple{chart.hoursAxis()->min(), chart.hoursAxis()->max(), chart.hoursAxis()->tickCount(),
                          chart.hoursAxis()->labelFormat()};
    };
    const auto first = axis();
    QCOMPARE(first, (std::tuple{0.0, 12.0, 7, QStringLiteral("%.0f")}));
    chart.setSchedule({{600, 700, 0}});
    QCOMPARE(chart.hoursAxis()->labelFormat(), QStringLiteral("%.1f"));
    chart.setSchedule(schedule);
    QCOMPARE(axis(), first);
    Orza::FiringRampChart reopened;
    reopened.setSchedule(schedule);
    QCOMPARE(std::tuple(reopened.hoursAxis()->min(), reopened.hoursAxis()->max()), std::tuple(0.0, 12.0));
    QCOMPARE(chart.celsiusAxis()->min(), 0.0);
    QVERIFY(chart.celsiusAxis()->max() >= 1260);
}

// A firing of 2.5 hours in German: the hours axis reads 0,0 … 2,5 as drawn, the degrees are grouped.
void TestTileEditorTest::rampAxesWriteTheirNumbersAsTheLocaleDoes() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    Orza::FiringRampChart chart;
    chart.setSchedule({{400, 1020, 0}});
    chart.resize(420, 180);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QSet<QString> drawn;
    for (const QGraphicsItem* item : chart.scene()->items())
        if (const auto* text = qgraphicsitem_cast<const QGraphicsTextItem*>(item)) drawn << text->toPlainText();

    const QStringList hours{"0,0", "0,5", "1,0", "1,5", "2,0", "2,5"};
    QCOMPARE(Orza::RampAxisScale::of(0, 2.5, 1).labels(), hours);
    for (const QString& label : hours + QStringList{"1.000", "1.200"})
        QVERIFY2(drawn.contains(label), qPrintable(QStringList(drawn.begin(), drawn.end()).join(" ")));
    QVERIFY(!drawn.contains(QStringLiteral("2.5")));
}

// 0,1 °C/h to 600 °C is a ramp of 5,800 hours. The axes make their ticks at every change, also halfway through
// fitting the new scale: no state they pass through may ask for more ticks than the scale has.
void TestTileEditorTest::aTinyRateKeepsTheRampAxesToAFewTicks() {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    OrzaTest::TileFixture fixture(GlazeCore::SampleBook::makeBook());
    TestTileEditor editor(fixture.document, fixture.actions, fixture.tile().id);
    fixture.document.setTileSchedule(fixture.tile().id, {{150, 600, 0}, {60, 1220, 10}});
    editor.resize(480, 640);
    QVERIFY(OrzaTest::showActive(editor));
    Orza::FiringRampChart* chart = editor.rampChart();

    // The ticks an axis stands for in each state it passes through.
    std::map<QValueAxis*, double> mostTicks;
    for (QValueAxis* axis : {chart->hoursAxis(), chart->celsiusAxis()}) {
        const auto look = [&mostTicks, axis] {
            const double ticks = axis->tickType() == QValueAxis::TicksDynamic
                                     ? std::floor((axis->max() - axis->min()) / axis->tickInterval()) + 1
                                     : axis->tickCount();
            mostTicks[axis] = std::max(mostTicks[axis], ticks);
        };
        QObject::connect(axis, &QValueAxis::rangeChanged, chart, look);
        QObject::connect(axis, &QValueAxis::tickIntervalChanged, chart, look);
        QObject::connect(axis, &QValueAxis::tickCountChanged, chart, look);
        QObject::connect(axis, &QValueAxis::tickTypeChanged, chart, look);
    }
    const auto fewTicks = [&mostTicks] {
        for (const auto& [axis, ticks] : mostTicks)
            QVERIFY2(ticks <= 7, qPrintable(QStringLiteral("%1: %2 ticks").arg(axis->titleText()).arg(ticks)));
    };

    Orza::LiveNumberField* rate = editor.scheduleEditor()->field(0, Orza::FiringScheduleEditor::Column::rate);
    rate->setFocus();
    rate->selectAll();
    QTest::keyClicks(rate, QStringLiteral("0,1"));
    QCOMPARE(fixture.tile().schedule[0].ratePerHour, 0.1);
    fewTicks();
    QCOMPARE(std::tuple(chart->hoursAxis()->min(), chart->hoursAxis()->max()), std::tuple(0.0, 6000.0));
    QCOMPARE(chart->hoursAxis()->tickCount(), 7);
    // And back to an ordinary firing.
    QTest::keyClick(rate, Qt::Key_Backspace);
    QTest::keyClick(rate, Qt::Key_Backspace);
    QTest::keyClicks(rate, QStringLiteral("150"));
    fewTicks();
    QCOMPARE(std::tuple(chart->hoursAxis()->min(), chart->hoursAxis()->max()), std::tuple(0.0, 15.0));
    QCOMPARE(chart->hoursAxis()->tickCount(), 4);
    // A book may hold a rate whose ramp takes nearly the largest number of hours there is.
    chart->setSchedule({{3.3e-306, 600, 0}});
    fewTicks();
    QVERIFY(std::isfinite(chart->hoursAxis()->max()) && chart->hoursAxis()->max() > 1e308);
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
