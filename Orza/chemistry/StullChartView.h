#pragma once

#include "Orza/chemistry/StullChartRules.h"
#include "Orza/widgets/RegionDot.h"

#include <QWidget>

#include <array>
#include <vector>

class QLabel;

namespace Orza {

class ElidedLabel;
class FirstFitStack;
class StullLegendSwatch;
class StullPlot;

/**
 * Stull's 1912 chart of silica against alumina with one glaze on it: a header with the glaze's position,
 * the plot, a legend of the regions and a note on how far to trust it.
 *
 * The recipe pane gives the live point and the recipe's earlier positions; the reformulation summary gives
 * StullChartInput::comparison() of the recipe before and after. Header and legend each take the widest of
 * their two layouts that fits.
 */
class StullChartView final : public QWidget {
    Q_OBJECT
public:
    explicit StullChartView(QWidget* parent = nullptr);

    const StullChartInput& input() const;
    void setInput(const StullChartInput& input);
    /// Follows the desktop's contrast preference unless set.
    void setContrast(RegionDot::Contrast contrast);

    StullPlot* plot() const { return m_plot; }
    FirstFitStack* header() const { return m_header; }
    FirstFitStack* legend() const { return m_legend; }
    QString captionText() const;
    QString footnoteText() const;
    /// The swatches of the legend layout shown now, in legend order.
    std::vector<StullLegendSwatch*> shownSwatches() const;

private:
    QWidget* makeHeaderLine(bool stacked, std::size_t index);
    QWidget* makeLegend(bool grid, std::size_t index);
    void refreshTexts();

    StullPlot* m_plot;
    FirstFitStack* m_header;
    FirstFitStack* m_legend;
    QLabel* m_footnote;
    std::array<ElidedLabel*, 2> m_captions{};
    std::array<std::vector<StullLegendSwatch*>, 2> m_swatches;
};

} // namespace Orza
