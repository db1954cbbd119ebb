#include "Orza/chemistry/UmfGrid.h"

#include "GlazeCore/reformulate/OxideNudge.h"
#include "Orza/chemistry/ChemistryTexts.h"
#include "Orza/chemistry/RangeStatusCell.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/platform/AccessibleHeading.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/ArrowStepper.h"
#include "Orza/widgets/TextStyle.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>

namespace Orza {

namespace {

using GlazeCore::Oxide;
using Style = TextStyle::Style;

constexpr Qt::Alignment trailing = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment leading = Qt::AlignLeft | Qt::AlignVCenter;

Qt::Alignment alignmentOf(UmfGrid::Column column) {
    return column == UmfGrid::oxideColumn || column == UmfGrid::statusColumn ? leading : trailing;
}

void setShown(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) widget->setHidden(!shown);
}

void setTextIfNew(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

void setToolTipIfNew(QWidget* widget, const QString& tip) {
    if (widget->toolTip() != tip) widget->setToolTip(tip);
}

QLabel* numberLabel() {
    auto* label = new QLabel;
    label->setFont(TextStyle::monospacedDigits(label->font()));
    label->setTextFormat(Qt::PlainText);
    return label;
}

/// Below this a row stands 3 points from the next.
constexpr int rowSpacing = 3;
/// A group heading stands this far below the row above it.
constexpr int headingSpaceAbove = 6;

} // namespace

UmfGrid::UmfGrid(QWidget* parent)
    : FirstFitView(parent), m_content(new QWidget(this)), m_grid(new QGridLayout(m_content)) {
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setVerticalSpacing(rowSpacing);
    m_grid->setHorizontalSpacing(columnSpacing(Variant::full));
    buildHeader();
    int gridRow = 1;
    for (const OxideGroup group : OxideGroups::allCases()) {
        auto* heading = new QLabel(OxideGroups::heading(group));
        TextStyle::apply(heading, Style::subheadline, QFont::DemiBold);
        heading->setContentsMargins(0, headingSpaceAbove, 0, 0);
        markAsHeading(heading);
        m_headings[std::size_t(group)] = heading;
        m_headingSlots[std::size_t(group)] = makeSlot(heading, gridRow++);
        if (group == OxideGroup::flux) {
            m_divider = new QFrame;
            m_divider->setFrameShape(QFrame::HLine);
            m_divider->setFrameShadow(QFrame::Plain);
            m_divider->setForegroundRole(QPalette::Mid);
            m_dividerSlot = makeSlot(m_divider, gridRow++);
        }
        // Each oxide's place is fixed: under its group, in oxide order.
        for (const Oxide oxide : GlazeCore::OxideNames::allCases())
            if (OxideGroups::of(oxide) == group) buildRow(oxide, gridRow++);
    }
    // The spare width goes to an empty column after the last, so the others keep their natural widths.
    m_grid->setColumnStretch(columnCount, 1);
    setAccessibleName(tr("Unity molecular formula"));
    applyVisibility();
    refit();
}

QWidget* UmfGrid::makeSlot(QWidget* overlay, int gridRow) {
    overlay->setParent(m_content);
    auto* slot = new QWidget;
    slot->setFixedSize(0, overlay->sizeHint().height());
    slot->installEventFilter(this);
    m_grid->addWidget(slot, gridRow, 0);
    return slot;
}

void UmfGrid::placeOverlays() {
    const int width = naturalWidth(int(m_variant));
    const auto place = [width](QWidget* overlay, const QWidget* slot) {
        overlay->setGeometry(0, slot->y(), std::max(width, overlay->sizeHint().width()), slot->height());
    };
    for (std::size_t group = 0; group < m_headings.size(); ++group)
        place(m_headings[group], m_headingSlots[group]);
    place(m_divider, m_dividerSlot);
}

bool UmfGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) placeOverlays();
    return FirstFitView::eventFilter(watched, event);
}

void UmfGrid::buildHeader() {
    const std::array<QString, columnCount> titles{tr("Oxide"), tr("UMF"),        QString(),   tr("Mol %"),
                                                  tr("Wt %"),  tr("Ref. range"), tr("Status")};
    for (int column = 0; column < columnCount; ++column) {
        auto* cell = new QLabel(titles[std::size_t(column)]);
        TextStyle::apply(cell, Style::caption, QFont::DemiBold);
        TextStyle::makeSecondary(cell);
        hideFromAccessibility(cell);
        m_header[std::size_t(column)] = cell;
        m_grid->addWidget(cell, 0, column, alignmentOf(Column(column)));
    }
}

