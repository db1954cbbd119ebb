#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <optional>
#include <string>

/// Rescaling a recipe so that its base adds to a target, additions keeping their share of the base.
namespace GlazeCore::Normalize {

/// The recipe with every finite positive amount scaled by target / base total; ids, name, cone and
/// notes kept. None when the base or the target is not finite and above 0, or any new amount would
/// be above 1,000,000 or not finite (nothing partial).
std::optional<Recipe> toBase100(const Recipe& recipe, double target);

/// Why `toBase100` cannot act, as the sentence shown on the disabled button; none when it can.
std::optional<std::string> problem(const Recipe& recipe, double target);

} // namespace GlazeCore::Normalize
