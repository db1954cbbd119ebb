#include "GlazeCore/text/NumberText.h"

#include "GlazeCore/text/NumberGrouping.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <tuple>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/fmtable.h>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>
#include <unicode/numfmt.h>
#include <unicode/parsepos.h>
#include <unicode/unistr.h>
#include <unordered_map>
#include <vector>

namespace GlazeCore::NumberText {

namespace {

// The same limit the book file enforces on stored numbers.
constexpr double maximumMagnitude = 1'000'000;
// ICU refuses more fraction digits than this.
constexpr int maximumFractionDigits = 999;
// A thread sees one or two locales in practice; the bound only guards against a caller cycling ids.
constexpr std::size_t cacheLimit = 32;

FractionDigits clamped(FractionDigits digits) {
    const int lo = std::clamp(digits.lo, 0, maximumFractionDigits);
    const int hi = std::clamp(digits.hi, lo, maximumFractionDigits);
    return {lo, hi};
}

// Formatters are immutable once built, but building one loads locale data; keep them per thread
// so no lock is needed.
const icu::number::LocalizedNumberFormatter& formatterFor(const std::string& locale, FractionDigits digits) {
    using Key = std::tuple<std::string, int, int>;
    thread_local std::map<Key, icu::number::LocalizedNumberFormatter> cache;
    Key key{locale, digits.lo, digits.hi};
    if (const auto found = cache.find(key); found != cache.end()) return found->second;
    if (cache.size() >= cacheLimit) cache.clear();
    auto formatter = icu::number::NumberFormatter::withLocale(icu::Locale(locale.c_str()))
                         .precision(icu::number::Precision::minMaxFraction(digits.lo, digits.hi))
                         .grouping(UNUM_GROUPING_OFF)
                         // A value that rounds to zero is shown as 0, not "-0".
                         .sign(UNUM_SIGN_NEGATIVE)
                         .notation(icu::number::Notation::simple());
    return cache.emplace(std::move(key), std::move(formatter)).first->second;
}

// Below this a value needs more than six fraction digits to show, and scientific notation is shorter.
constexpr double smallestFixed = 1e-6;

const icu::number::LocalizedNumberFormatter& scientificFormatterFor(const std::string& locale) {
    thread_local std::map<std::string, icu::number::LocalizedNumberFormatter> cache;
    if (const auto found = cache.find(locale); found != cache.end()) return found->second;
    if (cache.size() >= cacheLimit) cache.clear();
    auto formatter = icu::number::NumberFormatter::withLocale(icu::Locale(locale.c_str()))
                         .precision(icu::number::Precision::maxSignificantDigits(2))
                         .grouping(UNUM_GROUPING_OFF)
                         .notation(icu::number::Notation::scientific());
    return cache.emplace(locale, std::move(formatter)).first->second;
}

/// A locale's lenient parser with the separators and group sizes that typed numbers are held to.
struct LocaleParser {
    std::unique_ptr<icu::NumberFormat> parser;
    NumberGrouping::Rules grouping;
};

char32_t firstScalar(const icu::UnicodeString& text, char32_t fallback) {
    return text.isEmpty() ? fallback : static_cast<char32_t>(text.char32At(0));
}

NumberGrouping::Rules groupingRules(const icu::NumberFormat& parser) {
    NumberGrouping::Rules rules;
    const auto* decimal = dynamic_cast<const icu::DecimalFormat*>(&parser);
    if (decimal == nullptr) return rules;
    const icu::DecimalFormatSymbols& symbols = *decimal->getDecimalFormatSymbols();
    rules.decimalSeparator =
        firstScalar(symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol), U'.');
    rules.groupingSeparator =
        firstScalar(symbols.getConstSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol), U',');
    rules.primarySize = decimal->isGroupingUsed() ? std::max(0, decimal->getGroupingSize()) : 0;
    rules.secondarySize = std::max(0, decimal->getSecondaryGroupingSize());
    return rules;
}

// NumberFormat is not safe to share between threads, so each thread keeps its own.
const LocaleParser* parserFor(const std::string& locale) {
    thread_local std::unordered_map<std::string, LocaleParser> cache;
    if (const auto found = cache.find(locale); found != cache.end()) return &found->second;
    if (cache.size() >= cacheLimit) cache.clear();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> parser(
        icu::NumberFormat::createInstance(icu::Locale(locale.c_str()), UNUM_DECIMAL, status));
    if (U_FAILURE(status) || !parser) return nullptr;
    parser->setLenient(true);
    const NumberGrouping::Rules rules = groupingRules(*parser);
    return &cache.emplace(locale, LocaleParser{std::move(parser), rules}).first->second;
}

