#include "Orza/testlog/FiringScheduleEditor.h"

#include "GlazeCore/book/FiringSchedule.h"
#include "GlazeCore/book/GlazeBookValidation.h"
#include "GlazeCore/text/NumberText.h"
#include "Orza/actions/DocumentFieldKeys.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/testlog/FormSection.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orza {

namespace {

namespace Schedule = GlazeCore::FiringSchedule;
namespace Limits = GlazeCore::GlazeBookValidation;

constexpr int fieldWidth = 80;
constexpr LiveNumberField::FractionDigits fieldDigits{0, 1};

QLabel* headerCell(const QString& text) {
    auto* cell = new QLabel(text);
    QFont font = captionFont(cell->font());
    font.setWeight(QFont::DemiBold);
    cell->setFont(font);
    makeSecondary(cell);
    // Every field names its segment and column, so the headings would only be read twice.
    hideFromAccessibility(cell);
    return cell;
}

double& member(GlazeCore::FiringSegment& segment, FiringScheduleEditor::Column column) {
    switch (column) {
    case FiringScheduleEditor::Column::rate:
        return segment.ratePerHour;
    case FiringScheduleEditor::Column::target:
        return segment.targetC;
    case FiringScheduleEditor::Column::hold:
        break;
    }
    return segment.holdMinutes;
}

/// A segment's value as its field writes it, and as the sentence on a refused field names it: a slow ramp's
/// rate never reads as 0 while its hours fill the footer.
QString fieldText(double value) {
    return QString::fromStdString(
        GlazeCore::NumberText::formatNonZero(value, fieldDigits, QLocale().name().toStdString()));
}

LiveNumberField::Rules fieldRules() {
    LiveNumberField::Rules rules = LiveNumberField::plainRules(fieldDigits, true);
    rules.format = fieldText;
    return rules;
}

QString largest(double limit) {
    return QLocale().toString(qlonglong(limit));
}

/// The footer's total. A few slow ramps can add up to more hours than fit beside the buttons (a rate of
/// 1e-300 °C/h makes 300 digits, 3e-306 no finite number): such a total says it is over the largest shown.
QString totalText(double hours) {
    constexpr double mostShown = 1'000'000;
    if (!(hours <= mostShown)) return FiringScheduleEditor::tr("Total: over %1 h").arg(largest(mostShown));
    return FiringScheduleEditor::tr("Total: %1 h").arg(formatDoublePlaces(1, hours));
}

/// What a refused field leaves in the book: the number its edit began from, as leaving the field shows it.
QString keptValue(int segment, FiringScheduleEditor::Column column, double value) {
    const QString number = fieldText(value);
    switch (column) {
    case FiringScheduleEditor::Column::rate:
        return FiringScheduleEditor::tr("Segment %1 keeps its rate of %2 °C/h.").arg(segment).arg(number);
    case FiringScheduleEditor::Column::target:
        return FiringScheduleEditor::tr("Segment %1 keeps its target of %2 °C.").arg(segment).arg(number);
    case FiringScheduleEditor::Column::hold:
        break;
    }
    return FiringScheduleEditor::tr("Segment %1 keeps its hold of %2 min.").arg(segment).arg(number);
}

} // namespace

FiringScheduleEditor::FiringScheduleEditor(BookDocument& document, ActionRegistry& actions,
                                           const GlazeCore::Uuid& tileID, QWidget* parent)
    : QWidget(parent), m_document(document), m_actions(actions), m_tileID(tileID), m_grid(new QGridLayout),
      m_problem(new ProblemLabel), m_add(new QPushButton(tr("Add Segment"))),
      m_cone6(new QPushButton(tr("Cone 6 Default"))), m_total(new QLabel) {
    m_grid->setHorizontalSpacing(10);
    m_grid->setVerticalSpacing(6);
    // The columns keep their width; what is left of the row stays empty at its end.
    m_grid->setColumnStretch(5, 1);
    const QStringList headers{tr("Segment"), tr("Rate °C/h"), tr("Target °C"), tr("Hold min")};
    for (int column = 0; column < headers.size(); ++column)
        m_grid->addWidget(headerCell(headers[column]), 0, column, column == 0 ? Qt::AlignLeft : Qt::AlignRight);

    m_problem->hide();

    m_cone6->setToolTip(tr("Replace the schedule with a plain cone 6 glaze firing"));
    makeSecondary(m_total);
    auto* footer = new QHBoxLayout;
    footer->addStretch(1);
    footer->addWidget(m_add);
    footer->addWidget(m_cone6);
    footer->addSpacing(6);
    footer->addWidget(m_total);
    footer->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addLayout(m_grid);
    column->addWidget(m_problem);
    column->addLayout(footer);

    connect(m_add, &QPushButton::clicked, this, &FiringScheduleEditor::addFiringSegment);
    connect(m_cone6, &QPushButton::clicked, this, &FiringScheduleEditor::applyCone6Default);
    connect(&m_document, &BookDocument::tileChanged, this, &FiringScheduleEditor::onTileChanged);
    connect(&m_document, &BookDocument::testsInserted, this, &FiringScheduleEditor::refresh);
    connect(&m_document, &BookDocument::testsRemoved, this, &FiringScheduleEditor::refresh);
    connect(&m_document, &BookDocument::reset, this, &FiringScheduleEditor::refresh);
    refresh();
}

