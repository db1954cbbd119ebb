#pragma once

#include <string_view>

namespace GlazeCore {

/// True when `needle` occurs in `text` (byte-wise; an empty needle always does).
///
/// The test search asks this for a few short words over a short text per tile, a hundred thousand
/// times a keystroke; looking for the needle's first and last byte sixteen positions at a time beats
/// a libc call per candidate there.
bool containsSubstring(std::string_view text, std::string_view needle);

} // namespace GlazeCore
