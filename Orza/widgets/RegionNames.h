#pragma once

#include "GlazeCore/chemistry/Stull.h"

#include <QString>

namespace Orza {

/// The one name of each Stull region wherever it is shown or spoken: sidebar, chart, legend and the
/// chart's spoken texts. A point outside the chart is "Outside chart".
QString regionDisplayName(GlazeCore::StullRegion region);

} // namespace Orza
