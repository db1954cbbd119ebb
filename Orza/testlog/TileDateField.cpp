#include "Orza/testlog/TileDateField.h"

#include "GlazeCore/book/DateYears.h"
#include "Orza/document/BookDocument.h"
#include "Orza/platform/AccessibleOwnInterface.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/widgets/AccessibleTypedField.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <utility>

namespace Orza {

namespace {

/// The field reads as the date it shows, as text: a date is no number to step.
class DateFieldInterface final : public AccessibleTypedField {
public:
    explicit DateFieldInterface(TileDateField* field) : AccessibleTypedField(field, QAccessible::EditableText) {}
};

QAccessibleInterface* dateFieldFactory(const QString&, QObject* object) {
    auto* field = qobject_cast<TileDateField*>(object);
    return field ? new DateFieldInterface(field) : nullptr;
}

QDateTime localTime(std::chrono::milliseconds sinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(sinceEpoch.count());
}

QDate localDay(GlazeCore::Date date) {
    return localTime(std::chrono::floor<std::chrono::milliseconds>(date.time_since_epoch())).date();
}

/// The local clock's offset from UTC at an instant, in milliseconds.
qint64 offsetAt(qint64 sinceEpoch) {
    return qint64(QDateTime::fromMSecsSinceEpoch(sinceEpoch).offsetFromUtc()) * 1000;
}

/// The instant the local clock reads `time` on `day`. A time the clock skips when it goes forward is read with the
/// offset from before the change, so it falls as far after the change as it is after the skipped time's start
/// (02:30 is 03:30 where 02:00 goes to 03:00); a time the clock shows twice is the first of its two instants.
qint64 wallClockInstant(const QDate& day, const QTime& time) {
    constexpr qint64 aDay = 24 * 60 * 60 * 1000;
    const qint64 asUtc = QDateTime(day, time, Qt::UTC).toMSecsSinceEpoch();
    const qint64 before = offsetAt(asUtc - aDay);
    const qint64 after = offsetAt(asUtc + aDay);
    // The larger offset reads the time at the earlier instant.
    for (const qint64 offset : {std::max(before, after), std::min(before, after)})
        if (offsetAt(asUtc - offset) == offset) return asUtc - offset;
    // A time skipped at the end of the day would fall on the next one: it is taken back before the change.
    const qint64 forward = asUtc - before;
    return QDateTime::fromMSecsSinceEpoch(forward).date() == day ? forward : asUtc - after;
}

/// `date` moved to `day` at the same local time of day, to the nanosecond, or the nearest time that day has.
GlazeCore::Date onDay(GlazeCore::Date date, const QDate& day) {
    using namespace std::chrono;
    const auto whole = floor<milliseconds>(date.time_since_epoch());
    // Set, not shifted by the difference: years apart, that difference overflows the clock.
    const milliseconds moved(wallClockInstant(day, localTime(whole).time()));
    return GlazeCore::Date(moved) + (date.time_since_epoch() - whole);
}

const TypedDatePart& partOf(const std::array<TypedDatePart, 3>& parts, TypedDatePart::Kind kind) {
    return *std::find_if(parts.begin(), parts.end(), [kind](const TypedDatePart& part) { return part.kind == kind; });
}

/// The most a part can hold in any month of any year.
int largest(TypedDatePart::Kind kind) {
    switch (kind) {
    case TypedDatePart::day:
        return 31;
    case TypedDatePart::month:
        return 12;
    case TypedDatePart::year:
        break;
    }
    return 9999;
}

int mostDigits(TypedDatePart::Kind kind) {
    return kind == TypedDatePart::year ? 4 : 2;
}

/// The date a text names: a valid date of complete parts, or none.
QDate dateOf(const std::array<TypedDatePart, 3>& parts) {
    const TypedDatePart& year = partOf(parts, TypedDatePart::year);
    const TypedDatePart& month = partOf(parts, TypedDatePart::month);
    const TypedDatePart& day = partOf(parts, TypedDatePart::day);
    if (year.digits.size() < 4 || month.digits.isEmpty() || day.digits.isEmpty()) return {};
    return QDate(year.digits.toInt(), month.digits.toInt(), day.digits.toInt());
}

QString yearRefusal(int year) {
    return TileDateField::tr("The year %1 cannot be stored. Type a year from %2 to %3. The date was not changed.")
        .arg(year)
        .arg(GlazeCore::DateYears::first())
        .arg(GlazeCore::DateYears::last());
}

} // namespace

TileDateField::TileDateField(BookDocument& document, const GlazeCore::Uuid& tileID, ProblemLabel& problem,
                             QWidget* parent)
    : QDateEdit(parent), m_document(document), m_tileID(tileID), m_problem(problem) {
    setAccessibleName(tr("Fired on"));
    setCalendarPopup(true);
    setDisplayFormat(fourDigitYearDateFormat());
    m_format = NumericDateFormat::of(displayFormat());
    // A locale that writes other digits keeps the editor's own typing.
    if (m_format && !m_format->read(textFromDateTime(QDateTime(QDate(2026, 12, 31), QTime(12, 0))))) m_format.reset();
    // The editor's own earliest: a year the book cannot hold is refused with a reason, not dropped unseen.
    setMinimumDate(QDate(100, 1, 1));
    // The digits typed are no date until the field is done with them: a year typed 2, 20, 202, 2026 is one.
    setKeyboardTracking(false);
    m_problem.hide();

    connect(this, &QDateEdit::dateChanged, this, &TileDateField::chooseDate);
    connect(this, &QAbstractSpinBox::editingFinished, this, &TileDateField::endEdit);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TileDateField::onTextChanged);
    useOwnInterface<DateFieldInterface>(this, dateFieldFactory);
    // Moving to another part ends the number typed; the editor may have ended the edit too.
    connect(lineEdit(), &QLineEdit::cursorPositionChanged, this, [this] {
        if (m_typingKey) return;
        forgetTyping();
        noticeGoingBack();
    });
    connect(lineEdit(), &QLineEdit::selectionChanged, this, &TileDateField::forgetTyping);
    connect(&m_document, &BookDocument::tileChanged, this, &TileDateField::onTileChanged);
    // A save or a question about the book ends a date's edit as leaving the field does.
    connect(&m_document, &BookDocument::fieldEditsEnding, this, [this] {
        if (!hasFocus()) return;
        interpretText();
        endEdit();
    });
    connect(&m_document, &BookDocument::reset, this, &TileDateField::showStoredDate);
    connect(&m_document, &BookDocument::testsInserted, this, &TileDateField::showStoredDate);
    showDate();
}

