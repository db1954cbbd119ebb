#pragma once

#include "GlazeCore/book/Oxide.h"

#include <string>
#include <string_view>

/// Oxide formulas as shown to the user, with subscript digits ("Al₂O₃").
namespace GlazeCore::OxideText {

/// The oxide's formula with its digits subscripted.
std::string formula(Oxide oxide);

/// Every ASCII digit that stands alone as a character becomes its subscript (U+2080 … U+2089);
/// a digit joined with a combining mark stays as it is. All other bytes are kept.
std::string subscripted(std::string_view text);

/// Subscripts every whole oxide formula in the text ("B2O3" but not "2SiO2" or "SiO2x");
/// digits outside formulas and all other bytes are kept.
std::string subscriptedText(std::string_view text);

} // namespace GlazeCore::OxideText
