#include "Orza/widgets/RegionColors.h"

namespace Orza {

std::array<double, 3> regionComponents(GlazeCore::StullRegion region) {
    // Kept as doubles: the chart's raster truncates exactly these values to its bytes.
    switch (region) {
    case GlazeCore::StullRegion::matte:
        return {0.72, 0.55, 0.36};
    case GlazeCore::StullRegion::gloss:
        return {0.30, 0.55, 0.85};
    case GlazeCore::StullRegion::semimatte:
        return {0.40, 0.68, 0.60};
    case GlazeCore::StullRegion::underfired:
        return {0.55, 0.55, 0.58};
    case GlazeCore::StullRegion::crazing:
        return {0.75, 0.40, 0.65};
    case GlazeCore::StullRegion::unfused:
        return {0.82, 0.74, 0.48};
    case GlazeCore::StullRegion::unknown:
        break;
    }
    return {0, 0, 0};
}

QColor regionColor(GlazeCore::StullRegion region) {
    const auto [red, green, blue] = regionComponents(region);
    return QColor::fromRgbF(float(red), float(green), float(blue));
}

} // namespace Orza
