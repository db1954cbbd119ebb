#pragma once

#include <string>
#include <vector>

namespace GlazeCore::OrtonCones {

/// The 37 standard cone names in firing order, "022" … "01" (with "05½"), then "1" … "14".
/// Built once per process and shared read-only.
const std::vector<std::string>& all();

} // namespace GlazeCore::OrtonCones