std::vector<GlazeCore::FiringSegment> FiringScheduleEditor::schedule() const {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    return tile ? tile->schedule : std::vector<GlazeCore::FiringSegment>{};
}

LiveNumberField* FiringScheduleEditor::field(int row, Column column) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return m_rows[std::size_t(row)].fields[int(column)];
}

QToolButton* FiringScheduleEditor::removeButton(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return m_rows[std::size_t(row)].remove;
}

void FiringScheduleEditor::addFiringSegment() {
    endFieldEdits();
    auto segments = schedule();
    if (!m_document.tile(m_tileID) || !Schedule::canAddSegment(segments)) return;
    segments.push_back(Schedule::nextSegment(segments));
    write(std::move(segments));
}

void FiringScheduleEditor::applyCone6Default() {
    endFieldEdits();
    write(Schedule::cone6DefaultSchedule());
}

void FiringScheduleEditor::removeSegment(int index) {
    endFieldEdits();
    auto segments = schedule();
    if (index < 0 || std::size_t(index) >= segments.size()) return;
    segments.erase(segments.begin() + index);
    write(std::move(segments));
}

void FiringScheduleEditor::endFieldEdits() {
    // The buttons take no focus and are no command, so a field's edit would outlast them: its rows would then
    // hold other segments, and a refusal would write its start value into the segment that moved in. It ends
    // first, and its take-back lands on its own segment.
    m_document.endFieldEdits();
}

void FiringScheduleEditor::write(std::vector<GlazeCore::FiringSegment> segments) {
    // A button's change is a step of its own, never merged with typing before or after it.
    m_document.endEditBurst();
    m_document.setTileSchedule(m_tileID, std::move(segments));
    m_document.endEditBurst();
}

void FiringScheduleEditor::writeField(int row, Column column, double value) {
    auto segments = schedule();
    if (row < 0 || std::size_t(row) >= segments.size()) return;
    member(segments[std::size_t(row)], column) = value;
    m_document.setTileSchedule(m_tileID, std::move(segments));
}

void FiringScheduleEditor::onTileChanged(const GlazeCore::Uuid& tileID, int, TileField changed) {
    if (tileID == m_tileID && changed == TileField::schedule) refresh();
}

void FiringScheduleEditor::refresh() {
    const auto segments = schedule();
    const bool rowsChange = m_rows.size() != segments.size();
    while (m_rows.size() < segments.size())
        addRow();
    while (m_rows.size() > segments.size())
        removeLastRow();
    showValues(segments);
    if (rowsChange) orderTabs();

    const auto points = Schedule::rampPoints(segments);
    m_total->setText(totalText(Schedule::totalHours(points)));
    const bool canAdd = m_document.tile(m_tileID) && Schedule::canAddSegment(segments);
    m_add->setEnabled(canAdd);
    QString limit;
    if (segments.size() >= std::size_t(Limits::maxSegmentsPerTile))
        limit = tr("A firing schedule can have up to %1 segments.").arg(largest(double(Limits::maxSegmentsPerTile)));
    else if (!canAdd && !segments.empty())
        limit = tr("A segment's target can be at most %1 °C.").arg(largest(Limits::maxFiringValue));
    m_add->setToolTip(limit);
    m_add->setAccessibleDescription(limit);
    emit scheduleShown(segments);
}

