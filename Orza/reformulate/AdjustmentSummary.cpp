#include "Orza/reformulate/AdjustmentSummary.h"

#include "Orza/chemistry/ChemistryTexts.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/platform/KeyboardScroll.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/ElidedLabel.h"
#include "Orza/widgets/IconLabel.h"
#include "Orza/widgets/SymbolIcon.h"
#include "Orza/widgets/TextStyle.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace Orza {

namespace {

using GlazeCore::Oxide;
using Style = TextStyle::Style;

constexpr double shownThreshold = 0.00005;
constexpr double changeThreshold = 0.005;
constexpr int gridColumnSpacing = 14;
constexpr int gridRowSpacing = 3;
constexpr Qt::Alignment leading = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment trailing = Qt::AlignRight | Qt::AlignVCenter;
/// Stands between a row's name and its current value in what a screen reader says.
const QString nowSeparator = QStringLiteral(", now ");

void setTextIfNew(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

void setShown(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) widget->setHidden(!shown);
}

void setWeight(QLabel* label, QFont::Weight weight) {
    if (label->font().weight() == weight) return;
    QFont font = label->font();
    font.setWeight(weight);
    label->setFont(font);
}

QLabel* numberCell() {
    auto* label = new QLabel;
    label->setFont(TextStyle::monospacedDigits(label->font()));
    label->setTextFormat(Qt::PlainText);
    hideFromAccessibility(label);
    return label;
}

QLabel* headerCell(const QString& text) {
    auto* label = new QLabel(text);
    TextStyle::apply(label, Style::caption, QFont::DemiBold);
    TextStyle::makeSecondary(label);
    label->setTextFormat(Qt::PlainText);
    hideFromAccessibility(label);
    return label;
}

QGridLayout* gridIn(QWidget* widget) {
    auto* grid = new QGridLayout(widget);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(gridColumnSpacing);
    grid->setVerticalSpacing(gridRowSpacing);
    // Spare width goes past the last column, so the grid keeps its natural width at the leading edge.
    grid->setColumnStretch(4, 1);
    return grid;
}

/// Sums the base amounts per material id into `totals`, appending ids not yet listed to `order`.
void sumBaseAmounts(const GlazeCore::Recipe& recipe, std::vector<std::string>& order,
                    std::unordered_map<std::string, double>& totals) {
    for (const GlazeCore::RecipeLine& line : recipe.lines) {
        if (line.isAddition || line.materialID.empty()) continue;
        if (std::find(order.begin(), order.end(), line.materialID) == order.end()) order.push_back(line.materialID);
        totals[line.materialID] += line.amount >= 0 ? line.amount : 0.0;
    }
}

/// The scrolling list beside the chart: it asks for 400 points wide, but a squeezed sheet may give it less.
class ListArea final : public QScrollArea {
public:
    QSize minimumSizeHint() const override { return QScrollArea::minimumSizeHint().expandedTo(QSize(400, 0)); }
};

/// The chart column at its widest.
constexpr int chartWidth = 360;

} // namespace

AdjustmentSummary::AdjustmentSummary(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(20);

    m_scroll = new ListArea;
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setAccessibleName(tr("Result"));
    // Nothing inside takes the keyboard: on a small screen the area itself does, so the arrows reach what it cuts.
    KeyboardScroll::keep(m_scroll);
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    buildOutcome(column);
    buildMaterialsGrid(column);
    buildUnityGrid(column);
    column->addStretch(1);
    m_scroll->setWidget(content);
    row->addWidget(m_scroll, 1);

    m_chart = new StullChartView;
    m_chart->setMaximumWidth(chartWidth);
    row->addWidget(chartArea(m_chart));
}

QScrollArea* AdjustmentSummary::chartArea(StullChartView* chart) {
    // No fixed least widths: on a sheet squeezed by a small screen, list and chart share what there is side by
    // side rather than one being laid over the other, and the chart keeps its plot whole, scrolling in its column.
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(chart);
    area->setAccessibleName(chart->accessibleName().isEmpty() ? tr("Stull chart") : chart->accessibleName());
    // The chart takes no keyboard: while its column cuts it, the column does, so the arrows reach all of it.
    KeyboardScroll::keep(area);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setMaximumWidth(chartWidth + area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area));
    area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return area;
}

AdjustmentSummary::~AdjustmentSummary() = default;

void AdjustmentSummary::buildOutcome(QVBoxLayout* column) {
    m_reached = new IconLabel(Symbol::checkmarkCircle, IconLabel::Tone::primary, Style::body);
    column->addWidget(m_reached);
    m_misses = new QWidget;
    auto* lines = new QVBoxLayout(m_misses);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(4);
    column->addWidget(m_misses);
}

