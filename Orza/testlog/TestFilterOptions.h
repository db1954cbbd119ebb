#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

/// The entries of the test log's cone and atmosphere menus, after their "Any" entry.
namespace Orza::TestFilterOptions {

/// The entries of `list` that `present` holds, in list order; an entry listed twice is kept twice.
std::vector<std::string> keepPresentValues(const std::vector<std::string>& list,
                                           const std::unordered_set<std::string>& present);

/// The cones in use (and the chosen one, so that it stays listed): the standard cones in firing order, then
/// any others in plain text order.
std::vector<std::string> coneFilterOptions(const std::vector<std::string>& inUse,
                                           const std::optional<std::string>& chosen);

/// The same for atmospheres, the six named ones first in their menu order.
std::vector<std::string> atmosphereFilterOptions(const std::vector<std::string>& inUse,
                                                 const std::optional<std::string>& chosen);

} // namespace Orza::TestFilterOptions
