#pragma once

#include <cstdint>
#include <string>

namespace GlazeCore {

/// 0 to 3 fraction digits, no grouping, "." and "-" whatever the user's locale.
std::string plainNumberText(double value);
/// Number text of a message: words for NaN and infinities, "%.3g" from 10,000,000 up.
std::string bookNumberText(double value);
/// Plain decimal integer with a leading "-" when negative.
std::string integerText(std::int64_t value);

} // namespace GlazeCore
