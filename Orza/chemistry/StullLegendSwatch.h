#pragma once

#include "GlazeCore/chemistry/Stull.h"
#include "Orza/widgets/RegionDot.h"

#include <QWidget>

namespace Orza {

/// The small rounded square of a region in the Stull chart's legend, filled as the chart fills the region.
class StullLegendSwatch final : public QWidget {
    Q_OBJECT
public:
    static constexpr int swatchWidth = 12;
    static constexpr int swatchHeight = 10;

    explicit StullLegendSwatch(GlazeCore::StullRegion region, QWidget* parent = nullptr);

    GlazeCore::StullRegion region() const { return m_region; }
    void setContrast(RegionDot::Contrast contrast);
    /// The fill, at the chart's region opacity for this palette and contrast.
    QColor fillColor() const;

    QSize sizeHint() const override { return {swatchWidth, swatchHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GlazeCore::StullRegion m_region;
    RegionDot::Contrast m_contrast;
};

} // namespace Orza
