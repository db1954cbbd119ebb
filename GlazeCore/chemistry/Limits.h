#pragma once

#include "GlazeCore/chemistry/LimitSet.h"

#include <vector>

namespace GlazeCore::Limits {

/// The eight built-in sets; the first ("hr-cone6") stands in for any id that matches none.
/// Built once per process and shared read-only by every thread.
const std::vector<LimitSet>& referenceSets();

} // namespace GlazeCore::Limits