void UmfGrid::buildRow(Oxide oxide, int gridRow) {
    Row& cells = row(oxide);
    cells.oxide = new QLabel(ChemistryTexts::formula(oxide));
    cells.umf = numberLabel();
    cells.stepper = new ArrowStepper;
    cells.mole = numberLabel();
    cells.weight = numberLabel();
    cells.range = numberLabel();
    TextStyle::makeSecondary(cells.range);
    cells.status = new RangeStatusCell;
    // The oxide cell speaks for the row; the stepper has its own label.
    for (QWidget* quiet :
         std::initializer_list<QWidget*>{cells.umf, cells.mole, cells.weight, cells.range, cells.status})
        hideFromAccessibility(quiet);

    cells.stepper->setToolTip(ChemistryTexts::nudgeHelp(oxide));
    cells.stepper->setAccessibleName(ChemistryTexts::nudgeAccessibleName(oxide));
    cells.stepper->setAccessibleDescription(ChemistryTexts::nudgeAccessibleHint());
    connect(cells.stepper, &ArrowStepper::incremented, this, [this, oxide] { emit nudgeRequested(oxide, 1); });
    connect(cells.stepper, &ArrowStepper::decremented, this, [this, oxide] { emit nudgeRequested(oxide, -1); });

    const std::array<std::pair<QWidget*, Column>, columnCount> placed{{{cells.oxide, oxideColumn},
                                                                       {cells.umf, umfColumn},
                                                                       {cells.stepper, arrowsColumn},
                                                                       {cells.mole, moleColumn},
                                                                       {cells.weight, weightColumn},
                                                                       {cells.range, rangeColumn},
                                                                       {cells.status, statusColumn}}};
    for (const auto& [widget, column] : placed) {
        m_grid->addWidget(widget, gridRow, column, alignmentOf(column));
        widget->setHidden(true);
    }
}

void UmfGrid::setContent(const GlazeCore::Chemistry& chemistry, const LimitComparison& comparison, bool offersNudge,
                         bool includeAdditions) {
    m_arrowsShown = offersNudge && !chemistry.umf.empty() && !includeAdditions;
    for (const Oxide oxide : GlazeCore::OxideNames::allCases()) {
        Row& cells = row(oxide);
        cells.shown = comparison.isListed(oxide);
        cells.canNudge = m_arrowsShown && GlazeCore::Reformulate::canNudge(oxide, chemistry, includeAdditions);
        if (cells.shown) updateRow(oxide, chemistry, comparison);
    }
    for (const OxideGroup group : OxideGroups::allCases())
        m_headingShown[std::size_t(group)] = !comparison.groupRows(group).empty();
    applyVisibility();
    refit();
}

void UmfGrid::updateRow(Oxide oxide, const GlazeCore::Chemistry& chemistry, const LimitComparison& comparison) {
    Row& cells = row(oxide);
    const RangeStatus status = comparison.rangeStatus(oxide);
    const GlazeCore::LimitRange* range = comparison.rangeForOxide(oxide);
    const bool outside = status == RangeStatus::below || status == RangeStatus::above;

    const QString rowLabel = ChemistryTexts::oxideRowLabel(oxide, chemistry, status, range);
    if (cells.oxide->accessibleName() != rowLabel) cells.oxide->setAccessibleName(rowLabel);

    setTextIfNew(cells.umf, ChemistryTexts::umfCell(chemistry, oxide));
    cells.stepper->setSteppedValue(GlazeCore::oxideValue(chemistry.umf, oxide), cells.umf->text());
    if (cells.umf->font().bold() != outside) {
        QFont font = cells.umf->font();
        font.setBold(outside);
        cells.umf->setFont(font);
    }
    setToolTipIfNew(cells.umf,
                    chemistry.umf.empty() ? tr("UMF not available. The recipe has no flux oxides.") : QString());

    setTextIfNew(cells.mole, formatDoublePlaces(1, GlazeCore::oxideValue(chemistry.molePercent, oxide)));
    setTextIfNew(cells.weight, formatDoublePlaces(1, GlazeCore::oxideValue(chemistry.weightPercent, oxide)));

    const bool shared = comparison.isSharedRangeRow(oxide, range);
    if (shared) {
        setTextIfNew(cells.range, tr("↑ shared"));
        setToolTipIfNew(cells.range, ChemistryTexts::sharedRangeHelp(*range));
    } else {
        setTextIfNew(cells.range, range ? ChemistryTexts::rangeText(*range) : QStringLiteral("–"));
        setToolTipIfNew(cells.range, QString());
    }
    cells.status->setStatus(status);
}

