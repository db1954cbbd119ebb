#include "Orza/chemistry/StullChartRules.h"

#include "Orza/display/NumberDisplay.h"
#include "Orza/widgets/RegionColors.h"
#include "Orza/widgets/RegionNames.h"

#include <QCoreApplication>

#include <cmath>

namespace Orza {

using GlazeCore::StullRegion;

StullChartInput StullChartInput::comparison(const std::optional<StullPoint>& before,
                                            const std::optional<StullPoint>& after, bool hasBoron) {
    StullChartInput input;
    input.current = after;
    if (before) input.trail.push_back(*before);
    input.hasBoron = hasBoron;
    input.isComparison = true;
    return input;
}

namespace StullChart {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("StullChartView", text);
}

uchar byte(double value) {
    return uchar(std::trunc(value));
}

} // namespace

StullDomain plotDomain(const std::optional<StullPoint>& current) {
    if (!current) return {GlazeCore::Stull::siO2Range, GlazeCore::Stull::al2O3Range};
    const StullPoint& p = *current;
    const double x0 = std::max(0.0, std::floor(10 * std::min(0.6, p.siO2 - 0.3)) / 10);
    const double x1 = std::max(7.2, std::ceil(p.siO2 + 0.5));
    const double y0 = std::max(0.0, std::floor(20 * std::min(0.1, p.al2O3 - 0.05)) / 20);
    const double y1 = std::max(1.0, std::ceil(10 * (p.al2O3 + 0.1)) / 10);
    return {{x0, x1}, {y0, y1}};
}

StullChartInput drawable(const StullChartInput& input) {
    const auto finite = [](const StullPoint& p) { return std::isfinite(p.siO2) && std::isfinite(p.al2O3); };
    StullChartInput kept = input;
    std::erase_if(kept.trail, [&](const StullPoint& p) { return !finite(p); });
    if (kept.current) {
        const StullDomain domain = plotDomain(kept.current);
        const bool bounded = std::isfinite(domain.x.upperBound - domain.x.lowerBound) &&
                             std::isfinite(domain.y.upperBound - domain.y.lowerBound);
        if (!finite(*kept.current) || !bounded) kept.current.reset();
    }
    return kept;
}

std::vector<StullPoint> shownTrail(const std::vector<StullPoint>& trail) {
    const std::size_t skipped = trail.size() > shownTrailPoints ? trail.size() - shownTrailPoints : 0;
    return {trail.begin() + std::ptrdiff_t(skipped), trail.end()};
}

std::vector<StullPoint> trailLinePoints(const StullChartInput& input) {
    std::vector<StullPoint> points = shownTrail(input.trail);
    if (input.current) points.push_back(*input.current);
    return points;
}

double trailPointOpacity(int index) {
    return 0.25 + 0.12 * index;
}

double regionOpacity(bool dark, RegionDot::Contrast contrast) {
    if (contrast == RegionDot::Contrast::increased) return 0.6;
    return dark ? 0.45 : 0.35;
}

QImage regionImage(const StullDomain& domain, double opacity) {
    QImage image(imageColumns, imageRows, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    const double dx = (domain.x.upperBound - domain.x.lowerBound) / imageColumns;
    const double dy = (domain.y.upperBound - domain.y.lowerBound) / imageRows;
    // Per region: its four bytes, computed once rather than per cell.
    std::array<std::array<uchar, 4>, 7> bytes{};
    for (std::size_t r = 0; r < bytes.size(); ++r) {
        const auto [red, green, blue] = regionComponents(StullRegion(r));
        bytes[r] = {byte(red * opacity * 255), byte(green * opacity * 255), byte(blue * opacity * 255),
                    byte(opacity * 255)};
    }
    for (int row = 0; row < imageRows; ++row) {
        uchar* line = image.scanLine(row);
        const double y = domain.y.upperBound - (row + 0.5) * dy;
        for (int column = 0; column < imageColumns; ++column) {
            const double x = domain.x.lowerBound + (column + 0.5) * dx;
            const StullRegion region = GlazeCore::Stull::region(x, y);
            if (region == StullRegion::unknown) continue;
            std::copy_n(bytes[std::size_t(region)].data(), 4, line + 4 * column);
        }
    }
    return image;
}

const std::array<StullRegion, 6>& legendOrder() {
    static constexpr std::array<StullRegion, 6> order{StullRegion::gloss,      StullRegion::semimatte,
                                                      StullRegion::matte,      StullRegion::unfused,
                                                      StullRegion::underfired, StullRegion::crazing};
    return order;
}

std::optional<StullRegion> currentRegion(const StullChartInput& input) {
    if (!input.current) return std::nullopt;
    return GlazeCore::Stull::region(input.current->siO2, input.current->al2O3);
}

QString captionText(const std::optional<StullPoint>& current, const QLocale& locale) {
    if (!current) return tr("Add materials to place the glaze on the chart.");
    return tr("This glaze: SiO₂ %1, Al₂O₃ %2, %3")
        .arg(formatDoublePlaces(2, current->siO2, locale), formatDoublePlaces(2, current->al2O3, locale),
             regionDisplayName(GlazeCore::Stull::region(current->siO2, current->al2O3)));
}

QString footnoteText(const StullChartInput& input) {
    QString text =
        tr("Regions from Stull's 1912 chart, fired to cone 11, glazes without boron. Use it as a rough guide.");
    if (input.current) {
        if (input.hasBoron) text += tr(" This glaze has boron, so its position is approximate.");
        if (input.isComparison) {
            const std::vector<StullPoint> earlier = shownTrail(input.trail);
            if (!earlier.empty()) {
                const StullPoint& last = earlier.back();
                const StullPoint& now = *input.current;
                text += GlazeCore::Stull::isNoticeableMove(last.siO2, last.al2O3, now.siO2, now.al2O3)
                            ? tr(" The dashed line runs from the current recipe to the new one.")
                            : tr(" On this chart the new recipe is at about the same place as the current one.");
            }
            return text;
        }
    }
    if (!input.trail.empty()) text += tr(" The dashed line shows the last 5 edits.");
    return text;
}

} // namespace StullChart

} // namespace Orza