QValidator::State TileDateField::validate(QString& input, int& pos) const {
    if (!m_format) return QDateEdit::validate(input, pos);
    // The editor reads the text too, which keeps the parts it steps and selects in line with it; of its own
    // changes only padding is taken, never a day moved into its month.
    QString seen = input;
    int seenPos = pos;
    if (QDateEdit::validate(seen, seenPos) == QValidator::Invalid) return QValidator::Invalid;
    const auto parts = m_format->read(input);
    if (!parts) return QValidator::Invalid;
    if (seen != input) {
        const auto padded = m_format->read(seen);
        // A day or month padded with zeros; a year keeps its digits, so a partial one stays partial.
        const auto padding = [&] {
            for (std::size_t i = 0; i < parts->size(); ++i) {
                const TypedDatePart& was = (*parts)[i];
                const TypedDatePart& now = (*padded)[i];
                const bool same = was.kind == TypedDatePart::year ? now.digits == was.digits
                                                                  : now.digits.toInt() == was.digits.toInt() &&
                                                                        now.digits.isEmpty() == was.digits.isEmpty();
                if (!same) return false;
            }
            return true;
        };
        if (padded && padding()) {
            input = seen;
            pos = seenPos;
        }
    }
    const bool refused = !m_refusal.why.isEmpty() && input == m_refusal.text;
    if (refused || !refusalOf(input).why.isEmpty()) return QValidator::Intermediate;
    // The editor would move a date outside its own range to the nearest end.
    const QDate day = dateOf(*parts);
    return day.isValid() && day >= minimumDate() && day <= maximumDate() ? QValidator::Acceptable
                                                                         : QValidator::Intermediate;
}

