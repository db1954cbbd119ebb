#include "Orza/testlog/TileDateField.h"

#include "GlazeCore/book/DateYears.h"
#include "Orza/display/DateDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/testlog/ProblemLabel.h"

#include <chrono>

namespace Orza {

namespace {

QDateTime localTime(std::chrono::milliseconds sinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(sinceEpoch.count());
}

/// `date` moved to `day` at the same local time of day, to the nanosecond; `date` itself when there is no such
/// moment.
GlazeCore::Date onDay(GlazeCore::Date date, const QDate& day) {
    using namespace std::chrono;
    const auto whole = floor<milliseconds>(date.time_since_epoch());
    const QDateTime moved(day, localTime(whole).time());
    if (!moved.isValid()) return date;
    // Set, not shifted by the difference: years apart, that difference overflows the clock.
    return GlazeCore::Date(milliseconds(moved.toMSecsSinceEpoch())) + (date.time_since_epoch() - whole);
}

} // namespace

TileDateField::TileDateField(BookDocument& document, const GlazeCore::Uuid& tileID, ProblemLabel& problem,
                             QWidget* parent)
    : QDateEdit(parent), m_document(document), m_tileID(tileID), m_problem(problem) {
    setAccessibleName(tr("Fired on"));
    setCalendarPopup(true);
    setDisplayFormat(fourDigitYearDateFormat());
    // The editor's own earliest: a year the book cannot hold is refused with a reason, not dropped unseen.
    setMinimumDate(QDate(100, 1, 1));
    // The digits typed are no date until the field is done with them: a year typed 2, 20, 202, 2026 is one.
    setKeyboardTracking(false);
    m_problem.hide();

    connect(this, &QDateEdit::dateChanged, this, &TileDateField::chooseDate);
    connect(&m_document, &BookDocument::tileChanged, this, &TileDateField::onTileChanged);
    connect(&m_document, &BookDocument::reset, this, &TileDateField::showDate);
    connect(&m_document, &BookDocument::testsInserted, this, &TileDateField::showDate);
    showDate();
}

void TileDateField::showDate() {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    if (!tile) return;
    showProblem({});
    const auto stored = std::chrono::floor<std::chrono::milliseconds>(tile->date.time_since_epoch());
    const QDate day = localTime(stored).date();
    if (day == date()) return;
    m_showing = true;
    setDate(day);
    m_showing = false;
}

void TileDateField::chooseDate(const QDate& day) {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    if (m_showing || !tile || !day.isValid()) return;
    if (!GlazeCore::DateYears::holds(day.year())) {
        showProblem(tr("The year %1 cannot be stored. Type a year from %2 to %3. The date was not changed.")
                        .arg(day.year())
                        .arg(GlazeCore::DateYears::first())
                        .arg(GlazeCore::DateYears::last()));
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
    if (tileID == m_tileID && field == TileField::date) showDate();
}

} // namespace Orza