void FiringScheduleEditor::addRow() {
    const int index = rowCount();
    const int n = index + 1;
    Row row{};
    row.number = new QLabel(QString::number(n));
    const QString titles[3] = {tr("Rate"), tr("Target"), tr("Hold")};
    const QString spoken[3] = {tr("Segment %1 rate in degrees per hour").arg(n),
                               tr("Segment %1 target temperature in degrees Celsius").arg(n),
                               tr("Segment %1 hold in minutes").arg(n)};
    for (int c = 0; c < 3; ++c) {
        auto* edit = new LiveNumberField(titles[c], 0, fieldRules());
        edit->setFixedWidth(fieldWidth);
        edit->setAlignment(Qt::AlignRight);
        edit->setAccessibleName(spoken[c]);
        DocumentFieldKeys::attach(edit, m_document, m_actions);
        const auto column = Column(c);
        connect(edit, &LiveNumberField::valueEdited, this,
                [this, index, column](double value) { writeField(index, column, value); });
        // Typing, leaving the field and a value from elsewhere all change the text; each is looked at.
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { checkTyped(edit); });
        row.fields[c] = edit;
    }
    row.remove = new QToolButton;
    row.remove->setIcon(ThemedIcon::symbolAt(QStringLiteral(":/orza/testlog/icons/minus.circle.svg")));
    row.remove->setAutoRaise(true);
    row.remove->setAccessibleName(tr("Remove segment %1").arg(n));
    row.remove->setToolTip(tr("Remove segment %1").arg(n));
    connect(row.remove, &QToolButton::clicked, this, [this, index] { removeSegment(index); });

    const int gridRow = index + 1;
    m_grid->addWidget(row.number, gridRow, 0, Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < 3; ++c)
        m_grid->addWidget(row.fields[c], gridRow, c + 1);
    m_grid->addWidget(row.remove, gridRow, 4, Qt::AlignLeft | Qt::AlignVCenter);
    m_rows.push_back(row);
}

void FiringScheduleEditor::orderTabs() {
    // Rows come and go after the buttons were made; Tab still reads the rows top to bottom, then the buttons.
    QWidget* previous = nullptr;
    for (const Row& row : m_rows)
        for (QWidget* next : {static_cast<QWidget*>(row.fields[0]), static_cast<QWidget*>(row.fields[1]),
                              static_cast<QWidget*>(row.fields[2]), static_cast<QWidget*>(row.remove)}) {
            if (previous) setTabOrder(previous, next);
            previous = next;
        }
    if (previous) setTabOrder(previous, m_add);
    setTabOrder(m_add, m_cone6);
}

void FiringScheduleEditor::removeLastRow() {
    const Row row = m_rows.back();
    m_rows.pop_back();
    QList<QWidget*> widgets{row.number, row.fields[0], row.fields[1], row.fields[2], row.remove};
    for (QWidget* widget : widgets) {
        m_grid->removeWidget(widget);
        widget->hide();
        // The row's own remove button may be the one whose click got here.
        widget->deleteLater();
    }
    for (LiveNumberField* edit : row.fields) {
        m_refused.remove(edit);
        if (m_lastRefused == edit) m_lastRefused = nullptr;
    }
    updateProblem();
}

void FiringScheduleEditor::showValues(const std::vector<GlazeCore::FiringSegment>& segments) {
    for (std::size_t i = 0; i < segments.size(); ++i) {
        GlazeCore::FiringSegment segment = segments[i];
        for (int c = 0; c < 3; ++c)
            m_rows[i].fields[c]->setValue(member(segment, Column(c)));
    }
}

void FiringScheduleEditor::checkTyped(LiveNumberField* edit) {
    // The field's parsing holds typed values to what a book can keep.
    if (edit->problem().isEmpty()) {
        m_refused.remove(edit);
    } else {
        m_refused.insert(edit);
        m_lastRefused = edit;
    }
    updateProblem();
}

QString FiringScheduleEditor::problemText() const {
    LiveNumberField* described = m_refused.contains(m_lastRefused) ? m_lastRefused : *m_refused.constBegin();
    QString text =
        tr("Enter a number from %1 to %2.").arg(largest(-Limits::maxFiringValue), largest(Limits::maxFiringValue));
    // Earlier keystrokes wrote on the way; leaving the field takes them back to the value it began from.
    for (int row = 0; row < rowCount(); ++row) {
        for (int c = 0; c < 3; ++c) {
            if (m_rows[std::size_t(row)].fields[c] != described) continue;
            text += QLatin1Char(' ') + keptValue(row + 1, Column(c), described->valueBeforeEdit());
        }
    }
    return text;
}

void FiringScheduleEditor::updateProblem() {
    const bool shown = !m_refused.isEmpty();
    if (shown) m_problem->setText(problemText());
    if (shown == m_problem->isVisibleTo(this)) return;
    m_problem->setVisible(shown);
    if (shown) m_problem->announce();
}

} // namespace Orza