void TileDateField::fixup(QString& input) const {
    // The editor's fixup moves a day into its month; a text that is no date goes back to the tile's date.
    if (!m_format) QDateEdit::fixup(input);
}

QDateTime TileDateField::dateTimeFromText(const QString& text) const {
    const auto parts = m_format ? m_format->read(text) : std::nullopt;
    const QDate day = parts ? dateOf(*parts) : QDate();
    if (!day.isValid()) return QDateEdit::dateTimeFromText(text);
    // Read as typed: the editor would take a day typed earlier in its place. Its value's own time and zone stay,
    // so no zone moves the day.
    QDateTime when = dateTime();
    when.setDate(day);
    return when.isValid() ? when : QDateEdit::dateTimeFromText(text);
}

TileDateField::Refusal TileDateField::refusalOf(const QString& text) const {
    if (!m_format || text == textFromDateTime(dateTime())) return {};
    const auto parts = m_format->read(text);
    if (!parts) return {};
    const TypedDatePart& day = partOf(*parts, TypedDatePart::day);
    const TypedDatePart& month = partOf(*parts, TypedDatePart::month);
    const TypedDatePart& year = partOf(*parts, TypedDatePart::year);
    // A lone 0 is the start of 01 to 09.
    const auto begun = [](const TypedDatePart& part) {
        return part.digits.isEmpty() || part.digits == QLatin1String("0");
    };
    if (begun(day) || begun(month) || year.digits.isEmpty())
        return {tr("The date %1 is not complete. Type a day, a month and a year. The date was not changed.").arg(text),
                false, text};
    const int monthNumber = month.digits.toInt();
    if (monthNumber < 1 || monthNumber > 12)
        return {tr("The date %1 does not exist. A year has 12 months. The date was not changed.").arg(text), true,
                text};
    if (year.digits.size() < 4)
        return {
            tr("The year in %1 is not complete. Type all four digits of the year. The date was not changed.").arg(text),
            false, text};
    const int yearNumber = year.digits.toInt();
    if (!GlazeCore::DateYears::holds(yearNumber)) return {yearRefusal(yearNumber), true, text};
    const QDate first(yearNumber, monthNumber, 1);
    const int dayNumber = day.digits.toInt();
    if (dayNumber < 1 || dayNumber > first.daysInMonth())
        return {tr("The date %1 does not exist. Its month has %2 days. The date was not changed.")
                    .arg(text)
                    .arg(first.daysInMonth()),
                true, text};
    return {};
}

void TileDateField::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (m_format && !(event->modifiers() & commands) && event->text().size() == 1 && typeKey(event->text()[0])) {
        event->accept();
        return;
    }
    // Escape takes back what was typed, as in a number field; with nothing typed it goes on to the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && isEditing()) {
        cancelEdit();
        event->accept();
        return;
    }
    // Over the whole text selected, the editor would take a key for the whole date and drop it: typing starts in
    // the first part, as it does in a date of numbers.
    const QLineEdit* edit = lineEdit();
    if (!m_format && !(event->modifiers() & commands) && !event->text().isEmpty() && event->text()[0].isPrint() &&
        edit->hasSelectedText() && edit->selectedText() == edit->text())
        setSelectedSection(sectionAt(0));
    // The editor walks its parts on a separator or Ctrl+arrow through focusNextPrevChild, which here is Tab's.
    m_keyWalksParts = true;
    QDateEdit::keyPressEvent(event);
    m_keyWalksParts = false;
}

bool TileDateField::focusNextPrevChild(bool next) {
    // The field is one Tab stop, as it is one element to a reader: Tab leaves it from any part, where the editor
    // would walk its parts unheard. The arrows and the separators move between the parts and never leave it: what
    // is typed after them stays in the date.
    if (!m_keyWalksParts) return QWidget::focusNextPrevChild(next);
    walkParts(next);
    return true;
}