void AdjustmentSummary::buildMaterialsGrid(QVBoxLayout* column) {
    m_materialsGrid = new QWidget;
    m_materialsGrid->setAccessibleName(tr("Materials, now and new"));
    m_materialsLayout = gridIn(m_materialsGrid);
    m_materialsLayout->addWidget(headerCell(tr("Material")), 0, 0, leading);
    m_materialsLayout->addWidget(headerCell(tr("Now")), 0, 1, trailing);
    m_materialsLayout->addWidget(headerCell(tr("New")), 0, 2, trailing);
    m_materialsLayout->addWidget(headerCell(tr("Change")), 0, 3, trailing);

    m_total.name = new ElidedLabel(nullptr, Qt::ElideMiddle);
    m_total.name->setText(tr("Base total"));
    m_total.name->setFont(TextStyle::semibold(m_total.name->font()));
    m_total.now = numberCell();
    m_total.next = numberCell();
    m_total.change = numberCell();
    placeTotalRow();
    column->addWidget(m_materialsGrid);
}

void AdjustmentSummary::addMaterialRow() {
    MaterialCells cells;
    cells.name = new ElidedLabel(nullptr, Qt::ElideMiddle);
    cells.now = numberCell();
    cells.next = numberCell();
    cells.change = numberCell();
    TextStyle::makeSecondary(cells.change);
    const int gridRow = int(m_materials.size()) + 1;
    m_materialsLayout->addWidget(cells.name, gridRow, 0, leading);
    m_materialsLayout->addWidget(cells.now, gridRow, 1, trailing);
    m_materialsLayout->addWidget(cells.next, gridRow, 2, trailing);
    m_materialsLayout->addWidget(cells.change, gridRow, 3, trailing);
    m_materials.push_back(cells);
}

void AdjustmentSummary::placeTotalRow() {
    // The total stays under the last material row as the grid grows.
    const int gridRow = int(m_materials.size()) + 1;
    const std::array<std::pair<QWidget*, Qt::Alignment>, 4> cells{
        {{m_total.name, leading}, {m_total.now, trailing}, {m_total.next, trailing}, {m_total.change, trailing}}};
    for (int column = 0; column < int(cells.size()); ++column) {
        const auto& [cell, alignment] = cells[std::size_t(column)];
        m_materialsLayout->removeWidget(cell);
        m_materialsLayout->addWidget(cell, gridRow, column, alignment);
        // A reader goes through the grid's children in their order: last, as on screen.
        cell->raise();
    }
}

void AdjustmentSummary::buildUnityGrid(QVBoxLayout* column) {
    m_unityGrid = new QWidget;
    m_unityGrid->setAccessibleName(tr("Unity formula, now and new"));
    QGridLayout* grid = gridIn(m_unityGrid);
    m_targetHeader = headerCell(QString());
    grid->addWidget(headerCell(tr("Oxide (UMF)")), 0, 0, leading);
    grid->addWidget(headerCell(tr("Now")), 0, 1, trailing);
    grid->addWidget(m_targetHeader, 0, 2, trailing);
    grid->addWidget(headerCell(tr("New")), 0, 3, trailing);

    const auto addRow = [grid](UnityCells& cells, const QString& name, int gridRow) {
        cells.oxide = new QLabel(name);
        cells.oxide->setTextFormat(Qt::PlainText);
        cells.now = numberCell();
        cells.target = numberCell();
        TextStyle::makeSecondary(cells.target);
        cells.next = numberCell();
        cells.mark = new QLabel;
        hideFromAccessibility(cells.mark);
        auto* newCell = new QWidget;
        auto* newRow = new QHBoxLayout(newCell);
        newRow->setContentsMargins(0, 0, 0, 0);
        newRow->setSpacing(3);
        newRow->addStretch(1);
        newRow->addWidget(cells.mark, 0, Qt::AlignVCenter);
        newRow->addWidget(cells.next, 0, Qt::AlignVCenter);
        grid->addWidget(cells.oxide, gridRow, 0, leading);
        grid->addWidget(cells.now, gridRow, 1, trailing);
        grid->addWidget(cells.target, gridRow, 2, trailing);
        grid->addWidget(newCell, gridRow, 3, trailing);
    };
    int gridRow = 1;
    for (const Oxide oxide : GlazeCore::OxideNames::allCases())
        addRow(m_unity[GlazeCore::OxideNames::index(oxide)], ChemistryTexts::formula(oxide), gridRow++);
    addRow(m_ratio, QStringLiteral("SiO\u2082 : Al\u2082O\u2083"), gridRow);
    m_ratio.mark->hide();
    column->addWidget(m_unityGrid);
}

