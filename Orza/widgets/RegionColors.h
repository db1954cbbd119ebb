#pragma once

#include "GlazeCore/chemistry/Stull.h"

#include <QColor>

#include <array>

namespace Orza {

/// The one colour of each Stull region wherever it is drawn: the chart's regions and legend, the sidebar's
/// dot and the blend sheet's tile cards. Opaque sRGB, the same in light and dark palettes; a point outside
/// the chart is black.
std::array<double, 3> regionComponents(GlazeCore::StullRegion region);
QColor regionColor(GlazeCore::StullRegion region);

} // namespace Orza
