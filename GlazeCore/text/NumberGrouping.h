#pragma once

#include <string_view>

/// Where a typed number may carry grouping separators. Lenient ICU parsing reads any comma, full stop,
/// space or apostrophe between digits as grouping and ignores the group sizes, so "0.25" reads as 25 in
/// German and "0,25" as 25 in English. This check keeps the lenient reading only where it cannot mislead.
namespace GlazeCore::NumberGrouping {

/// A locale's separators and group sizes, as its number format has them.
struct Rules {
    char32_t decimalSeparator = U'.';
    char32_t groupingSeparator = U',';
    /// Digits in the group next to the decimal separator; 0 when the locale never groups.
    int primarySize = 3;
    /// Digits in each group further left; 0 when they are the primary size.
    int secondarySize = 0;
};

/// True when the text (trimmed, already read whole by the lenient parser) uses its separators as the
/// locale does:
/// - a comma or full stop (or a look-alike) is either the locale's decimal or grouping separator;
/// - grouping separators (the locale's, or any space or apostrophe) stand only between digits before the
///   decimal separator, one at a time, and the groups they make have the locale's sizes, the first of
///   them not starting with a zero;
/// - a space before the first digit is ignored, as the lenient parser ignores it.
bool isValid(std::u32string_view text, const Rules& rules);

} // namespace GlazeCore::NumberGrouping