void TileDateField::walkParts(bool next) {
    if (!m_format) {
        const int to = currentSectionIndex() + (next ? 1 : -1);
        if (to >= 0 && to < sectionCount()) setSelectedSection(sectionAt(to));
        return;
    }
    const int from = partAtCursor();
    const auto parts = m_format->read(lineEdit()->text());
    const int to = from + (next ? 1 : -1);
    if (from < 0 || !parts || to < 0 || to >= int(parts->size()) || (*parts)[to].digits.isEmpty()) return;
    selectPart(to);
    m_typing = {to, {}, false, lineEdit()->text()};
}

bool TileDateField::typeKey(QChar key) {
    const int part = partAtCursor();
    if (part < 0) return false;
    if (key >= QLatin1Char('0') && key <= QLatin1Char('9')) {
        typeDigit(part, key);
        return true;
    }
    if (m_format->isSeparator(key)) {
        typeSeparator(part);
        return true;
    }
    return false;
}

int TileDateField::partAtCursor() const {
    const QLineEdit* edit = lineEdit();
    const auto parts = m_format->read(edit->text());
    if (!parts) return -1;
    const qsizetype at = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    int part = 0;
    while (part + 1 < int(parts->size()) && at > (*parts)[part].start + (*parts)[part].digits.size())
        ++part;
    return part;
}

void TileDateField::typeDigit(int index, QChar digit) {
    QLineEdit* edit = lineEdit();
    const QString before = edit->text();
    const TypedDatePart part = (*m_format->read(before))[index];
    const bool going = m_typing.part == index && m_typing.text == before;
    const QString digits = going ? m_typing.digits + digit : QString(digit);
    // A full last part takes no more, as the editor's own typing does.
    if (digits.size() > mostDigits(part.kind)) return;
    // Full when no digit more fits in any month: "3" may still be 31, "4" is done. A part of two digits shows
    // them padded as the editor pads them, but a lone 0 is only the start of 01 to 09.
    const bool full = digits.size() == mostDigits(part.kind) || digits.toInt() * 10 > largest(part.kind);
    const QString shown =
        part.width == 2 && digits != QLatin1String("0") ? digits.rightJustified(2, QLatin1Char('0')) : digits;
    const QString typed = QString(before).replace(part.start, part.digits.size(), shown);

    m_typingKey = true;
    edit->setSelection(part.start, part.digits.size());
    edit->insert(shown);
    m_typingKey = false;
    if (edit->text() == before && typed != before) {
        // The editor takes no 32nd day or 13th month: the text stays, refused, and says what was typed; the next
        // digit starts the number again.
        m_typing = {index, {}, false, edit->text()};
        m_refusal = refusalOf(typed);
        // The editor takes no year that starts 00 either, and such a year is never one the book holds.
        if (part.kind == TypedDatePart::year && !m_refusal.whileTyping)
            m_refusal = {yearRefusal(digits.toInt()), true, {}};
        m_refusal.text = edit->text();
        showProblem(m_refusal.why);
        selectPart(index);
        return;
    }
    m_typing = {index, digits, false, edit->text()};
    const auto parts = m_format->read(edit->text());
    if (full && parts && index + 1 < int(parts->size()) && !(*parts)[index + 1].digits.isEmpty()) {
        selectPart(index + 1);
        m_typing = {index + 1, {}, true, edit->text()};
    } else {
        selectPart(index);
    }
}

void TileDateField::typeSeparator(int index) {
    const bool spent = m_typing.part == index && m_typing.text == lineEdit()->text() && m_typing.reachedByFilling;
    const auto parts = m_format->read(lineEdit()->text());
    if (spent || !parts || index + 1 >= int(parts->size()) || (*parts)[index + 1].digits.isEmpty()) {
        m_typing.reachedByFilling = false;
        return;
    }
    selectPart(index + 1);
    m_typing = {index + 1, {}, false, lineEdit()->text()};
}

