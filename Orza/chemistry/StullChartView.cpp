#include "Orza/chemistry/StullChartView.h"

#include "Orza/chemistry/StullLegendSwatch.h"
#include "Orza/chemistry/StullPlot.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/ElidedLabel.h"
#include "Orza/widgets/FirstFitView.h"
#include "Orza/widgets/RegionNames.h"
#include "Orza/widgets/TextStyle.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace Orza {

namespace {

using Style = TextStyle::Style;

constexpr int legendSpacing = 14;

QWidget* legendItem(GlazeCore::StullRegion region, StullLegendSwatch* swatch) {
    auto* item = new QWidget;
    auto* row = new QHBoxLayout(item);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    auto* name = new QLabel(regionDisplayName(region));
    TextStyle::apply(name, Style::caption);
    row->addWidget(swatch, 0, Qt::AlignVCenter);
    row->addWidget(name, 0, Qt::AlignVCenter);
    return item;
}

} // namespace

StullChartView::StullChartView(QWidget* parent) : QWidget(parent), m_plot(new StullPlot) {
    m_header = new FirstFitStack({makeHeaderLine(false, 0), makeHeaderLine(true, 1)});
    m_legend = new FirstFitStack({makeLegend(false, 0), makeLegend(true, 1)});
    hideFromAccessibility(m_legend);
    m_footnote = new QLabel;
    TextStyle::apply(m_footnote, Style::caption);
    TextStyle::makeSecondary(m_footnote);
    m_footnote->setWordWrap(true);
    m_footnote->setTextFormat(Qt::PlainText);

    // The plot asks for its room through its size hints, which the column passes on to whatever holds the chart,
    // height for width included; it keeps no fixed least height, so on less room than the chart asks for it
    // gives way rather than lying over the legend and the footnote.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(m_header);
    column->addWidget(m_plot, 1);
    column->addWidget(m_legend);
    column->addWidget(m_footnote);
    refreshTexts();
}

QWidget* StullChartView::makeHeaderLine(bool stacked, std::size_t index) {
    auto* line = new QWidget;
    auto* title = new QLabel(tr("Stull chart"));
    TextStyle::apply(title, Style::title3, QFont::DemiBold);
    auto* caption = new ElidedLabel;
    TextStyle::apply(caption, Style::callout);
    m_captions[index] = caption;
    if (stacked) {
        auto* rows = new QVBoxLayout(line);
        rows->setContentsMargins(0, 0, 0, 0);
        rows->setSpacing(2);
        rows->addWidget(title);
        rows->addWidget(caption);
    } else {
        auto* row = new QHBoxLayout(line);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(8);
        row->addWidget(title, 0, Qt::AlignBottom);
        row->addStretch(1);
        // Both texts stand on the same baseline: lift the caption by the difference of their descents.
        const int lift = QFontMetrics(title->font()).descent() - QFontMetrics(caption->font()).descent();
        caption->setContentsMargins(0, 0, 0, std::max(0, lift));
        row->addWidget(caption, 0, Qt::AlignBottom);
    }
    return line;
}

QWidget* StullChartView::makeLegend(bool grid, std::size_t index) {
    auto* legend = new QWidget;
    const auto& order = StullChart::legendOrder();
    std::vector<QWidget*> items;
    for (const GlazeCore::StullRegion region : order) {
        auto* swatch = new StullLegendSwatch(region);
        m_swatches[index].push_back(swatch);
        items.push_back(legendItem(region, swatch));
    }
    if (grid) {
        auto* cells = new QGridLayout(legend);
        cells->setContentsMargins(0, 0, 0, 0);
        cells->setHorizontalSpacing(legendSpacing);
        cells->setVerticalSpacing(4);
        for (std::size_t i = 0; i < items.size(); ++i)
            cells->addWidget(items[i], int(i / 3), int(i % 3), Qt::AlignLeft | Qt::AlignVCenter);
        cells->setColumnStretch(3, 1);
    } else {
        auto* row = new QHBoxLayout(legend);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(legendSpacing);
        for (QWidget* item : items)
            row->addWidget(item, 0, Qt::AlignVCenter);
        row->addStretch(1);
    }
    return legend;
}

const StullChartInput& StullChartView::input() const {
    return m_plot->input();
}

void StullChartView::setInput(const StullChartInput& input) {
    if (StullChart::drawable(input) == m_plot->input()) return;
    m_plot->setInput(input);
    refreshTexts();
}

void StullChartView::setContrast(RegionDot::Contrast contrast) {
    m_plot->setContrast(contrast);
    for (const auto& swatches : m_swatches)
        for (StullLegendSwatch* swatch : swatches)
            swatch->setContrast(contrast);
}

QString StullChartView::captionText() const {
    return m_captions[0]->text();
}

QString StullChartView::footnoteText() const {
    return m_footnote->text();
}

std::vector<StullLegendSwatch*> StullChartView::shownSwatches() const {
    return m_swatches[std::size_t(std::max(0, m_legend->currentVariant()))];
}

void StullChartView::refreshTexts() {
    const bool placed = input().current.has_value();
    const QString caption = StullChart::captionText(input().current);
    for (ElidedLabel* label : m_captions) {
        label->setText(caption);
        label->setFont(placed ? TextStyle::monospacedDigits(label->font()) : label->font());
        label->setForegroundRole(placed ? QPalette::WindowText : QPalette::PlaceholderText);
        // With a point the plot's spoken value says the same.
        hideFromAccessibility(label, placed);
    }
    m_footnote->setText(StullChart::footnoteText(input()));
    m_header->contentChanged();
}

} // namespace Orza