void UmfGrid::applyVisibility() {
    setShown(m_header[arrowsColumn], m_arrowsShown);
    setShown(m_header[moleColumn], m_variant == Variant::full);
    for (const OxideGroup group : OxideGroups::allCases()) {
        setShown(m_headings[std::size_t(group)], m_headingShown[std::size_t(group)]);
        setShown(m_headingSlots[std::size_t(group)], m_headingShown[std::size_t(group)]);
    }
    setShown(m_divider, m_headingShown[std::size_t(OxideGroup::flux)]);
    setShown(m_dividerSlot, m_headingShown[std::size_t(OxideGroup::flux)]);
    for (Row& cells : m_rows) {
        for (QWidget* cell :
             std::initializer_list<QWidget*>{cells.oxide, cells.umf, cells.weight, cells.range, cells.status})
            setShown(cell, cells.shown);
        setShown(cells.stepper, cells.shown && cells.canNudge);
        setShown(cells.mole, cells.shown && m_variant == Variant::full);
        cells.status->setShowsWords(m_variant != Variant::compact);
    }
    m_grid->setHorizontalSpacing(columnSpacing(m_variant));
    placeOverlays();
}

int UmfGrid::gridColumnCount(Variant variant) const {
    return 5 + (m_arrowsShown ? 1 : 0) + (variant == Variant::full ? 1 : 0);
}

bool UmfGrid::columnVisible(Column column, Variant variant) const {
    if (column == arrowsColumn) return m_arrowsShown;
    if (column == moleColumn) return variant == Variant::full;
    return true;
}

int UmfGrid::columnWidth(Column column, Variant variant) const {
    int width = m_header[column]->sizeHint().width();
    for (const Row& cells : m_rows) {
        if (!cells.shown) continue;
        switch (column) {
        case oxideColumn:
            width = std::max(width, cells.oxide->sizeHint().width());
            break;
        case umfColumn:
            width = std::max(width, cells.umf->sizeHint().width());
            break;
        case arrowsColumn:
            if (cells.canNudge) width = std::max(width, cells.stepper->sizeHint().width());
            break;
        case moleColumn:
            width = std::max(width, cells.mole->sizeHint().width());
            break;
        case weightColumn:
            width = std::max(width, cells.weight->sizeHint().width());
            break;
        case rangeColumn:
            width = std::max(width, cells.range->sizeHint().width());
            break;
        case statusColumn:
            width = std::max(width, cells.status->widthFor(variant != Variant::compact));
            break;
        case columnCount:
            break;
        }
    }
    return width;
}

int UmfGrid::naturalWidth(int variantIndex) const {
    const auto variant = Variant(variantIndex);
    int width = 0;
    int columns = 0;
    for (int column = 0; column < columnCount; ++column) {
        if (!columnVisible(Column(column), variant)) continue;
        width += columnWidth(Column(column), variant);
        ++columns;
    }
    return width + columnSpacing(variant) * std::max(0, columns - 1);
}

int UmfGrid::naturalHeight(int, int) const {
    // Every layout has the same rows, one line each.
    return m_grid->sizeHint().height();
}

void UmfGrid::showVariant(int variant) {
    m_variant = Variant(variant);
    applyVisibility();
}

void UmfGrid::arrange() {
    // Never squeezed below the layout's natural width; what does not fit is cut at the edge.
    m_content->setGeometry(0, 0, std::max(width(), naturalWidth(int(m_variant))), height());
}

void UmfGrid::changeEvent(QEvent* event) {
    FirstFitView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        for (std::size_t group = 0; group < m_headings.size(); ++group)
            m_headingSlots[group]->setFixedHeight(m_headings[group]->sizeHint().height());
        refit();
    }
}

bool UmfGrid::isRowShown(Oxide oxide) const {
    return row(oxide).shown;
}

} // namespace Orza
