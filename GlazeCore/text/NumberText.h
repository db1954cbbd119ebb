#pragma once

#include <optional>
#include <string>
#include <string_view>

/// Number text of editable fields in the user's locale, with the limits the book file enforces.
/// The locale is an ICU locale id ("de_DE", "en_US"); the process's C locale is never consulted.
namespace GlazeCore::NumberText {

/// At least `lo` and at most `hi` digits after the decimal separator.
struct FractionDigits {
    int lo = 0;
    int hi = 0;
};

/// The value with `digits` fraction digits (zeros beyond `lo` dropped), never grouped.
/// Digits are clamped to what ICU supports and `hi` is raised to `lo` when below it.
std::string format(double value, FractionDigits digits, const std::string& locale);

/// As format(), except that a value other than 0 never reads as 0: one the digits round to 0 gets the fraction
/// digits its first nonzero digit needs, and one below a millionth is written with two significant digits in
/// scientific notation ("1E-300"), which parse() reads back.
std::string formatNonZero(double value, FractionDigits digits, const std::string& locale);

/// Lenient parse of the whole text as it stands (no trimming, no limits); none when `locale` has no
/// parser, the text is not wholly a number, its separators are not where the locale puts them
/// (NumberGrouping: "0.25" is no number in German, "1.000" is 1000), or it is too small for a double to
/// hold with all its precision ("1e-400" is no 0).
std::optional<double> parseLenient(std::string_view text, const std::string& locale);

/// Lenient parse of the whole text after trimming space separators and tabs (not line breaks);
/// none when empty, not wholly a number, not finite, above 1,000,000 in magnitude or, unless
/// allowed, negative (-0 counts as zero).
std::optional<double> parse(std::string_view text, bool allowsNegative, const std::string& locale);

/// What an edited field should store: none while not editing, while the text still shows the
/// stored value, when the text is unusable, or when it parses to the stored value.
std::optional<double> editedValue(std::string_view text, bool isEditing, FractionDigits digits, bool allowsNegative,
                                  const std::string& locale, double storedValue);

} // namespace GlazeCore::NumberText
