#pragma once

#include <cmath>

namespace GlazeCore {

/// Half away from zero: add the largest double below one half with the value's sign, then truncate.
/// Stays in doubles so values beyond any integer type still round (and NaN stays NaN).
inline double roundHalfAwayFromZero(double value) {
    return std::trunc(value + std::copysign(0.49999999999999994, value));
}

} // namespace GlazeCore