void AdjustmentSummary::setContent(const GlazeCore::Recipe& original, const GlazeCore::Adjustment& adjustment,
                                   const BookLibrary& library, const QString& targetTitle, const MissText& missText) {
    showOutcome(adjustment, targetTitle, missText);
    showMaterials(original, adjustment, library);
    showUnity(adjustment, targetTitle);
    m_chart->setInput(chartInput(adjustment));
}

void AdjustmentSummary::showOutcome(const GlazeCore::Adjustment& adjustment, const QString& targetTitle,
                                    const MissText& missText) {
    const bool reached = adjustment.residual.empty();
    setShown(m_reached, reached);
    if (reached) m_reached->setText(tr("Every oxide reaches its %1 value.").arg(targetTitle.toLower()));
    std::size_t shown = 0;
    for (const Oxide oxide : GlazeCore::OxideNames::allCases()) {
        const auto miss = adjustment.residual.find(oxide);
        if (miss == adjustment.residual.end() || !showsOxide(adjustment, oxide)) continue;
        if (shown == m_missLabels.size()) {
            auto* label = new IconLabel(Symbol::exclamationTriangle, IconLabel::Tone::warning, Style::body);
            m_misses->layout()->addWidget(label);
            m_missLabels.push_back(label);
        }
        IconLabel* label = m_missLabels[shown++];
        label->setText(missText ? missText(oxide, miss->second, adjustment) : QString());
        setShown(label, true);
    }
    for (std::size_t i = shown; i < m_missLabels.size(); ++i)
        setShown(m_missLabels[i], false);
    setShown(m_misses, shown > 0);
}

void AdjustmentSummary::showMaterials(const GlazeCore::Recipe& original, const GlazeCore::Adjustment& adjustment,
                                      const BookLibrary& library) {
    const std::vector<MaterialRow> rows = materialRows(original, adjustment.recipe);
    const bool grew = rows.size() > m_materials.size();
    while (m_materials.size() < rows.size())
        addMaterialRow();
    if (grew) placeTotalRow();
    for (std::size_t i = 0; i < m_materials.size(); ++i) {
        const MaterialCells& cells = m_materials[i];
        const bool shown = i < rows.size();
        for (QWidget* cell : std::initializer_list<QWidget*>{cells.name, cells.now, cells.next, cells.change})
            setShown(cell, shown);
        if (!shown) continue;
        const MaterialRow& row = rows[i];
        const QString name = materialDisplayName(row.id, library);
        const QString now = formatDouble(row.before);
        const QString next = formatDouble(row.after);
        cells.name->setText(name);
        cells.name->setAccessibleName(name + nowSeparator + now + tr(", new ") + next);
        setTextIfNew(cells.now, now);
        setTextIfNew(cells.next, next);
        setWeight(cells.next, isEmphasised(row.before, row.after) ? QFont::DemiBold : QFont::Normal);
        setTextIfNew(cells.change, changeText(row.before, row.after));
    }
    m_shownMaterials = int(rows.size());

    const QString now = formatDouble(original.baseTotal());
    const QString next = formatDouble(adjustment.recipe.baseTotal());
    setTextIfNew(m_total.now, now);
    setTextIfNew(m_total.next, next);
    m_total.name->setAccessibleName(tr("Base total") + nowSeparator + now + tr(", new ") + next);
}