void TileDateField::selectPart(int index) {
    const auto parts = m_format->read(lineEdit()->text());
    if (!parts) return;
    const TypedDatePart& part = (*parts)[index];
    // Selected from its end back, as the editor selects a part: the cursor stays in the part.
    m_typingKey = true;
    if (!part.digits.isEmpty()) lineEdit()->setSelection(part.start + part.digits.size(), -part.digits.size());
    m_typingKey = false;
}

void TileDateField::forgetTyping() {
    if (!m_typingKey) m_typing = {};
}

bool TileDateField::isEditing() const {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    return tile && lineEdit()->text() != textFromDateTime(QDateTime(localDay(tile->date), QTime(12, 0)));
}

bool TileDateField::isRefused() const {
    const QString text = lineEdit()->text();
    return (!m_refusal.why.isEmpty() && text == m_refusal.text) || !refusalOf(text).why.isEmpty();
}

void TileDateField::cancelEdit() {
    showStoredText();
    selectAll();
}

void TileDateField::showStoredText() {
    const Section part = currentSection();
    m_typing = {};
    showStoredDate();
    // The editor's date is the tile's by now, but its text is still what was typed.
    m_showing = true;
    setDate(date());
    m_showing = false;
    setCurrentSection(part);
}

void TileDateField::stepBy(int steps) {
    // The editor would step the parts of a refused text it holds on to, a day typed into a month that lacks it
    // among them, and store a date nobody typed: the step starts from the tile's date instead.
    if (m_format && isRefused()) showStoredText();
    QDateEdit::stepBy(steps);
}

void TileDateField::onTextChanged(const QString& text) {
    if (m_showing) return;
    // Typed text: the editor's own changes of the text come without a signal.
    m_refusal = refusalOf(text);
    showProblem(m_refusal.whileTyping ? m_refusal.why : QString());
}

void TileDateField::endEdit() {
    // The editor puts its date back in place of a refused text but keeps what it read of that text, such as a day
    // its month lacks, for the next step of the month or year: the field starts again from the date shown.
    if (lineEdit()->text() == textFromDateTime(dateTime())) {
        m_typing = {};
        m_showing = true;
        setDate(date());
        m_showing = false;
    }
    noticeGoingBack();
}

void TileDateField::noticeGoingBack() {
    // The editor puts the tile's date back in place of a text it does not take, without a word: say why.
    if (m_refusal.why.isEmpty() || lineEdit()->text() != textFromDateTime(dateTime())) return;
    showProblem(std::exchange(m_refusal, {}).why);
}

void TileDateField::showDate() {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    if (!tile) return;
    m_refusal = {};
    const QDate day = localDay(tile->date);
    if (day == date()) return;
    m_showing = true;
    setDate(day);
    m_showing = false;
}

void TileDateField::chooseDate(const QDate& day) {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    // Return on the tile's own date, or on a text that went back to it, chooses nothing.
    if (m_showing || !tile || !day.isValid() || day == localDay(tile->date)) return;
    m_refusal = {};
    if (!GlazeCore::DateYears::holds(day.year())) {
        // A step of the arrows or a day of the calendar beyond the years: the field goes back at once.
        showProblem(yearRefusal(day.year()));
        showDate();
        return;
    }
    showProblem({});
    const GlazeCore::Date moved = onDay(tile->date, day);
    if (moved == tile->date) return;
    // Each date chosen is a step of its own, like a choice from a list.
    m_document.endEditBurst();
    m_document.setTileDate(m_tileID, moved);
    m_document.endEditBurst();
}

void TileDateField::showProblem(const QString& problem) {
    const bool isNew = !problem.isEmpty() && (m_problem.isHidden() || problem != m_problem.text());
    if (!problem.isEmpty()) m_problem.setText(problem);
    m_problem.setVisible(!problem.isEmpty());
    if (isNew) m_problem.announce();
}

void TileDateField::onTileChanged(const GlazeCore::Uuid& tileID, int, TileField field) {
    if (tileID == m_tileID && field == TileField::date) showStoredDate();
}

void TileDateField::showStoredDate() {
    showProblem({});
    showDate();
}

} // namespace Orza
