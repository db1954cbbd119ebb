#pragma once

#include "GlazeCore/chemistry/Stull.h"
#include "Orza/models/WindowTypes.h"
#include "Orza/widgets/RegionDot.h"

#include <QImage>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace Orza {

/**
 * What the Stull chart shows: the glaze's position, its earlier positions (oldest first, not including
 * the current one), whether it has boron, and whether the trail is the unchanged recipe of a comparison.
 */
struct StullChartInput {
    std::optional<StullPoint> current;
    std::vector<StullPoint> trail;
    bool hasBoron = false;
    bool isComparison = false;

    /// A reformulation's before and after: the trail holds only the unchanged recipe's position and the
    /// current point is the new one, so the change the texts measure is the real one.
    static StullChartInput comparison(const std::optional<StullPoint>& before, const std::optional<StullPoint>& after,
                                      bool hasBoron);

    friend bool operator==(const StullChartInput&, const StullChartInput&) = default;
};

/// The SiO₂ and Al₂O₃ ranges the plot spans.
struct StullDomain {
    GlazeCore::Stull::AxisRange x;
    GlazeCore::Stull::AxisRange y;

    bool contains(double siO2, double al2O3) const { return x.contains(siO2) && y.contains(al2O3); }
    friend bool operator==(const StullDomain& a, const StullDomain& b) {
        return a.x.lowerBound == b.x.lowerBound && a.x.upperBound == b.x.upperBound &&
               a.y.lowerBound == b.y.lowerBound && a.y.upperBound == b.y.upperBound;
    }
};

/// The chart's rules apart from drawing: the plot's domain, the trail it draws, the background raster,
/// the region opacity and the texts under and beside the plot.
namespace StullChart {

/// At most this many earlier positions are drawn and described.
inline constexpr std::size_t shownTrailPoints = 5;
/// Cells of the region raster, whatever the plot's size.
inline constexpr int imageColumns = 360;
inline constexpr int imageRows = 200;

/// The input without what cannot be drawn: trail points that are not finite, and a current point that is
/// not finite or so large that the plot's domain would not be. Callers place finite points only; this
/// keeps a stray value from reaching the painter.
StullChartInput drawable(const StullChartInput& input);
/// Stull's full chart, widened to hold the current point with a margin.
StullDomain plotDomain(const std::optional<StullPoint>& current);
/// The last five trail points, oldest first.
std::vector<StullPoint> shownTrail(const std::vector<StullPoint>& trail);
/// The dashed line: the shown trail, then the current point when there is one.
std::vector<StullPoint> trailLinePoints(const StullChartInput& input);
/// Opacity of the i-th shown trail point, oldest (0) faintest.
double trailPointOpacity(int index);
/// Region fills: stronger on dark backgrounds, strongest with increased contrast.
double regionOpacity(bool dark, RegionDot::Contrast contrast);
/// The region of each cell at its centre, premultiplied by the opacity; cells outside the chart transparent.
QImage regionImage(const StullDomain& domain, double opacity);
/// Gloss, semi-matte, matte, unfused, underfired, crazing.
const std::array<GlazeCore::StullRegion, 6>& legendOrder();
/// The current point's region, none without a point.
std::optional<GlazeCore::StullRegion> currentRegion(const StullChartInput& input);

/// The header's line beside the title.
QString captionText(const std::optional<StullPoint>& current, const QLocale& locale = {});
/// The note under the legend.
QString footnoteText(const StullChartInput& input);

} // namespace StullChart

} // namespace Orza