void AdjustmentSummary::showUnity(const GlazeCore::Adjustment& adjustment, const QString& targetTitle) {
    setTextIfNew(m_targetHeader, targetTitle);
    const QString lowerTitle = targetTitle.toLower();
    for (const Oxide oxide : GlazeCore::OxideNames::allCases()) {
        const UnityCells& cells = m_unity[GlazeCore::OxideNames::index(oxide)];
        const bool shown = showsOxide(adjustment, oxide);
        for (QWidget* cell :
             std::initializer_list<QWidget*>{cells.oxide, cells.now, cells.target, cells.next->parentWidget()})
            setShown(cell, shown);
        if (!shown) continue;
        const bool missed = adjustment.residual.contains(oxide);
        const QString now = formatDoublePlaces(3, GlazeCore::oxideValue(adjustment.before.umf, oxide));
        const QString target = formatDoublePlaces(3, GlazeCore::oxideValue(adjustment.target, oxide));
        const QString next = formatDoublePlaces(3, GlazeCore::oxideValue(adjustment.after.umf, oxide));
        setTextIfNew(cells.now, now);
        setTextIfNew(cells.target, target);
        setTextIfNew(cells.next, next);
        setWeight(cells.next, missed ? QFont::Bold : QFont::Normal);
        if (missed && cells.mark->pixmap().isNull()) {
            // Drawn the first time it is needed; the palette of a sheet does not change while it is up.
            const int side = cells.next->fontMetrics().height() - 2;
            cells.mark->setPixmap(SymbolIcon::pixmap(Symbol::exclamationTriangleFill, TextStyle::warning(palette()),
                                                     side, devicePixelRatioF()));
        }
        setShown(cells.mark, missed);
        cells.oxide->setAccessibleName(spokenFormula(oxide) + nowSeparator + now + QStringLiteral(", ") + lowerTitle +
                                       QLatin1Char(' ') + target + tr(", new ") + next +
                                       (missed ? tr(", missed") : QString()));
    }
    const QString now = formatDoublePlaces(2, adjustment.before.siAlRatio);
    const QString next = formatDoublePlaces(2, adjustment.after.siAlRatio);
    setTextIfNew(m_ratio.now, now);
    setTextIfNew(m_ratio.next, next);
    m_ratio.oxide->setAccessibleName(tr("Silica to alumina ratio") + nowSeparator + now + tr(", new ") + next);
}

std::vector<IconLabel*> AdjustmentSummary::missLabels() const {
    std::vector<IconLabel*> shown;
    for (IconLabel* label : m_missLabels)
        if (!label->isHidden()) shown.push_back(label);
    return shown;
}

const AdjustmentSummary::UnityCells& AdjustmentSummary::unityCells(Oxide oxide) const {
    return m_unity[GlazeCore::OxideNames::index(oxide)];
}

std::vector<Oxide> AdjustmentSummary::shownOxides() const {
    std::vector<Oxide> shown;
    for (const Oxide oxide : GlazeCore::OxideNames::allCases())
        if (!unityCells(oxide).oxide->isHidden()) shown.push_back(oxide);
    return shown;
}

std::vector<AdjustmentSummary::MaterialRow> AdjustmentSummary::materialRows(const GlazeCore::Recipe& original,
                                                                            const GlazeCore::Recipe& adjusted) {
    std::vector<std::string> order;
    std::unordered_map<std::string, double> now, next;
    sumBaseAmounts(original, order, now);
    sumBaseAmounts(adjusted, order, next);
    std::vector<MaterialRow> rows;
    rows.reserve(order.size());
    for (std::string& id : order) {
        const auto before = now.find(id);
        const auto after = next.find(id);
        rows.push_back(
            {std::move(id), before != now.end() ? before->second : 0.0, after != next.end() ? after->second : 0.0});
    }
    return rows;
}

bool AdjustmentSummary::showsOxide(const GlazeCore::Adjustment& adjustment, Oxide oxide) {
    return GlazeCore::oxideValue(adjustment.before.umf, oxide) > shownThreshold ||
           GlazeCore::oxideValue(adjustment.after.umf, oxide) > shownThreshold ||
           GlazeCore::oxideValue(adjustment.target, oxide) > shownThreshold || adjustment.residual.contains(oxide);
}

std::optional<StullPoint> AdjustmentSummary::stullPoint(const GlazeCore::Chemistry& chemistry) {
    const double x = GlazeCore::oxideValue(chemistry.umf, Oxide::SiO2);
    const double y = GlazeCore::oxideValue(chemistry.umf, Oxide::Al2O3);
    if (!std::isfinite(x) || !std::isfinite(y) || !(x > 0 || y > 0)) return std::nullopt;
    return StullPoint{x, y};
}

StullChartInput AdjustmentSummary::chartInput(const GlazeCore::Adjustment& adjustment) {
    const bool hasBoron = GlazeCore::oxideValue(adjustment.after.umf, Oxide::B2O3) > shownThreshold;
    return StullChartInput::comparison(stullPoint(adjustment.before), stullPoint(adjustment.after), hasBoron);
}

QString AdjustmentSummary::changeText(double before, double after, const QLocale& locale) {
    const double d = after - before;
    if (std::abs(d) < changeThreshold) return QStringLiteral("0");
    return (d > 0 ? QStringLiteral("+") : QStringLiteral("\u2212")) + formatDouble(std::abs(d), locale);
}

bool AdjustmentSummary::isEmphasised(double before, double after) {
    return std::abs(after - before) > changeThreshold;
}

} // namespace Orza