std::u32string scalarsOf(const icu::UnicodeString& text) {
    std::u32string scalars;
    scalars.reserve(static_cast<std::size_t>(text.length()));
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1))
        scalars.push_back(static_cast<char32_t>(text.char32At(i)));
    return scalars;
}

/// Whether the decimal digits ICU read ("1E-400", "0.0025") hold a digit other than 0 before any exponent.
bool hasNonZeroDigit(std::string_view decimal) {
    const std::string_view digits = decimal.substr(0, decimal.find_first_of("Ee"));
    return digits.find_first_of("123456789") != std::string_view::npos;
}

// Only reached when ICU cannot format at all; plain ASCII beats an empty field.
std::string fallbackText(double value, FractionDigits digits) {
    std::vector<char> buffer(1400);
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, digits.hi);
    if (result.ec != std::errc()) return {};
    std::string text(buffer.data(), result.ptr);
    const auto point = text.find('.');
    if (point == std::string::npos) return text;
    const std::size_t keep = point + 1 + static_cast<std::size_t>(digits.lo);
    while (text.size() > keep && text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

} // namespace

std::string format(double value, FractionDigits digits, const std::string& locale) {
    digits = clamped(digits);
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString formatted = formatterFor(locale, digits).formatDouble(value, status).toString(status);
    if (U_FAILURE(status)) return fallbackText(value, digits);
    std::string text;
    formatted.toUTF8String(text);
    return text;
}

std::string formatNonZero(double value, FractionDigits digits, const std::string& locale) {
    digits = clamped(digits);
    std::string text = format(value, digits, locale);
    const auto readsAsZero = [&](const std::string& candidate) { return parseLenient(candidate, locale) == 0.0; };
    if (value == 0 || !std::isfinite(value) || !readsAsZero(text)) return text;
    if (std::fabs(value) >= smallestFixed) {
        // At most six more digits: a millionth shows with six.
        for (int more = digits.hi + 1; more <= 7; ++more) {
            text = format(value, {digits.lo, more}, locale);
            if (!readsAsZero(text)) return text;
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString scientific = scientificFormatterFor(locale).formatDouble(value, status).toString(status);
    if (U_FAILURE(status)) return text;
    text.clear();
    scientific.toUTF8String(text);
    return text;
}

std::optional<double> parseLenient(std::string_view text, const std::string& locale) {
    const LocaleParser* reader = parserFor(locale);
    if (reader == nullptr) return std::nullopt;
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    icu::Formattable result;
    icu::ParsePosition position(0);
    reader->parser->parse(unicode, result, position);
    // Lenient parsing stops quietly at the first character it cannot read ("12abc", "50%"); only a
    // text that is a number from end to end counts.
    if (position.getErrorIndex() >= 0 || position.getIndex() != unicode.length()) return std::nullopt;
    // Nor does it mind where grouping separators stand, so "0.25" would be 25 in German.
    if (!NumberGrouping::isValid(scalarsOf(unicode), reader->grouping)) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const double value = result.getDouble(status);
    if (U_FAILURE(status)) return std::nullopt;
    // Below the smallest full-precision double a typed number would be held as 0 or as another number
    // ("1e-400" as 0): it cannot be held, so it is no number.
    if (std::fabs(value) < std::numeric_limits<double>::min()) {
        const icu::StringPiece decimal = result.getDecimalNumber(status);
        if (U_FAILURE(status)) return std::nullopt;
        if (value != 0 || hasNonZeroDigit(std::string_view(decimal.data(), std::size_t(decimal.size()))))
            return std::nullopt;
    }
    return value;
}

std::optional<double> parse(std::string_view text, bool allowsNegative, const std::string& locale) {
    const std::string trimmed = UnicodeText::trimHorizontalSpace(text);
    if (trimmed.empty()) return std::nullopt;
    const auto value = parseLenient(trimmed, locale);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    if (std::fabs(*value) > maximumMagnitude) return std::nullopt;
    if (!allowsNegative && *value < 0) return std::nullopt;
    return value;
}

std::optional<double> editedValue(std::string_view text, bool isEditing, FractionDigits /*digits*/, bool allowsNegative,
                                  const std::string& locale, double storedValue) {
    if (!isEditing) return std::nullopt;
    // No comparison with the stored value's display text: after typing 1.2345 and deleting two digits,
    // "1.23" reads like the stored 1.234 rounded, yet 1.23 is what the user means.
    const auto parsed = parse(text, allowsNegative, locale);
    if (!parsed || *parsed == storedValue) return std::nullopt;
    return parsed;
}

} // namespace GlazeCore::NumberText
