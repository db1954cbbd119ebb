#pragma once

#include <string>
#include <string_view>

namespace GlazeCore {

/// Removes horizontal white space (the Unicode space separators and the tab, never line breaks) from
/// both ends, as typed numbers and names are read.
std::string trimHorizontalSpace(std::string_view text);

} // namespace GlazeCore
